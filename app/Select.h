#pragma once
// The device choice dialog: one radio item per matching device.

#include <QDialog>

#include "app/RadioGroup.h"

class QPushButton;

namespace vadero {

class TSelectForm : public QDialog {
    Q_OBJECT

  public:
    explicit TSelectForm(QWidget* parent = nullptr);

    RadioGroup* GrRdSelect;
    QPushButton* BtnOK;

    void BtnOKClick();
};

}  // namespace vadero
