// Bytes fed to lcx3 serve's request path as a client sends them: the
// framing check by the MBAP header, the translation to the calibrator's RTU request, and the
// reply made of an answer, once the emulated calibrator's own and once the
// fuzzer's. Aborts on any read outside the bytes (ASan), and when a request
// is both forwarded and refused, a refusal is no exception of the gateway's,
// a forwarded frame is no valid request of at most 255 bytes, a write does
// not land in the calibrator's bank as the client sent it (high byte first),
// the calibrator's own answer is not understood, or a reply could not travel.
//
// Input: one byte of flags (bit 0: read only), one byte B, then B bytes of
// request (the rest when fewer), then the bytes of an answer.

#include <algorithm>
#include <cstdint>
#include <span>

#include "emulator/ModbusSlave.h"
#include "fuzz/FuzzCheck.h"
#include "gateway/GatewayFrames.h"
#include "modbus/Crc.h"

namespace {

using namespace vadero;
using gateway::Bytes;

std::uint16_t Word(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint16_t(b[at] << 8 | b[at + 1]);
}

void CheckReply(const gateway::Forward& f, const Bytes& reply) {
    FUZZ_CHECK(!reply.empty() && reply.size() <= gateway::kMaxPdu);
    FUZZ_CHECK((reply[0] & 0x7F) == f.function);
    if (reply[0] & 0x80) {
        FUZZ_CHECK(reply.size() == 2);
        return;
    }
    if (f.function == 3 || f.function == 4)
        FUZZ_CHECK(reply.size() == 2u + 2u * unsigned(f.count) && reply[1] == 2 * f.count);
    else
        FUZZ_CHECK(reply.size() == 5 && Word(reply, 1) == f.address);
    if (f.function == 6)
        FUZZ_CHECK(Word(reply, 3) == f.value);
    FUZZ_CHECK(gateway::JoinAdu(0, 100, reply).size() <= gateway::kMaxAdu);
}

void Forwarded(const gateway::Forward& f, std::span<const std::uint8_t> pdu,
               std::span<const std::uint8_t> answer) {
    const Bytes& frame = f.frame;
    FUZZ_CHECK(frame.size() >= 8 && frame.size() <= 255 && frame[0] == 100);
    const std::uint16_t crc = std::uint16_t(frame[frame.size() - 1] << 8 | frame[frame.size() - 2]);
    FUZZ_CHECK(Crc16(frame.data(), frame.size() - 2) == crc);
    FUZZ_CHECK(frame[1] == (f.function == 6 ? 16 : f.function));

    // The calibrator's own answer is always understood, and a write lands as sent.
    emu::RegisterBank bank = emu::FactoryBank();
    const emu::SlaveReply slave = emu::Serve(frame, bank);
    FUZZ_CHECK(slave.answer.has_value());
    const auto reply = gateway::ReplyOf(f, *slave.answer, 100);
    FUZZ_CHECK(reply.has_value());
    CheckReply(f, *reply);
    if (slave.writtenCount > 0) {
        FUZZ_CHECK(slave.writtenFirst == f.address && slave.writtenCount == f.count);
        for (int i = 0; i < f.count; ++i) {
            const std::uint16_t sent =
                f.function == 6 ? Word(pdu, 3) : Word(pdu, 6 + 2 * std::size_t(i));
            FUZZ_CHECK(bank.holding[std::size_t(f.address + i)] == sent);
        }
    }
    if (const auto other = gateway::ReplyOf(f, answer, 100))
        CheckReply(f, *other);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const bool readOnly = data[0] & 1;
    const std::size_t length = std::min<std::size_t>(data[1], size - 2);
    const std::span<const std::uint8_t> received(data + 2, std::min(length, gateway::kMaxAdu));
    const std::span<const std::uint8_t> answer(data + 2 + length, size - 2 - length);

    const gateway::Framing framing = gateway::CheckFraming(received);
    if (framing.kind != gateway::Framing::Kind::Whole)
        return 0;
    const gateway::Adu adu = gateway::SplitAdu(received);
    FUZZ_CHECK(!adu.pdu.empty() && adu.pdu.size() + gateway::kMbapLength == received.size());
    gateway::RouteUnit(adu.unit, 3, (data[0] & 2) != 0);

    const gateway::Translation t = gateway::Translate(adu.pdu, 100, readOnly);
    FUZZ_CHECK(t.forward.has_value() != !t.reply.empty());
    if (!t.forward) {
        FUZZ_CHECK(t.reply.size() == 2 && t.reply[0] == (adu.pdu[0] | 0x80));
        FUZZ_CHECK(t.reply[1] >= gateway::kIllegalFunction && t.reply[1] <= gateway::kIllegalValue);
        return 0;
    }
    FUZZ_CHECK(!(readOnly && (t.forward->function == 6 || t.forward->function == 16)));
    Forwarded(*t.forward, adu.pdu, answer);
    return 0;
}
