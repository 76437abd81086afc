// read, restore and measure as lcx3 runs them, against the real-time
// emulated calibrator at 9600 baud, in both paces. Each result carries the
// line-time bound: the bytes of every request and answer times the byte time.
// start_read_fast is a whole `lcx3 --emulate read` session from its start:
// the time to its first request and to the end of the read. gateway_read12
// is one read of 12 registers through lcx3 serve (a libmodbus client on the
// loopback) next to the project's master reading the same block directly, as
// fast as it can; gateway_clients the requests a second that N clients get.
#include <benchmark/benchmark.h>
#include <modbus/modbus.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "cli/SessionRunner.h"
#include "cli/Watch.h"
#include "emulator/EmulatorHid.h"
#include "gateway/Gateway.h"

namespace vadero::cli {
namespace {

constexpr double kByteMs = 11.0 * 1000.0 / 9600.0;  // 8N2: start, 8 data, 2 stop bits

// The hex bytes of a "TX : 64 03 ..." or "RX : ..." text.
long FrameBytes(const std::string& text) {
    std::istringstream words(text.substr(text.find(':') + 1));
    long count = 0;
    for (std::string word; words >> word;) ++count;
    return count;
}

enum class Operation { Read, Restore, Measure };

void Transfer(benchmark::State& state, Operation operation, Pace pace) {
    emu::EmulatorHid hid{emu::EmulatorHid::Time::Real};
    hid.AddDevice();
    long bytes = 0;
    RunnerHooks hooks;
    hooks.trace = [&bytes](const std::string& text) { bytes += FrameBytes(text); };
    SessionRunner runner(hid, pace, hooks);
    if (!runner.Wait(runner.Open(1)) || !runner.Wait(runner.ReadAll()))
        throw std::runtime_error("no emulated calibrator");
    long iterations = 0;
    bytes = 0;
    for (auto _ : state) {
        bool ok = false;
        switch (operation) {
            case Operation::Read:
                ok = runner.Wait(runner.ReadAll());
                break;
            case Operation::Restore:
                ok = runner.Wait(runner.WriteAll()) && runner.Wait(runner.ReadAll());
                break;
            case Operation::Measure:
                ok = runner.Wait(runner.ReadMeasure());
                break;
        }
        if (!ok)
            state.SkipWithError("the calibrator did not answer");
        ++iterations;
    }
    const double perOp = double(bytes) / double(iterations);
    state.counters["line_bytes"] = perOp;
    state.counters["bound_ms"] = perOp * kByteMs;
}

// From nothing to a completed fast read, as lcx3 runs it.
void StartAndRead(benchmark::State& state) {
    double firstRequestMs = 0;
    long iterations = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        double first = -1;
        RunnerHooks hooks;
        hooks.trace = [&](const std::string& text) {
            if (first < 0 && text.rfind("TX", 0) == 0)
                first = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                  start)
                            .count();
        };
        emu::EmulatorHid hid{emu::EmulatorHid::Time::Real};
        hid.AddDevice();
        SessionRunner runner(hid, Pace::Fast, hooks);
        if (runner.DeviceCount() != 1 || !runner.Wait(runner.Open(1)) ||
            !runner.Wait(runner.ReadAll()))
            state.SkipWithError("the calibrator did not answer");
        firstRequestMs += first;
        ++iterations;
    }
    state.counters["first_request_ms"] = firstRequestMs / double(iterations);
}

// A read-all of every calibrator of a bench at once, each with its own
// runner and reader thread, all on one loop: next to one calibrator's.
void BenchRead(benchmark::State& state, Pace pace) {
    const int devices = int(state.range(0));
    emu::EmulatorHid hid{emu::EmulatorHid::Time::Real};
    for (int k = 0; k < devices; ++k) hid.AddDevice();
    EventLoop loop;
    std::vector<std::unique_ptr<SessionRunner>> runners;
    for (int k = 1; k <= devices; ++k) {
        runners.push_back(std::make_unique<SessionRunner>(hid, loop, pace, RunnerHooks{}));
        if (!runners.back()->Wait(runners.back()->Open(k)))
            throw std::runtime_error("no emulated calibrator");
    }
    for (auto _ : state) {
        std::vector<Task<bool>> reads;
        for (auto& r : runners) reads.push_back(r->ReadAll());
        for (auto& t : reads) t.Start();
        loop.RunUntil(
            [&reads] {
                return std::all_of(reads.begin(), reads.end(), [](auto& t) { return t.Done(); });
            },
            std::chrono::minutes(1));
        for (auto& t : reads)
            if (!t.Done() || !t.Result())
                state.SkipWithError("a calibrator did not answer");
    }
}

