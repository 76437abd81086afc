#include "app/Select.h"

#include <QPushButton>

#include "app/Guard.h"

namespace vadero {

TSelectForm::TSelectForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("SelectForm");
    setWindowTitle(tr("Selection"));
    setFixedSize(186, 258);

    GrRdSelect = new RadioGroup(this);
    GrRdSelect->setObjectName("GrRdSelect");
    GrRdSelect->setTitle(tr("Selection"));
    GrRdSelect->setGeometry(8, 8, 170, 206);

    BtnOK = new QPushButton("OK", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setGeometry(55, 223, 75, 25);
    connect(BtnOK, &QPushButton::clicked, this, Guarded([this] { BtnOKClick(); }));
}

void TSelectForm::BtnOKClick() {
    accept();
}

}  // namespace vadero
