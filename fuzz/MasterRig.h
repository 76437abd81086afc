#pragma once
// One Modbus master on the scripted HID layer, built and opened once for the
// whole run: building and opening a master (enumeration, identity strings,
// reader) costs more than the frames of a typical input. After every input it
// is brought back to the state it had right after opening, so that an input
// behaves the same whatever ran before it. The reset runs at the end of the
// input rather than at the start of the next one, so that what an input
// allocated is freed within it: memory that outlives an input looks like a
// leak to libFuzzer, which then runs the input again to look for it.

#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "modbus/Crc.h"
#include "modbus/MiniModbus.h"
#include "tests/support/FakeHid.h"
#include "tests/support/ManualDispatcher.h"

namespace vadero::fuzz {

class MasterRig {
  public:
    static constexpr const char* kPath = "/dev/hidraw0";
    static constexpr std::uint8_t kNode = 100;

    // continuousEmpty: the device sends empty reports whenever nothing is queued.
    explicit MasterRig(bool continuousEmpty) {
        hid_.setContinuousEmpty(continuousEmpty);
        test::FakeDevice device;
        device.path = kPath;
        hid_.addDevice(device);
        master_.Node = kNode;
        FUZZ_CHECK(master_.OpenDevice(1));
        parse_ = master_.OnRXFrame;
        Reset();
    }

    TMiniModbusMaster& master() { return master_; }
    test::FakeHidLayer& hid() { return hid_; }
    ManualDispatcher& dispatcher() { return dispatcher_; }
    // The master's own handler of delivered frames: its response parser.
    const NotifyEvent& parse() const { return parse_; }

    // One input's use of the master, which may bind its handlers; the end of
    // it unbinds them and resets the master.
    class Input {
      public:
        explicit Input(MasterRig& rig) : rig_(rig) {}
        Input(const Input&) = delete;
        Input& operator=(const Input&) = delete;
        ~Input() { rig_.Reset(); }

      private:
        MasterRig& rig_;
    };

    [[nodiscard]] Input Begin() { return Input(*this); }

  private:
    // Unbinds the input's handlers, ends a frame left open, makes the master
    // forget the request it awaits and clears the images and the written log.
    // The bridge's configuration bit 6 stays set once a request went out: each
    // request sets it again before its configuration report, so it changes nothing.
    void Reset() {
        master_.OnRXFrame = parse_;
        master_.OnDataArrival = nullptr;
        master_.OnWordBlockWriting = nullptr;
        master_.TxDebugStream = nullptr;
        master_.RxDebugStream = nullptr;
        master_.EchoCancel = false;
        if (master_.FrameActive())
            deliver(test::FakeHidLayer::bridgeReport({}));  // ends the open frame
        if (master_.ExpectedFunction() != -1) {
            // An exception answer to the awaited request is taken and stores nothing.
            test::Bytes answer{kNode, static_cast<std::uint8_t>(master_.ExpectedFunction() | 0x80),
                               0x01};
            const std::uint16_t crc = Crc16(answer.data(), answer.size());
            answer.push_back(static_cast<std::uint8_t>(crc & 0xFF));
            answer.push_back(static_cast<std::uint8_t>(crc >> 8));
            deliver(test::FakeHidLayer::bridgeReport(answer));
            deliver(test::FakeHidLayer::bridgeReport({}));
        }
        // The answers a re-sent request may still get come in, so that the
        // line is free and the next input's first request is one of its own.
        for (int k = 0; k < 64 && !master_.LineFree(); ++k) {
            deliver(test::FakeHidLayer::bridgeReport({0x00}));
            deliver(test::FakeHidLayer::bridgeReport({}));
        }
        FUZZ_CHECK(master_.LineFree());
        master_.NewRequest();
        master_.HoldingRegisters.fill(0);
        master_.InputRegisters.fill(0);
        hid_.clearWritten(kPath);
        FUZZ_CHECK(!master_.FrameActive() && master_.ExpectedFunction() == -1);
        FUZZ_CHECK(master_.ResponseOffset() == 0);
        FUZZ_CHECK(master_.Reader()->PendingWrite() == 0 && dispatcher_.empty());
    }

    void deliver(test::Bytes report) {
        hid_.queueInput(kPath, std::move(report));
        master_.Reader()->RunPass();
        dispatcher_.pump();
    }

    test::FakeHidLayer hid_{test::FakeHidLayer::Time::Virtual};
    ManualDispatcher dispatcher_;
    TMiniModbusMaster master_{TransportEnv{hid_, dispatcher_, ReaderMode::Manual}};
    NotifyEvent parse_;
};

}  // namespace vadero::fuzz
