#include "modbus/MiniModbus.h"

#include <cstdint>
#include <stdexcept>

#include "modbus/ModbusFrame.h"

namespace vadero {

namespace {

std::span<const std::uint8_t> BytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Addresses address .. address + count - 1 all lie in an image.
bool FitsImage(int address, int count) {
    return address >= 0 && count >= 0 &&
           static_cast<long long>(address) + count <= kMaxRegisterAddress + 1;
}

}  // namespace

// ---------------------------------------------------------- TCustomMiniModbus

TCustomMiniModbus::TCustomMiniModbus(const TransportEnv& env) : THIDSerial(env), hid_(env.hid) {
    SetConfigBit7(false);
    SetConfigBit6(false);
    OnRXFrame = [this](TObject* sender) { FrameReceived(sender); };
}

bool TCustomMiniModbus::SendFrame(std::span<const std::uint8_t> Frame) {
    if (!MaySend(Frame))
        return false;
    ledger_.Sent(Frame, hid_.now());
    if (TxDebugStream)
        TxDebugStream(this, modbus::TxText(Frame));
    echoPending_ = false;
    SetConfigBit6(true);
    return SendBytes(Frame.data(), static_cast<unsigned>(Frame.size()));
}

const std::string& TCustomMiniModbus::FetchFrame() {
    const std::string& received = RxData();
    lastFrame_ = received.substr(0, modbus::kMaxFrame);
    lastFrameLength_ = static_cast<int>(RxCount());
    if (RxDebugStream && lastFrameLength_ >= 1)
        RxDebugStream(this, modbus::RxText(BytesOf(received)));
    return lastFrame_;
}

// Every frame is parsed, also with EchoCancel on: the parser then looks past
// the echo of the last request instead of dropping frames once a request went out.
void TCustomMiniModbus::FrameReceived(TObject* Sender) {
    const modbus::AnswerLedger::Arrival arrival = ledger_.Received();
    if (arrival != modbus::AnswerLedger::Arrival::Current) {
        FetchFrame();
        ++lateAnswers_;
        if (NoteDebugStream)
            NoteDebugStream(this, kLateAnswerNote);
        if (arrival == modbus::AnswerLedger::Arrival::LastLate)
            Raise(OnLineFree, this);
        return;
    }
    Raise(OnAnswerFrame, this);
    ProcessResponse(Sender);
}

std::chrono::milliseconds TCustomMiniModbus::LineFreeIn() const {
    if (LineFree())
        return std::chrono::milliseconds(0);
    return std::chrono::ceil<std::chrono::milliseconds>(ledger_.FreeAt() - hid_.now());
}

void TCustomMiniModbus::ProcessResponse(TObject* /*Sender*/) {}

// ---------------------------------------------------------- TMiniModbusMaster

TMiniModbusMaster::TMiniModbusMaster(const TransportEnv& env) : TCustomMiniModbus(env) {}

TMiniModbusMaster::~TMiniModbusMaster() {
    StopReader();
}

void TMiniModbusMaster::ReadHoldingRegisters(int Address, int Count) {
    SendRequest(modbus::kReadHolding, Address, Count);
}

void TMiniModbusMaster::ReadInputRegisters(int Address, int Count) {
    SendRequest(modbus::kReadInput, Address, Count);
}

void TMiniModbusMaster::WriteSingleRegister(int Address, int Value) {
    SendRequest(modbus::kWriteSingle, Address, Value);
}

void TMiniModbusMaster::WriteMultipleRegisters(int Address, int Count,
                                               std::span<const std::uint16_t> Values) {
    if (Count < 0 || Count > modbus::kMaxWriteCount)
        throw std::invalid_argument("WriteMultipleRegisters: count outside 0 to 123");
    if (Address < 0 || Address > 0xFFFF ||
        static_cast<std::size_t>(Address) + static_cast<std::size_t>(Count) > Values.size())
        throw std::out_of_range("WriteMultipleRegisters: registers outside the values");
    const auto frame = modbus::BuildWriteMultiple(Node, Address, Values.subspan(Address, Count));
    if (!MaySend(frame))
        return;
    lastBlockEnd_ = Address + Count;
    blockAddress_ = Address;
    blockCount_ = Count;
    expectedFunction_ = modbus::kWriteMultiple;
    responseOffset_ = static_cast<int>(frame.size());
    SendFrame(frame);
}

void TMiniModbusMaster::SendRequest(int FunctionCode, int Address, int Value) {
    const auto frame = modbus::BuildRequest(Node, FunctionCode, Address, Value);
    if (!MaySend(frame))
        return;
    pendingAddress_ = Address;
    pendingCount_ = FunctionCode == modbus::kWriteSingle ? 1 : Value;
    expectedFunction_ = FunctionCode;
    responseOffset_ = static_cast<int>(frame.size());
    SendFrame(frame);
}

void TMiniModbusMaster::forget() {
    responseOffset_ = 0;
    expectedFunction_ = -1;
}

void TMiniModbusMaster::ProcessResponse(TObject* /*Sender*/) {
    if (!EchoCancel)
        responseOffset_ = 0;
    const auto received = BytesOf(FetchFrame());
    const auto checked = modbus::CheckResponse(received, static_cast<std::size_t>(responseOffset_),
                                               Node, expectedFunction_, pendingCount_);
    if (checked.result == modbus::FrameCheck::Ignored)
        return;  // still awaited
    const Awaited awaited{expectedFunction_, pendingAddress_, pendingCount_};
    // Forgotten before the events run, so that a request sent from a handler
    // stays awaited.
    forget();
    // An answer to another block is dropped like any rejected frame.
    if (checked.result == modbus::FrameCheck::Taken &&
        (awaited.function != modbus::kWriteMultiple ||
         modbus::EchoesBlock(checked.body, blockAddress_, blockCount_))) {
        RequestAnswered();
        take(awaited, checked.body);
    }
}

void TMiniModbusMaster::take(const Awaited& awaited, std::span<const std::uint8_t> body) {
    switch (awaited.function) {
        case modbus::kReadHolding:
            storeRead(HoldingRegisters, TDataType::dtHoldingRegister, awaited, body);
            break;
        case modbus::kReadInput:
            storeRead(InputRegisters, TDataType::dtInputRegister, awaited, body);
            break;
        case modbus::kWriteSingle: {
            // The answer names the register it wrote.
            const auto write = modbus::SingleWriteOf(body);
            if (!FitsImage(write.address, 1))
                return;
            HoldingRegisters[static_cast<std::size_t>(write.address)] = write.value;
            if (OnDataArrival)
                OnDataArrival(this, TDataType::dtHoldingRegister, write.address, write.value);
            break;
        }
        case modbus::kWriteMultiple:
            Raise(OnWordBlockWriting, this);
            break;
        default:
            break;
    }
}

void TMiniModbusMaster::storeRead(RegisterImage& image, TDataType type, const Awaited& awaited,
                                  std::span<const std::uint8_t> body) {
    if (!FitsImage(awaited.address, awaited.count))
        return;
    for (int i = 0; i < awaited.count; ++i) {
        const int address = awaited.address + i;
        const std::uint16_t value = modbus::RegisterValue(body, i);
        image[static_cast<std::size_t>(address)] = value;
        if (OnDataArrival)
            OnDataArrival(this, type, address, value);
    }
}

}  // namespace vadero
