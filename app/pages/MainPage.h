#pragma once
// The "Principal" page: the range, the loop power, one output value in mA or
// V, percent or the user unit, and one measurement.

#include <QWidget>
#include <cstdint>
#include <optional>

#include "app/pages/PageHost.h"
#include "calibrator/Conversions.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace vadero {

class NumberEntry;
class TButtonLangue;
class TCheckBoxLangue;
class TGroupBoxLangue;
class TRadioButtonLangue;

class MainPage : public QWidget {
    Q_OBJECT

  public:
    explicit MainPage(PageHost& host, QWidget* parent = nullptr);
    ~MainPage() override;
    MainPage(const MainPage&) = delete;
    MainPage& operator=(const MainPage&) = delete;

    TGroupBoxLangue* GrGamme;
    TRadioButtonLangue* RadioButtonLangue[kRangeCount];  // 1 to 6 in the form, index = range
    TGroupBoxLangue* GrLoopPower;
    TCheckBoxLangue* CkLoopPower;
    TGroupBoxLangue* GrOutput;
    NumberEntry* EdiOutput;
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
    // The output value's field in the checked unit and the current range.
    NumberField OutputField();
    void OutputTaken(const Taking& taking);
    void SendOutput();
    void ShowMeasure();

    PageHost& host_;
    // The output value to command, raw, as EdiOutput shows it; nothing while
    // the edit is empty.
    std::optional<std::int16_t> output_;
    // Why the last value typed in EdiOutput was refused: the next "Ecriture"
    // sends nothing and says so, so that a mistyped value never commands
    // the old one.
    QString refusal_;
};

}  // namespace vadero
