#pragma once
// lcx3 serve: the calibrators on Modbus TCP. Each request is routed by its
// unit identifier, translated, queued on that calibrator's line and answered
// with the calibrator's own response, or with the exception that says why not.

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/GatewayLine.h"
#include "cli/GatewayQueue.h"
#include "cli/GatewayServer.h"

namespace vadero::cli {

struct Options;
struct Plan;
class Backend;

struct GatewaySettings {
    Endpoint listen = ParseListen(kDefaultListen);
    bool readOnly = false;
    bool trace = false;  // a log line per request
    bool bench = false;  // every calibrator, unit N for calibrator N
    int device = 1;      // the one served otherwise
    ServerLimits limits;
};

// Why the gateway cannot start, with the exit status to report.
struct GatewayError : std::runtime_error {
    GatewayError(int status_, const std::string& what)
        : std::runtime_error(what), status(status_) {}
    int status;
};

class Gateway {
  public:
    using Log = GatewayServer::Log;

    // Listens, opens the calibrators and takes clients, on the caller's loop
    // (its thread is the loop's); throws GatewayError.
    Gateway(HidLayer& hid, EventLoop& loop, const GatewaySettings& settings, Log log);
    ~Gateway();
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;

    const std::string& Address() const { return server_->Address(); }
    // Loop thread: refuses new requests, lets those on a line end, then closes
    // every connection.
    void Stop();

  private:
    std::optional<Bytes> handle(const std::string& peer, const Adu& request);

    EventLoop& loop_;
    const GatewaySettings settings_;
    const Log log_;
    std::vector<std::unique_ptr<SessionRunner>> runners_;  // null: not opened
    std::vector<std::unique_ptr<GatewayLine>> lines_;
    GatewayQueue queue_;
    std::unique_ptr<GatewayServer> server_;  // last: its threads end first
};

// The serve command: --listen checked before anything is opened; then it
// serves until SIGINT or SIGTERM and returns the exit status.
Plan CheckServe(const Options& options);
int ServeCommand(const Options& options, Backend& backend);

}  // namespace vadero::cli
