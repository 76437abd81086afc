// "Vérification de boucle" driven key by key on the emulated calibrator in
// virtual time: its record is the one lcx3 check files for the same
// readings, a reading that is no number is refused in its cell, and a
// calibrator that stops answering ends the run incomplete with the output
// back at the loop's lower value.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/NumberEntry.h"
#include "app/check/CheckFields.h"
#include "app/check/LoopCheckDialog.h"
#include "app/check/PointTable.h"
#include "emulator/BankJson.h"
#include "tests/app/WindowHarness.h"
#include "tests/support/ScratchDir.h"

namespace vadero {
namespace {

nlohmann::json ReadJson(const std::filesystem::path& path) {
    std::ifstream in(path);
    return nlohmann::json::parse(in);
}

// The files in a folder by suffix: .csv, .json, .pdf.
std::vector<std::filesystem::path> Files(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    for (const auto& e : std::filesystem::directory_iterator(folder)) found.push_back(e.path());
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.extension() < b.extension(); });
    return found;
}

// The points as the record gives them, without the times they were taken.
nlohmann::json Points(nlohmann::json record) {
    for (auto& p : record["points"]) p.erase("time");
    return record["points"];
}

// The window loaded from a calibrator with this bank, the dialog open.
struct CheckWindow {
    explicit CheckWindow(const emu::RegisterBank& bank) {
        w.device().SetBank(bank);
        w.ConnectAndLoad();
        f.ActBoucle->trigger();
        f.ChooseFile = [this](QWidget*, const FileChoice&) {
            return QString::fromStdString(dir.Path().string());
        };
    }
    // Types into a field and leaves it.
    void Type(QLineEdit* field, const QString& keys) {
        field->selectAll();
        QTest::keyClicks(field, keys);
        QTest::keyClick(field, Qt::Key_Return);
        emit field->editingFinished();
    }
    // Ticks until the run asks for a reading or ends.
    bool UntilAsked() {
        return w.TickUntil([this] { return d.Table->Asked() != nullptr || !d.Running(); });
    }
    void Enter(const QString& keys) {
        NumberEntry* entry = d.Table->Asked();
        ASSERT_NE(entry, nullptr);
        QTest::keyClicks(entry, keys);
        QTest::keyClick(entry, Qt::Key_Return);
    }

    test::WindowHarness w{1};
    TForm1& f = w.form();
    LoopCheckDialog& d = *f.Boucle;
    test::ScratchDir dir{"loop-check-dialog"};
};

struct SameRecordCase {
    const char* name;
    int range;
    std::int16_t measured;
    const char* options;  // of lcx3 check
    const char* points;   // as the dialog takes them
    bool upDown;
    int samples;                        // 0: source
    std::vector<const char*> readings;  // as typed; a comma for the decimals
    const char* verdict;
};

TEST(LoopCheckDialog, FilesTheRecordLcx3CheckFilesForTheSameReadings) {
    const SameRecordCase cases[] = {
        {"source",
         rgGenerate420mA,
         0,
         "--points 0,50,100 --up-down",
         "0 ; 50 ; 100",
         true,
         0,
         {"0", "75,5", "150", "150", "75", "0.1"},
         "NON CONFORME"},
        {"measure",
         rgMeasureCurrent,
         16800,
         "--mode measure --points 0,50,100 --samples 2",
         "0;50;100",
         false,
         2,
         {"75", "75,2", "80"},
         "NON CONFORME"},
    };
    for (const SameRecordCase& c : cases) {
        SCOPED_TRACE(c.name);
        emu::RegisterBank bank = emu::FactoryBank();
        bank.holding[reg::kRange] = std::uint16_t(c.range);
        bank.holding[reg::kOutputValue] = 1234;
        bank.input[0] = std::uint16_t(c.measured);

        // lcx3 check on a calibrator of the same bank.
        const test::ScratchDir cli("loop-check-cli");
        emu::SaveBankFile(bank, cli.File("state.json"));
        std::ofstream readings(cli.File("readings.csv"));
        for (const char* r : c.readings)
            readings << QString(r).replace(',', '.').toStdString() << "\n";
        readings.close();
        std::filesystem::create_directory(cli.File("records"));
        const std::string command =
            std::string("timeout 60 '") + LCX3_PROGRAM +
            "' --emulate --pace fast --emulator-state '" + cli.File("state.json") +
            "' check --tag TT-101 --instrument '0..150 degC' " + c.options + " --readings '" +
            cli.File("readings.csv") + "' --record '" + cli.File("records") + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_EQ(WEXITSTATUS(status), 7);
        const nlohmann::json expected = ReadJson(Files(cli.File("records"))[1]);
        ASSERT_EQ(expected["points"].size(), c.readings.size());

        CheckWindow x(bank);
        CheckFields& fields = *x.d.Fields;
        x.Type(fields.EdTag, "TT-101");
        x.Type(fields.EdLower, "0");
        x.Type(fields.EdUpper, "150");
        x.Type(fields.EdUnit, "degC");
        x.Type(fields.EdPoints, c.points);
        fields.CkUpDown->setChecked(c.upDown);
        if (c.samples > 0) {
            fields.RdMeasure->click();
            x.Type(fields.EdSamples, QString::number(c.samples));
        }
        QTest::mouseClick(x.d.BtnStart, Qt::LeftButton);
        EXPECT_FALSE(x.f.Client->isEnabled()) << "the window is held while the check runs";
        for (const char* reading : c.readings) {
            ASSERT_TRUE(x.UntilAsked());
            x.Enter(reading);
        }
        ASSERT_TRUE(x.w.TickUntil([&] { return !x.d.Running(); }));
        EXPECT_TRUE(x.f.Client->isEnabled());
        EXPECT_EQ(x.d.LblVerdict->text(), c.verdict);
        QTest::mouseClick(x.d.BtnSave, Qt::LeftButton);
        const auto written = Files(x.dir.Path());
        ASSERT_EQ(written.size(), 3u) << x.d.LblStatus->text().toStdString();
        const nlohmann::json record = ReadJson(written[1]);  // .csv, .json, .pdf
        EXPECT_EQ(record["result"], expected["result"]);
        EXPECT_EQ(record["complete"], true);
        EXPECT_EQ(Points(record), Points(expected));

        // The calibrator was sent each point, then the loop's lower value.
        const bool source = c.samples == 0;
        EXPECT_EQ(x.w.device().WriteCount(reg::kOutputValue), source ? c.readings.size() + 1 : 0u);
        EXPECT_EQ(x.w.device().Holding(reg::kOutputValue), source ? 5600 : 1234);
    }
}

