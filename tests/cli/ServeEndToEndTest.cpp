// lcx3 --emulate serve as a process, reached by standard Modbus TCP clients
// (libmodbus, mbpoll) on a port the system chose; every result is checked
// against the emulated calibrator's bank, as its state file holds it.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <thread>

#include "emulator/RegisterBank.h"
#include "tests/cli/ServeProcess.h"
#include "tests/support/ModbusClient.h"
#include "tests/support/RawSocket.h"

namespace vadero::test {
namespace {

using Words = std::vector<std::uint16_t>;

Words Block(const emu::RegisterBank& bank, int address, int count) {
    return Words(bank.holding.begin() + address, bank.holding.begin() + address + count);
}

// The factory bank with a few registers whose two bytes differ.
emu::RegisterBank Marked() {
    emu::RegisterBank bank = emu::FactoryBank();
    bank.holding[50] = 0xA55A;
    bank.holding[60] = 0x1234;
    return bank;
}

// A command's output and status, its files in the scratch folder.
Lcx3Result Shell(const Lcx3Process& scratch, const std::string& command) {
    const std::string line = "timeout 60 " + command + " >'" + scratch.File("out") + "' 2>'" +
                             scratch.File("err") + "' </dev/null";
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(scratch.File("out")),
            Slurp(scratch.File("err"))};
}

class Serve : public ::testing::Test {
  protected:
    Serve() { lcx3.SaveState(bank); }
    Lcx3Process lcx3;
    const emu::RegisterBank bank = Marked();
};

TEST_F(Serve, ReadsTheBankAndWritesLandInItByteForByte) {
    ServeProcess serve(lcx3, "");
    ModbusClient client(serve.Port());
    const Reply all = client.Holding(0, emu::kHoldingCount);
    EXPECT_EQ(all.exception, 0);
    EXPECT_EQ(all.values, Block(bank, 0, emu::kHoldingCount));
    EXPECT_EQ(client.Input(0, 1).values, Words{emu::InputValue(bank, 0)});
    // Function 6 and 16, values high byte first as every client sends them.
    EXPECT_EQ(client.WriteOne(5, 0x1234), 0);
    EXPECT_EQ(client.WriteMany(16, {0xABCD, 0x0102, 0x7F80}), 0);
    EXPECT_EQ(client.Holding(5, 1).values, Words{0x1234});
    EXPECT_EQ(client.Holding(16, 3).values, (Words{0xABCD, 0x0102, 0x7F80}));
    EXPECT_EQ(serve.Stop(SIGINT), 0);
    emu::RegisterBank expected = bank;
    expected.holding[5] = 0x1234;
    expected.holding[16] = 0xABCD;
    expected.holding[17] = 0x0102;
    expected.holding[18] = 0x7F80;
    EXPECT_EQ(lcx3.State().holding, expected.holding);
    const std::string log = serve.Log();
    EXPECT_NE(log.find("listening on 127.0.0.1:"), std::string::npos) << log;
    EXPECT_NE(log.find("connected (1 of 16)"), std::string::npos) << log;
    EXPECT_NE(log.find("stopped"), std::string::npos) << log;
}

TEST_F(Serve, ReadOnlyRefusesEveryWrite) {
    ServeProcess serve(lcx3, "", "--read-only");
    ModbusClient client(serve.Port());
    EXPECT_EQ(client.WriteOne(5, 0x1234), 0x01);
    EXPECT_EQ(client.WriteMany(16, {1, 2}), 0x01);
    EXPECT_EQ(client.Holding(0, 12).values, Block(bank, 0, 12));
    EXPECT_EQ(serve.Stop(), 0);
    EXPECT_EQ(lcx3.State().holding, bank.holding);
}

TEST_F(Serve, UnitsFunctionsAndTheCalibratorsOwnExceptions) {
    struct Case {
        int unit;
        std::vector<std::uint8_t> pdu;
        int exception;
    };
    const std::vector<Case> cases = {
        {100, {0x03, 0, 0, 0, 1}, 0},
        {255, {0x03, 0, 0, 0, 1}, 0},
        {0, {0x03, 0, 0, 0, 1}, 0},
        {1, {0x03, 0, 0, 0, 1}, 0x0A},
        {247, {0x06, 0, 5, 0, 1}, 0x0A},
        {100, {0x01, 0, 0, 0, 1}, 0x01},                        // read coils
        {100, {0x05, 0, 0, 0xFF, 0}, 0x01},                     // write coil
        {100, {0x11}, 0x01},                                    // report server id
        {100, {0x2B, 0x0E, 0x01, 0x00}, 0x01},                  // device identification
        {100, {0x03, 0, 72, 0, 1}, 0x02},                       // beyond the bank: the calibrator's
        {100, {0x04, 0, 1, 0, 1}, 0x02},                        // the measurement only
        {100, {0x03, 0, 0, 0, 0}, 0x03},                        // no register
        {100, {0x03, 0, 0, 0, 126}, 0x03},                      // beyond a reply
        {100, {0x10, 0, 0, 0, 1, 4, 0, 1, 0, 2}, 0x03},         // two values for one register
        {100, {0x10, 0, 0, 0, 2, 2, 0, 1, 0, 2}, 0x03},         // a byte count not twice two
        {100, {0x03, 0, 0, 0, 1, 0x55}, 0x03},                  // a byte beyond a read
        {100, {0x10, 0, 70, 0, 3, 6, 0, 1, 0, 2, 0, 3}, 0x02},  // beyond the bank
    };
    ServeProcess serve(lcx3, "--trace");
    ModbusClient client(serve.Port());
    for (const Case& c : cases)
        EXPECT_EQ(client.Raw(c.pdu, c.unit), c.exception)
            << "unit " << c.unit << " function " << int(c.pdu[0]);
    // The connection went on in step through all of them.
    EXPECT_EQ(client.Holding(48, 24).values, Block(bank, 48, 24));
    EXPECT_EQ(serve.Stop(), 0);
    EXPECT_EQ(lcx3.State().holding, bank.holding);
    EXPECT_NE(serve.Log().find("unit 1 function 3: exception 0x0A (gateway path unavailable)"),
              std::string::npos)
        << serve.Log();
}

TEST_F(Serve, APoweredOffCalibratorIsATargetThatFailedToRespond) {
    ServeProcess serve(lcx3, "--emulator-fault off");
    ModbusClient client(serve.Port());
    EXPECT_EQ(client.Holding(0, 12).exception, 0x0B);
    EXPECT_EQ(client.WriteOne(5, 1), 0x0B);
    EXPECT_EQ(serve.Stop(), 0);
}

TEST_F(Serve, FourClientsAtOnceEachGetTheirOwnAnswers) {
    ServeProcess serve(lcx3, "");
    struct Seen {
        std::vector<Words> reads;
        int wrote = -1;
    };
    std::vector<Seen> seen(4);
    const std::array<std::pair<int, int>, 4> blocks{{{0, 12}, {16, 8}, {48, 24}, {60, 1}}};
    std::vector<std::thread> clients;
    for (int k = 0; k < 4; ++k)
        clients.emplace_back([&, k] {
            ModbusClient client(serve.Port());
            for (int n = 0; n < 4; ++n)
                seen[k].reads.push_back(client.Holding(blocks[k].first, blocks[k].second).values);
            seen[k].wrote = client.WriteOne(20 + k, std::uint16_t(0x1101 * (k + 1)));
        });
    for (auto& t : clients) t.join();
    emu::RegisterBank expected = bank;
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(seen[k].wrote, 0);
        for (const Words& read : seen[k].reads)
            EXPECT_EQ(read, Block(bank, blocks[k].first, blocks[k].second)) << "client " << k;
        expected.holding[std::size_t(20) + std::size_t(k)] = std::uint16_t(0x1101 * (k + 1));
    }
    EXPECT_EQ(serve.Stop(), 0);
    EXPECT_EQ(lcx3.State().holding, expected.holding);
}

