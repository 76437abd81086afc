#pragma once
// A transfer's progress on a terminal; nothing at all without one.

#include <cstdio>

namespace vadero::cli {

class ProgressBar {
  public:
    explicit ProgressBar(bool shown) : shown_(shown) {}
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;
    ~ProgressBar() { Done(); }

    void Update(int percent);
    // Ends the bar's line, once a bar was drawn.
    void Done();

  private:
    const bool shown_;
    bool drawn_ = false;
};

}  // namespace vadero::cli
