#include "cli/Serve.h"

#include <cstdio>
#include <iostream>

#include "cli/DeviceSurvey.h"
#include "cli/Job.h"
#include "cli/Stop.h"
#include "gateway/Gateway.h"

namespace vadero::cli {

gateway::Endpoint ParseListen(const std::string& text) {
    if (auto endpoint = gateway::EndpointOf(text))
        return *endpoint;
    throw UsageError("--listen: \"" + text +
                     "\" is no ADDRESS:PORT (such as 127.0.0.1:1502 or [::1]:1502; port 0 "
                     "lets the system choose)");
}

namespace {

gateway::Endpoint ListenOf(const Options& o) {
    return ParseListen(o.listen.empty() ? gateway::kDefaultListen : o.listen);
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
    gateway::GatewaySettings settings;
    settings.listen = ListenOf(o);
    settings.readOnly = o.readOnly;
    settings.trace = o.trace;
    settings.bench = o.allDevices;
    settings.device = o.device;
    HidLayer& hid = backend.Hid();
    settings.blocked = [&hid] {
        std::vector<std::string> lines;
        for (const BlockedDevice& b : SurveyDevices(hid).blocked)
            lines.push_back(b.path + ": " + b.reason);
        return lines;
    };
    const auto log = [](const std::string& line) {
        std::fprintf(stderr, "lcx3: %s\n", line.c_str());
    };
    std::unique_ptr<gateway::Gateway> served;
    try {
        served = std::make_unique<gateway::Gateway>(hid, loop, settings, log);
    } catch (const gateway::ListenError& e) {
        return Report(Failure(kUsage, e.what()), o.json);
    }
    std::cout << "listening on " << served->Address() << std::endl;
    loop.RunUntil([&stop] { return stop.Requested(); }, std::chrono::hours(24 * 365 * 10));
    log("stopping: the requests on the line end, then every connection closes");
    served->Stop();
    served.reset();
    log("stopped");
    return kOk;
}

}  // namespace vadero::cli
