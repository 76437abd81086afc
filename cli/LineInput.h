#pragma once
// Lines typed on stdin, read by a thread of their own and handed to the loop,
// so that waiting for Enter never holds the loop nor a stop.

#include <deque>
#include <optional>
#include <string>
#include <thread>

#include "calibrator/EventLoop.h"
#include "cli/SessionRunner.h"
#include "cli/Stop.h"
#include "transport/UniqueFd.h"

namespace vadero::cli {

class LineInput {
  public:
    LineInput(EventLoop& loop, Stop& stop, int fd = 0);
    ~LineInput();
    LineInput(const LineInput&) = delete;
    LineInput& operator=(const LineInput&) = delete;

    // The next line (without its newline); nothing at the end of the input or
    // once a stop was asked for.
    Task<std::optional<std::string>> Next();

  private:
    void read(int fd);

    EventLoop& loop_;
    Stop& stop_;
    Waiter arrived_;
    std::deque<std::string> lines_;  // loop thread only
    bool ended_ = false;             // loop thread only
    UniqueFd wake_;                  // ends the reading thread
    std::thread thread_;
};

}  // namespace vadero::cli
