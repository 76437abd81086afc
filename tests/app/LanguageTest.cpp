// The window's language: chosen from --lang or the desktop's locale, and the
// English translation applied to the window's own texts.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QGroupBox>
#include <QTest>
#include <QTranslator>
#include <map>

#include "app/Language.h"
#include "app/NumberEntry.h"
#include "app/StartOptions.h"
#include "app/pages/MainPage.h"
#include "tests/app/WindowHarness.h"
#include "widgets/MyControls.h"

namespace vadero {
namespace {

TEST(Language, TheDesktopsLocaleChoosesEnglishForEnAndFrenchOtherwise) {
    const struct {
        std::map<std::string, std::string> env;
        UiLanguage expected;
    } cases[] = {
        {{}, UiLanguage::French},
        {{{"LANG", "en_GB.UTF-8"}}, UiLanguage::English},
        {{{"LANG", "fr_FR.UTF-8"}}, UiLanguage::French},
        {{{"LANG", "C.UTF-8"}}, UiLanguage::French},
        {{{"LANG", "de_DE.UTF-8"}}, UiLanguage::French},
        {{{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "en_US.UTF-8"}}, UiLanguage::English},
        {{{"LANG", "en_US.UTF-8"}, {"LC_ALL", "fr_CA.UTF-8"}}, UiLanguage::French},
        {{{"LANG", "fr_FR.UTF-8"}, {"LANGUAGE", "en_GB:fr"}}, UiLanguage::English},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "fr:en"}}, UiLanguage::French},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", ""}}, UiLanguage::English},
    };
    for (const auto& c : cases) {
        const auto variable = [&](const char* name) -> const char* {
            const auto found = c.env.find(name);
            return found == c.env.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(DesktopLanguage(variable), c.expected)
            << (c.env.empty() ? std::string("(none)") : c.env.begin()->second);
    }
}

TEST(Language, LangForcesOneAndRefusesAnother) {
    const StartProgram program{"vadero", "", {LanguageOption()}};
    const StartRequest en = ReadStartOptions({"vadero", "--lang", "en"}, program);
    EXPECT_FALSE(en.exit);
    EXPECT_EQ(StartLanguage(en), UiLanguage::English);
    EXPECT_EQ(StartLanguage(ReadStartOptions({"vadero", "--lang=fr"}, program)),
              UiLanguage::French);
    const StartRequest de = ReadStartOptions({"vadero", "--lang", "de"}, program);
    EXPECT_TRUE(de.exit);
    EXPECT_EQ(de.code, 1);
    EXPECT_NE(de.err.find("--lang takes fr|en, not 'de'"), std::string::npos) << de.err;
}

TEST(Language, TheToolkitsOwnTextsAreFrenchInTheFrenchWindow) {
    // The test program runs the French window, as the desktop's C locale asks.
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), "Dossier");
    EXPECT_EQ(QCoreApplication::translate("QFileSystemModel", "Date Modified"),
              "Dernière modification");
}

TEST(Language, TheEnglishTranslationReachesEveryPartOfTheWindow) {
    QTranslator english;
    ASSERT_TRUE(english.load(
        "vadero_en", QCoreApplication::applicationDirPath() + "/../share/vadero/translations"));
    QCoreApplication::installTranslator(&english);
    {
        test::WindowHarness w(1);
        TForm1& f = w.form();
        w.ConnectAndLoad();
        EXPECT_EQ(f.windowTitle(), "LCX3 calibrator configurator[*]");
        EXPECT_EQ(f.BtnReadAll->text(), "Read the whole calibrator");
        EXPECT_EQ(f.TabMain->RadioButtonLangue[1]->text(), "Output 4-20mA");  // the maker's
        EXPECT_EQ(f.StatusText(), "Parameters read");
        auto* memory = f.findChild<NumberEntry*>("Edit2");
        memory->setText("abc");
        memory->Take();
        EXPECT_TRUE(f.StatusText().startsWith("Not a number: \"abc\", memory 2 keeps "))
            << f.StatusText().toStdString();
    }
    QCoreApplication::removeTranslator(&english);
}

}  // namespace
}  // namespace vadero
