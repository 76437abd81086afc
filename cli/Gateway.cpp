#include "cli/Gateway.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "cli/DeviceSurvey.h"
#include "cli/Job.h"
#include "cli/Stop.h"

namespace vadero::cli {

using namespace std::chrono_literals;

Gateway::Gateway(HidLayer& hid, EventLoop& loop, const GatewaySettings& settings, Log log)
    : loop_(loop),
      settings_(settings),
      log_(std::move(log)),
      queue_(loop, [this](const std::shared_ptr<GatewayQueue::Call>& call) {
          GatewayQueue::Call& c = *call;
          lines_[std::size_t(c.line)]->Enqueue(
              {c.forward, [this, call](Bytes reply) { queue_.Answer(*call, std::move(reply)); }});
      }) {
    // Listening first: an address taken fails before any calibrator is opened.
    try {
        server_ = std::make_unique<GatewayServer>(
            settings_.listen, settings_.limits,
            [this](const std::string& peer, const Adu& request) { return handle(peer, request); },
            log_);
    } catch (const ListenError& e) {
        throw GatewayError(kUsage, e.what());
    }
    auto first = std::make_unique<SessionRunner>(hid, loop_, Pace::Fast, RunnerHooks{});
    const int count = first->DeviceCount();
    if (count == 0)
        throw GatewayError(kNoDevice, "no matching calibrator");
    if (!settings_.bench && settings_.device > count)
        throw GatewayError(kNoDevice, "no calibrator number " + std::to_string(settings_.device) +
                                          " (" + std::to_string(count) + " found)");
    const int last = settings_.bench ? count : 1;
    for (int k = 1; k <= last; ++k) {
        auto runner = k == 1
                          ? std::move(first)
                          : std::make_unique<SessionRunner>(hid, loop_, Pace::Fast, RunnerHooks{});
        const int number = settings_.bench ? k : settings_.device;
        const std::string units =
            settings_.bench ? "unit " + std::to_string(k) : "units 100, 255, 0";
        if (!runner->Wait(runner->Open(number))) {
            log_(units + ": calibrator " + std::to_string(number) +
                 " cannot be opened; answered with exception 0x0A");
            runners_.push_back(nullptr);
            lines_.push_back(nullptr);
            continue;
        }
        const Calibrator& c = runner->Opened();
        log_(units + ": calibrator " + std::to_string(number) +
             (c.serial.empty() ? "" : ", serial " + c.serial) + " (" + c.path + ")");
        lines_.push_back(std::make_unique<GatewayLine>(*runner, loop_));
        runners_.push_back(std::move(runner));
    }
    if (std::none_of(lines_.begin(), lines_.end(), [](const auto& l) { return bool(l); }))
        throw GatewayError(kCannotOpen, "no calibrator could be opened");
    log_("listening on " + server_->Address() +
         (server_->Loopback()
              ? " (this machine only)"
              : ", beyond this machine: every host that reaches it may read the calibrator" +
                    std::string(settings_.readOnly ? "" : " and write it")) +
         (settings_.readOnly ? ", read only" : ""));
    server_->Start();
}

Gateway::~Gateway() {
    queue_.Close();  // no client thread waits for the loop any more
    server_.reset();
}

void Gateway::Stop() {
    queue_.Refuse();
    loop_.RunUntil(
        [this] {
            return std::all_of(lines_.begin(), lines_.end(),
                               [](const auto& l) { return !l || l->Idle(); });
        },
        GatewayLine::kSends * TCustomLCX::kTick + 1s);
    queue_.Close();
    server_->Stop();
}

std::optional<Bytes> Gateway::handle(const std::string& peer, const Adu& request) {
    const std::uint8_t function = request.pdu.front();
    const int target = RouteUnit(request.unit, int(lines_.size()), settings_.bench);
    std::optional<Bytes> reply;
    if (target == 0 || !lines_[std::size_t(target - 1)]) {
        reply = ExceptionPdu(function, kPathUnavailable);
    } else {
        const std::uint8_t node = runners_[std::size_t(target - 1)]->Lcx().Master().Node;
        Translation t = Translate(request.pdu, node, settings_.readOnly);
        if (!t.forward)
            reply = std::move(t.reply);
        else
            reply = queue_.Ask(target - 1, std::move(*t.forward));
    }
    if (reply && settings_.trace)
        log_(peer + " unit " + std::to_string(request.unit) + " function " +
             std::to_string(function) + ": " + DescribeReply(*reply));
    return reply;
}

namespace {

Endpoint ListenOf(const Options& o) {
    return ParseListen(o.listen.empty() ? kDefaultListen : o.listen);
}

}  // namespace

Plan CheckServe(const Options& o) {
    ListenOf(o);
    return {};
}

int ServeCommand(const Options& o, Backend& backend) {
    EventLoop loop;
    Stop stop;
    const StopSignals signals(loop, stop);  // before any reader or client thread
    GatewaySettings settings;
    settings.listen = ListenOf(o);
    settings.readOnly = o.readOnly;
    settings.trace = o.trace;
    settings.bench = o.allDevices;
    settings.device = o.device;
    const auto log = [](const std::string& line) {
        std::fprintf(stderr, "lcx3: %s\n", line.c_str());
    };
    std::unique_ptr<Gateway> gateway;
    try {
        gateway = std::make_unique<Gateway>(backend.Hid(), loop, settings, log);
    } catch (const GatewayError& e) {
        Outcome out = Failure(e.status, e.what());
        const Survey survey = SurveyDevices(backend.Hid());
        if (e.status == kNoDevice && !survey.blocked.empty()) {
            out = Failure(kCannotOpen, "a calibrator was found but cannot be opened");
            for (const auto& b : survey.blocked) out.details.push_back(b.path + ": " + b.reason);
        }
        return Report(out, o.json);
    }
    std::cout << "listening on " << gateway->Address() << std::endl;
    loop.RunUntil([&stop] { return stop.Requested(); }, std::chrono::hours(24 * 365 * 10));
    log("stopping: the requests on the line end, then every connection closes");
    gateway->Stop();
    gateway.reset();
    log("stopped");
    return kOk;
}

}  // namespace vadero::cli
