#pragma once
// "Comparer avec un fichier": the parameters that differ between a backup
// file and the pages, one row each, or "Aucune différence".

#include <QDialog>
#include <vector>

#include "app/files/ParameterFile.h"

class QLabel;
class QTableWidget;

namespace vadero {

class CompareDialog : public QDialog {
    Q_OBJECT

  public:
    CompareDialog(const QString& fileName, const std::vector<ParameterDifference>& differences,
                  QWidget* parent = nullptr);

    QLabel* LblResult;          // "Aucune différence", or how many differ
    QTableWidget* Differences;  // parameter, value in the file, value in the window
};

}  // namespace vadero
