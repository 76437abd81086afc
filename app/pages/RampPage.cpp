#include "app/pages/RampPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "app/Guard.h"
#include "app/LocaleText.h"
#include "app/NumberField.h"
#include "app/pages/PageHost.h"
#include "app/pages/RampPictures.h"
#include "app/pages/RampProfile.h"
#include "app/pages/StringGrid.h"
#include "calibrator/Conversions.h"
#include "widgets/WinDraw.h"

namespace vadero {

namespace {

constexpr int kRowTop = 160;
constexpr int kRowPitch = 46;
constexpr int kGridLeft = 108;

// The ramp's registers, t1 to Rep, as a complete write sends them.
constexpr std::size_t kRampRegisterCount = reg::kRampRepeat - reg::kRampTime1 + 1;
std::array<std::uint16_t, kRampRegisterCount> RampWords(const TLCXParams& params) {
    std::array<std::uint16_t, kRampRegisterCount> words{};
    for (std::size_t k = 0; k < words.size(); ++k)
        words[k] = params.Word(reg::kRampTime1 + static_cast<int>(k));
    return words;
}

TWinDraw* MakeCurve(QWidget* page) {
    auto* draw = new TWinDraw(page);
    draw->setObjectName(QStringLiteral("Draw1"));
    draw->setGeometry(8, 8, 409, 145);
    draw->SetCaption(RampPage::tr("Première rampe"));
    draw->SetXmin(0);
    draw->SetXmax(100);
    draw->SetYmin(-25);
    draw->SetYmax(100);
    draw->SetScrollBars(TScrollStyle::ssHorizontal);
    draw->SetXGrid(5);
    draw->SetYGrid(25);
    draw->SetSnapGrid(TGStyle::gVertical);
    draw->SetShowGrid(true);
    draw->SetShowAxes(TGStyle::gBoth);
    return draw;
}

QLabel* MakeImage(QWidget* page, const char* name, RampPicture picture, int row) {
    auto* image = new QLabel(page);
    image->setObjectName(QString::fromLatin1(name));
    image->setPixmap(DrawRampPicture(picture));
    image->setGeometry(8, kRowTop + row * kRowPitch, kRampPictureWidth, kRampPictureHeight);
    return image;
}

StringGrid* MakeGrid(QWidget* page, const char* name, int cols, int row) {
    auto* grid = new StringGrid(cols, 2, page);
    grid->setObjectName(QString::fromLatin1(name));
    grid->move(kGridLeft, kRowTop + row * kRowPitch + (kRampPictureHeight - grid->height()) / 2);
    return grid;
}

}  // namespace

RampPage::RampPage(PageHost& host, QWidget* parent)
    : QWidget(parent),
      host_(host),
      draw1_(MakeCurve(this)),
      image2_(MakeImage(this, "Image2", RampPicture::Times, 0)),
      strGrTime_(MakeGrid(this, "StrGrTime", 4, 0)),
      image3_(MakeImage(this, "Image3", RampPicture::Levels, 1)),
      strGrLevel_(MakeGrid(this, "StrGrLevel", 2, 1)),
      image4_(MakeImage(this, "Image4", RampPicture::DelayRepeat, 2)),
      strGrDelRep_(MakeGrid(this, "StrGrDelRep", 2, 2)),
      ckGrid_(new QCheckBox(tr("Grille"), this)),
      btnRefresh_(new QPushButton(tr("Rafraichir"), this)) {
    setObjectName(QStringLiteral("TabCrawl"));
    const int right = strGrTime_->geometry().right() + 14;
    ckGrid_->setObjectName(QStringLiteral("CkGrid"));
    ckGrid_->setChecked(true);
    ckGrid_->setGeometry(right, kRowTop, 417 - right, 17);
    btnRefresh_->setObjectName(QStringLiteral("BtnRefresh"));
    btnRefresh_->setGeometry(right, kRowTop + 19, 417 - right, 23);

    draw1_->OnPointSelected = Guarded(
        [this](QObject* sender, int seg, bool& allow) { Draw1PointSelected(sender, seg, allow); });
    draw1_->OnChangeValue =
        Guarded([this](QObject* sender, int seg, float& x, float& y, bool& allow) {
            Draw1ChangeValue(sender, seg, x, y, allow);
        });
    strGrTime_->OnExit = Guarded([this](QObject*) { StrGrTimeExit(); });
    strGrLevel_->OnExit = Guarded([this](QObject*) { StrGrLevelExit(); });
    strGrDelRep_->OnExit = Guarded([this](QObject*) { StrGrDelRepExit(); });
    for (StringGrid* grid : {strGrTime_, strGrLevel_, strGrDelRep_})
        grid->OnCellEdited = Guarded([this, grid](QObject*, int col, int row) {
            if (row == 1)
                TakeCell(*grid, col);
        });
    connect(ckGrid_, &QCheckBox::toggled, this, Guarded([this] { CkGridClick(); }));
    connect(btnRefresh_, &QPushButton::clicked, this, Guarded([this] { Button5Click(); }));
}

RampPage::~RampPage() {
    // The children outlive this object's members; a focus change while they
    // go must not reach the handlers.
    for (StringGrid* grid : {strGrTime_, strGrLevel_, strGrDelRep_}) {
        grid->OnExit = nullptr;
        grid->OnCellEdited = nullptr;
    }
    draw1_->OnPointSelected = nullptr;
    draw1_->OnChangeValue = nullptr;
}

void RampPage::WriteGridHeaders() {
    const char* const times[] = {"t1 (s)", "t2 (s)", "t3 (s)", "t4 (s)"};
    for (int col = 0; col < 4; ++col) strGrTime_->SetCells(col, 0, QString::fromLatin1(times[col]));
    strGrLevel_->SetCells(0, 0, QStringLiteral("L1 (%)"));
    strGrLevel_->SetCells(1, 0, QStringLiteral("L2 (%)"));
    strGrDelRep_->SetCells(0, 0, QStringLiteral("D (s)"));
    strGrDelRep_->SetCells(1, 0, QStringLiteral("Rep"));
}

void RampPage::ShowRamp() {
    const TLCX& lcx = host_.LCX1();
    const TLCXParams& params = lcx.Params();
    RampTimes times{};
    for (int i = 1; i <= 4; ++i) {
        times[static_cast<std::size_t>(i - 1)] = params.RampTime(i);
        strGrTime_->SetCells(i - 1, 1, QString::number(params.RampTime(i)));
    }
    strGrDelRep_->SetCells(0, 1, QString::number(params.RampDelay()));
    strGrDelRep_->SetCells(1, 1, QString::number(params.RampRepeat()));
    const float level1 = lcx.GetLevel(TValueUnit::uPercent, 1);
    const float level2 = lcx.GetLevel(TValueUnit::uPercent, 2);
    strGrLevel_->SetCells(0, 1, ShowNumber(level1, "#0.0"));
    strGrLevel_->SetCells(1, 1, ShowNumber(level2, "#0.0"));

    draw1_->SetXmin(0);
    draw1_->SetXmax(100);
    draw1_->SetYmin(-25);
    draw1_->SetYmax(100);
    const auto curve = RampCurve(params.RampDelay(), times, level1, level2);
    for (std::size_t k = 0; k < curve.size(); ++k) draw1_->Points[k] = curve[k];
    draw1_->NbSeg = kRampLastPoint;
    draw1_->Redraw();
}

NumberField RampPage::FieldOf(const StringGrid& grid, int col) {
    NumberField field;
    if (&grid == strGrLevel_) {
        const int index = col + 1;
        // A level holds 0 to 110 % of the range's full scale, in percent of
        // the range (4-20 mA: 4 mA is 0 %).
        const TLCXParams& params = host_.LCX1().Params();
        const UserScale scale{params.UserZero(), params.UserFullScale()};
        const double low = RawToValue(TValueUnit::uPercent, params.Range(), 0, scale);
        const double high = RawToValue(TValueUnit::uPercent, params.Range(),
                                       static_cast<std::int16_t>(kRawMax), scale);
        field.what = QStringLiteral("L%1").arg(index);
        field.unit = QStringLiteral("%");
        field.min = std::min(low, high);
        field.max = std::max(low, high);
        field.show = [](double v) { return ShowNumber(v, "#0.0"); };
        field.held = [this, index] {
            return std::optional<double>(host_.LCX1().GetLevel(TValueUnit::uPercent, index));
        };
        field.store = [this, index](double v) {
            host_.LCX1().SetLevel(TValueUnit::uPercent, index, static_cast<float>(v));
        };
        return field;
    }
    // Whole seconds or repetitions, 0 to 99.
    TLCXParams& params = host_.LCX1().Params();
    std::uint16_t (TLCXParams::*get)() const = nullptr;
    void (TLCXParams::*set)(std::uint16_t) = nullptr;
    if (&grid == strGrTime_) {
        const int index = col + 1;
        field.what = QStringLiteral("t%1").arg(index);
        field.unit = QStringLiteral("s");
        field.held = [&params, index] { return std::optional<double>(params.RampTime(index)); };
        field.store = [&params, index](double v) {
            params.SetRampTime(index, static_cast<std::uint16_t>(v));
        };
    } else {
        const bool delay = col == 0;
        field.what = delay ? QStringLiteral("D") : QStringLiteral("Rep");
        field.unit = delay ? QStringLiteral("s") : QString();
        get = delay ? &TLCXParams::RampDelay : &TLCXParams::RampRepeat;
        set = delay ? &TLCXParams::SetRampDelay : &TLCXParams::SetRampRepeat;
        field.held = [&params, get] { return std::optional<double>((params.*get)()); };
        field.store = [&params, set](double v) { (params.*set)(static_cast<std::uint16_t>(v)); };
    }
    field.min = 0;
    field.max = kRampLimit;
    // Rounded to the whole number, halves to even, as the cell then shows it.
    field.show = [](double v) { return ShowNumber(v, "#0"); };
    return field;
}

void RampPage::TakeCell(StringGrid& grid, int col) {
    if (grid.Cells(col, 1) == grid.Shown(col, 1))
        return;
    const Taking taking = TakeNumber(FieldOf(grid, col), grid.Cells(col, 1), grid.Shown(col, 1));
    ShowRamp();  // the cell too shows what is stored
    host_.Took(taking);
}

void RampPage::TakeCells(StringGrid& grid) {
    grid.CommitEditor();
    for (int col = 0; col < grid.columnCount(); ++col) TakeCell(grid, col);
}

void RampPage::StrGrTimeExit() {
    TakeCells(*strGrTime_);
}

void RampPage::StrGrDelRepExit() {
    TakeCells(*strGrDelRep_);
}

void RampPage::StrGrLevelExit() {
    TakeCells(*strGrLevel_);
}

void RampPage::Draw1PointSelected(QObject* /*Sender*/, int Seg, bool& AllowSelecct) {
    AllowSelecct = Seg > 0 && Seg <= draw1_->NbSeg;
}

void RampPage::Draw1ChangeValue(QObject* /*Sender*/, int Seg, float& ValueX, float& ValueY,
                                bool& AllowChange) {
    // Points 0 and NbSeg never move; the neighbours exist for the others.
    if (Seg < 1 || Seg >= draw1_->NbSeg || Seg >= TWinDraw::kPointCount - 1) {
        AllowChange = false;
        return;
    }
    const auto& points = draw1_->Points;
    const auto drag = DragRamp(Seg, points[static_cast<std::size_t>(Seg - 1)].X,
                               points[static_cast<std::size_t>(Seg + 1)].X, ValueX);
    if (!drag) {
        AllowChange = false;
        return;
    }
    TLCX& lcx = host_.LCX1();
    TLCXParams& params = lcx.Params();
    const auto before = RampWords(params);
    lcx.SetLevel(TValueUnit::uPercent, drag->level, ValueY);
    if (Seg == 1) {
        params.SetRampDelay(drag->before);
    } else {
        params.SetRampTime(Seg - 1, drag->before);
    }
    params.SetRampTime(Seg, drag->after);
    if (RampWords(params) != before)
        host_.CheckChange();
    // The editor then puts the dragged point where the mouse is; the others
    // and the grids show the stored, rounded values.
    ShowRamp();
}

void RampPage::Button5Click() {
    ShowRamp();
}

void RampPage::CkGridClick() {
    const bool checked = ckGrid_->isChecked();
    draw1_->SetSnapGrid(checked ? TGStyle::gVertical : TGStyle::gNone);
    draw1_->SetShowGrid(checked);
}

}  // namespace vadero
