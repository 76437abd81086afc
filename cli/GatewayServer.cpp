#include "cli/GatewayServer.h"

#include <arpa/inet.h>
#include <modbus/modbus.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "cli/ExitCodes.h"

namespace vadero::cli {

namespace {

// Connections waiting to be taken; those beyond the limit are taken to be refused.
constexpr int kBacklog = 64;

struct ContextFree {
    void operator()(modbus_t* ctx) const {
        modbus_close(ctx);
        modbus_free(ctx);
    }
};
using Context = std::unique_ptr<modbus_t, ContextFree>;

bool IsPort(const std::string& text) {
    return !text.empty() && text.size() <= 5 &&
           text.find_first_not_of("0123456789") == std::string::npos && std::stoi(text) <= 65535;
}

std::string Numeric(const sockaddr* address, socklen_t length) {
    std::array<char, NI_MAXHOST> host{};
    std::array<char, NI_MAXSERV> port{};
    if (getnameinfo(address, length, host.data(), host.size(), port.data(), port.size(),
                    NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return "?";
    const std::string h = host.data();
    return (h.find(':') != std::string::npos ? "[" + h + "]" : h) + ":" + port.data();
}

bool IsLoopback(const sockaddr_storage& address) {
    if (address.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        return (ntohl(v4.sin_addr.s_addr) >> 24) == 127;
    }
    if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address).sin6_addr;
        return IN6_IS_ADDR_LOOPBACK(&v6) || (IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127);
    }
    return false;
}

enum class Wait { Ready, TimedOut, Stopping };

// The socket readable (or closed), the time passed, or the server stopping.
Wait Readable(int fd, int wake, std::chrono::milliseconds limit) {
    std::array<pollfd, 2> fds{{{fd, POLLIN, 0}, {wake, POLLIN, 0}}};
    for (;;) {
        const int n = poll(fds.data(), fds.size(), int(limit.count()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0 ? Wait::TimedOut : Wait::Stopping;
        return fds[1].revents != 0 ? Wait::Stopping : Wait::Ready;
    }
}

// The rest of a request whose function libmodbus does not know.
bool ReadRest(int fd, int wake, std::uint8_t* into, std::size_t count,
              std::chrono::milliseconds gap) {
    while (count > 0) {
        if (Readable(fd, wake, gap) != Wait::Ready)
            return false;
        const ssize_t n = recv(fd, into, count, 0);
        if (n <= 0)
            return false;
        into += n;
        count -= std::size_t(n);
    }
    return true;
}

bool SendAll(int fd, const Bytes& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += std::size_t(n);
    }
    return true;
}

std::string Spoken(std::chrono::milliseconds ms) {
    if (ms.count() % 1000 == 0)
        return std::to_string(ms.count() / 1000) + " s";
    return std::to_string(ms.count()) + " ms";
}

}  // namespace

Endpoint ParseListen(const std::string& text) {
    Endpoint e;
    const std::size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
        e.host = text.substr(0, colon);
        e.port = text.substr(colon + 1);
    }
    if (e.host.size() > 2 && e.host.front() == '[' && e.host.back() == ']')
        e.host = e.host.substr(1, e.host.size() - 2);
    else if (e.host.find_first_of("[]:") != std::string::npos)
        e.host.clear();  // an IPv6 address goes in brackets
    if (e.host.empty() || !IsPort(e.port))
        throw UsageError("--listen: \"" + text +
                         "\" is no ADDRESS:PORT (such as 127.0.0.1:1502 or [::1]:1502; port 0 "
                         "lets the system choose)");
    return e;
}

struct GatewayServer::Client {
    Context ctx;
    int fd = -1;  // under the server's lock; -1 once closed
    std::string peer;
    int seat = 0;  // clients at its start, itself included
    std::atomic<bool> finished{false};
    std::thread thread;
};

GatewayServer::GatewayServer(const Endpoint& where, ServerLimits limits, Handler handler, Log log)
    : limits_(limits), handler_(std::move(handler)), log_(std::move(log)) {
    wake_.reset(eventfd(0, EFD_CLOEXEC));
    const Context listener(modbus_new_tcp_pi(where.host.c_str(), where.port.c_str()));
    if (!listener || !wake_)
        throw ListenError("cannot listen on " + where.host + ":" + where.port);
    listen_.reset(modbus_tcp_pi_listen(listener.get(), kBacklog));
    if (!listen_)
        throw ListenError("cannot listen on " + where.host + ":" + where.port + ": " +
                          std::strerror(errno));
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(listen_.get(), reinterpret_cast<sockaddr*>(&bound), &length);
    address_ = Numeric(reinterpret_cast<const sockaddr*>(&bound), length);
    loopback_ = IsLoopback(bound);
}

GatewayServer::~GatewayServer() {
    Stop();
}

void GatewayServer::Start() {
    acceptor_ = std::thread([this] { accepting(); });
}

void GatewayServer::Stop() {
    if (stopping_.exchange(true))
        return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wake_.get(), &one, sizeof one);
    if (acceptor_.joinable())
        acceptor_.join();
    std::list<std::unique_ptr<Client>> clients;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& c : clients_)
            if (c->fd >= 0)
                shutdown(c->fd, SHUT_RDWR);  // wakes a read or a send in progress
        clients.swap(clients_);
    }
    for (const auto& c : clients) c->thread.join();
}

