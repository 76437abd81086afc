#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

#include "widgets/MyControls.h"
#include "widgets/gallery/WidgetGallery.h"

namespace vadero {

namespace {

// A small magnifier, its light grey background drawn transparent.
QPixmap ScanGlyph() {
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&glyph);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawEllipse(QRect(2, 2, 8, 8));
    painter.drawLine(QPoint(10, 10), QPoint(14, 14));
    painter.end();
    return QPixmap::fromImage(glyph);
}

}  // namespace

bool RenderControlGallery(const QString& dir) {
    QWidget form;
    form.setObjectName(QStringLiteral("Form"));
    auto* column = new QVBoxLayout(&form);

    auto* label = new TLabelLangue(&form);
    label->setObjectName(QStringLiteral("LabelLangue4"));
    label->StreamTexts(QStringLiteral("Présence de l'appareil USB"),
                       QStringLiteral("Présence de l'appareil USB"),
                       QStringLiteral("USB Device connected"));
    column->addWidget(label);

    auto* button = new TButtonLangue(&form);
    button->setObjectName(QStringLiteral("BtnQuit"));
    button->StreamTexts(QStringLiteral("Quitter le programme"),
                        QStringLiteral("Quitter le programme"));
    column->addWidget(button);

    auto* scan = new TBitBtnLangue(&form);
    scan->setObjectName(QStringLiteral("BtnScan"));
    scan->StreamTexts(QStringLiteral("Recheche du materiel USB"),
                      QStringLiteral("Recheche du materiel USB"),
                      QStringLiteral("Scan USB Device"));
    scan->SetGlyph(ScanGlyph());
    column->addWidget(scan);

    auto* check = new TCheckBoxLangue(&form);
    check->setObjectName(QStringLiteral("CkLangue"));
    check->StreamTexts(QStringLiteral("Filtre actif"), QStringLiteral("Filtre actif"),
                       QStringLiteral("Filter on"));
    check->setChecked(true);
    column->addWidget(check);

    auto* group = new TGroupBoxLangue(&form);
    group->setObjectName(QStringLiteral("GrUpdateAll"));
    group->StreamTexts(QStringLiteral("Transfert des paramères"),
                       QStringLiteral("Transfert des paramères"),
                       QStringLiteral("Update parmeters"));
    auto* row = new QHBoxLayout(group);
    auto* francais = new TRadioButtonLangue(group);
    francais->setObjectName(QStringLiteral("RdFrancais"));
    francais->StreamTexts(QStringLiteral("Français"), QStringLiteral("Français"),
                          QStringLiteral("French"));
    francais->setChecked(true);
    auto* anglais = new TRadioButtonLangue(group);
    anglais->setObjectName(QStringLiteral("RdAnglais"));
    anglais->StreamTexts(QStringLiteral("Anglais"), QStringLiteral("Anglais"),
                         QStringLiteral("English"));
    row->addWidget(francais);
    row->addWidget(anglais);
    column->addWidget(group);

    FormLoaded(&form);
    form.show();
    bool ok = SavePng(form.grab().toImage(), dir, QStringLiteral("controls"));
    ok = SavePng(label->grab().toImage(), dir, QStringLiteral("control-label")) && ok;
    ok = SavePng(button->grab().toImage(), dir, QStringLiteral("control-button")) && ok;
    ok = SavePng(scan->grab().toImage(), dir, QStringLiteral("control-bitbtn")) && ok;
    ok = SavePng(check->grab().toImage(), dir, QStringLiteral("control-checkbox")) && ok;
    ok = SavePng(francais->grab().toImage(), dir, QStringLiteral("control-radio")) && ok;
    ok = SavePng(group->grab().toImage(), dir, QStringLiteral("control-groupbox")) && ok;

    // A foreign caption stays on the check box until its next repaint.
    check->SetCaption(QStringLiteral("Autre texte"));
    ok = SavePng(check->grab().toImage(), dir, QStringLiteral("control-checkbox-foreign")) && ok;
    check->Repaint();
    ok = SavePng(check->grab().toImage(), dir, QStringLiteral("control-checkbox-repainted")) && ok;
    return ok;
}

}  // namespace vadero
