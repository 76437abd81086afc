// What a technician types into the window, key by key, is what a complete
// write stores in the calibrator; and no edit is lost without a question.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "app/NumberEntry.h"
#include "app/files/ParameterFile.h"
#include "app/pages/MemoriesPage.h"
#include "app/pages/StringGrid.h"
#include "calibrator/Conversions.h"
#include "tests/app/WindowHarness.h"
#include "tests/support/ScratchDir.h"
#include "widgets/MyControls.h"

namespace vadero {
namespace {

using test::WindowHarness;

constexpr int kMem020mA2 = 49;  // memory 2 of the 0-20 mA table
constexpr int kMem010V1 = 64;

std::vector<std::uint16_t> Bank(const emu::EmulatedLcx3& device) {
    std::vector<std::uint16_t> words;
    for (int k = 0; k < kRegisterCount; ++k) words.push_back(device.Holding(k));
    return words;
}

// The user scale values the calibrator holds.
float BankFloat(const emu::EmulatedLcx3& device, int first) {
    RegisterImage image{};
    TLCXParams p(image);
    p.SetWord(first, device.Holding(first));
    p.SetWord(first + 1, device.Holding(first + 1));
    return first == reg::kUserZero ? p.UserZero() : p.UserFullScale();
}

void WriteAll(WindowHarness& w) {
    TForm1& f = w.form();
    QTest::mouseClick(f.BtnWriteAll, Qt::LeftButton);
    ASSERT_TRUE(w.TickUntil([&] { return f.StatusText() == "Ecriture des paramètres terminée"; }));
}

// A window on a calibrator whose memory 2 (0-20 mA) holds 12 mA, with the
// keyboard focus in the window as a user's would be.
struct Window {
    Window() {
        w.device().SetHolding(kMem020mA2, 16800);
        w.device().SetHolding(reg::kUserFormat, CodeOfFormat(5, 1));
        w.device().SetHolding(reg::kRampDelay, 10);
        w.device().SetHolding(reg::kRampTime1 + 1, 10);
        w.device().SetHolding(reg::kRampRepeat, 3);
        w.ConnectAndLoad();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
    }
    NumberEntry& entry(const char* name) {
        auto* e = f.findChild<NumberEntry*>(QString::fromLatin1(name));
        EXPECT_NE(e, nullptr) << name;
        return *e;
    }
    // Clicks into the entry, selects its text and types over it.
    NumberEntry& type(const char* name, const QString& keys) {
        NumberEntry& e = entry(name);
        QTest::mouseClick(&e, Qt::LeftButton);
        e.selectAll();
        QTest::keyClicks(&e, keys);
        return e;
    }
    void typeCell(const char* grid, int col, const QString& keys) {
        auto* g = f.findChild<StringGrid*>(QString::fromLatin1(grid));
        ASSERT_NE(g, nullptr);
        g->setFocus();
        g->setCurrentCell(1, col);
        g->editItem(g->item(1, col));
        QWidget* editor = QApplication::focusWidget();
        ASSERT_TRUE(g->isAncestorOf(editor));
        static_cast<QLineEdit*>(editor)->selectAll();
        QTest::keyClicks(editor, keys);
        QTest::keyClick(editor, Qt::Key_Tab);
    }

    WindowHarness w{1};
    TForm1& f = w.form();
};

// Numbers as the window shows them in the locale under test.
QString Local(const char* number) {
    return QString::fromLatin1(number).replace('.', QLocale().decimalPoint());
}

struct EntryCase {
    const char* name;
    int page;
    std::function<void(Window&)> keys;
    const char* field;   // the entry that shows the result
    const char* shown;   // with "." for the locale's separator
    const char* status;  // nullptr when nothing is said; "%1" stands for `shown`
    std::vector<std::pair<int, std::uint16_t>> stored;  // registers a write changes
    bool changed;
};

class WindowEntries : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (std::strcmp(GetParam(), "fr_FR") != 0)
            return;
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        // The C library's own numbers follow the desktop too; the window
        // must not depend on them.
        if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr)
            std::printf("note: fr_FR.UTF-8 is not installed; only Qt's French locale is used\n");
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_ALL, "C");
    }
};

