#include "app/traffic/FrameMeaning.h"

#include <QCoreApplication>
#include <vector>

#include "calibrator/RegisterMap.h"
#include "modbus/Crc.h"
#include "modbus/ModbusFrame.h"

namespace vadero {

namespace {

struct Parsed {
    bool sent = false;
    bool cut = false;  // the text stopped at its length limit
    std::vector<std::uint8_t> bytes;

    bool CrcGood() const {
        const std::size_t n = bytes.size();
        return n >= 4 && Crc16(bytes.data(), n - 2) == (bytes[n - 2] | (bytes[n - 1] << 8));
    }
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

Parsed Parse(const std::string& text) {
    Parsed p;
    p.sent = text.rfind("TX", 0) == 0;
    p.cut = text.size() >= modbus::kMaxDebugText;
    const auto colon = text.find(':');
    for (std::size_t k = colon == std::string::npos ? text.size() : colon + 1;
         k + 1 < text.size();) {
        const int high = HexDigit(text[k]);
        const int low = HexDigit(text[k + 1]);
        if (high < 0 || low < 0) {
            ++k;
            continue;
        }
        p.bytes.push_back(std::uint8_t(high * 16 + low));
        k += 2;
    }
    return p;
}

int Word(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] * 256 + b[at + 1];
}

// The values of a function-16 request, which travel low byte first; empty
// when the frame is shorter than its count says.
std::vector<std::uint16_t> WrittenValues(const std::vector<std::uint8_t>& b) {
    const std::size_t count = std::size_t(Word(b, 4));
    std::vector<std::uint16_t> values;
    if (b.size() < 7 + 2 * count + 2)
        return values;
    for (std::size_t k = 0; k < count; ++k)
        values.push_back(std::uint16_t(b[7 + 2 * k] | (b[8 + 2 * k] << 8)));
    return values;
}

// The values of a function-3 or 4 answer, high byte first.
std::vector<std::uint16_t> ReadValues(const std::vector<std::uint8_t>& b) {
    const std::size_t count = b[2] / 2;
    std::vector<std::uint16_t> values;
    if (b.size() < 3 + 2 * count + 2)
        return values;
    for (std::size_t k = 0; k < count; ++k) values.push_back(std::uint16_t(Word(b, 3 + 2 * k)));
    return values;
}

QString Registers(const QString& kind, int first, int count) {
    if (count == 1)
        return QCoreApplication::translate("FrameMeaning", "du registre %1 %2")
            .arg(kind)
            .arg(first);
    return QCoreApplication::translate("FrameMeaning", "des registres %1 %2 à %3")
        .arg(kind)
        .arg(first)
        .arg(first + count - 1);
}

QString Holding() {
    return QCoreApplication::translate("FrameMeaning", "de maintien");
}

QString WriteMultiple(const std::vector<std::uint8_t>& b, int range) {
    const int address = Word(b, 2);
    const std::vector<std::uint16_t> values = WrittenValues(b);
    QString what = QCoreApplication::translate("FrameMeaning", "écriture %1")
                       .arg(Registers(Holding(), address, Word(b, 4)));
    if (values.empty())
        return what;
    return QCoreApplication::translate(
               "FrameMeaning", "%1 : %2 (valeurs envoyées octet de poids faible en premier)")
        .arg(what)
        .arg(JoinedMeaning(HoldingMeaning(address, values, range)));
}

QString Request(const std::vector<std::uint8_t>& b, int range) {
    if (b.size() < 6)
        return QCoreApplication::translate("FrameMeaning", "requête trop courte");
    const int function = b[1];
    const int address = Word(b, 2);
    const int value = Word(b, 4);
    switch (function) {
        case modbus::kReadHolding:
            return QCoreApplication::translate("FrameMeaning", "lecture %1")
                .arg(Registers(Holding(), address, value));
        case modbus::kReadInput:
            return QCoreApplication::translate("FrameMeaning", "lecture %1")
                .arg(Registers(QCoreApplication::translate("FrameMeaning", "d'entrée"), address,
                               value));
        case modbus::kWriteSingle: {
            const std::uint16_t word = std::uint16_t(value);
            return QCoreApplication::translate("FrameMeaning", "écriture du registre %1 : %2")
                .arg(address)
                .arg(JoinedMeaning(HoldingMeaning(address, {&word, 1}, range)));
        }
        case modbus::kWriteMultiple:
            return WriteMultiple(b, range);
        default:
            return QCoreApplication::translate("FrameMeaning", "fonction %1").arg(function);
    }
}

QString Exception(int code) {
    switch (code) {
        case 1:
            return QCoreApplication::translate("FrameMeaning", "exception 1 : fonction illégale");
        case 2:
            return QCoreApplication::translate("FrameMeaning", "exception 2 : adresse illégale");
        case 3:
            return QCoreApplication::translate("FrameMeaning", "exception 3 : valeur illégale");
        case 4:
            return QCoreApplication::translate("FrameMeaning",
                                               "exception 4 : défaillance de l'esclave");
        default:
            return QCoreApplication::translate("FrameMeaning", "exception %1").arg(code);
    }
}

// A read's answer: its values when it answers the request on the line.
QString ReadAnswer(const Parsed& p, const TrafficContext& before) {
    const std::vector<std::uint8_t>& b = p.bytes;
    const int function = b[1];
    const int count = b[2] / 2;
    const std::vector<std::uint16_t> values = ReadValues(b);
    const bool answers =
        before.function == function && before.count == count && !values.empty() && p.CrcGood();
    if (answers && function == modbus::kReadHolding)
        return QCoreApplication::translate("FrameMeaning", "réponse : %1")
            .arg(JoinedMeaning(HoldingMeaning(before.address, values, before.range)));
    if (answers && before.address == kMeasureRegister && count == 1)
        return QCoreApplication::translate("FrameMeaning", "réponse : %1")
            .arg(MeasureMeaning(values[0], before.range));
    return count == 1
               ? QCoreApplication::translate("FrameMeaning", "réponse : 1 registre")
               : QCoreApplication::translate("FrameMeaning", "réponse : %1 registres").arg(count);
}

QString Answer(const Parsed& p, const TrafficContext& before) {
    const std::vector<std::uint8_t>& b = p.bytes;
    const int function = b[1];
    if (function & 0x80)
        return QCoreApplication::translate("FrameMeaning", "%1 (fonction %2)")
            .arg(Exception(b[2]))
            .arg(function & 0x7F);
    switch (function) {
        case modbus::kReadHolding:
        case modbus::kReadInput:
            return ReadAnswer(p, before);
        case modbus::kWriteSingle:
        case modbus::kWriteMultiple:
            if (b.size() < 8)
                return QCoreApplication::translate("FrameMeaning",
                                                   "réponse d'écriture trop courte");
            if (function == modbus::kWriteSingle || Word(b, 4) == 1)
                return QCoreApplication::translate("FrameMeaning", "réponse : registre %1 écrit")
                    .arg(Word(b, 2));
            return QCoreApplication::translate("FrameMeaning", "réponse : registres %1 à %2 écrits")
                .arg(Word(b, 2))
                .arg(Word(b, 2) + Word(b, 4) - 1);
        default:
            return QCoreApplication::translate("FrameMeaning", "réponse de la fonction %1")
                .arg(function);
    }
}

// The range a frame sets or reads, if it holds register 1.
int RangeIn(const Parsed& p, const TrafficContext& before) {
    const std::vector<std::uint8_t>& b = p.bytes;
    const int function = b[1];
    int first = 0;
    std::vector<std::uint16_t> values;
    if (p.sent && function == modbus::kWriteMultiple && b.size() >= 6) {
        first = Word(b, 2);
        values = WrittenValues(b);
    } else if (p.sent && function == modbus::kWriteSingle && b.size() >= 6) {
        first = Word(b, 2);
        values = {std::uint16_t(Word(b, 4))};
    } else if (!p.sent && function == modbus::kReadHolding &&
               before.function == modbus::kReadHolding) {
        first = before.address;
        values = ReadValues(b);
        if (int(values.size()) != before.count)
            values.clear();
    }
    const int at = reg::kRange - first;
    return at >= 0 && at < int(values.size()) ? values[std::size_t(at)] : before.range;
}

}  // namespace

QString FrameMeaning(const std::string& traceText, std::uint8_t node,
                     const TrafficContext& before) {
    const Parsed p = Parse(traceText);
    if (p.bytes.size() < 4)
        return p.bytes.empty() ? QCoreApplication::translate("FrameMeaning", "trame vide")
                               : QCoreApplication::translate("FrameMeaning", "trame trop courte");
    QString prefix;
    if (p.bytes[0] != node)
        prefix = QCoreApplication::translate("FrameMeaning", "esclave %1, ").arg(p.bytes[0]);
    QString suffix;
    if (p.cut)
        suffix = QCoreApplication::translate("FrameMeaning", " (texte coupé)");
    else if (!p.CrcGood())
        suffix = QCoreApplication::translate("FrameMeaning", " (CRC faux)");
    return prefix + (p.sent ? Request(p.bytes, before.range) : Answer(p, before)) + suffix;
}

TrafficContext ContextAfter(const std::string& traceText, std::uint8_t node,
                            const TrafficContext& before) {
    const Parsed p = Parse(traceText);
    // What did not reach the calibrator, or is not its answer, tells nothing.
    if (p.bytes.size() < 6 || p.bytes[0] != node || !p.CrcGood())
        return before;
    TrafficContext after = before;
    after.range = RangeIn(p, before);
    if (p.sent) {
        after.function = p.bytes[1];
        after.address = Word(p.bytes, 2);
        after.count = p.bytes[1] == modbus::kWriteSingle ? 1 : Word(p.bytes, 4);
    }
    return after;
}

}  // namespace vadero
