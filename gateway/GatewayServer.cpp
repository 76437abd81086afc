#include "gateway/GatewayServer.h"

#include <arpa/inet.h>
#include <modbus/modbus.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace vadero::gateway {

namespace {

// Connections waiting to be taken; those beyond the limit are taken to be refused.
constexpr int kBacklog = 64;

using Clock = std::chrono::steady_clock;

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

enum class Read { Done, Closed, TimedOut, Stopping, Failed };

// Exactly `count` bytes into `into`, before the deadline.
Read ReadBefore(int fd, int wake, std::uint8_t* into, std::size_t count,
                Clock::time_point deadline) {
    while (count > 0) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        const Wait wait = Readable(fd, wake, std::max(left, std::chrono::milliseconds(0)));
        if (wait != Wait::Ready)
            return wait == Wait::TimedOut ? Read::TimedOut : Read::Stopping;
        const ssize_t n = recv(fd, into, count, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (n < 0 && errno == ECONNRESET))
            return Read::Closed;
        if (n < 0)
            return Read::Failed;
        into += n;
        count -= std::size_t(n);
    }
    return Read::Done;
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

std::optional<Endpoint> EndpointOf(const std::string& text) {
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
        return std::nullopt;
    return e;
}

struct GatewayServer::Client {
    UniqueFd socket;
    int fd = -1;  // under the server's lock; -1 once closed
    std::string peer;
    int seat = 0;  // clients at its start, itself included
    // Under the server's lock: a request from its first byte to its reply;
    // since when none has been; its seat given to another.
    bool busy = false;
    Clock::time_point idleSince = Clock::now();
    bool evicted = false;
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
    if (!freeSeat(peer))
        return;  // closed as the socket goes
    const int on = 1;
    setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    const timeval sendLimit{limits_.sendLimit.count() / 1000,
                            suseconds_t(limits_.sendLimit.count() % 1000 * 1000)};
    setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
    auto client = std::make_unique<Client>();
    client->fd = socket.get();
    client->socket = std::move(socket);
    client->peer = peer;
    client->seat = int(std::count_if(clients_.begin(), clients_.end(),
                                     [](const auto& c) { return !c->evicted; })) +
                   1;
    Client& c = *client;
    clients_.push_back(std::move(client));
    c.thread = std::thread([this, &c] { serve(c); });
}

bool GatewayServer::freeSeat(const std::string& peer) {
    Client* idlest = nullptr;
    int seated = 0;
    for (const auto& c : clients_) {
        if (c->evicted)
            continue;
        ++seated;
        if (!c->busy && c->fd >= 0 && (!idlest || c->idleSince < idlest->idleSince))
            idlest = c.get();
    }
    if (seated < limits_.clients)
        return true;
    if (!idlest) {
        log_(peer + " refused: " + std::to_string(seated) +
             " clients already, each with a request in flight");
        return false;
    }
    idlest->evicted = true;
    shutdown(idlest->fd, SHUT_RDWR);  // wakes its wait for a request
    return true;
}

void GatewayServer::serve(Client& c) {
    log_(c.peer + " connected (" + std::to_string(c.seat) + " of " +
         std::to_string(limits_.clients) + ")");
    std::string why = converse(c);
    {
        const std::lock_guard lock(mutex_);
        if (c.evicted && !stopping())
            why = "its seat went to a new client, as the connection idle longest";
        c.socket.reset();
        c.fd = -1;
    }
    log_(c.peer + " closed: " + why);
    c.finished = true;
}

std::optional<std::string> GatewayServer::receive(Client& c, Bytes& request) {
    const Clock::time_point deadline = Clock::now() + limits_.request;
    request.assign(kMbapLength, 0);
    std::size_t have = 0;
    for (;;) {
        const Framing framing = CheckFraming(std::span(request.data(), have));
        if (framing.kind == Framing::Kind::Whole)
            return std::nullopt;
        if (framing.kind == Framing::Kind::Malformed)
            return "malformed request: " + framing.why;
        request.resize(have + framing.missing);
        switch (ReadBefore(c.fd, wake_.get(), request.data() + have, framing.missing, deadline)) {
            case Read::Done:
                have += framing.missing;
                break;
            case Read::TimedOut:
                return "incomplete request, not whole " + Spoken(limits_.request) +
                       " after its first byte";
            case Read::Closed:
                return std::string("by the client");
            case Read::Stopping:
                return std::string("the gateway stops");
            case Read::Failed:
                return std::string("receive failed: ") + std::strerror(errno);
        }
    }
}

std::string GatewayServer::converse(Client& c) {
    Bytes request;
    for (;;) {
        const Wait wait = Readable(c.fd, wake_.get(), limits_.idle);
        if (wait == Wait::Stopping || stopping())
            return "the gateway stops";
        if (wait == Wait::TimedOut)
            return "no request for " + Spoken(limits_.idle);
        {
            const std::lock_guard lock(mutex_);
            if (c.evicted)
                return {};
            c.busy = true;
        }
        if (auto why = receive(c, request))
            return stopping() ? "the gateway stops" : *why;
        const Adu adu = SplitAdu(request);
        const std::optional<Bytes> reply = handler_(c.peer, adu);
        if (!reply)
            return "the gateway stops";
        if (!SendAll(c.fd, JoinAdu(adu.transaction, adu.unit, *reply)))
            return std::string("the reply was not taken: ") + std::strerror(errno);
        const std::lock_guard lock(mutex_);
        c.busy = false;
        c.idleSince = Clock::now();
    }
}

}  // namespace vadero::gateway
