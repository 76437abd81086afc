#pragma once
// lcx3 serve: the gateway (gateway/) on the address --listen names, until
// SIGINT or SIGTERM.

#include <string>

#include "gateway/GatewayServer.h"

namespace vadero::cli {

struct Options;
struct Plan;
class Backend;

// "127.0.0.1:1502", "[::1]:1502", "localhost:0"; throws UsageError.
gateway::Endpoint ParseListen(const std::string& text);

// --listen checked before anything is opened.
Plan CheckServe(const Options& options);
// Serves until a stop and returns the exit status: 0, or 1 when it cannot listen.
int ServeCommand(const Options& options, Backend& backend);

}  // namespace vadero::cli
