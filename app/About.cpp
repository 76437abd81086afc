#include "app/About.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "app/SystemInfo.h"

namespace vadero {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("AboutBox");
    setFixedSize(265, 217);

    Title = MakeLabel(this, "Title", "Norvelectrics", QRect(8, 6, 249, 34));
    QFont titleFont("MS Serif", 18, QFont::Bold);
    Title->setFont(titleFont);
    Title->setAlignment(Qt::AlignCenter);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setGeometry(8, 44, 249, 132);

    ProductName = MakeLabel(Panel1, "ProductName", "ProductName", QRect(10, 8, 230, 18));
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    Version = MakeLabel(Panel1, "Version", "Version", QRect(10, 32, 230, 18));
    Programmeur = MakeLabel(Panel1, "Programmeur", "Programmeur", QRect(10, 56, 230, 18));
    Systeme = MakeLabel(Panel1, "Systeme", "Systeme", QRect(10, 80, 230, 18));
    VersionWin = MakeLabel(Panel1, "VersionWin", "VersionWin", QRect(10, 104, 230, 18));

    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    OKButton->setGeometry(95, 184, 75, 25);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::FormShow() {
    setWindowTitle(tr("A propos de ..."));
    ProductName->setText(tr("VADERO - Français"));
    Version->setText(tr("Version : 1.00"));
    Programmeur->setText(tr("Programmeur : l'équipe VADERO"));
    // Without an answer from the system, "Systeme" keeps its text.
    const std::optional<SystemIdentity> system = QuerySystem();
    if (system)
        Systeme->setText(tr("Système : %1").arg(QString::fromStdString(system->name)));
    VersionWin->setText(
        tr("Version n° : %1").arg(system ? QString::fromStdString(system->version) : QString()));
}

void TAboutBox::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

}  // namespace vadero
