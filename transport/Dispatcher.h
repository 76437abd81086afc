#pragma once
// Hands work from the reader thread to the owner thread, in posting order.

#include <functional>

namespace vadero {

class Dispatcher {
  public:
    virtual ~Dispatcher() = default;
    // Thread-safe; the callable runs later on the owner thread.
    virtual void post(std::function<void()> work) = 0;
};

}  // namespace vadero
