#include "tests/support/ManualDrive.h"

#include <algorithm>

namespace vadero::test {

using namespace std::chrono_literals;

ManualDrive::ManualDrive(HidLayer& hid, ManualDispatcher& dispatcher)
    : hid_(hid), dispatcher_(dispatcher), wake_(hid.makeWake()) {}

void ManualDrive::step(TUSBThread* reader, std::chrono::steady_clock::time_point deadline) {
    const auto before = hid_.now();
    if (reader && !reader->Paused() && !reader->Ended())
        reader->RunPass();
    dispatcher_.pump();
    // A pass that took no time (a woken read) must not make the caller spin.
    if (hid_.now() == before) {
        const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - before);
        hid_.pause(std::clamp(rest, 1ms, 10ms), *wake_);
    }
}

void ManualDrive::RunFor(TUSBThread* reader, std::chrono::milliseconds duration) {
    RunFor([reader] { return reader; }, duration);
}

void ManualDrive::RunFor(const std::function<TUSBThread*()>& reader,
                         std::chrono::milliseconds duration) {
    const auto deadline = hid_.now() + duration;
    while (hid_.now() < deadline) step(reader(), deadline);
}

bool ManualDrive::RunUntil(TUSBThread* reader, const std::function<bool()>& done,
                           std::chrono::milliseconds limit) {
    const auto deadline = hid_.now() + limit;
    dispatcher_.pump();
    while (!done()) {
        if (hid_.now() >= deadline)
            return false;
        step(reader, deadline);
    }
    return true;
}

bool PumpUntil(ManualDispatcher& dispatcher, const std::function<bool()>& done,
               std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    dispatcher.pump();
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return false;
        dispatcher.waitForWork(std::min<std::chrono::milliseconds>(
            10ms, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) + 1ms));
        dispatcher.pump();
    }
    return true;
}

}  // namespace vadero::test
