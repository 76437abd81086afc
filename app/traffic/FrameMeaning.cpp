#include "app/traffic/FrameMeaning.h"

#include <vector>

#include "modbus/Crc.h"
#include "modbus/ModbusFrame.h"

namespace vadero {

namespace {

struct Parsed {
    bool sent = false;
    bool cut = false;  // the text stopped at its length limit
    std::vector<std::uint8_t> bytes;
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

std::string Registers(const char* kind, int first, int count) {
    if (count == 1)
        return std::string("du registre ") + kind + " " + std::to_string(first);
    return std::string("des registres ") + kind + " " + std::to_string(first) + " à " +
           std::to_string(first + count - 1);
}

std::string Request(const std::vector<std::uint8_t>& b) {
    if (b.size() < 6)
        return "requête trop courte";
    const int function = b[1];
    const int address = Word(b, 2);
    const int value = Word(b, 4);
    switch (function) {
        case modbus::kReadHolding:
            return "lecture " + Registers("de maintien", address, value);
        case modbus::kReadInput:
            return "lecture " + Registers("d'entrée", address, value);
        case modbus::kWriteSingle:
            return "écriture du registre " + std::to_string(address) + " : " +
                   std::to_string(value);
        case modbus::kWriteMultiple:
            return "écriture " + Registers("de maintien", address, value);
        default:
            return "fonction " + std::to_string(function);
    }
}

std::string Exception(int code) {
    static const char* const kNames[] = {"fonction illégale", "adresse illégale", "valeur illégale",
                                         "défaillance de l'esclave"};
    const std::string text = "exception " + std::to_string(code);
    return code >= 1 && code <= 4 ? text + " : " + kNames[code - 1] : text;
}

std::string Answer(const std::vector<std::uint8_t>& b) {
    const int function = b[1];
    if (function & 0x80)
        return Exception(b[2]) + " (fonction " + std::to_string(function & 0x7F) + ")";
    switch (function) {
        case modbus::kReadHolding:
        case modbus::kReadInput: {
            const int count = b[2] / 2;
            return "réponse : " + std::to_string(count) + (count == 1 ? " registre" : " registres");
        }
        case modbus::kWriteSingle:
        case modbus::kWriteMultiple:
            if (b.size() < 8)
                return "réponse d'écriture trop courte";
            return function == modbus::kWriteSingle
                       ? "réponse : registre " + std::to_string(Word(b, 2)) + " écrit"
                       : "réponse : " + Registers("de maintien", Word(b, 2), Word(b, 4)) +
                             " écrits";
        default:
            return "réponse de la fonction " + std::to_string(function);
    }
}

}  // namespace

std::string FrameMeaning(const std::string& traceText, std::uint8_t node) {
    const Parsed p = Parse(traceText);
    if (p.bytes.size() < 4)
        return p.bytes.empty() ? "trame vide" : "trame trop courte";
    std::string prefix;
    if (p.bytes[0] != node)
        prefix = "esclave " + std::to_string(p.bytes[0]) + ", ";
    std::string suffix;
    if (p.cut) {
        suffix = " (texte coupé)";
    } else {
        const std::size_t n = p.bytes.size();
        const int crc = p.bytes[n - 2] | (p.bytes[n - 1] << 8);
        if (Crc16(p.bytes.data(), n - 2) != crc)
            suffix = " (CRC faux)";
    }
    return prefix + (p.sent ? Request(p.bytes) : Answer(p.bytes)) + suffix;
}

}  // namespace vadero