TEST(LoopCheckDialog, AReadingThatIsNoNumberIsRefusedAndItsCellKept) {
    CheckWindow x(emu::FactoryBank());
    x.Type(x.d.Fields->EdTag, "PT-7");
    x.Type(x.d.Fields->EdPoints, "0;100");
    QTest::mouseClick(x.d.BtnStart, Qt::LeftButton);
    ASSERT_TRUE(x.UntilAsked());
    x.Enter("abc");
    NumberEntry* entry = x.d.Table->Asked();
    ASSERT_NE(entry, nullptr) << "still asked";
    EXPECT_EQ(entry->text(), "");
    EXPECT_TRUE(x.d.LblStatus->text().startsWith(
        "Valeur non numérique : « abc », la lecture du point 1 reste vide\n"));
    EXPECT_TRUE(x.d.Runner().Record().points.empty());
    // Readings are limited to a thousand million either way: at the limit
    // taken as typed, past it limited.
    x.Enter("-1000000000");
    ASSERT_EQ(x.d.Runner().Record().points.size(), 1u);
    EXPECT_EQ(x.d.Runner().Record().points[0].reading, -1e9);
    ASSERT_TRUE(x.UntilAsked());
    x.Enter("1000000000,5");
    EXPECT_TRUE(x.d.LblStatus->text().startsWith("1000000000,5 % limité à 1000000000 %\n"));
    ASSERT_TRUE(x.w.TickUntil([&] { return !x.d.Running(); }));
    ASSERT_EQ(x.d.Runner().Record().points.size(), 2u);
    EXPECT_EQ(x.d.Runner().Record().points[1].reading, 1e9);
    EXPECT_EQ(x.w.device().WriteCount(reg::kOutputValue), 3u);
}

TEST(LoopCheckDialog, ACalibratorThatStopsAnsweringEndsTheRunIncompleteAtTheLowerValue) {
    CheckWindow x(emu::FactoryBank());
    x.Type(x.d.Fields->EdTag, "FT-3");
    x.Type(x.d.Fields->EdPoints, "50 ; 100");
    QTest::mouseClick(x.d.BtnStart, Qt::LeftButton);
    ASSERT_TRUE(x.UntilAsked());
    EXPECT_EQ(x.w.device().Holding(reg::kOutputValue), 16800);  // 12 mA
    x.w.device().PowerOff();
    x.Enter("50");
    ASSERT_TRUE(x.w.TickUntil([&] { return !x.w.modals.empty(); }));
    EXPECT_EQ(x.w.modals.back().text, "Allumer le calibrateur");
    x.w.device().PowerOn();
    ASSERT_TRUE(x.w.TickUntil([&] { return !x.d.Running(); }));
    EXPECT_EQ(x.w.device().Holding(reg::kOutputValue), 5600) << "4 mA, the lower value";
    EXPECT_EQ(x.d.Runner().Record().points.size(), 1u);
    EXPECT_EQ(x.d.Runner().Record().Result(), check::Verdict::Incomplete);
    EXPECT_EQ(x.d.LblVerdict->text(), "INCOMPLET");
    EXPECT_TRUE(x.d.LblStatus->text().startsWith("Pas de réponse du calibrateur"));
    EXPECT_TRUE(x.f.Client->isEnabled());
}

