#pragma once
// The page "Rampe": the ramp profile (delay, four times, two levels,
// repetitions) in three small grids and as a curve that can be dragged. Every
// edit goes through the parameter set and both views are rebuilt from it; a
// cell's value is taken, by the rule of the window's numeric entries, when
// the user commits its text.

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vadero {

class PageHost;
class StringGrid;
class TWinDraw;
struct NumberField;

class RampPage : public QWidget {
    Q_OBJECT

  public:
    explicit RampPage(PageHost& host, QWidget* parent = nullptr);
    ~RampPage() override;
    RampPage(const RampPage&) = delete;
    RampPage& operator=(const RampPage&) = delete;

    // The refresh step: the grids and the curve from the parameter set.
    void ShowRamp();
    // The start-up step: the header rows of the three grids.
    void WriteGridHeaders();

    void StrGrTimeExit();
    void StrGrLevelExit();
    void StrGrDelRepExit();
    void Draw1PointSelected(QObject* Sender, int Seg, bool& AllowSelecct);
    void Draw1ChangeValue(QObject* Sender, int Seg, float& ValueX, float& ValueY,
                          bool& AllowChange);
    void Button5Click();  // "Rafraichir"
    void CkGridClick();

  private:
    NumberField FieldOf(const StringGrid& grid, int col);
    // Takes the text the user committed to a value cell.
    void TakeCell(StringGrid& grid, int col);
    void TakeCells(StringGrid& grid);

    PageHost& host_;
    TWinDraw* draw1_;
    QLabel* image2_;
    StringGrid* strGrTime_;
    QLabel* image3_;
    StringGrid* strGrLevel_;
    QLabel* image4_;
    StringGrid* strGrDelRep_;
    QCheckBox* ckGrid_;
    QPushButton* btnRefresh_;
};

}  // namespace vadero