TEST_P(WindowEntries, WhatIsShownAfterLeavingAFieldIsWhatTheWriteStores) {
    const auto enter = [](Window&) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    };
    const EntryCase cases[] = {
        {"letters",
         3,
         [&](Window& x) {
             NumberEntry& e = x.type("Edit2", "");
             QTest::keyClick(&e, Qt::Key_Backspace);
             QTest::keyClicks(&e, "abc");
             enter(x);
         },
         "Edit2",
         "12.000",
         "Valeur non numérique : « abc », la mémoire 2 garde %1 mA",
         {},
         false},
        {"decimal comma",
         3,
         [&](Window& x) {
             x.type("Edit2", "12,5");
             enter(x);
         },
         "Edit2",
         "12.500",
         nullptr,
         {{kMem020mA2, 17500}},
         true},
        {"two separators",
         3,
         [&](Window& x) {
             x.type("Edit2", "5.5.5");
             enter(x);
         },
         "Edit2",
         "12.000",
         "Valeur non numérique : « 5.5.5 », la mémoire 2 garde %1 mA",
         {},
         false},
        {"past the limit, then a click on the page",
         3,
         [](Window& x) {
             x.type("Edit2", "25");
             QTest::mouseClick(x.f.TabMem, Qt::LeftButton, {},
                               QPoint(x.f.TabMem->width() - 6, 150));
             EXPECT_FALSE(x.entry("Edit2").hasFocus());
         },
         "Edit2",
         "22.000",
         "25 mA limité à %1 mA",
         {{kMem020mA2, 30800}},
         true},
        {"below the limit",
         3,
         [&](Window& x) {
             x.type("Edit2", "-1");
             enter(x);
         },
         "Edit2",
         "0.000",
         "-1 mA limité à %1 mA",
         {{kMem020mA2, 0}},
         true},
        {"finer than a raw step",
         3,
         [](Window& x) {
             x.type("Edit17", "3.3333");
             QTest::keyClick(&x.entry("Edit17"), Qt::Key_Tab);
         },
         "Edit17",
         "3.333",
         "3.3333 V arrondi à %1 V",
         {{kMem010V1, 9332}},
         true},
        {"user zero with a comma, Tab",
         2,
         [](Window& x) {
             x.type("EdZero_UserScalePt", "-12,5");
             QTest::keyClick(&x.entry("EdZero_UserScalePt"), Qt::Key_Tab);
         },
         "EdZero_UserScalePt",
         "-12.5",
         nullptr,
         {},
         true},
        {"full scale, then fewer decimals",
         2,
         [](Window& x) {
             x.type("EdFS_UserScalePt", "250.5");
             QTest::keyClick(&x.entry("EdFS_UserScalePt"), Qt::Key_Return);
             for (int k = 0; k < 2; ++k)
                 QTest::mouseClick(x.f.findChild<QPushButton*>("Button2"), Qt::LeftButton);
         },
         "EdFS_UserScalePt",
         "250.5",
         nullptr,
         {},
         true},
        {"ramp cells",
         4,
         [](Window& x) {
             x.typeCell("StrGrDelRep", 0, "-1");
             x.typeCell("StrGrDelRep", 1, "abc");
             x.typeCell("StrGrTime", 1, "3.7");
         },
         nullptr,
         nullptr,
         "3.7 s arrondi à 4 s",
         {{reg::kRampDelay, 0}, {reg::kRampTime1 + 1, 4}},
         true},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.name);
        Window x;
        auto expected = Bank(x.w.device());
        x.w.ClickTab(c.page);
        c.keys(x);
        if (c.field != nullptr) {
            EXPECT_EQ(x.entry(c.field).text().trimmed(), Local(c.shown));
        }
        const QString status = c.status ? QString::fromUtf8(c.status) : QString();
        EXPECT_EQ(x.f.StatusText(), status.contains("%1") ? status.arg(Local(c.shown)) : status);
        EXPECT_EQ(x.f.CkChange->isChecked(), c.changed);
        WriteAll(x.w);
        for (const auto& [address, value] : c.stored) expected[std::size_t(address)] = value;
        if (std::strcmp(c.name, "user zero with a comma, Tab") == 0) {
            EXPECT_EQ(BankFloat(x.w.device(), reg::kUserZero), -12.5F);
            for (int k : {6, 7}) expected[std::size_t(k)] = x.w.device().Holding(k);
        }
        if (std::strcmp(c.name, "full scale, then fewer decimals") == 0) {
            EXPECT_EQ(BankFloat(x.w.device(), reg::kUserFullScale), 250.5F);
            for (int k : {4, 5, 8}) expected[std::size_t(k)] = x.w.device().Holding(k);
        }
        if (std::strcmp(c.name, "ramp cells") == 0) {
            EXPECT_EQ(x.w.device().Holding(reg::kRampRepeat), 3);
        }
        EXPECT_EQ(Bank(x.w.device()), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, WindowEntries, ::testing::Values("C", "fr_FR"));

