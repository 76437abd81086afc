#pragma once
// A transfer's progress on a terminal, one line per phase ("reading",
// "writing", "verifying"); nothing at all without a terminal.

#include <string>

namespace vadero::cli {

class ProgressBar {
  public:
    explicit ProgressBar(bool shown) : shown_(shown) {}
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;
    ~ProgressBar() { Done(); }

    // Ends the line of the phase before and names the next one.
    void Begin(std::string phase);
    void Update(int percent);
    // Ends the bar's line, once a bar was drawn.
    void Done();

  private:
    const bool shown_;
    std::string phase_;
    bool drawn_ = false;
};

}  // namespace vadero::cli
