#pragma once
// output --steps, a loop check: the calibrators of a run meet after each
// point, and the next point comes for all of them after the dwell, or once
// Enter is pressed ("q" stops), or never after a stop.

#include <chrono>
#include <coroutine>
#include <optional>
#include <string>
#include <vector>

#include "calibrator/EventLoop.h"
#include "cli/LineInput.h"
#include "cli/Stop.h"
#include "cli/Task.h"

namespace vadero::cli {

class StepPacer {
  public:
    // A dwell, or Enter on `input` when there is none.
    StepPacer(EventLoop& loop, Stop& stop, std::optional<std::chrono::milliseconds> dwell,
              LineInput* input, int seats);

    // co_await Arrive(prompt): true when the next point is to come.
    auto Arrive(std::string prompt) {
        struct Awaiter {
            StepPacer& pacer;
            std::string prompt;
            bool await_ready() const noexcept { return false; }
            void await_suspend(std::coroutine_handle<> h) { pacer.arrive(h, prompt); }
            bool await_resume() const noexcept { return pacer.goOn_; }
        };
        return Awaiter{*this, std::move(prompt)};
    }
    // A seat that no longer steps (it failed, or ended) holds the others no more.
    void Leave();

  private:
    void arrive(std::coroutine_handle<> h, const std::string& prompt);
    void startIfAllThere();
    Task<bool> pace(std::string prompt);

    EventLoop& loop_;
    Stop& stop_;
    const std::optional<std::chrono::milliseconds> dwell_;
    LineInput* const input_;
    int seats_;
    std::vector<std::coroutine_handle<>> waiting_;
    std::string prompt_;
    bool goOn_ = true;
    std::optional<Task<bool>> pacing_;
};

}  // namespace vadero::cli
