// vadero_soak: thousands of transfers of the calibrator session against the
// emulated LCX3 under faults drawn from a seed, every one checked.
//   --short        a few seconds in virtual time (the default)
//   --full         minutes in virtual time
//   --real-thread  the reader thread and the emulator on the real clock
//   --seed N, --transfers N
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "tests/soak/Soak.h"

namespace {

struct Options {
    bool realTime = false;
    std::uint64_t transfers = 10000;
    std::uint64_t seed = 20261208;
};

int Usage() {
    std::cerr
        << "usage: vadero_soak [--short | --full | --real-thread] [--seed N] [--transfers N]\n";
    return 2;
}

bool Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto number = [&](std::uint64_t& into) {
            if (i + 1 >= argc)
                return false;
            char* end = nullptr;
            into = std::strtoull(argv[++i], &end, 10);
            return end && *end == '\0';
        };
        if (a == "--short") {
            o.realTime = false;
            o.transfers = 10000;
        } else if (a == "--full") {
            o.realTime = false;
            o.transfers = 600000;
        } else if (a == "--real-thread") {
            o.realTime = true;
            o.transfers = 25;
        } else if (a == "--seed") {
            if (!number(o.seed))
                return false;
        } else if (a == "--transfers") {
            if (!number(o.transfers))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options))
        return Usage();
    const auto begin = std::chrono::steady_clock::now();
    vadero::soak::Clockwork clock(options.realTime);
    vadero::soak::Soak soak(clock, options.seed);
    std::cout << "vadero_soak: " << (options.realTime ? "real-time reader thread" : "virtual time")
              << ", seed " << options.seed << ", " << options.transfers << " transfers"
              << std::endl;
    if (!soak.Open()) {
        std::cerr << "vadero_soak: the emulated calibrator did not connect\n";
        return 1;
    }
    const std::uint64_t tenth = std::max<std::uint64_t>(options.transfers / 10, 1);
    for (std::uint64_t n = 1; n <= options.transfers; ++n) {
        soak.RunTransfer(n);
        if (options.transfers >= 1000 && n % tenth == 0)
            std::cout << "  " << n << " transfers, " << soak.Figures().violations << " violations"
                      << std::endl;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    soak.Figures().Print(std::cout, took.count());
    return soak.Figures().violations == 0 ? 0 : 1;
}
