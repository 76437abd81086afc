#pragma once
// The captioned controls: toolkit controls that own a caption and a hint text
// set and show the texts of the display language.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <type_traits>

#include "widgets/MultiLangue.h"

namespace vadero {

// What the sibling pass needs to know of a captioned control.
class TCaptioned {
  public:
    virtual void Repaint() = 0;
    virtual void Loaded() = 0;
    virtual void LangueChanged(QObject* Sender) = 0;

  protected:
    ~TCaptioned() = default;
};

// Asks every other child control of the control's parent to refresh, unless a
// pass is already under way. A control without a parent refreshes nothing.
void RefreshSiblingsOf(QWidget* control);

// Runs Loaded of every captioned control of a built form, in child order.
void FormLoaded(QWidget* form);

// Whether a write of Caption shows the value written or the caption set's text.
enum class CaptionWrite { ShowsTextSet, ShowsValue };

template <class Base, CaptionWrite kWrite = CaptionWrite::ShowsTextSet>
class TLangueControl : public Base, public TCaptioned {
  public:
    explicit TLangueControl(QWidget* parent = nullptr) : Base(parent) {
        HintSet.OnChangeLangue = [this](QObject* sender) { LangueChanged(sender); };
        CaptionSet.OnChangeLangue = [this](QObject* sender) { LangueChanged(sender); };
    }

    TMultiLangue HintSet;
    TMultiLangue CaptionSet;

    QString Caption() const { return CaptionSet.Texte(); }
    void SetCaption(const QString& value) {
        showText(kWrite == CaptionWrite::ShowsValue ? value : CaptionSet.Texte());
    }
    QString Hint() const { return HintSet.Texte(); }
    void SetHint(const QString& value) { this->setToolTip(value); }

    // Every repaint re-applies the texts of the sets.
    void Repaint() override {
        SetCaption(Caption());
        SetHint(Hint());
        Base::repaint();
    }
    void Loaded() override { LangueChanged(this); }
    void LangueChanged(QObject* /*Sender*/) override {
        SetCaption(Caption());
        SetHint(Hint());
        RefreshSiblingsOf(this);
    }

    // The values a form definition stores for the control, in their order.
    void StreamTexts(const QString& caption, const QString& francais,
                     const QString& anglais = QString()) {
        SetCaption(caption);
        HintSet.SetLangue(TLangue::Francais);
        CaptionSet.SetLangue(TLangue::Francais);
        CaptionSet.Texte_Francais = francais;
        CaptionSet.Texte_Anglais = anglais;
    }

  private:
    void showText(const QString& text) {
        if constexpr (std::is_base_of_v<QGroupBox, Base>) {
            this->setTitle(text);
        } else {
            this->setText(text);
        }
    }
};

class TLabelLangue : public TLangueControl<QLabel> {
    Q_OBJECT
  public:
    using TLangueControl::TLangueControl;
};

class TButtonLangue : public TLangueControl<QPushButton> {
    Q_OBJECT
  public:
    using TLangueControl::TLangueControl;
};

class TBitBtnLangue : public TLangueControl<QPushButton> {
    Q_OBJECT
  public:
    using TLangueControl::TLangueControl;

    // The button's picture; its bottom-left colour is drawn transparent.
    const QPixmap& Glyph() const { return glyph_; }
    void SetGlyph(const QPixmap& glyph);

  private:
    QPixmap glyph_;
};

class TCheckBoxLangue : public TLangueControl<QCheckBox, CaptionWrite::ShowsValue> {
    Q_OBJECT
  public:
    using TLangueControl::TLangueControl;
};

class TRadioButtonLangue : public TLangueControl<QRadioButton> {
    Q_OBJECT
  public:
    using TLangueControl::TLangueControl;
};

class TGroupBoxLangue : public TLangueControl<QGroupBox> {
    Q_OBJECT
  public:
    using TLangueControl::TLangueControl;
};

}  // namespace vadero
