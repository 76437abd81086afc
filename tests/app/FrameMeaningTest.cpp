// What the traffic says of each frame, in the order a session sends and
// receives them: values in the calibrator's terms, read with the request and
// the range of the frames before; an answer that is not the awaited one, or
// whose CRC is wrong, is never read as values.
#include <gtest/gtest.h>
#include <QLocale>
#include <vector>

#include "app/traffic/FrameMeaning.h"
#include "modbus/ModbusFrame.h"

namespace vadero {
namespace {

constexpr std::uint8_t kNode = 100;

std::string Sent(int function, int address, int value) {
    return modbus::TxText(modbus::BuildRequest(kNode, function, address, value));
}

std::string Written(int address, const std::vector<std::uint16_t>& values) {
    return modbus::TxText(modbus::BuildWriteMultiple(kNode, address, values));
}

// An answer to a read, values high byte first as the calibrator sends them.
std::string Read(int function, const std::vector<std::uint16_t>& values, bool goodCrc = true) {
    std::vector<std::uint8_t> b{kNode, std::uint8_t(function), std::uint8_t(2 * values.size())};
    for (const std::uint16_t v : values) {
        b.push_back(std::uint8_t(v >> 8));
        b.push_back(std::uint8_t(v & 0xFF));
    }
    modbus::AppendCrc(b);
    if (!goodCrc)
        b.back() ^= 0xFF;
    return modbus::RxText(b);
}

std::string WriteAnswer(int address, int count) {
    std::vector<std::uint8_t> b{
        kNode, modbus::kWriteMultiple, std::uint8_t(address >> 8), std::uint8_t(address),
        0,     std::uint8_t(count)};
    modbus::AppendCrc(b);
    return modbus::RxText(b);
}

// Registers 0 to 11: 12 mA in 4-20 mA, loop power on, filter 4, user scale
// 0 to 100 shown "#0.00".
const std::vector<std::uint16_t> kFirstBlock{16800, 1, 2, 4, 0x0000, 0x42C8, 0, 0, 922, 0, 0, 0};

struct Step {
    std::string text;
    const char* meaning;
    bool whole = false;  // the meaning is the whole text, else a part of it
};

TEST(FrameMeaning, ASessionsFramesInTheCalibratorsTerms) {
    QLocale::setDefault(QLocale::c());
    std::vector<std::uint16_t> ramp{10, 5, 10, 5, 16800, 5600, 3, 2};
    std::vector<std::uint16_t> memories(24, 0);
    memories[57 - 48] = 22400;
    const std::vector<Step> steps{
        {Sent(3, 0, 12), "lecture des registres de maintien 0 à 11", true},
        {Read(3, kFirstBlock),
         "réponse : valeur générée 12.000 mA, gamme 1 (Génére 4-20mA), alimentation de boucle 2 "
         "(marche), filtre 4 (15 s), pleine échelle utilisateur 100.00, zéro utilisateur 0.00, "
         "format utilisateur 922 (\"#0.00\"), décimales 0 (\"#0.000\"), registre 10 : 0, langue 0 "
         "(français)",
         true},
        // The range read above gives the measurement and the levels their unit.
        {Sent(4, 0, 1), "lecture du registre d'entrée 0", true},
        {Read(4, {16800}), "réponse : mesure 12.000 mA", true},
        {Sent(3, 16, 8), "lecture des registres de maintien 16 à 23", true},
        {Read(3, ramp),
         "réponse : t1 10 s, t2 5 s, t3 10 s, t4 5 s, L1 50.0 %, L2 0.0 %, D 3 s, "
         "Rep 2",
         true},
        // Function 16 sends its values low byte first.
        {Written(1, {2, 0, 4, 0, 0, 0, 0, 922, 0, 0, 1}),
         "écriture des registres de maintien 1 à 11 : gamme 2 (Génére 0-10V), alimentation de "
         "boucle 0 (arrêt), filtre 4 (15 s)"},
        {Written(1, {2, 0, 4, 0, 0, 0, 0, 922, 0, 0, 1}),
         "langue 1 (anglais) (valeurs envoyées octet de poids faible en premier)"},
        {WriteAnswer(1, 11), "réponse : registres 1 à 11 écrits", true},
        {Sent(4, 0, 1), "lecture du registre d'entrée 0", true},
        {Read(4, {14000}), "réponse : mesure 5.000 V", true},
        {Read(4, {30801}), "réponse : mesure Dep+", true},
        // A late answer of another length is not read as the registers asked.
        {Sent(3, 48, 24), "lecture des registres de maintien 48 à 71", true},
        {Read(3, kFirstBlock), "réponse : 12 registres", true},
        {Read(3, memories, false), "réponse : 24 registres (CRC faux)", true},
        {Read(3, memories), "mémoire 2 (4-20 mA) 16.000 mA"},
        {Written(0, {16800, 1, 2}),
         "écriture des registres de maintien 0 à 2 : valeur générée 12.000 mA, gamme 1 (Génére "
         "4-20mA), alimentation de boucle 2 (marche) (valeurs envoyées octet de poids faible en "
         "premier)",
         true},
    };
    TrafficContext context;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text);
        const std::string meaning = FrameMeaning(step.text, kNode, context).toStdString();
        if (step.whole)
            EXPECT_EQ(meaning, step.meaning);
        else
            EXPECT_NE(meaning.find(step.meaning), std::string::npos) << meaning;
        context = ContextAfter(step.text, kNode, context);
    }
    QLocale::setDefault(QLocale::system());
}

TEST(FrameMeaning, WithoutTheRequestsTheValuesAreNotGuessed) {
    // A measurement with no range known, and a read's answer with no request.
    EXPECT_EQ(FrameMeaning(Read(4, {16800}), kNode).toStdString(), "réponse : 1 registre");
    TrafficContext measuring;
    measuring.function = modbus::kReadInput;
    measuring.count = 1;
    EXPECT_EQ(FrameMeaning(Read(4, {16800}), kNode, measuring).toStdString(),
              "réponse : mesure brute 16800");
    EXPECT_EQ(FrameMeaning(Read(3, kFirstBlock), kNode).toStdString(), "réponse : 12 registres");
}

}  // namespace
}  // namespace vadero
