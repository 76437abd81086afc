#include "tests/soak/Clockwork.h"

#include <algorithm>

#include "calibrator/LCX.h"

namespace vadero::soak {

using namespace std::chrono_literals;

Clockwork::Clockwork(bool realTime)
    : realTime_(realTime),
      tick_(realTime ? 200ms : TCustomLCX::kTick),
      hid_(realTime ? emu::EmulatorHid::Time::Real : emu::EmulatorHid::Time::Virtual),
      drive_(hid_, dispatcher_) {}

void Clockwork::RunFor(TUSBThread* reader, std::chrono::milliseconds duration) {
    if (!realTime_) {
        drive_.RunFor(reader, duration);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + duration;
    for (;;) {
        dispatcher_.pump();
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            break;
        dispatcher_.waitForWork(std::min<std::chrono::milliseconds>(
            10ms, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) + 1ms));
    }
}

}  // namespace vadero::soak
