#pragma once
// The gateway's Modbus TCP side: it listens, takes at most a set number of
// clients, each on a thread of its own so that a slow one holds up nobody
// else, reads their requests as their MBAP headers frame them, closes a
// connection whose header is malformed, whose request is not whole within a
// second of its first byte, or that stays idle, and hands every request to
// the handler, whose reply it sends back. With every seat taken, a new
// connection takes the seat of the one idle longest; it is refused only
// when every seat has a request in flight.

#include <atomic>
#include <chrono>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "gateway/GatewayFrames.h"
#include "transport/UniqueFd.h"

namespace vadero::gateway {

struct Endpoint {
    std::string host;
    std::string port;  // "0": the system chooses
};
inline constexpr const char* kDefaultListen = "127.0.0.1:1502";
// "127.0.0.1:1502", "[::1]:1502", "localhost:0"; nothing for any other text.
std::optional<Endpoint> EndpointOf(const std::string& text);

struct ServerLimits {
    int clients = 16;
    std::chrono::milliseconds idle{60000};      // no request for that long: closed
    std::chrono::milliseconds request{1000};    // from a request's first byte to its last
    std::chrono::milliseconds sendLimit{5000};  // a reply the client does not take
};

class ListenError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

class GatewayServer {
  public:
    // On a client's thread: the reply PDU, or nothing to close the connection.
    // It must return, also while the server stops.
    using Handler = std::function<std::optional<Bytes>(const std::string& peer, const Adu&)>;
    using Log = std::function<void(const std::string& line)>;  // any thread

    // Listens at once; throws ListenError.
    GatewayServer(const Endpoint& where, ServerLimits limits, Handler handler, Log log);
    ~GatewayServer();
    GatewayServer(const GatewayServer&) = delete;
    GatewayServer& operator=(const GatewayServer&) = delete;

    const std::string& Address() const { return address_; }  // as bound
    bool Loopback() const { return loopback_; }
    void Start();  // takes clients from now on
    // Closes every connection and waits for the clients' threads.
    void Stop();

  private:
    struct Client;
    void accepting();
    void admit(UniqueFd socket, const std::string& peer);
    // The seat of the client idle longest, when every seat is taken; false
    // when each has a request in flight. The lock held.
    bool freeSeat(const std::string& peer);
    void serve(Client& client);
    std::string converse(Client& client);
    // A request read whole into `request`, or why the connection closes.
    std::optional<std::string> receive(Client& client, Bytes& request);
    bool stopping() const { return stopping_.load(); }

    const ServerLimits limits_;
    const Handler handler_;
    const Log log_;
    UniqueFd listen_;
    UniqueFd wake_;  // readable once the server stops
    std::string address_;
    bool loopback_ = false;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    std::mutex mutex_;
    std::list<std::unique_ptr<Client>> clients_;
};

}  // namespace vadero::gateway
