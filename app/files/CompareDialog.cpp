#include "app/files/CompareDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vadero {

CompareDialog::CompareDialog(const QString& fileName,
                             const std::vector<WindowDifference>& differences, QWidget* parent)
    : QDialog(parent), LblResult(new QLabel(this)), Differences(new QTableWidget(this)) {
    setObjectName("CompareDialog");
    setWindowTitle(tr("Comparer avec un fichier"));
    auto* layout = new QVBoxLayout(this);
    auto* file = new QLabel(tr("Fichier : %1").arg(fileName), this);
    file->setObjectName("LblFile");
    layout->addWidget(file);

    LblResult->setObjectName("LblResult");
    LblResult->setText(differences.empty()
                           ? tr("Aucune différence")
                           : tr("%n paramètre(s) diffèrent", nullptr, int(differences.size())));
    layout->addWidget(LblResult);

    Differences->setObjectName("Differences");
    Differences->setColumnCount(4);
    Differences->setHorizontalHeaderLabels(
        {tr("Page"), tr("Paramètre"), tr("Valeur dans le fichier"), tr("Valeur dans la fenêtre")});
    Differences->setRowCount(int(differences.size()));
    for (int row = 0; row < int(differences.size()); ++row) {
        const WindowDifference& d = differences[std::size_t(row)];
        const QString texts[] = {d.page, d.caption, d.inFile, d.inWindow};
        for (int col = 0; col < 4; ++col)
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
    resize(differences.empty() ? QSize(320, 120) : QSize(640, 360));
}

}  // namespace vadero
