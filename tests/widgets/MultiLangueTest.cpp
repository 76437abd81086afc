#include <gtest/gtest.h>
#include <QApplication>
#include <QGroupBox>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <memory>

#include "tests/widgets/QtApp.h"
#include "widgets/MultiLangue.h"
#include "widgets/MyControls.h"

namespace vadero {
namespace {

// The text a control shows, whatever its kind.
QString Shown(const QWidget& control) {
    if (const auto* group = qobject_cast<const QGroupBox*>(&control)) {
        return group->title();
    }
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->text();
    }
    return qobject_cast<const QAbstractButton*>(&control)->text();
}

// A plain control that counts its paints and may run a hook while painting.
class PaintCounter : public QWidget {
  public:
    using QWidget::QWidget;
    int paints = 0;
    std::function<void()> onPaint;

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        ++paints;
        if (onPaint) {
            auto hook = std::move(onPaint);
            onPaint = nullptr;
            hook();
        }
    }
};

class MultiLangueTest : public ::testing::Test {
  protected:
    // Before the fixture's widgets are made.
    static void SetUpTestSuite() { EnsureQtApp(); }

    void SetUp() override {
        LangueCourante = TLangue::Anglais;
        RefreshingSiblings = false;
    }

    // Lays the form's controls out apart, so that repainting one does not
    // repaint another under it.
    void ShowForm() {
        auto* layout = new QVBoxLayout(&form);
        for (QObject* child : form.children()) {
            if (auto* widget = qobject_cast<QWidget*>(child)) {
                layout->addWidget(widget);
            }
        }
        form.resize(300, 300);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    QWidget form;
};

TEST_F(MultiLangueTest, TextSetYieldsFrenchAndRaisesOnlyOnAChangeOfLanguage) {
    TMultiLangue set;
    set.Texte_Francais = QStringLiteral("Quitter le programme");
    set.Texte_Anglais = QStringLiteral("Quit");
    int raised = 0;
    QObject* sender = nullptr;
    set.OnChangeLangue = [&](QObject* s) {
        ++raised;
        sender = s;
    };

    set.SetLangue(TLangue::Anglais);  // the recorded language already
    EXPECT_EQ(raised, 0);

    set.SetLangue(TLangue::Francais);
    set.SetLangue(TLangue::Francais);
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(sender, &set);

    set.SetLangue(TLangue::Anglais);
    EXPECT_EQ(raised, 2);
    EXPECT_EQ(LangueCourante, TLangue::Anglais);
    EXPECT_EQ(set.Langue(), TLangue::Francais);
    EXPECT_EQ(set.Texte(), QStringLiteral("Quitter le programme"));

    // No handler bound: the language is still recorded.
    TMultiLangue unbound;
    unbound.SetLangue(TLangue::Francais);
    EXPECT_EQ(LangueCourante, TLangue::Francais);
}

template <class Control>
std::unique_ptr<Control> Streamed(QWidget* parent, const QString& francais,
                                  const QString& anglais) {
    auto control = std::make_unique<Control>(parent);
    control->StreamTexts(francais, francais, anglais);
    return control;
}

TEST_F(MultiLangueTest, EveryKindShowsItsFrenchCaptionOnceTheFormHasLoaded) {
    const QString fr = QStringLiteral("Présence de l'appareil USB");
    const QString en = QStringLiteral("USB Device connected");
    auto label = Streamed<TLabelLangue>(&form, fr, en);
    auto button = Streamed<TButtonLangue>(&form, QStringLiteral("Quitter le programme"), {});
    auto bitbtn = Streamed<TBitBtnLangue>(&form, fr, en);
    auto check = Streamed<TCheckBoxLangue>(&form, fr, en);
    auto radio = Streamed<TRadioButtonLangue>(&form, fr, en);
    auto group = Streamed<TGroupBoxLangue>(&form, fr, en);

    // The first streamed Francais ran the label's handler before its texts
    // were read: the label still shows nothing.
    EXPECT_EQ(label->text(), QString());
    EXPECT_EQ(LangueCourante, TLangue::Francais);

    FormLoaded(&form);
    for (const QWidget* control : std::initializer_list<const QWidget*>{
             label.get(), bitbtn.get(), check.get(), radio.get(), group.get()}) {
        EXPECT_EQ(Shown(*control), fr) << control->metaObject()->className();
    }
    // No English text: the French one is shown all the same.
    EXPECT_EQ(button->text(), QStringLiteral("Quitter le programme"));
    EXPECT_EQ(button->Caption(), QStringLiteral("Quitter le programme"));
    EXPECT_EQ(group->Caption(), fr);
}

TEST_F(MultiLangueTest, WritingTheLanguageBackAndForthKeepsTheFrenchCaptions) {
    auto check =
        Streamed<TCheckBoxLangue>(&form, QStringLiteral("Filtre"), QStringLiteral("Filter"));
    auto radio =
        Streamed<TRadioButtonLangue>(&form, QStringLiteral("Français"), QStringLiteral("French"));
    FormLoaded(&form);

    check->SetCaption(QStringLiteral("autre"));
    radio->CaptionSet.SetLangue(TLangue::Anglais);  // runs the radio button's handler
    EXPECT_EQ(radio->text(), QStringLiteral("Français"));
    // Its sibling pass put the check box's own caption back.
    EXPECT_EQ(check->text(), QStringLiteral("Filtre"));

    check->SetCaption(QStringLiteral("autre"));
    check->HintSet.SetLangue(TLangue::Francais);
    EXPECT_EQ(check->text(), QStringLiteral("Filtre"));
    EXPECT_EQ(radio->text(), QStringLiteral("Français"));
}

TEST_F(MultiLangueTest, ForeignCaptionIsRefusedByButtonsAndShownByTheCheckBoxUntilRepaint) {
    auto button = Streamed<TButtonLangue>(&form, QStringLiteral("Lecture"), {});
    auto check = Streamed<TCheckBoxLangue>(&form, QStringLiteral("Filtre"), {});
    FormLoaded(&form);

    button->SetCaption(QStringLiteral("autre"));
    EXPECT_EQ(button->text(), QStringLiteral("Lecture"));
    EXPECT_EQ(button->Caption(), QStringLiteral("Lecture"));

    check->SetCaption(QStringLiteral("autre"));
    EXPECT_EQ(check->text(), QStringLiteral("autre"));
    EXPECT_EQ(check->Caption(), QStringLiteral("Filtre"));
    check->Repaint();
    EXPECT_EQ(check->text(), QStringLiteral("Filtre"));

    check->SetCaption(QStringLiteral("autre"));
    check->LangueChanged(check.get());
    EXPECT_EQ(check->text(), QStringLiteral("Filtre"));

    // The hint written is shown; reading it yields the hint set's text.
    check->HintSet.Texte_Francais = QStringLiteral("aide");
    check->SetHint(QStringLiteral("autre aide"));
    EXPECT_EQ(check->toolTip(), QStringLiteral("autre aide"));
    EXPECT_EQ(check->Hint(), QStringLiteral("aide"));
    check->Repaint();
    EXPECT_EQ(check->toolTip(), QStringLiteral("aide"));
}

TEST_F(MultiLangueTest, LangueChangedRefreshesEverySiblingOnce) {
    auto button = Streamed<TButtonLangue>(&form, QStringLiteral("Lecture"), {});
    auto plain = std::make_unique<PaintCounter>(&form);
    auto check = Streamed<TCheckBoxLangue>(&form, QStringLiteral("Filtre"), {});
    auto group = Streamed<TGroupBoxLangue>(&form, QStringLiteral("Transfert"), {});
    // A control inside the group box is no sibling of the button.
    auto inner = Streamed<TCheckBoxLangue>(group.get(), QStringLiteral("Dedans"), {});
    FormLoaded(&form);
    ShowForm();

    plain->paints = 0;
    check->SetCaption(QStringLiteral("autre"));
    inner->SetCaption(QStringLiteral("autre"));
    button->LangueChanged(nullptr);

    EXPECT_EQ(plain->paints, 1);  // repainted at once, not merely scheduled
    EXPECT_EQ(check->text(), QStringLiteral("Filtre"));
    EXPECT_EQ(inner->text(), QStringLiteral("autre"));
    EXPECT_FALSE(RefreshingSiblings);
}

TEST_F(MultiLangueTest, NestedLangueChangedReappliesItsTextsAndRefreshesNoSibling) {
    auto button = Streamed<TButtonLangue>(&form, QStringLiteral("Lecture"), {});
    auto first = std::make_unique<PaintCounter>(&form);
    auto check = Streamed<TCheckBoxLangue>(&form, QStringLiteral("Filtre"), {});
    auto last = std::make_unique<PaintCounter>(&form);
    FormLoaded(&form);
    ShowForm();

    first->paints = 0;
    last->paints = 0;
    bool nestedSawPass = false;
    first->onPaint = [&] {
        nestedSawPass = RefreshingSiblings;
        check->SetCaption(QStringLiteral("autre"));
        check->SetHint(QStringLiteral("autre aide"));
        check->LangueChanged(nullptr);
    };
    button->LangueChanged(nullptr);

    EXPECT_TRUE(nestedSawPass);
    EXPECT_EQ(check->text(), QStringLiteral("Filtre"));
    EXPECT_EQ(check->toolTip(), QString());
    EXPECT_EQ(first->paints, 1);
    EXPECT_EQ(last->paints, 1);  // a second pass would have painted it twice
    EXPECT_FALSE(RefreshingSiblings);
}

TEST_F(MultiLangueTest, LoneAndParentlessControlsOnlyReapplyTheirOwnTexts) {
    QGroupBox box;
    auto alone = Streamed<TLabelLangue>(&box, QStringLiteral("Seul"), {});
    alone->LangueChanged(nullptr);
    EXPECT_EQ(alone->text(), QStringLiteral("Seul"));

    TButtonLangue orphan;
    orphan.CaptionSet.Texte_Francais = QStringLiteral("Orphelin");
    orphan.Loaded();
    EXPECT_EQ(orphan.text(), QStringLiteral("Orphelin"));
    EXPECT_FALSE(RefreshingSiblings);
}

TEST_F(MultiLangueTest, ComponentNamesFindTheControls) {
    auto scan = Streamed<TBitBtnLangue>(&form, QStringLiteral("Recheche du materiel USB"),
                                        QStringLiteral("Scan USB Device"));
    scan->setObjectName(QStringLiteral("BtnScan"));
    QPixmap glyph(4, 4);
    glyph.fill(QColor(0xC0, 0xC0, 0xC0));
    {
        QPainter painter(&glyph);
        painter.fillRect(0, 0, 2, 2, Qt::black);
    }
    scan->SetGlyph(glyph);
    FormLoaded(&form);

    auto* found = form.findChild<TBitBtnLangue*>(QStringLiteral("BtnScan"));
    ASSERT_EQ(found, scan.get());
    EXPECT_EQ(found->text(), QStringLiteral("Recheche du materiel USB"));
    // The glyph's bottom-left colour is drawn transparent on the button.
    const QImage icon = found->icon().pixmap(QSize(4, 4)).toImage();
    EXPECT_EQ(qAlpha(icon.pixel(3, 3)), 0);
    EXPECT_EQ(icon.pixel(0, 0), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace vadero
