// The Fichier menu: a backup written whole, read back into the pages, a
// refused file that changes nothing, the compare dialog's rows.
#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTableWidget>
#include <fstream>

#include "app/files/CompareDialog.h"
#include "calibrator/Backup.h"
#include "tests/app/WindowHarness.h"
#include "tests/support/ScratchDir.h"

namespace vadero {
namespace {

using test::WindowHarness;

struct FilesTest : ::testing::Test {
    FilesTest() {
        w.device().SetHolding(3, 5);
        w.device().SetHolding(50, 12613);
        w.ConnectAndLoad();
        w.form().ChooseFile = [this](QWidget*, const FileChoice&) { return path; };
    }
    TLCXParams& params() { return w.form().LCX1().Params(); }

    WindowHarness w{1};
    test::ScratchDir scratch;
    QString path = QString::fromStdString(scratch.File("set.json"));
};

TEST_F(FilesTest, ASavedSetOpensAgainAndIsSentOnlyByTheCompleteWrite) {
    w.form().ActEnregistrer->trigger();
    std::ifstream saved(path.toStdString());
    const std::string text{std::istreambuf_iterator<char>(saved), {}};
    RegisterImage image{};
    TLCXParams parsed(image);
    EXPECT_NO_THROW(HoldingFromJson(ParseBackupText(text), parsed));  // as lcx3 restore reads it
    EXPECT_EQ(parsed.Filter(), 5);

    params().SetFilter(9);
    params().SetMemory(0, 3, 1);
    w.form().ActOuvrir->trigger();
    EXPECT_EQ(params().Filter(), 5);
    EXPECT_EQ(params().Memory(0, 3), 12613);
    EXPECT_TRUE(w.form().CkChange->isChecked());
    EXPECT_EQ(w.device().WriteCount(3), 0U);
}

TEST_F(FilesTest, ARefusedFileChangesNothingAndSaysWhy) {
    for (const char* content : {"{ not json", "{\"filter\": 99}", ""}) {
        std::ofstream(path.toStdString()) << content;
        const RegisterImage before = w.form().LCX1().Master().HoldingRegisters;
        w.modals.clear();
        w.form().ActOuvrir->trigger();
        EXPECT_EQ(w.form().LCX1().Master().HoldingRegisters, before) << content;
        ASSERT_EQ(w.modals.size(), 1U) << content;
        EXPECT_TRUE(w.modals[0].text.startsWith("Le fichier est refusé")) << content;
    }
}

TEST_F(FilesTest, CompareListsExactlyTheParametersThatDiffer) {
    w.form().ActEnregistrer->trigger();
    QStringList rows;
    w.answer = [&](QDialog& dialog) {
        if (auto* compare = qobject_cast<CompareDialog*>(&dialog)) {
            rows.clear();
            for (int r = 0; r < compare->Differences->rowCount(); ++r)
                rows << compare->Differences->item(r, 0)->text();
            if (rows.isEmpty())
                rows << compare->LblResult->text();
        }
        return int(QDialog::Accepted);
    };
    w.form().ActComparer->trigger();
    EXPECT_EQ(rows, QStringList{"Aucune différence"});
    params().SetFilter(params().Filter() + 1);
    params().SetMemory(2, 8, 1);
    w.form().ActComparer->trigger();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], "filter");
}

}  // namespace
}  // namespace vadero
