// lcx3: the LCX3 loop calibrator from the command line.
#include <cstdio>
#include <exception>

#include "cli/Commands.h"

int main(int argc, char** argv) {
    const auto parsed = vadero::cli::ParseOptions(argc, argv);
    if (!parsed.options)
        return parsed.code;
    try {
        return vadero::cli::RunCommand(*parsed.options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lcx3: %s\n", e.what());
        return 1;
    }
}
