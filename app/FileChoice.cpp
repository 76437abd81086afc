#include "app/FileChoice.h"

#include <QFileDialog>

namespace vadero {

QString AskFileName(QWidget* parent, const FileChoice& choice) {
    if (choice.save)
        return QFileDialog::getSaveFileName(parent, choice.caption, choice.suggested,
                                            choice.filter);
    return QFileDialog::getOpenFileName(parent, choice.caption, QString(), choice.filter);
}

}  // namespace vadero
