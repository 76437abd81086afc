#pragma once
// The Modbus RTU master on top of the HID-serial bridge. TCustomMiniModbus adds
// the slave address, the debug texts, the register images and the frame
// hand-over; TMiniModbusMaster the requests, the one awaited request and the
// response parser. Frames arrive on the owner thread (the bridge delivers them
// through the dispatcher), so the images and the bookkeeping need no lock.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "modbus/AnswerLedger.h"
#include "modbus/RegisterImage.h"
#include "transport/HIDSerial.h"

namespace vadero {

// The kind of register an OnDataArrival call reports; this master reports the
// last two.
enum class TDataType : std::uint8_t {
    dtCoil = 0,
    dtDiscreteInput = 1,
    dtInputRegister = 2,
    dtHoldingRegister = 3,
};

// Data is the register's new value, 0 to 65535.
using TDataArrivalEvent =
    std::function<void(TObject* Sender, TDataType DataType, int Address, int Data)>;
using TDebugStreamEvent = std::function<void(TObject* Sender, const std::string& StrDebug)>;

// A base only: its destructor is protected, so the reader is always ended by
// the final TMiniModbusMaster before this part goes.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor): protected on purpose, see above.
class TCustomMiniModbus : public THIDSerial {
  public:
    explicit TCustomMiniModbus(const TransportEnv& env);

    std::uint8_t Node = 2;
    // Responses start after the echo of the last request, in the same frame.
    bool EchoCancel = false;

    TDataArrivalEvent OnDataArrival;  // once per stored register, after storing it
    TDebugStreamEvent TxDebugStream;  // each request, before it is sent
    TDebugStreamEvent RxDebugStream;  // each received frame, before it is examined
    // What became of a frame beyond its parse: kLateAnswerNote.
    TDebugStreamEvent NoteDebugStream;
    NotifyEvent OnWordBlockWriting;  // a function-16 answer was taken
    // Each received frame that may answer the request on the line, before the
    // master parses it (RxData holds it): for a caller that sends frames of its own.
    NotifyEvent OnAnswerFrame;
    // The last late answer a re-sent request could get has come: the line is
    // free before its window ended. Raised inside the frame's delivery.
    NotifyEvent OnLineFree;

    static constexpr const char* kLateAnswerNote = "late answer to a re-sent request, dropped";

    // Indexed by register address; zero at construction.
    RegisterImage InputRegisters{};
    RegisterImage HoldingRegisters{};

    // True until the first transmission.
    bool EchoPending() const { return echoPending_; }
    const std::string& LastFrame() const { return lastFrame_; }
    int LastFrameLength() const { return lastFrameLength_; }

    // Raises the TX text, then sends the bridge's configuration report and the
    // frame; true when every report was taken. A frame that is neither the
    // request on the line again nor may go out yet (LineFree) is not sent.
    bool SendFrame(std::span<const std::uint8_t> Frame);

    // The line, as AnswerLedger keeps it: another request than a re-send of
    // the one on the line may go out, or after how long it may.
    bool LineFree() const { return ledger_.Free(hid_.now()); }
    std::chrono::milliseconds LineFreeIn() const;
    bool MaySend(std::span<const std::uint8_t> Frame) const {
        return ledger_.IsResend(Frame) || LineFree();
    }
    // The next send starts a request of its own, even with the bytes of the last.
    void NewRequest() { ledger_.NewRequest(); }
    // A caller that parses the answers itself (OnAnswerFrame) took one.
    void RequestAnswered() { ledger_.Answered(hid_.now()); }
    // A send's answer window: the tick that paces the re-sends.
    void SetTick(std::chrono::milliseconds tick) { ledger_.SetTick(tick); }
    std::uint64_t LateAnswersDropped() const { return lateAnswers_; }

  protected:
    ~TCustomMiniModbus() override = default;  // NOLINT(cppcoreguidelines-virtual-class-destructor)
    // Copies the frame being delivered into LastFrame and raises its RX text.
    const std::string& FetchFrame();
    // Bound to the bridge's OnRXFrame: every delivered frame goes to the parser.
    void FrameReceived(TObject* Sender);
    virtual void ProcessResponse(TObject* Sender);

  private:
    const HidLayer& hid_;  // its clock
    modbus::AnswerLedger ledger_{std::chrono::milliseconds(750)};
    std::uint64_t lateAnswers_ = 0;
    bool echoPending_ = true;
    std::string lastFrame_;
    int lastFrameLength_ = 0;
};

// Final: its destructor is the first to run and ends the reader.
class TMiniModbusMaster final : public TCustomMiniModbus {
  public:
    explicit TMiniModbusMaster(const TransportEnv& env);
    ~TMiniModbusMaster() override;

    // Each request replaces the awaited one and sends at once; none waits. One
    // that may not go out yet (MaySend) is neither sent nor awaited.
    void ReadHoldingRegisters(int Address, int Count);
    void ReadInputRegisters(int Address, int Count);
    void WriteSingleRegister(int Address, int Value);  // the low 16 bits of Value
    // Register Address + i carries Values[Address + i]. Throws, sending nothing,
    // std::invalid_argument for a Count below 0 or above 123 and
    // std::out_of_range when Values does not hold the registers named.
    void WriteMultipleRegisters(int Address, int Count, std::span<const std::uint16_t> Values);

    // Index of the response's first byte in a received frame.
    int ResponseOffset() const { return responseOffset_; }
    // Function of the awaited answer, -1 when none is awaited.
    int ExpectedFunction() const { return expectedFunction_; }
    int PendingAddress() const { return pendingAddress_; }
    int PendingCount() const { return pendingCount_; }
    // First address after the last function-16 block sent.
    int LastBlockEnd() const { return lastBlockEnd_; }

  protected:
    void SendRequest(int FunctionCode, int Address, int Value);
    void ProcessResponse(TObject* Sender) override;

  private:
    struct Awaited {
        int function;
        int address;
        int count;
    };
    void forget();
    void take(const Awaited& awaited, std::span<const std::uint8_t> body);
    void storeRead(RegisterImage& image, TDataType type, const Awaited& awaited,
                   std::span<const std::uint8_t> body);

    int responseOffset_ = 0;
    int expectedFunction_ = -1;
    int pendingAddress_ = 0;
    int pendingCount_ = 0;
    int lastBlockEnd_ = 0;
    int blockAddress_ = 0;  // the function-16 block awaited
    int blockCount_ = 0;
};

}  // namespace vadero
