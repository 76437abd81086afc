#pragma once
// The calibrators on Modbus TCP. Each request is routed by its unit
// identifier, translated, queued on that calibrator's line and answered with
// the calibrator's own response, or with the exception that says why not. A
// service: it starts without a calibrator, answers 0x0A for one that is not
// there, and serves each as soon as it is plugged in.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calibrator/EventLoop.h"
#include "gateway/GatewayLine.h"
#include "gateway/GatewayQueue.h"
#include "gateway/GatewayServer.h"

namespace vadero::gateway {

struct GatewaySettings {
    Endpoint listen = *EndpointOf(kDefaultListen);
    bool readOnly = false;
    bool trace = false;  // a log line per request, and per late answer dropped
    bool bench = false;  // every calibrator, unit N for calibrator N
    int device = 1;      // the one served otherwise
    ServerLimits limits;
    // How often a calibrator that is not there is looked for.
    std::chrono::milliseconds survey{1000};
    // Why devices with the calibrator's ids cannot be opened, a line each, for the log.
    std::function<std::vector<std::string>()> blocked;
};

class Gateway {
  public:
    using Log = GatewayServer::Log;

    // Listens, opens the calibrators there are and takes clients, on the
    // caller's loop (its thread is the loop's); throws ListenError.
    Gateway(HidLayer& hid, EventLoop& loop, const GatewaySettings& settings, Log log);
    ~Gateway();
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;

    const std::string& Address() const { return server_->Address(); }
    // Loop thread: refuses new requests, lets those on a line end, then closes
    // every connection.
    void Stop();

  private:
    void survey();
    void open(std::size_t line, int count);
    void addLine();
    void say(std::size_t line, const std::string& text);
    std::string units(std::size_t line) const;
    int number(std::size_t line) const;
    // The path of the n-th matching calibrator of a new enumeration.
    std::string matchingPath(int n);
    void take(const std::shared_ptr<GatewayQueue::Call>& call);
    std::optional<Bytes> handle(const std::string& peer, const Adu& request);

    HidLayer& hid_;
    EventLoop& loop_;
    const GatewaySettings settings_;
    const Log log_;
    TMiniModbusMaster probe_;  // counts the calibrators, opens none
    std::vector<std::unique_ptr<GatewayLine>> lines_;
    std::vector<std::string> said_;  // what the log last said of each line
    bool saidNone_ = false;
    std::unique_ptr<Timer> surveyTimer_;
    GatewayQueue queue_;
    std::unique_ptr<GatewayServer> server_;  // last: its threads end first
};

}  // namespace vadero::gateway
