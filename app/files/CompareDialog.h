#pragma once
// "Comparer avec un fichier": the parameters that differ between a backup
// file and the pages, one row each, or "Aucune différence".

#include <QDialog>
#include <vector>

#include "app/files/WindowParameters.h"

class QLabel;
class QTableWidget;

namespace vadero {

class CompareDialog : public QDialog {
    Q_OBJECT

  public:
    CompareDialog(const QString& fileName, const std::vector<WindowDifference>& differences,
                  QWidget* parent = nullptr);

    QLabel* LblResult;          // "Aucune différence", or how many differ
    QTableWidget* Differences;  // page, parameter, value in the file, value in the window
};

}  // namespace vadero
