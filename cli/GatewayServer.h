#pragma once
// The gateway's Modbus TCP side: it listens (libmodbus), takes at most a set
// number of clients, each on a thread of its own so that a slow one holds up
// nobody else, reads their requests (libmodbus frames them), closes a
// connection that sends a malformed request, stalls within one or stays idle,
// and hands every request to the handler, whose reply it sends back.

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

#include "cli/GatewayFrames.h"
#include "transport/UniqueFd.h"

namespace vadero::cli {

struct Endpoint {
    std::string host;
    std::string port;  // "0": the system chooses
};
inline constexpr const char* kDefaultListen = "127.0.0.1:1502";
// "127.0.0.1:1502", "[::1]:1502", "localhost:0"; throws UsageError.
Endpoint ParseListen(const std::string& text);

struct ServerLimits {
    int clients = 16;
    std::chrono::milliseconds idle{60000};      // no request for that long: closed
    std::chrono::milliseconds byteGap{500};     // within a request
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
    void serve(Client& client);
    std::string converse(Client& client);
    std::string receiveFailure(int error) const;
    // A request of which length bytes came, read whole; why to close when it is
    // malformed or its rest does not come.
    std::optional<std::string> completeRequest(Client& client, std::uint8_t* buffer,
                                               std::size_t& length);
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

}  // namespace vadero::cli
