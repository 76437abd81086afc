// Bad input at lcx3's edges: each is refused with a message on stderr and its
// exit status, and the calibrator is sent nothing (no write at all).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "emulator/BankJson.h"
#include "emulator/EmulatorHid.h"
#include "tests/cli/BorrowedHid.h"
#include "tests/support/ScratchDir.h"
#include "transport/hidraw/HidrawLayer.h"

namespace vadero {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Result {
    int code = -1;
    std::string err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class BadInput : public ::testing::Test {
  protected:
    void SetUp() override {
        bank_ = emu::FactoryBank();
        bank_.holding[3] = 9;
        emu::SaveBankFile(bank_, File("state.json"));
    }
    std::string File(const std::string& name) const { return dir_.File(name); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(File(name)) << text;
    }
    // A backup as lcx3 writes it, from the emulated calibrator.
    nlohmann::json Backup() const {
        const Result r = Run("backup '" + File("good.json") + "'");
        EXPECT_EQ(r.code, 0) << r.err;
        return nlohmann::json::parse(Slurp(File("good.json")));
    }
    // lcx3 on the emulated calibrator of the state file, every frame traced.
    Result Run(const std::string& arguments) const {
        const std::string command = std::string("timeout 30 '") + LCX3_PROGRAM +
                                    "' --emulate --pace fast --trace --emulator-state '" +
                                    File("state.json") + "' " + arguments + " >/dev/null 2>'" +
                                    File("err") + "' </dev/null";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(File("err"))};
    }
    // Refused: status 1, a message of lcx3's, no frame sent, the bank as it was.
    void ExpectRefused(const std::string& arguments, const std::string& message) const {
        SCOPED_TRACE(arguments);
        const Result r = Run(arguments);
        EXPECT_EQ(r.code, cli::kUsage) << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(" TX : "), std::string::npos) << r.err;
        EXPECT_EQ(emu::LoadBankFile(File("state.json")), bank_);
    }

    test::ScratchDir dir_{"lcx3-bad"};
    emu::RegisterBank bank_;
};

TEST_F(BadInput, RestoreRefusesFilesThatAreNoGoodBackup) {
    const nlohmann::json good = Backup();
    const std::string text = Slurp(File("good.json"));
    Write("truncated.json", text.substr(0, text.size() / 2));
    Write("empty.json", "");
    Write("other.json", R"({"devices": []})");
    Write("array.json", "[1, 2, 3]");
    Write("trailing.json", text + "x");
    // Two "holding" arrays: the parser would keep the second without a word.
    Write("twice.json", "{\"holding\": " + good["holding"].dump() +
                            ", \"holding\": " + good["holding"].dump() + "}");
    auto edited = [&](const std::string& name, auto change) {
        nlohmann::json doc = good;
        change(doc["holding"]);
        Write(name, doc.dump());
    };
    edited("71.json", [](auto& h) { h.erase(71); });
    edited("73.json", [](auto& h) { h.push_back(0); });
    edited("string.json", [](auto& h) { h[3] = "5"; });
    edited("negative.json", [](auto& h) { h[9] = -1; });
    edited("fraction.json", [](auto& h) { h[17] = 1.5; });
    edited("float.json", [](auto& h) { h[17] = 2.0; });
    edited("large.json", [](auto& h) { h[10] = 65536; });
    edited("null.json", [](auto& h) { h[20] = nullptr; });
    edited("nested.json", [](auto& h) { h[48] = nlohmann::json::array({1}); });
    edited("object.json", [](auto& h) { h[48] = {{"v", 1}}; });
    edited("bool.json", [](auto& h) { h[11] = true; });
    edited("range.json", [](auto& h) { h[1] = 6; });
    edited("filter.json", [](auto& h) { h[3] = 17; });
    edited("language.json", [](auto& h) { h[11] = 2; });
    edited("reg12.json", [](auto& h) { h[12] = 0; });
    edited("reg30.json", [](auto& h) { h[30] = 5; });
    edited("reg47.json", [](auto& h) { h[47] = 5; });
    fs::create_directories(File("dir.json"));
    ASSERT_EQ(::mkfifo(File("fifo.json").c_str(), 0600), 0);  // a read would block for ever

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"truncated.json", "not a JSON document: parse error"},
        {"empty.json", "is empty, not a backup"},
        {"other.json", "not a backup: no \"holding\" array"},
        {"array.json", "not a backup: no \"holding\" array"},
        {"trailing.json", "not a JSON document"},
        {"twice.json", "the key \"holding\" appears twice"},
        {"71.json", "array has 71 registers, not 72"},
        {"73.json", "array has 73 registers, not 72"},
        {"string.json", "register 3 is not an integer from 0 to 65535"},
        {"negative.json", "register 9 is not an integer from 0 to 65535"},
        {"fraction.json", "register 17 is not an integer from 0 to 65535"},
        {"float.json", "register 17 is not an integer from 0 to 65535"},
        {"large.json", "register 10 is not an integer from 0 to 65535"},
        {"null.json", "register 20 is not an integer from 0 to 65535"},
        {"nested.json", "register 48 is not an integer"},
        {"object.json", "register 48 is not an integer"},
        {"bool.json", "register 11 is not an integer from 0 to 65535"},
        {"range.json", "range (register 1) holds 6 (unknown), which no calibrator holds"},
        {"filter.json", "filter (register 3) holds 17 (64 s), which no calibrator holds"},
        {"language.json", "language (register 11) holds 2 (unknown)"},
        {"reg12.json", "register 12 is never read nor written; it must be null"},
        {"reg30.json", "register 30 is never read nor written"},
        {"reg47.json", "register 47 is never read nor written"},
        {"dir.json", "is a directory"},
        {"fifo.json", "is not a regular file"},
        {"missing.json", "No such file or directory"},
        {"/dev/zero", "is not a regular file"},
        {"/proc/self/mem", "cannot read /proc/self/mem"},  // a read error, even for root
    };
    for (const auto& [name, message] : cases) {
        const std::string path = name[0] == '/' ? name : File(name);
        ExpectRefused("restore '" + path + "'", message);
    }
    if (::geteuid() != 0) {
        Write("locked.json", text);
        fs::permissions(File("locked.json"), fs::perms::none);
        ExpectRefused("restore '" + File("locked.json") + "'", "Permission denied");
    }
    const Result r = Run("restore '" + File("good.json") + "'");  // the good one still restores
    EXPECT_EQ(r.code, 0) << r.err;
    // A decoded field edited by hand: what would be restored is not what it says.
    nlohmann::json hand = good;
    hand["filter"]["position"] = 4;
    Write("hand.json", hand.dump());
    ExpectRefused("restore '" + File("hand.json") + "'", "field \"filter.position\" disagrees");
}

