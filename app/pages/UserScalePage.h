#pragma once
// The page "Echelle utilisateur": the user scale's full scale and zero, typed
// in two edits and previewed on two seven-segment displays, and four buttons
// that move the decimal point and change the digit count of the user format.
// A typed value is taken when the user leaves its edit; the edits always show
// the values whole, with at least the format's decimals, and the displays
// preview them as the calibrator shows them.

#include <QWidget>

#include "calibrator/LCXParams.h"

class QPushButton;

namespace vadero {

class NumberEntry;
class PageHost;
class TSEG;
struct NumberField;
struct Taking;

class UserScalePage : public QWidget {
    Q_OBJECT

  public:
    explicit UserScalePage(PageHost& host, QWidget* parent = nullptr);
    ~UserScalePage() override;
    UserScalePage(const UserScalePage&) = delete;
    UserScalePage& operator=(const UserScalePage&) = delete;

    // The page's step of the refresh of all pages.
    void RefreshStep();
    void ShowUserScaleEdits();
    void ShowUserScaleDisplays();

    void Button1Click();  // "<": one decimal more
    void Button2Click();  // ">": one decimal fewer
    void Button3Click();  // "<<": one digit fewer
    void Button4Click();  // ">>": one digit more
    // Run when the value typed in the full-scale or the zero edit was taken.
    void EdFS_UserScalePtChange(const Taking& taking);
    void EdZero_UserScalePtChange(const Taking& taking);

  private:
    // Steps 3 to 5 of every button: the format from the full-scale display's
    // shape, the edits (and through them the displays), the change indicator.
    void StoreFormat(bool displaysFirst);
    void EditTaken(const Taking& taking);
    NumberField FieldOf(const QString& what, float (TLCXParams::*get)() const,
                        void (TLCXParams::*set)(float));

    PageHost& host_;
    QPushButton* button1_;
    QPushButton* button3_;
    QPushButton* button4_;
    QPushButton* button2_;
    TSEG* segFS_;
    NumberEntry* edFS_;
    TSEG* segZero_;
    NumberEntry* edZero_;
};

}  // namespace vadero