TEST_F(Serve, MalformedFramesAreClosedWithALogLineAndTheOthersGoOnBeingServed) {
    using Frame = std::vector<std::uint8_t>;
    Frame oversized{0, 1, 0, 0, 0, 0xFF, 100, 0x10, 0, 0, 0, 0x7F, 0xFE};
    oversized.resize(oversized.size() + 0xFE, 0x55);
    std::mt19937 dice(7);
    Frame noise(64);
    for (auto& b : noise) b = std::uint8_t(dice());
    noise[2] = 0x99;  // never a Modbus protocol identifier
    noise[7] = 0x03;  // read as a request of 12 bytes
    const std::vector<Frame> malformed = {
        {0, 1, 0, 7, 0, 6, 100, 3, 0, 0, 0, 1},     // protocol 7
        {0, 1, 0, 0, 0, 0, 100, 3, 0, 0, 0, 1},     // length 0
        {0, 1, 0, 0, 1, 0x2C, 100, 3, 0, 0, 0, 1},  // length 300
        oversized,                                  // 254 data bytes
        noise,
    };
    const std::vector<Frame> stalled = {
        {0, 1, 0},                               // half a header
        {0, 1, 0, 0, 0, 200, 100, 0x2B, 1},      // an announced length never sent
        {0, 1, 0, 0, 0, 9, 100, 3, 0, 0, 0, 1},  // length beyond the request
    };
    ServeProcess serve(lcx3, "");
    std::vector<std::unique_ptr<Socket>> bad;
    for (const auto& frames : {malformed, stalled})
        for (const Frame& f : frames) {
            bad.push_back(std::make_unique<Socket>(serve.Port()));
            bad.back()->Send(f);
        }
    auto halfOpen = std::make_unique<Socket>(serve.Port());
    halfOpen->Send({0, 1, 0, 0});
    halfOpen->CloseWriting();
    // Served while the stalled ones still hold their half requests.
    ModbusClient client(serve.Port());
    EXPECT_EQ(client.Holding(0, 12).values, Block(bank, 0, 12));
    for (std::size_t k = 0; k < bad.size(); ++k) EXPECT_TRUE(bad[k]->ClosedByPeer()) << k;
    EXPECT_TRUE(halfOpen->ClosedByPeer());
    EXPECT_EQ(client.Holding(16, 8).values, Block(bank, 16, 8));
    EXPECT_EQ(serve.Stop(), 0);
    const std::string log = serve.Log();
    const auto count = [&log](const std::string& what) {
        std::size_t n = 0;
        for (auto at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("closed: malformed request"), malformed.size()) << log;
    EXPECT_EQ(count("closed: incomplete request"), stalled.size()) << log;
    EXPECT_EQ(count("closed: by the client"), 1u) << log;
}

TEST_F(Serve, MbpollReadsTheBankAndWritesIntoIt) {
    ServeProcess serve(lcx3, "");
    const std::string mbpoll =
        "mbpoll -m tcp -a 100 -0 -1 -o 5 -t 4:hex -p " + std::to_string(serve.Port()) + " ";
    const Lcx3Result read = Shell(lcx3, mbpoll + "-r 48 -c 24 127.0.0.1");
    ASSERT_EQ(read.code, 0) << read.err;
    Words values;
    const std::regex row(R"(\[(\d+)\]:\s+0x([0-9A-Fa-f]{4}))");
    for (auto it = std::sregex_iterator(read.out.begin(), read.out.end(), row);
         it != std::sregex_iterator(); ++it)
        values.push_back(std::uint16_t(std::stoul((*it)[2].str(), nullptr, 16)));
    EXPECT_EQ(values, Block(bank, 48, 24)) << read.out;
    // One value goes as function 6, two as function 16.
    EXPECT_EQ(Shell(lcx3, mbpoll + "-r 20 127.0.0.1 0x1234").code, 0);
    EXPECT_EQ(Shell(lcx3, mbpoll + "-r 21 127.0.0.1 0xABCD 0x0102").code, 0);
    EXPECT_EQ(serve.Stop(), 0);
    const emu::RegisterBank after = lcx3.State();
    EXPECT_EQ(Block(after, 20, 3), (Words{0x1234, 0xABCD, 0x0102}));
}

TEST_F(Serve, WithABenchUnitNReachesCalibratorN) {
    ServeProcess serve(lcx3, "--emulator-devices 2 -d all");
    ModbusClient client(serve.Port(), 2);
    EXPECT_EQ(client.WriteOne(3, 0x0A0B), 0);
    EXPECT_EQ(client.Holding(3, 1).values, Words{0x0A0B});
    client.Unit(1);
    EXPECT_EQ(client.Holding(3, 1).values, Words{bank.holding[3]});
    for (const int unit : {3, 100, 0}) {
        client.Unit(unit);
        EXPECT_EQ(client.Holding(3, 1).exception, 0x0A) << unit;
    }
    EXPECT_EQ(serve.Stop(), 0);
    EXPECT_EQ(lcx3.State().holding, bank.holding);  // calibrator 1's
}

TEST_F(Serve, RefusesWhatItCannotServeBeforeOpeningAnything) {
    ServeProcess serve(lcx3, "");
    const std::string taken = "127.0.0.1:" + std::to_string(serve.Port());
    struct Case {
        std::string arguments;
        int code;
        std::string says;
    };
    const std::vector<Case> cases = {
        {"serve --listen 1502", 1, "--listen"},
        {"serve --listen 127.0.0.1:", 1, "--listen"},
        {"serve --listen 127.0.0.1:65536", 1, "--listen"},
        {"serve --listen ::1:1502", 1, "--listen"},
        {"serve --listen :1502", 1, "--listen"},
        {"serve --listen " + taken, 1, "cannot listen on"},
    };
    for (const Case& c : cases) {
        const Lcx3Result r = lcx3.Exec("--emulate " + c.arguments);
        EXPECT_EQ(r.code, c.code) << c.arguments;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.arguments << ": " << r.err;
    }
    EXPECT_EQ(serve.Stop(), 0);
}

// A service: without its calibrator it starts all the same, and says why
// each request gets exception 0x0A (gateway path unavailable).
TEST_F(Serve, WithoutItsCalibratorItStartsAndAnswersPathUnavailable) {
    for (const char* options : {"--emulator-fault unplugged", "-d 2"}) {
        ServeProcess serve(lcx3, options);
        ModbusClient client(serve.Port());
        EXPECT_EQ(client.Holding(0, 12).exception, 0x0A) << options;
        EXPECT_EQ(serve.Stop(), 0);
        EXPECT_NE(serve.Log().find("answered with exception 0x0A until one is plugged in"),
                  std::string::npos)
            << serve.Log();
    }
}

}  // namespace
}  // namespace vadero::test
