#include "app/trend/MeasureArbiter.h"

#include <utility>

namespace vadero {

void MeasureArbiter::Tick(bool wanted) {
    if (!wanted || owned_ || lcx_.Step() != StepIdle)
        return;
    lcx_.ReadMeasure();  // sent in this very tick
    owned_ = true;
}

void MeasureArbiter::Start(std::function<void()> start) {
    if (owned_) {
        waiting_ = std::move(start);  // a later one replaces it, as the session does
        return;
    }
    start();
}

void MeasureArbiter::Release() {
    owned_ = false;
    if (auto start = std::exchange(waiting_, nullptr))
        start();
}

}  // namespace vadero
