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
#include "calibrator/RegisterMap.h"
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

TEST_F(FilesTest, ARefusedFileChangesNothingAndSaysWhyInTheWindowsWords) {
    w.form().ActEnregistrer->trigger();
    std::ifstream saved(path.toStdString());
    const std::string good{std::istreambuf_iterator<char>(saved), {}};
    const auto withHolding = [&](int address, const std::string& value) {
        // The registers alone: a decoded field would disagree first.
        nlohmann::json document = {{"holding", nlohmann::json::parse(good)["holding"]}};
        document["holding"][std::size_t(address)] = nlohmann::json::parse(value);
        return document.dump();
    };
    const struct {
        std::string content;
        const char* reason;
    } cases[] = {
        {"{ not json",
         "Ce n'est pas un document JSON : le texte n'en suit plus la syntaxe à "
         "l'octet 4."},
        {"{\"filter\": 99}",
         "Ce n'est pas un fichier de paramètres : il n'a pas le tableau "
         "« holding » des 72 registres."},
        {"", "set.json est vide."},
        {withHolding(3, "17"),
         "Divers › Filtre de mesure vaut 64 s, ce qu'aucun calibrateur ne "
         "contient (valeurs possibles : de Off à 60 s)."},
        {withHolding(1, "6"),
         "Principal › Gamme vaut code 6 (inconnu), ce qu'aucun calibrateur "
         "ne contient (valeurs possibles : Génére 0-20mA, Génére 4-20mA, "
         "Génére 0-10V, Mesure courant, Mesure tension, Mesure résistance)."},
        {withHolding(12, "0"), "Le registre 12 n'est jamais lu ni écrit : il doit valoir null."},
    };
    for (const auto& c : cases) {
        std::ofstream(path.toStdString()) << c.content;
        const RegisterImage before = w.form().LCX1().Master().HoldingRegisters;
        const QString title = w.form().windowTitle();
        w.modals.clear();
        w.form().ActOuvrir->trigger();
        EXPECT_EQ(w.form().LCX1().Master().HoldingRegisters, before) << c.content;
        EXPECT_EQ(w.form().windowTitle(), title);
        ASSERT_EQ(w.modals.size(), 1U) << c.content;
        EXPECT_EQ(w.modals[0].text.toStdString(),
                  "Le fichier est refusé, rien n'a changé :\n" + std::string(c.reason));
    }
    // A value a calibrator holds but the window would not write opens, and is named.
    std::ofstream(path.toStdString()) << withHolding(16, "150");
    w.modals.clear();
    w.form().ActOuvrir->trigger();
    ASSERT_EQ(w.modals.size(), 1U);
    EXPECT_EQ(w.modals[0].text.toStdString(),
              "Paramètres ouverts ; ces valeurs sont inhabituelles :\n- "
              "Rampe › t1 (s) vaut 150 s, au-delà de ce que la fenêtre écrit "
              "(de 0 s à 99 s) ; ouvert tel quel.");
    EXPECT_EQ(params().RampTime(1), 150);
}

TEST_F(FilesTest, CompareListsExactlyTheParametersThatDiffer) {
    w.form().ActEnregistrer->trigger();
    QStringList rows;
    w.answer = [&](QDialog& dialog) {
        if (auto* compare = qobject_cast<CompareDialog*>(&dialog)) {
            rows.clear();
            for (int r = 0; r < compare->Differences->rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < compare->Differences->columnCount(); ++c)
                    cells << compare->Differences->item(r, c)->text();
                rows << cells.join(" | ");
            }
            if (rows.isEmpty())
                rows << compare->LblResult->text();
        }
        return int(QDialog::Accepted);
    };
    w.form().ActComparer->trigger();
    EXPECT_EQ(rows, QStringList{"Aucune différence"});
    // The first and the last parameter, one word of a user scale value, and
    // a memory one raw step away (which shows alike: its words follow).
    params().SetRange(rgGenerate020mA);
    params().SetFilter(0);
    params().SetWord(reg::kUserZero, params().Word(reg::kUserZero) ^ 1);
    params().SetMemory(2, 8, params().Memory(2, 8) + 1);
    w.form().ActComparer->trigger();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], "Principal | Gamme | Génére 4-20mA | Génére 0-20mA");
    EXPECT_TRUE(rows[1].startsWith("Echelle utilisateur | Zéro | ")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].startsWith("Mémoires | Mémoire 8 (0-10 V) | ")) << rows[2].toStdString();
    EXPECT_TRUE(rows[2].endsWith(")")) << rows[2].toStdString();
    EXPECT_EQ(rows[3], "Divers | Filtre de mesure | 19 s | Off");
}

}  // namespace
}  // namespace vadero