void GatewayServer::accepting() {
    for (;;) {
        if (Readable(listen_.get(), wake_.get(), std::chrono::milliseconds(-1)) != Wait::Ready)
            return;
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        UniqueFd socket(
            accept4(listen_.get(), reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC));
        if (!socket) {
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                log_(std::string("cannot take a client: ") + std::strerror(errno));
                // The connection waits in the backlog; polling again at once would spin.
                if (Readable(wake_.get(), wake_.get(), std::chrono::milliseconds(100)) !=
                    Wait::TimedOut)
                    return;
            }
            continue;
        }
        admit(std::move(socket), Numeric(reinterpret_cast<const sockaddr*>(&peer), length));
    }
}

void GatewayServer::admit(UniqueFd socket, const std::string& peer) {
    const std::lock_guard lock(mutex_);
    // Clients whose threads have ended leave their seats.
    for (auto it = clients_.begin(); it != clients_.end();) {
        if ((*it)->finished) {
            (*it)->thread.join();
            it = clients_.erase(it);
        } else {
            ++it;
        }
    }
    const int seated = int(clients_.size());
    if (seated >= limits_.clients) {
        log_(peer + " refused: " + std::to_string(seated) + " clients already");
        return;  // closed as the socket goes
    }
    const int on = 1;
    setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    const timeval sendLimit{limits_.sendLimit.count() / 1000,
                            suseconds_t(limits_.sendLimit.count() % 1000 * 1000)};
    setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
    auto client = std::make_unique<Client>();
    client->ctx.reset(modbus_new_tcp_pi("127.0.0.1", "0"));  // holds the socket only
    if (!client->ctx)
        return;
    const auto gap = limits_.byteGap.count();
    modbus_set_byte_timeout(client->ctx.get(), uint32_t(gap / 1000), uint32_t(gap % 1000 * 1000));
    modbus_set_indication_timeout(client->ctx.get(), uint32_t(gap / 1000),
                                  uint32_t(gap % 1000 * 1000));
    client->fd = socket.get();
    modbus_set_socket(client->ctx.get(), socket.release() /* the context closes it */);
    client->peer = peer;
    client->seat = seated + 1;
    Client& c = *client;
    clients_.push_back(std::move(client));
    c.thread = std::thread([this, &c] { serve(c); });
}

void GatewayServer::serve(Client& c) {
    log_(c.peer + " connected (" + std::to_string(c.seat) + " of " +
         std::to_string(limits_.clients) + ")");
    const std::string why = converse(c);
    {
        const std::lock_guard lock(mutex_);
        c.ctx.reset();
        c.fd = -1;
    }
    log_(c.peer + " closed: " + why);
    c.finished = true;
}

// Why a connection closes when a request could not be received.
std::string GatewayServer::receiveFailure(int error) const {
    if (stopping())
        return "the gateway stops";
    if (error == ECONNRESET)
        return "by the client";
    if (error == ETIMEDOUT)
        return "incomplete request, no byte for " + Spoken(limits_.byteGap);
    if (error == EMBBADDATA)
        return "malformed request: longer than " + std::to_string(kMaxAdu) + " bytes";
    return std::string("receive failed: ") + modbus_strerror(error);
}

std::optional<std::string> GatewayServer::completeRequest(Client& c, std::uint8_t* buffer,
                                                          std::size_t& length) {
    const Framing framing = CheckFraming(std::span(buffer, length));
    if (framing.kind == Framing::Kind::Malformed)
        return "malformed request: " + framing.why;
    if (framing.kind == Framing::Kind::Short) {
        if (!ReadRest(c.fd, wake_.get(), buffer + length, framing.missing, limits_.byteGap))
            return stopping() ? "the gateway stops"
                              : "incomplete request, no byte for " + Spoken(limits_.byteGap);
        length += framing.missing;
    }
    return std::nullopt;
}

std::string GatewayServer::converse(Client& c) {
    std::array<std::uint8_t, kMaxAdu> buffer{};
    for (;;) {
        const Wait wait = Readable(c.fd, wake_.get(), limits_.idle);
        if (wait == Wait::Stopping || stopping())
            return "the gateway stops";
        if (wait == Wait::TimedOut)
            return "no request for " + Spoken(limits_.idle);
        const int n = modbus_receive(c.ctx.get(), buffer.data());
        if (n < 0)
            return receiveFailure(errno);
        std::size_t length = std::size_t(n);
        if (auto why = completeRequest(c, buffer.data(), length))
            return *why;
        const Adu request = SplitAdu(std::span(buffer.data(), length));
        const std::optional<Bytes> reply = handler_(c.peer, request);
        if (!reply)
            return "the gateway stops";
        if (!SendAll(c.fd, JoinAdu(request.transaction, request.unit, *reply)))
            return std::string("the reply was not taken: ") + std::strerror(errno);
    }
}

}  // namespace vadero::cli
