#include "cli/Progress.h"

#include <algorithm>
#include <cstdio>

namespace vadero::cli {

void ProgressBar::Begin(std::string phase) {
    Done();
    phase_ = std::move(phase);
    Update(0);
}

void ProgressBar::Update(int percent) {
    if (!shown_)
        return;
    constexpr int kWidth = 40;
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * kWidth / 100;
    const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '-');
    std::fprintf(stderr, "\rlcx3: %-10s [%s] %3d %%", phase_.c_str(), bar.c_str(), percent);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::Done() {
    if (!drawn_)
        return;
    std::fputc('\n', stderr);
    drawn_ = false;
}

}  // namespace vadero::cli
