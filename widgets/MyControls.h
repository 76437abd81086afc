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
class Captioned {
  public:
    virtual void Repaint() = 0;
    virtual void Loaded() = 0;
    virtual void LangueChanged(QObject* Sender) = 0;

  protected:
    ~Captioned() = default;
};

// Asks every other child control of the control's parent to refresh, unless a
// pass is already under way. A control without a parent refreshes nothing.
void RefreshSiblingsOf(QWidget* control);

// Runs Loaded of every captioned control of a built form, in child order.
void FormLoaded(QWidget* form);

// Whether a write of Caption shows the value written or the caption set's text.
enum class CaptionWrite { ShowsTextSet, ShowsValue };

template <class Base, CaptionWrite kWrite = CaptionWrite::ShowsTextSet>
class LangueControl : public Base, public Captioned {
  public:
    explicit LangueControl(QWidget* parent = nullptr) : Base(parent) {
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

class TLabelLangue : public LangueControl<QLabel> {
    Q_OBJECT
  public:
    using LangueControl::LangueControl;
};

class TButtonLangue : public LangueControl<QPushButton> {
    Q_OBJECT
  public:
    using LangueControl::LangueControl;
};

class TBitBtnLangue : public LangueControl<QPushButton> {
    Q_OBJECT
  public:
    using LangueControl::LangueControl;

    // The button's picture; its bottom-left colour is drawn transparent.
    const QPixmap& Glyph() const { return glyph_; }
    void SetGlyph(const QPixmap& glyph);

  private:
    QPixmap glyph_;
};

class TCheckBoxLangue : public LangueControl<QCheckBox, CaptionWrite::ShowsValue> {
    Q_OBJECT
  public:
    using LangueControl::LangueControl;
};

class TRadioButtonLangue : public LangueControl<QRadioButton> {
    Q_OBJECT
  public:
    using LangueControl::LangueControl;
};

class TGroupBoxLangue : public LangueControl<QGroupBox> {
    Q_OBJECT
  public:
    using LangueControl::LangueControl;
};

}  // namespace vadero
