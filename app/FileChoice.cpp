#include "app/FileChoice.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

namespace vadero {

void PrepareFileDialog(QFileDialog& dialog, const FileChoice& choice) {
    dialog.setWindowTitle(choice.caption);
    dialog.setNameFilter(choice.filter);
    dialog.setAcceptMode(choice.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (choice.folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setDirectory(choice.suggested);
    } else if (choice.save) {
        dialog.selectFile(choice.suggested);
    }
    // Room for the French column captions ("Dernière modification").
    dialog.resize(820, 480);
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView")))
        for (int column = 1; column < details->header()->count(); ++column)
            details->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

QString AskFileName(QWidget* parent, const FileChoice& choice) {
    QFileDialog dialog(parent);
    PrepareFileDialog(dialog, choice);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace vadero