// Each field takes its limit and limits a value one step past it; the points
// beyond what the calibrator generates, a check in the wrong range or an
// empty tag are refused with nothing sent.
TEST(LoopCheckDialog, LimitsAreTakenAtTheEdgeAndWhatTheCalibratorCannotDoIsRefused) {
    CheckWindow x(emu::FactoryBank());  // 4-20 mA
    CheckFields& fields = *x.d.Fields;
    struct Entry {
        NumberEntry* entry;
        const char* typed;
        const char* shown;
        bool limited;
    };
    fields.RdMeasure->click();
    for (const Entry& e :
         {Entry{fields.EdTolerance, "0.001", "0.001", false},
          Entry{fields.EdTolerance, "0.0009", "0.001", true},
          Entry{fields.EdTolerance, "100", "100", false},
          Entry{fields.EdTolerance, "100.001", "100", true},
          Entry{fields.EdSamples, "100", "100", false}, Entry{fields.EdSamples, "101", "100", true},
          Entry{fields.EdSamples, "0", "1", true}, Entry{fields.EdDwell, "86400", "86400", false},
          Entry{fields.EdDwell, "86400.1", "86400", true},
          Entry{fields.EdDwell, "-0.1", "0", true}}) {
        SCOPED_TRACE(std::string(e.entry->objectName().toStdString()) + " " + e.typed);
        x.d.LblStatus->clear();
        x.Type(e.entry, e.typed);
        EXPECT_EQ(e.entry->text(), e.shown);
        EXPECT_EQ(x.d.LblStatus->text().contains("limité"), e.limited);
    }
    x.Type(fields.EdPoints, "0;10;20;30;40;50;60;70;80;90;100;110");
    EXPECT_EQ(fields.EdPoints->text(), "0 ; 25 ; 50 ; 75 ; 100") << "12 points: kept as they were";
    x.Type(fields.EdPoints, "0;10;20;30;40;50;60;70;80;90;100");
    EXPECT_EQ(fields.EdPoints->text(), "0 ; 10 ; 20 ; 30 ; 40 ; 50 ; 60 ; 70 ; 80 ; 90 ; 100");
    x.Type(fields.EdTolerance, "0.25");
    x.Type(fields.EdDwell, "0");

    struct Start {
        const char* tag;
        const char* points;
        bool measure;
        const char* says;  // nullptr: the run starts
    };
    for (const Start& c : {Start{"", "50", false, "Le repère de l'instrument est vide"},
                           Start{"TT-1", "50", true,
                                 "Une vérification en mesure d'une boucle 4-20 mA se fait dans "
                                 "la gamme « Mesure courant », et le calibrateur est en « Génére "
                                 "4-20mA »"},
                           Start{"TT-1", "0;112.51", false,
                                 "Le point 112.51 % vaut 22.002 mA, hors des 0.000 à "
                                 "22.000 mA que le calibrateur génère en « Génére "
                                 "4-20mA »."},
                           Start{"TT-1", "-25.01", false, "Le point -25.01 % vaut -0.002 mA"},
                           Start{"TT-1", "-25;112.5", false, nullptr}}) {
        SCOPED_TRACE(c.points);
        x.Type(fields.EdTag, c.tag);
        x.Type(fields.EdPoints, c.points);
        (c.measure ? fields.RdMeasure : fields.RdSource)->click();
        QTest::mouseClick(x.d.BtnStart, Qt::LeftButton);
        if (c.says != nullptr) {
            EXPECT_TRUE(x.d.LblStatus->text().startsWith(c.says))
                << x.d.LblStatus->text().toStdString();
            EXPECT_FALSE(x.d.Running());
            EXPECT_EQ(x.w.device().WriteCount(reg::kOutputValue), 0u);
            continue;
        }
        ASSERT_TRUE(x.UntilAsked());
        EXPECT_EQ(x.w.device().Holding(reg::kOutputValue), 0) << "-25 % of 4-20 mA is 0 mA";
        QTest::mouseClick(x.d.BtnStop, Qt::LeftButton);
        ASSERT_TRUE(x.w.TickUntil([&] { return !x.d.Running(); }));
        EXPECT_EQ(x.w.device().Holding(reg::kOutputValue), 5600);
        EXPECT_TRUE(
            x.d.LblStatus->text().startsWith("Vérification arrêtée : 0 points relevés sur 2."));
    }
}

}  // namespace
}  // namespace vadero
