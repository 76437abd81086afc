#include "calibrator/LCX.h"
#include "transport/Identity.h"

namespace vadero {

namespace {
bool IsWriteAllStep(int step) {
    return step == WriteBlock1 || step == WriteBlock2 || step == WriteBlock3;
}
bool SendsRequest(int step) {
    return step != StepIdle && step != ReadAllDone;
}
void Read(TMiniModbusMaster& m, const RegisterBlock& b) {
    m.ReadHoldingRegisters(b.first, b.count);
}
void Write(TMiniModbusMaster& m, const RegisterBlock& b) {
    m.WriteMultipleRegisters(b.first, b.count, m.HoldingRegisters);
}
// Progress of a read-all or write-all, in percent of the last register.
int Progress(int address) {
    return address * 100 / kLastTransferred;
}
bool IsMemory(int table, int index) {
    return index >= 1 && index <= kMemoryCount && table < int(reg::kMemory1.size());
}
bool IsLevel(int index) {
    return index >= 1 && index <= kRampLevelCount;
}
}  // namespace

TCustomLCX::TCustomLCX(const LCXEnv& env)
    : master_(std::make_unique<TMiniModbusMaster>(env.transport)),
      params_(master_->HoldingRegisters) {
    master_->SetProductIdent(std::string(lcx3::kProduct));
    master_->Node = lcx3::kSlave;
    master_->SetTick(kTick);
    master_->OnDataArrival = [this](TObject* sender, TDataType type, int address, int data) {
        DataArrived(sender, type, address, data);
    };
    master_->OnWordBlockWriting = [this](TObject* sender) { BlockWritten(sender); };
    master_->TxDebugStream = [this](TObject* sender, const std::string& text) {
        if (TxDebugStream)
            TxDebugStream(sender, text);
    };
    master_->RxDebugStream = [this](TObject* sender, const std::string& text) {
        if (RxDebugStream)
            RxDebugStream(sender, text);
    };
    master_->NoteDebugStream = [this](TObject* sender, const std::string& text) {
        if (NoteDebugStream)
            NoteDebugStream(sender, text);
    };
    master_->OnConnect = [this](TObject*) { Raise(OnConnect, this); };
    master_->OnDisconnect = [this](TObject*) { Raise(OnDisconnect, this); };
    step_ = StepIdle;
    pollTimer_ = env.timers.CreateTimer();
    RestartTick();
}

// The timer goes first: a tick must never reach a master that is gone.
TCustomLCX::~TCustomLCX() {
    pollTimer_->Stop();
    pollTimer_.reset();
    master_.reset();
}

int TCustomLCX::DeviceCount() {
    return master_->GetDeviceCount();
}
bool TCustomLCX::OpenDevice(int Index) {
    return master_->OpenDevice(Index);
}
void TCustomLCX::CloseDevice() {
    master_->CloseDevice();
}

void TCustomLCX::enter(int step) {
    step_ = step;
    timeOutCount_ = 4;
    master_->NewRequest();
}

void TCustomLCX::ReadAll() {
    enter(ReadBlock1);
}

void TCustomLCX::WriteAll() {
    if (params_.LoopPower() != 0)
        params_.SetLoopPower(kLoopPowerOn);
    enter(WriteBlock1);
}

void TCustomLCX::ReadOutput() {
    enter(ReadOutputStep);
}
void TCustomLCX::WriteOutput() {
    enter(WriteOutputStep);
}
void TCustomLCX::ReadMeasure() {
    enter(ReadMeasureStep);
}
void TCustomLCX::StopSequence() {
    step_ = StepIdle;
}

void TCustomLCX::RestartTick() {
    pollTimer_->Start(kTick, [this] { Tick(); });
}

void TCustomLCX::StepNow() {
    RestartTick();
    Tick();
}

void TCustomLCX::Tick() {
    Raise(OnTick, pollTimer_.get());
    TMiniModbusMaster& m = *master_;
    // A step not sent yet waits while a late answer to the last request's
    // re-send may still come; the wait takes nothing from its three sends.
    if (SendsRequest(step_) && timeOutCount_ == 4 && !m.LineFree())
        return;
    switch (step_) {
        case ReadBlock1:
            Read(m, kReadAllBlocks[0]);
            break;
        case ReadBlock2:
            Read(m, kReadAllBlocks[1]);
            break;
        case ReadBlock3:
            Read(m, kReadAllBlocks[2]);
            break;
        case ReadAllDone:
            step_ = StepIdle;
            Raise(OnReadAllCompleted, pollTimer_.get());
            break;
        case ReadOutputStep:
            Read(m, kReadOutputBlock);
            break;
        case ReadMeasureStep:
            m.ReadInputRegisters(kMeasureBlock.first, kMeasureBlock.count);
            break;
        case WriteBlock1:
            Write(m, kWriteAllBlocks[0]);
            break;
        case WriteBlock2:
            Write(m, kWriteAllBlocks[1]);
            break;
        case WriteBlock3:
            Write(m, kWriteAllBlocks[2]);
            break;
        case WriteOutputStep:
            Write(m, kWriteOutputBlock);
            break;
        default:
            step_ = StepIdle;
            break;
    }
    if (IsWriteAllStep(step_) && OnSaveProgressEvent)
        OnSaveProgressEvent(Progress(m.LastBlockEnd()));
    if (step_ != StepIdle) {
        if (timeOutCount_ > 0)
            --timeOutCount_;
        if (timeOutCount_ == 1) {
            StopSequence();
            Raise(OnTimeOut, pollTimer_.get());
        }
    }
}

void TCustomLCX::DataArrived(TObject* /*Sender*/, TDataType DataType, int Address, int Data) {
    if (DataType == TDataType::dtHoldingRegister) {
        receivedHolding_[static_cast<std::size_t>(Address)] = static_cast<std::uint16_t>(Data);
        switch (Address) {
            case reg::kOutputValue:
                if (step_ != ReadBlock1) {
                    step_ = StepIdle;
                    Raise(OnReadOutput, master_.get());
                }
                break;
            case kReadAllBlocks[0].Last():
                params_.SetLoopPower(params_.LoopPower() & kLoopPowerOn);
                enter(ReadBlock2);
                if (OnLoadProgressEvent)
                    OnLoadProgressEvent(Progress(kReadAllBlocks[0].Last()));
                break;
            case kReadAllBlocks[1].Last():
                enter(ReadBlock3);
                if (OnLoadProgressEvent)
                    OnLoadProgressEvent(Progress(kReadAllBlocks[1].Last()));
                break;
            case kLastTransferred:
                if (OnLoadProgressEvent)
                    OnLoadProgressEvent(100);
                enter(ReadAllDone);
                break;
            default:
                break;
        }
    } else if (DataType == TDataType::dtInputRegister && Address == kMeasureRegister) {
        measureRaw_ = static_cast<std::int16_t>(static_cast<std::uint16_t>(Data & 0xFFFF));
        step_ = StepIdle;
        Raise(OnReadMeasure, master_.get());
    }
}

void TCustomLCX::BlockWritten(TObject* /*Sender*/) {
    switch (step_) {
        case WriteBlock1:
            enter(WriteBlock2);
            break;
        case WriteBlock2:
            enter(WriteBlock3);
            break;
        case WriteBlock3:
            step_ = StepIdle;
            Raise(OnWriteAllCompleted, master_.get());
            break;
        case WriteOutputStep:
            step_ = StepIdle;
            break;
        default:
            break;
    }
    Raise(OnWordBlockWriting, master_.get());
}

UserScale TCustomLCX::userScale() const {
    return {params_.UserZero(), params_.UserFullScale()};
}

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
    if (!IsMemory(Table, Index))
        return;
    params_.SetMemory(Table, Index, ValueToRaw(AUnit, Table, Value, userScale()));
}

float TCustomLCX::GetMemory(TValueUnit AUnit, std::uint8_t Table, int Index) const {
    if (!IsMemory(Table, Index))
        return 0;
    return RawToValue(AUnit, Table, static_cast<std::int16_t>(params_.Memory(Table, Index)),
                      userScale());
}

void TCustomLCX::SetLevel(TValueUnit AUnit, int Index, float Value) {
    if (!IsLevel(Index))
        return;
    params_.SetRampLevel(Index, ValueToRaw(AUnit, params_.Range(), Value, userScale()));
}

float TCustomLCX::GetLevel(TValueUnit AUnit, int Index) const {
    if (!IsLevel(Index))
        return 0;
    return RawToValue(AUnit, params_.Range(), static_cast<std::int16_t>(params_.RampLevel(Index)),
                      userScale());
}

}  // namespace vadero
