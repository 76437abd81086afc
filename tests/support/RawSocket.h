#pragma once
// A plain TCP connection to the gateway on the loopback, for bytes that no
// Modbus client would send.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "transport/UniqueFd.h"

namespace vadero::test {

class Socket {
  public:
    explicit Socket(int port) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(std::uint16_t(port));
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(fd_.get(), reinterpret_cast<sockaddr*>(&to), sizeof to) != 0)
            throw std::runtime_error("cannot connect");
    }
    void Send(const std::vector<std::uint8_t>& bytes) {
        send(fd_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    void CloseWriting() { shutdown(fd_.get(), SHUT_WR); }
    // The gateway closed the connection within 5 s, whatever it sent before.
    bool ClosedByPeer() {
        pollfd p{fd_.get(), POLLIN, 0};
        std::uint8_t sink[300];
        while (poll(&p, 1, 5000) == 1) {
            const ssize_t n = recv(fd_.get(), sink, sizeof sink, 0);
            if (n <= 0)
                return true;
        }
        return false;
    }

  private:
    UniqueFd fd_;
};

}  // namespace vadero::test
