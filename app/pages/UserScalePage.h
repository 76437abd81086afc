#pragma once
// The page "Echelle utilisateur": the user scale's full scale and zero, typed
// in two edits and previewed on two seven-segment displays, and four buttons
// that move the decimal point and change the digit count of the user format.
// Typed values are stored at each key; the program's rewrites only show.

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace vadero {

class PageHost;
class TSEG;

class UserScalePage : public QWidget {
    Q_OBJECT

  public:
    explicit UserScalePage(PageHost& host, QWidget* parent = nullptr);

    // The page's step of the refresh of all pages.
    void RefreshStep();
    void ShowUserScaleEdits();
    void ShowUserScaleDisplays();

    void Button1Click();  // "<": one decimal more
    void Button2Click();  // ">": one decimal fewer
    void Button3Click();  // "<<": one digit fewer
    void Button4Click();  // ">>": one digit more
    void EdFS_UserScalePtChange();
    void EdZero_UserScalePtChange();

  private:
    // Steps 3 to 5 of every button: the format from the full-scale display's
    // shape, the edits (and through them the displays), the change indicator.
    void StoreFormat(bool displaysFirst);
    void EditChanged(QLineEdit& edit, void (UserScalePage::*store)(float));
    // Enter or focus out: a text that is no number is emptied (0 is stored).
    static void EditLeft(QLineEdit& edit);
    void StoreFullScale(float v);
    void StoreZero(float v);

    PageHost& host_;
    QPushButton* button1_;
    QPushButton* button3_;
    QPushButton* button4_;
    QPushButton* button2_;
    TSEG* segFS_;
    QLineEdit* edFS_;
    TSEG* segZero_;
    QLineEdit* edZero_;
};

}  // namespace vadero