// measure --watch --interval 0 --pace fast: measurements a second, next to
// what the line allows (a request of 8 bytes, an answer of 7).
void WatchRate(benchmark::State& state) {
    emu::EmulatorHid hid{emu::EmulatorHid::Time::Real};
    hid.AddDevice();
    SessionRunner runner(hid, Pace::Fast, RunnerHooks{});
    if (!runner.Wait(runner.Open(1)) || !runner.Wait(runner.ReadAll()))
        throw std::runtime_error("no emulated calibrator");
    constexpr int kCount = 50;
    long measured = 0;
    double seconds = 0;
    for (auto _ : state) {
        Stop stop;
        const Measure measure = [&runner]() -> Task<Measurement> {
            Measurement m;
            m.answered = co_await runner.ReadMeasure();
            co_return m;
        };
        const auto start = std::chrono::steady_clock::now();
        const WatchLine count = [&measured](EventLoop::Clock::time_point, const Measurement& m) {
            measured += m.answered;
        };
        runner.Wait(
            Watch(runner.Loop(), measure, {std::chrono::milliseconds(0), kCount}, count, stop));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["per_second"] = double(measured) / seconds;
    state.counters["bound_per_second"] = 1000.0 / ((8 + 7) * kByteMs);
}

// lcx3 serve in this process on calibrator 2, its loop on a thread of its own.
class GatewayOnAThread {
  public:
    explicit GatewayOnAThread(emu::EmulatorHid& hid) {
        gateway::GatewaySettings settings;
        settings.listen = *gateway::EndpointOf("127.0.0.1:0");
        settings.device = 2;
        gateway_ =
            std::make_unique<gateway::Gateway>(hid, loop_, settings, [](const std::string&) {});
        const std::string& address = gateway_->Address();
        port_ = std::stoi(address.substr(address.rfind(':') + 1));
        thread_ = std::thread(
            [this] { loop_.RunUntil([this] { return stop_.load(); }, std::chrono::hours(1)); });
    }
    ~GatewayOnAThread() {
        stop_ = true;
        loop_.post([] {});
        thread_.join();
        gateway_->Stop();
    }
    int Port() const { return port_; }

  private:
    EventLoop loop_;
    std::unique_ptr<gateway::Gateway> gateway_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    int port_ = 0;
};

struct Client {
    explicit Client(int port) : ctx(modbus_new_tcp("127.0.0.1", port)) {
        if (modbus_connect(ctx) != 0)
            throw std::runtime_error("cannot connect to the gateway");
        modbus_set_response_timeout(ctx, 5, 0);
        modbus_set_slave(ctx, 100);
    }
    ~Client() {
        modbus_close(ctx);
        modbus_free(ctx);
    }
    bool Read12() {
        std::uint16_t values[12];
        return modbus_read_registers(ctx, 0, 12, values) == 12;
    }
    modbus_t* ctx;
};

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Turn about: the direct read on calibrator 1, the gateway's on calibrator 2.
void GatewayRead12(benchmark::State& state) {
    emu::EmulatorHid hid{emu::EmulatorHid::Time::Real};
    hid.AddDevice();
    hid.AddDevice();
    EventLoop loop;
    TMiniModbusMaster master(TransportEnv{hid, loop});
    master.Node = 100;
    bool connected = false;
    int arrived = -1;
    master.OnConnect = [&connected](TObject*) { connected = true; };
    master.OnDataArrival = [&arrived](TObject*, TDataType, int address, int) { arrived = address; };
    if (!master.OpenDevice(1) ||
        !loop.RunUntil([&connected] { return connected; }, std::chrono::seconds(2)))
        throw std::runtime_error("no emulated calibrator");
    GatewayOnAThread gateway(hid);
    Client client(gateway.Port());
    double direct = 0;
    double through = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        arrived = -1;
        master.ReadHoldingRegisters(0, 12);
        if (!loop.RunUntil([&arrived] { return arrived == 11; }, std::chrono::seconds(2)))
            state.SkipWithError("the calibrator did not answer");
        direct += Since(start);
        start = std::chrono::steady_clock::now();
        if (!client.Read12())
            state.SkipWithError("the gateway did not answer");
        through += Since(start);
    }
    const double n = double(state.iterations());
    state.counters["direct_ms"] = direct / n;
    state.counters["gateway_ms"] = through / n;
    state.counters["ratio"] = through / direct;
}