TEST_F(BadInput, SetRefusesEveryKindOfBadValue) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"colour=red", "unknown key"},
        {"=5", "unknown key"},
        {"mem-5mA-1=4", "unknown key"},
        {"filter=", "not an integer"},
        {"user-zero=", "not a number"},
        {"range=", "expected a range label"},
        {"filter=abc", "not an integer"},
        {"user-zero=abc", "not a number"},
        {"filter=17", "outside 0 to 16"},
        {"t1=-1", "outside 0 to 99"},
        {"mem-010V-1=11.5", "outside 0 to 11"},
        {"user-full-scale=1e6", "outside -9999 to 99999"},
        {"filter=1.5", "not an integer"},
        {"repeat=2e1", "not an integer"},
        {"filter=3x", "not an integer"},
        {"user-zero=5V", "not a number"},
        {"user-zero=0x10", "not a number"},
        {"user-zero=' 5'", "not a number"},
        {"filter=+5", "not an integer"},
        {"filter=99999999999999999999", "not an integer"},
        {"user-zero=1e400", "too large or too small"},
        {"user-zero=1e-400", "too large or too small"},
        {"l1=nan", "not a number"},
        {"mem-020mA-1=inf", "not a number"},
        {"language=de", "expected fr or en"},
        {"loop-power=ON", "expected off or on"},
        {"range=Mesure", "expected a range label"},
        {"range=6", "expected a range label"},
        {"filter", "expected KEY=VALUE"},
        {"mem-020mA-9=4", "outside 1 to 8"},
        {"t1=5 t1=6", "given twice"},
        {"user-digits=3 user-decimals=2", "user-decimals must be"},
    };
    for (const auto& [settings, message] : cases) ExpectRefused("set " + settings, message);
    ExpectRefused("set", "SETTINGS is required");
}

TEST_F(BadInput, DeviceTakesANumberNotAPath) {
    for (const char* device :
         {"/dev/null", "/tmp", "/dev/hidraw-none", "0", "-1", "abc", "1.5", "99999999999", "''"})
        ExpectRefused(std::string("--device ") + device + " read", "is no calibrator number");
    const Result r = Run("--device 2 read");
    EXPECT_EQ(r.code, cli::kNoDevice) << r.err;
    EXPECT_NE(r.err.find("no calibrator number 2 (1 found)"), std::string::npos) << r.err;
}

