#include "calibrator/LCX.h"
#include "transport/Identity.h"

namespace vadero {

namespace {
constexpr int kLastRegister = 71;
bool IsWriteAllStep(int step) {
    return step == WriteBlock1 || step == WriteBlock2 || step == WriteBlock3;
}
}  // namespace

TCustomLCX::TCustomLCX(const LCXEnv& env)
    : master_(std::make_unique<TMiniModbusMaster>(env.transport)),
      params_(master_->HoldingRegisters) {
    master_->SetProductIdent(std::string(lcx3::kProduct));
    master_->Node = lcx3::kSlave;
    master_->OnDataArrival = [this](TObject* sender, TDataType type, int address, int data) {
        DataArrived(sender, type, address, data);
    };
    master_->OnWordBlockWriting = [this](TObject* sender) { BlockWritten(sender); };
    master_->TxDebugStream = [this](TObject* sender, const std::string& text) {
        if (TxDebugStream) TxDebugStream(sender, text);
    };
    master_->RxDebugStream = [this](TObject* sender, const std::string& text) {
        if (RxDebugStream) RxDebugStream(sender, text);
    };
    master_->OnConnect = [this](TObject*) { Raise(OnConnect, this); };
    master_->OnDisconnect = [this](TObject*) { Raise(OnDisconnect, this); };
    step_ = StepIdle;
    pollTimer_ = env.timers.CreateTimer();
    pollTimer_->Start(kTick, [this] { Tick(); });
}

// The timer goes first: a tick must never reach a master that is gone.
TCustomLCX::~TCustomLCX() {
    pollTimer_->Stop();
    pollTimer_.reset();
    master_.reset();
}

int TCustomLCX::DeviceCount() { return master_->GetDeviceCount(); }
bool TCustomLCX::OpenDevice(int Index) { return master_->OpenDevice(Index); }
void TCustomLCX::CloseDevice() { master_->CloseDevice(); }

void TCustomLCX::enter(int step) {
    step_ = step;
    timeOutCount_ = 4;
}

void TCustomLCX::ReadAll() { enter(ReadBlock1); }

void TCustomLCX::WriteAll() {
    if (params_.LoopPower() != 0) params_.SetLoopPower(2);
    enter(WriteBlock1);
}

void TCustomLCX::ReadOutput() { enter(ReadOutputStep); }
void TCustomLCX::WriteOutput() { enter(WriteOutputStep); }
void TCustomLCX::ReadMeasure() { enter(ReadMeasureStep); }
void TCustomLCX::StopSequence() { step_ = StepIdle; }

void TCustomLCX::Tick() {
    Raise(OnTick, pollTimer_.get());
    TMiniModbusMaster& m = *master_;
    switch (step_) {
        case ReadBlock1: m.ReadHoldingRegisters(0, 12); break;
        case ReadBlock2: m.ReadHoldingRegisters(16, 8); break;
        case ReadBlock3: m.ReadHoldingRegisters(48, 24); break;
        case ReadAllDone:
            step_ = StepIdle;
            Raise(OnReadAllCompleted, pollTimer_.get());
            break;
        case ReadOutputStep: m.ReadHoldingRegisters(0, 1); break;
        case ReadMeasureStep: m.ReadInputRegisters(0, 1); break;
        case WriteBlock1: m.WriteMultipleRegisters(1, 11, m.HoldingRegisters); break;
        case WriteBlock2: m.WriteMultipleRegisters(16, 8, m.HoldingRegisters); break;
        case WriteBlock3: m.WriteMultipleRegisters(48, 24, m.HoldingRegisters); break;
        case WriteOutputStep: m.WriteMultipleRegisters(0, 3, m.HoldingRegisters); break;
        default: step_ = StepIdle; break;
    }
    if (IsWriteAllStep(step_) && OnSaveProgressEvent)
        OnSaveProgressEvent(m.LastBlockEnd() * 100 / kLastRegister);
    if (step_ != StepIdle) {
        if (timeOutCount_ > 0) --timeOutCount_;
        if (timeOutCount_ == 1) {
            StopSequence();
            Raise(OnTimeOut, pollTimer_.get());
        }
    }
}

void TCustomLCX::DataArrived(TObject* /*Sender*/, TDataType DataType, int Address, int Data) {
    if (DataType == TDataType::dtHoldingRegister) {
        switch (Address) {
            case 0:
                if (step_ != ReadBlock1) {
                    step_ = StepIdle;
                    Raise(OnReadOutput, master_.get());
                }
                break;
            case 11:
                params_.SetLoopPower(params_.LoopPower() & 2);
                enter(ReadBlock2);
                if (OnLoadProgressEvent) OnLoadProgressEvent(11 * 100 / kLastRegister);
                break;
            case 23:
                enter(ReadBlock3);
                if (OnLoadProgressEvent) OnLoadProgressEvent(23 * 100 / kLastRegister);
                break;
            case kLastRegister:
                if (OnLoadProgressEvent) OnLoadProgressEvent(100);
                enter(ReadAllDone);
                break;
            default: break;
        }
    } else if (DataType == TDataType::dtInputRegister && Address == 0) {
        measureRaw_ = static_cast<std::int16_t>(static_cast<std::uint16_t>(Data & 0xFFFF));
        step_ = StepIdle;
        Raise(OnReadMeasure, master_.get());
    }
}

void TCustomLCX::BlockWritten(TObject* /*Sender*/) {
    switch (step_) {
        case WriteBlock1: enter(WriteBlock2); break;
        case WriteBlock2: enter(WriteBlock3); break;
        case WriteBlock3:
            step_ = StepIdle;
            Raise(OnWriteAllCompleted, master_.get());
            break;
        case WriteOutputStep: step_ = StepIdle; break;
        default: break;
    }
    Raise(OnWordBlockWriting, master_.get());
}

UserScale TCustomLCX::userScale() const { return {params_.UserZero(), params_.UserFullScale()}; }

void TCustomLCX::SetOutput(TValueUnit AUnit, float Value) {
    const std::uint16_t raw = ValueToRaw(AUnit, params_.Range(), Value, userScale());
    params_.SetOutputValue(static_cast<std::int16_t>(raw));
    WriteOutput();
}

float TCustomLCX::GetOutput(TValueUnit AUnit) const {
    return RawToValue(AUnit, params_.Range(), params_.OutputValue(), userScale());
}

std::uint8_t TCustomLCX::GetMeasure(float& Value) const {
    return MeasureToValue(params_.Range(), measureRaw_, Value);
}

void TCustomLCX::SetMemory(TValueUnit AUnit, std::uint8_t Table, float Value, int Index) {
    if (Index < 1 || Index > 8 || Table > 2) return;
    params_.SetMemory(Table, Index, ValueToRaw(AUnit, Table, Value, userScale()));
}

float TCustomLCX::GetMemory(TValueUnit AUnit, std::uint8_t Table, int Index) const {
    if (Index < 1 || Index > 8 || Table > 2) return 0;
    return RawToValue(AUnit, Table, static_cast<std::int16_t>(params_.Memory(Table, Index)),
                      userScale());
}

void TCustomLCX::SetLevel(TValueUnit AUnit, int Index, float Value) {
    if (Index < 1 || Index > 2) return;
    params_.SetRampLevel(Index, ValueToRaw(AUnit, params_.Range(), Value, userScale()));
}

float TCustomLCX::GetLevel(TValueUnit AUnit, int Index) const {
    if (Index < 1 || Index > 2) return 0;
    return RawToValue(AUnit, params_.Range(),
                      static_cast<std::int16_t>(params_.RampLevel(Index)), userScale());
}

}  // namespace vadero
