#pragma once
// The "Principal" page: the range, the loop power, one output value in mA or
// V, percent or the user unit, and one measurement.

#include <QWidget>

#include "app/pages/PageHost.h"
#include "calibrator/Conversions.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace vadero {

class TButtonLangue;
class TCheckBoxLangue;
class TGroupBoxLangue;
class TRadioButtonLangue;

class MainPage : public QWidget {
    Q_OBJECT

  public:
    explicit MainPage(PageHost& host, QWidget* parent = nullptr);

    TGroupBoxLangue* GrGamme;
    TRadioButtonLangue* RadioButtonLangue[kRangeCount];  // 1 to 6 in the form, index = range
    TGroupBoxLangue* GrLoopPower;
    TCheckBoxLangue* CkLoopPower;
    TGroupBoxLangue* GrOutput;
    QLineEdit* EdiOutput;
    QRadioButton* RdOutputmAV;
    QRadioButton* RdPourc;
    TRadioButtonLangue* RadioButtonLangue10;
    TButtonLangue* BtnWrOutput;
    TGroupBoxLangue* GroupBoxLangue1;
    QLineEdit* EdiInput;
    QRadioButton* RdInputmAV;
    TButtonLangue* BtnRdInput;

    void ChangeGammeClick();
    void CkLoopPowerClick();
    void RdOutputmAVClick();
    void BtnWrOutputClick();
    void BtnRdInputClick();
    void BtnReadMeasureClick();
    void LCX1ReadMeasure(TObject* Sender);
    void LCX1ReadOutput(TObject* Sender);

    // Refresh steps of the window: 1, 5 and 6.
    void ShowRange();
    void ShowLoopPower();
    void ShowOutput();

  private:
    TValueUnit OutputUnit() const;
    void SendOutput();
    void ShowMeasure();

    PageHost& host_;
};

}  // namespace vadero