// N clients at once on one calibrator, each reading 12 registers in turn.
void GatewayClients(benchmark::State& state) {
    const int clients = int(state.range(0));
    constexpr int kReads = 10;
    emu::EmulatorHid hid{emu::EmulatorHid::Time::Real};
    hid.AddDevice();
    hid.AddDevice();
    GatewayOnAThread gateway(hid);
    std::atomic<long> answered{0};
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::vector<std::thread> threads;
        for (int k = 0; k < clients; ++k)
            threads.emplace_back([&] {
                Client client(gateway.Port());
                for (int r = 0; r < kReads; ++r) answered += client.Read12();
            });
        for (auto& t : threads) t.join();
        seconds += Since(start) / 1000;
    }
    if (answered != long(state.iterations()) * clients * kReads)
        state.SkipWithError("a request was not answered");
    state.counters["per_second"] = double(answered) / seconds;
}

void Configure(benchmark::internal::Benchmark* b, int iterations) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(iterations);
}

}  // namespace
}  // namespace vadero::cli

using vadero::cli::BenchRead;
using vadero::cli::Configure;
using vadero::cli::GatewayClients;
using vadero::cli::GatewayRead12;
using vadero::cli::Operation;
using vadero::cli::Pace;
using vadero::cli::StartAndRead;
using vadero::cli::Transfer;
using vadero::cli::WatchRate;

BENCHMARK(StartAndRead)->Name("start_read_fast")->Apply([](auto* b) { Configure(b, 10); });

BENCHMARK_CAPTURE(Transfer, read_fast, Operation::Read, Pace::Fast)->Apply([](auto* b) {
    Configure(b, 10);
});
BENCHMARK_CAPTURE(Transfer, restore_fast, Operation::Restore, Pace::Fast)->Apply([](auto* b) {
    Configure(b, 5);
});
BENCHMARK_CAPTURE(Transfer, measure_fast, Operation::Measure, Pace::Fast)->Apply([](auto* b) {
    Configure(b, 10);
});
BENCHMARK_CAPTURE(Transfer, read_tick, Operation::Read, Pace::Tick)->Apply([](auto* b) {
    Configure(b, 3);
});
BENCHMARK_CAPTURE(Transfer, restore_tick, Operation::Restore, Pace::Tick)->Apply([](auto* b) {
    Configure(b, 2);
});
BENCHMARK_CAPTURE(Transfer, measure_tick, Operation::Measure, Pace::Tick)->Apply([](auto* b) {
    Configure(b, 3);
});

BENCHMARK_CAPTURE(BenchRead, bench_read_fast, Pace::Fast)->Arg(1)->Arg(4)->Apply([](auto* b) {
    Configure(b, 5);
});
BENCHMARK_CAPTURE(BenchRead, bench_read_tick, Pace::Tick)->Arg(1)->Arg(4)->Apply([](auto* b) {
    Configure(b, 2);
});
BENCHMARK(WatchRate)->Name("watch_interval0_fast")->Apply([](auto* b) { Configure(b, 2); });

BENCHMARK(GatewayRead12)->Name("gateway_read12")->Apply([](auto* b) { Configure(b, 20); });
BENCHMARK(GatewayClients)->Name("gateway_clients")->Arg(1)->Arg(4)->Apply([](auto* b) {
    Configure(b, 2);
});

BENCHMARK_MAIN();