// Unwritten edits, then something that would lose them: each answer.
TEST(WindowQuestions, UnwrittenEditsAreWrittenDiscardedOrKeptAsAnswered) {
    test::ScratchDir scratch;
    const QString file = QString::fromStdString(scratch.File("set.json"));
    struct Trigger {
        const char* name;
        std::function<void(Window&)> run;
        bool closes;
    };
    const Trigger triggers[] = {
        {"Lecture complète", [](Window& x) { QTest::mouseClick(x.f.BtnReadAll, Qt::LeftButton); },
         false},
        {"Ouvrir", [](Window& x) { x.f.ActOuvrir->trigger(); }, false},
        {"Quitter le programme", [](Window& x) { QTest::mouseClick(x.f.BtnQuit, Qt::LeftButton); },
         true},
        {"Ctrl+Q",
         [](Window& x) {
             EXPECT_EQ(x.f.ActQuitter->shortcut(), QKeySequence("Ctrl+Q"));
             x.f.ActQuitter->trigger();
         },
         true},
        {"close button", [](Window& x) { x.f.close(); }, true},
    };
    const QMessageBox::StandardButton answers[] = {QMessageBox::Save, QMessageBox::Discard,
                                                   QMessageBox::Cancel};
    for (const Trigger& trigger : triggers) {
        for (const QMessageBox::StandardButton answer : answers) {
            SCOPED_TRACE(std::string(trigger.name) + " / " + std::to_string(int(answer)));
            Window x;
            WriteParameterFile(file.toStdString(), x.f.LCX1().Params());
            int chosen = 0;
            x.f.ChooseFile = [&](QWidget*, const FileChoice&) {
                ++chosen;
                return QString();  // the dialog cancelled: the pages stay
            };
            QString question;
            x.w.answer = [&](QDialog& dialog) {
                if (dialog.objectName() != "QuestionUnwritten")
                    return int(QMessageBox::Ok);
                question = static_cast<QMessageBox&>(dialog).text();
                return int(answer);
            };
            x.w.ClickTab(3);
            // Typed and left, except before Ecrire: the trigger takes what
            // is still being typed, and the write sends it.
            x.type("Edit2", "7");
            if (answer != QMessageBox::Save)
                QTest::keyClick(&x.entry("Edit2"), Qt::Key_Return);
            const QString title = x.f.windowTitle();
            const QString status = x.f.StatusText();

            trigger.run(x);
            EXPECT_EQ(question, "Les modifications n'ont pas été écrites dans le calibrateur.");
            if (answer == QMessageBox::Save) {
                ASSERT_TRUE(
                    x.w.TickUntil([&] { return x.w.device().Holding(kMem020mA2) == 9800; }));
            }
            x.w.TickUntil([&] { return false; }, 6);  // what follows, if anything
            const bool written = answer == QMessageBox::Save;
            const bool kept = answer == QMessageBox::Cancel;
            EXPECT_EQ(x.w.device().Holding(kMem020mA2), written ? 9800 : 16800);
            EXPECT_EQ(x.f.isVisible(), !(trigger.closes && !kept));
            EXPECT_EQ(chosen, std::strcmp(trigger.name, "Ouvrir") == 0 && !kept ? 1 : 0);
            if (kept) {
                // A cancelled question changes nothing at all.
                EXPECT_EQ(x.entry("Edit2").text(), "7.000");
                EXPECT_TRUE(x.f.CkChange->isChecked());
                EXPECT_TRUE(x.f.isWindowModified());
                EXPECT_EQ(x.f.windowTitle(), title);
                EXPECT_EQ(x.f.StatusText(), status);
            }
            if (answer == QMessageBox::Discard &&
                std::strcmp(trigger.name, "Lecture complète") == 0) {
                EXPECT_EQ(x.entry("Edit2").text(), "12.000");
            }
        }
    }
}

TEST(WindowQuestions, WithoutUnwrittenEditsNothingIsAskedAndTheTitleNamesTheFile) {
    test::ScratchDir scratch;
    const QString file = QString::fromStdString(scratch.File("banc-7.json"));
    Window x;
    EXPECT_FALSE(x.f.isWindowModified());
    x.f.ChooseFile = [&](QWidget*, const FileChoice&) { return QString(file); };
    x.f.ActEnregistrer->trigger();
    EXPECT_EQ(x.f.windowTitle(), "banc-7.json[*] - Configurateur du calibrateur LCX3");
    x.f.ActOuvrir->trigger();
    EXPECT_TRUE(x.f.isWindowModified());  // the file's set is not written yet
    WriteAll(x.w);
    EXPECT_FALSE(x.f.isWindowModified());
    QTest::mouseClick(x.f.BtnReadAll, Qt::LeftButton);
    ASSERT_TRUE(
        x.w.TickUntil([&] { return x.f.StatusText() == "Lecture des paramètres termiée"; }));
    EXPECT_EQ(x.f.windowTitle(), "Configurateur du calibrateur LCX3[*]");
    x.f.close();
    EXPECT_FALSE(x.f.isVisible());
    for (const test::ModalRecord& modal : x.w.modals)
        EXPECT_NE(modal.objectName, "QuestionUnwritten");
}

}  // namespace
}  // namespace vadero
