// vadero-demo --emulator-state FILE as a process: a file it cannot read or
// write is refused at once with status 2; otherwise the calibrator starts
// from the file, which is written at the start and again at the exit that
// Ctrl-C or SIGTERM asks for.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>
#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "emulator/BankJson.h"
#include "tests/support/ScratchDir.h"

extern char** environ;

namespace vadero {
namespace {

using namespace std::chrono_literals;

std::optional<ino_t> Inode(const std::string& path) {
    struct stat s {};
    if (::stat(path.c_str(), &s) != 0)
        return std::nullopt;
    return s.st_ino;
}

// Waits for `done`, at most `limit`.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

class Demo {
  public:
    explicit Demo(const std::string& state) {
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&files, STDERR_FILENO, err_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::string program = VADERO_DEMO_PROGRAM;
        std::string option = "--emulator-state";
        std::string file = state;
        char* argv[] = {program.data(), option.data(), file.data(), nullptr};
        if (posix_spawn(&pid_, program.c_str(), &files, nullptr, argv, environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&files);
    }
    ~Demo() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    void Stop() const { ::kill(pid_, SIGTERM); }
    // The exit status, -1 for a signal or no end within the limit.
    int Status() {
        WaitFor(
            [this] {
                int raw = 0;
                if (::waitpid(pid_, &raw, WNOHANG) == pid_)
                    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
                return status_.has_value();
            },
            20s);
        return status_.value_or(-1);
    }
    std::string Err() const {
        std::ifstream in(err_);
        return {std::istreambuf_iterator<char>(in), {}};
    }

  private:
    test::ScratchDir dir_{"vadero-demo-test"};
    const std::string err_ = dir_.File("err");
    pid_t pid_ = -1;
    std::optional<int> status_;
};

TEST(DemoState, AFileThatCannotBeUsedIsRefusedAtOnce) {
    test::ScratchDir dir;
    const std::string bad = dir.File("bad.json");
    std::ofstream(bad) << "{\"holding\": [1, 2]}";
    for (const std::string& path : {bad, dir.File("missing/state.json")}) {
        SCOPED_TRACE(path);
        Demo demo(path);
        EXPECT_EQ(demo.Status(), 2);
        EXPECT_NE(demo.Err().find("vadero-demo: emulator state: " + path), std::string::npos)
            << demo.Err();
    }
    std::ifstream in(bad);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "{\"holding\": [1, 2]}");
}

TEST(DemoState, TheCalibratorStartsFromTheFileAndIsSavedAtTheEnd) {
    test::ScratchDir dir;
    const std::string path = dir.File("state.json");
    emu::RegisterBank bank = emu::FactoryBank();
    bank.holding[3] = 9;
    bank.holding[50] = 12345;
    bank.stuck[5] = true;
    emu::SaveBankFile(bank, path);
    const ino_t written = Inode(path).value();

    Demo demo(path);
    // Saved at the start (a new file, renamed over the old one), then stopped.
    ASSERT_TRUE(WaitFor([&] { return Inode(path) != written; }, 20s)) << demo.Err();
    const ino_t started = Inode(path).value();
    demo.Stop();
    EXPECT_EQ(demo.Status(), 0) << demo.Err();
    EXPECT_NE(Inode(path), started);  // saved again at the end
    EXPECT_EQ(emu::LoadBankFile(path), bank);
}

}  // namespace
}  // namespace vadero
