#pragma once
// lcx3 run as a process, its output and status kept, in a scratch folder of
// the test's own that also holds the emulated calibrator's state file.

#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>

#include "emulator/BankJson.h"
#include "tests/support/ScratchDir.h"

namespace vadero::test {

struct Lcx3Result {
    int code = -1;
    std::string out;
    std::string err;
};

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Lcx3Process {
  public:
    const ScratchDir& Dir() const { return dir_; }
    std::string File(const std::string& name) const { return dir_.File(name); }

    // lcx3 with these arguments, bounded in time, stdin closed.
    Lcx3Result Exec(const std::string& arguments) const {
        const std::string command = "timeout 60 '" + std::string(LCX3_PROGRAM) + "' " + arguments +
                                    " >'" + File("out") + "' 2>'" + File("err") + "' </dev/null";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(File("out")),
                Slurp(File("err"))};
    }
    // A fast emulated calibrator whose bank lives in the state file.
    Lcx3Result ExecOn(const std::string& arguments) const {
        return Exec("--emulate --pace fast --emulator-state '" + File("state.json") + "' " +
                    arguments);
    }
    void SaveState(const emu::RegisterBank& bank) const {
        emu::SaveBankFile(bank, File("state.json"));
    }
    emu::RegisterBank State() const { return emu::LoadBankFile(File("state.json")); }

  private:
    ScratchDir dir_{"lcx3-test"};
};

}  // namespace vadero::test