// The kernel's layer opens nothing but hidraw nodes, and never blocks on one.
TEST_F(BadInput, HidrawOpensNoOtherKindOfPath) {
    Write("regular", "x");
    ASSERT_EQ(::mkfifo(File("fifo").c_str(), 0600), 0);
    fs::create_directory_symlink("/tmp", File("link"));
    HidrawLayer layer;
    for (const std::string& path : {File("regular"), File("fifo"), File("link"), File("gone"),
                                    std::string("/dev/null"), std::string("/tmp")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(layer.open(path), nullptr);
    }
}

// The emulated calibrator unplugged while lcx3 looks for it: after the Nth
// enumeration (the count, the search, the open's own listing, the selection).
class VanishingHid : public HidLayer {
  public:
    explicit VanishingHid(int unplugAt) : unplugAt_(unplugAt) { device_ = &emu_.AddDevice(); }
    std::vector<std::string> enumerate(bool includeRegistered) override {
        if (++enumerations_ == unplugAt_)
            device_->Unplug();
        return emu_.enumerate(includeRegistered);
    }
    std::unique_ptr<HidHandle> open(const std::string& path) override { return emu_.open(path); }
    std::unique_ptr<HidWake> makeWake() override { return emu_.makeWake(); }
    void pause(std::chrono::milliseconds duration, HidWake& wake) override {
        emu_.pause(duration, wake);
    }
    std::chrono::steady_clock::time_point now() const override { return emu_.now(); }

    emu::EmulatedLcx3* device_ = nullptr;

  private:
    emu::EmulatorHid emu_;
    int enumerations_ = 0;
    const int unplugAt_;
};

TEST_F(BadInput, ACalibratorUnpluggedBeforeItOpensIsReportedAndNotWritten) {
    Backup();
    for (const char* command : {"restore", "set", "read"}) {
        for (int unplugAt = 1; unplugAt <= 4; ++unplugAt) {
            SCOPED_TRACE(std::string(command) + " unplugged at enumeration " +
                         std::to_string(unplugAt));
            cli::Options o;
            o.command = command;
            o.pace = cli::Pace::Fast;
            if (o.command == "restore")
                o.arguments = {File("good.json")};
            if (o.command == "set")
                o.arguments = {"filter=5"};
            VanishingHid hid(unplugAt);
            const emu::EmulatedLcx3& device = *hid.device_;
            const auto start = std::chrono::steady_clock::now();
            const int code = cli::RunCommand(o, std::make_unique<test::BorrowedHid>(hid));
            EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
            EXPECT_EQ(code, cli::kNoDevice);
            EXPECT_EQ(device.Stats().requests, 0u);
            for (int k = 0; k < kRegisterCount; ++k) EXPECT_EQ(device.WriteCount(k), 0u) << k;
        }
    }
}

// A calibrator that is listed but whose reports cannot be set up (its report
// descriptor unreadable): present, yet not opened, and never written.
class NoReports : public HidHandle {
  public:
    explicit NoReports(std::unique_ptr<HidHandle> handle) : handle_(std::move(handle)) {}
    std::optional<HidAttributes> attributes() override { return handle_->attributes(); }
    std::optional<std::string> manufacturer() override { return handle_->manufacturer(); }
    std::optional<std::string> product() override { return handle_->product(); }
    std::optional<std::string> serialNumber() override { return handle_->serialNumber(); }
    std::optional<HidCaps> caps() override { return std::nullopt; }
    int read(std::uint8_t* buffer, int length, HidWake& wake) override {
        return handle_->read(buffer, length, wake);
    }
    int write(const std::uint8_t* data, int length) override {
        return handle_->write(data, length);
    }

  private:
    std::unique_ptr<HidHandle> handle_;
};

class Unopenable : public test::BorrowedHid {
  public:
    using BorrowedHid::BorrowedHid;
    std::unique_ptr<HidHandle> open(const std::string& path) override {
        auto handle = BorrowedHid::open(path);
        return handle ? std::make_unique<NoReports>(std::move(handle)) : nullptr;
    }
};

TEST_F(BadInput, ACalibratorThatCannotBeOpenedExitsFive) {
    emu::EmulatorHid hid(emu::EmulatorHid::Time::Virtual);
    const emu::EmulatedLcx3& device = hid.AddDevice();
    for (const char* command : {"read", "set", "measure"}) {
        SCOPED_TRACE(command);
        cli::Options o;
        o.command = command;
        o.pace = cli::Pace::Fast;
        if (o.command == "set")
            o.arguments = {"filter=5"};
        EXPECT_EQ(cli::RunCommand(o, std::make_unique<Unopenable>(hid)), cli::kCannotOpen);
        EXPECT_EQ(device.Stats().requests, 0u);
    }
}

}  // namespace
}  // namespace vadero
