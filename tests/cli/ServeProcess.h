#pragma once
// `lcx3 --emulate serve` as a process of its own on a port the system
// chooses: the test learns the port from its first line, talks to it, then
// stops it with a signal and gets its exit status and log.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/Lcx3Process.h"

extern char** environ;

namespace vadero::test {

class ServeProcess {
  public:
    // lcx3 --emulate --emulator-state <scratch>/state.json <options> serve
    // --listen 127.0.0.1:0 <serveOptions>
    ServeProcess(const Lcx3Process& scratch, const std::string& options,
                 const std::string& serveOptions = "")
        : errPath_(scratch.File("serve.err")) {
        std::vector<std::string> words{LCX3_PROGRAM, "--emulate", "--emulator-state",
                                       scratch.File("state.json")};
        std::istringstream more(options + " serve --listen 127.0.0.1:0 " + serveOptions);
        for (std::string w; more >> w;) words.push_back(w);
        std::vector<char*> argv;
        for (auto& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = out[0];
        if (failed != 0)
            throw std::runtime_error("cannot start lcx3");
        const std::string first = line();
        const auto colon = first.rfind(':');
        if (first.rfind("listening on ", 0) != 0 || colon == std::string::npos)
            throw std::runtime_error("lcx3 serve did not start: " + first + " / " + Log());
        port_ = std::stoi(first.substr(colon + 1));
    }
    ~ServeProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
    }
    ServeProcess(const ServeProcess&) = delete;
    ServeProcess& operator=(const ServeProcess&) = delete;

    int Port() const { return port_; }
    std::string Log() const { return Slurp(errPath_); }

    // Sends the signal and waits (at most 20 s) for the exit status.
    int Stop(int signal = SIGTERM) {
        kill(pid_, signal);
        int status = 0;
        for (int k = 0; k < 2000; ++k) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -2;  // still running: the destructor kills it
    }

  private:
    // The first line on stdout, waited for at most 20 s.
    std::string line() {
        std::string text;
        pollfd p{out_, POLLIN, 0};
        char c = 0;
        while (poll(&p, 1, 20000) == 1 && read(out_, &c, 1) == 1 && c != '\n') text += c;
        return text;
    }

    std::string errPath_;
    pid_t pid_ = -1;
    int out_ = -1;
    int port_ = 0;
};

}  // namespace vadero::test
