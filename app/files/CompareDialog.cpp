#include "app/files/CompareDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vadero {

CompareDialog::CompareDialog(const QString& fileName,
                             const std::vector<ParameterDifference>& differences, QWidget* parent)
    : QDialog(parent), LblResult(new QLabel(this)), Differences(new QTableWidget(this)) {
    setObjectName("CompareDialog");
    setWindowTitle("Comparer avec un fichier");
    auto* layout = new QVBoxLayout(this);
    auto* file = new QLabel("Fichier : " + fileName, this);
    file->setObjectName("LblFile");
    layout->addWidget(file);

    LblResult->setObjectName("LblResult");
    LblResult->setText(differences.empty()
                           ? QString("Aucune différence")
                           : QString("%1 paramètre(s) diffèrent").arg(differences.size()));
    layout->addWidget(LblResult);

    Differences->setObjectName("Differences");
    Differences->setColumnCount(3);
    Differences->setHorizontalHeaderLabels(
        {"Paramètre", "Valeur dans le fichier", "Valeur dans la fenêtre"});
    Differences->setRowCount(int(differences.size()));
    for (int row = 0; row < int(differences.size()); ++row) {
        const ParameterDifference& d = differences[std::size_t(row)];
        const QString texts[] = {QString::fromStdString(d.parameter),
                                 QString::fromStdString(d.inFile),
                                 QString::fromStdString(d.inWindow)};
        for (int col = 0; col < 3; ++col)
            Differences->setItem(row, col, new QTableWidgetItem(texts[col]));
    }
    Differences->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Differences->verticalHeader()->setVisible(false);
    Differences->horizontalHeader()->setStretchLastSection(true);
    Differences->resizeColumnsToContents();
    Differences->setVisible(!differences.empty());
    layout->addWidget(Differences);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(differences.empty() ? QSize(320, 120) : QSize(560, 360));
}

}  // namespace vadero
