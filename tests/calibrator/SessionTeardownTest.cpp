// Destroying a component while its reader thread handles reports: the reader
// must end before any part of the object goes. ThreadSanitizer (make tsan)
// reports a handler that runs on a half-destroyed object.
#include <gtest/gtest.h>

#include "calibrator/LCX.h"
#include "tests/support/FakeHid.h"
#include "tests/support/ManualDispatcher.h"
#include "tests/support/ManualDrive.h"
#include "tests/support/ManualTimer.h"
#include "transport/Identity.h"

namespace vadero {
namespace {

using namespace std::chrono_literals;
using test::FakeDevice;
using test::FakeHidLayer;

constexpr auto kPath = "/dev/hidraw0";
constexpr int kRounds = 100;  // per kind of component

TEST(SessionTeardown, DestroyedWhileReportsStreamIn) {
    FakeHidLayer hid;  // real time: every millisecond an empty report
    FakeDevice device;
    device.path = kPath;
    hid.addDevice(device);
    hid.setContinuousEmpty(true, 1ms);
    ManualDispatcher dispatcher;  // outlives the components: their queued work stays
    ManualTimerFactory timers;
    const TransportEnv env{hid, dispatcher, ReaderMode::Threaded};

    struct Kind {
        const char* name;
        std::function<std::unique_ptr<TObject>(bool& connected)> openOne;
    };
    const Kind kinds[] = {
        {"THIDDevice",
         [&](bool& connected) {
             auto d = std::make_unique<THIDDevice>(env);
             d->Pid = lcx3::kProductId;
             d->OnConnect = [&connected](TObject*) { connected = true; };
             d->OnRXFrame = [](TObject*) {};  // per report, on the reader thread
             EXPECT_TRUE(d->OpenIndex(0));
             return std::unique_ptr<TObject>(std::move(d));
         }},
        {"THIDSerial",
         [&](bool& connected) {
             auto d = std::make_unique<THIDSerial>(env);
             d->OnConnect = [&connected](TObject*) { connected = true; };
             EXPECT_TRUE(d->OpenDevice(1));
             return std::unique_ptr<TObject>(std::move(d));
         }},
        {"TLCX",
         [&](bool& connected) {
             auto d = std::make_unique<TLCX>(LCXEnv{env, timers});
             d->OnConnect = [&connected](TObject*) { connected = true; };
             EXPECT_TRUE(d->OpenDevice(1));
             return std::unique_ptr<TObject>(std::move(d));
         }},
    };
    const test::Bytes frame(29, 0x55);  // the length of a block answer
    for (const Kind& kind : kinds) {
        for (int round = 0; round < kRounds; ++round) {
            bool connected = false;
            auto component = kind.openOne(connected);
            const auto isConnected = [&] { return connected; };
            ASSERT_TRUE(test::PumpUntil(dispatcher, isConnected, 2s)) << kind.name;
            for (int k = 0; k < 3; ++k) hid.queueFrame(kPath, frame);
            component.reset();  // the frames are still being read
        }
    }
    dispatcher.pump();  // what they posted finds them gone and runs nothing
}

}  // namespace
}  // namespace vadero
