#pragma once
// The calibrator session: the parameter set and measurement with their
// conversions, and the transfers paced by a 750 ms tick.

#include <cstdint>
#include <functional>
#include <memory>

#include "calibrator/Conversions.h"
#include "calibrator/LCXParams.h"
#include "calibrator/Timer.h"
#include "modbus/MiniModbus.h"

namespace vadero {

using TProgressEvent = std::function<void(int progress)>;

struct LCXEnv {
    TransportEnv transport;
    TimerFactory& timers;
};

// Codes of Step.
enum LcxStep : int {
    StepIdle = -1,
    ReadBlock1 = 1,
    ReadBlock2 = 2,
    ReadBlock3 = 4,
    ReadOutputStep = 10,
    ReadAllDone = 50,
    ReadMeasureStep = 60,
    WriteBlock1 = 101,
    WriteBlock2 = 102,
    WriteBlock3 = 104,
    WriteOutputStep = 110,
};

class TCustomLCX : public TObject {
  public:
    static constexpr std::chrono::milliseconds kTick{750};

    explicit TCustomLCX(const LCXEnv& env);
    ~TCustomLCX() override;

    TDebugStreamEvent TxDebugStream;
    TDebugStreamEvent RxDebugStream;
    TDebugStreamEvent NoteDebugStream;  // the master's notes: a late answer dropped
    NotifyEvent OnDisconnect;
    NotifyEvent OnConnect;
    NotifyEvent OnReadAllCompleted;
    NotifyEvent OnWriteAllCompleted;
    NotifyEvent OnReadMeasure;
    NotifyEvent OnReadOutput;
    NotifyEvent OnWordBlockWriting;
    TProgressEvent OnLoadProgressEvent;
    TProgressEvent OnSaveProgressEvent;
    NotifyEvent OnTimeOut;
    // At the start of every tick, before its step is acted on: a step entered
    // here is sent in this very tick.
    NotifyEvent OnTick;

    TMiniModbusMaster& Master() { return *master_; }
    Timer& PollTimer() { return *pollTimer_; }
    TLCXParams& Params() { return params_; }
    const TLCXParams& Params() const { return params_; }
    int Step() const { return step_; }
    int TimeOutCount() const { return timeOutCount_; }
    std::int16_t MeasureRaw() const { return measureRaw_; }
    // The holding registers as the calibrator sent them, before the session
    // made loop power a plain on or off in Params.
    const RegisterImage& ReceivedHolding() const { return receivedHolding_; }

    int DeviceCount();
    bool OpenDevice(int Index);
    void CloseDevice();

    void ReadAll();
    void WriteAll();
    void ReadOutput();
    void WriteOutput();
    void ReadMeasure();
    void StopSequence();

    void SetOutput(TValueUnit AUnit, float Value);
    float GetOutput(TValueUnit AUnit) const;
    std::uint8_t GetMeasure(float& Value) const;
    void SetMemory(TValueUnit AUnit, std::uint8_t Table, float Value, int Index);
    float GetMemory(TValueUnit AUnit, std::uint8_t Table, int Index) const;
    void SetLevel(TValueUnit AUnit, int Index, float Value);
    float GetLevel(TValueUnit AUnit, int Index) const;

    // One tick of the poll timer; public so a loop of one's own can drive it.
    void Tick();
    // For a caller that paces the session faster than its tick: the tick
    // starts again from now, so that none falls due before the caller's own
    // send; StepNow then sends the current step at once, its re-send a whole
    // tick later.
    void RestartTick();
    void StepNow();

  private:
    void enter(int step);
    void DataArrived(TObject* Sender, TDataType DataType, int Address, int Data);
    void BlockWritten(TObject* Sender);
    UserScale userScale() const;

    std::unique_ptr<TMiniModbusMaster> master_;
    TLCXParams params_;
    std::unique_ptr<Timer> pollTimer_;
    RegisterImage receivedHolding_{};
    int step_ = StepIdle;
    int timeOutCount_ = 0;
    std::int16_t measureRaw_ = 0;
};

class TLCX : public TCustomLCX {
  public:
    using TCustomLCX::TCustomLCX;
};

}  // namespace vadero
