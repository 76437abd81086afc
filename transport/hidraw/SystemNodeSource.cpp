#include "transport/hidraw/SystemNodeSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <span>
#include <vector>

namespace vadero {
namespace {

// The largest descriptor the kernel keeps (HID_MAX_DESCRIPTOR_SIZE).
constexpr std::size_t kMaxDescriptor = 4096;

// The whole file, at most `limit` bytes; empty when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadBytes(const std::string& path, std::size_t limit) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 1024> chunk;
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
        if (n == 0)
            return bytes;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
        if (bytes.size() > limit)
            return std::nullopt;
    }
}

}  // namespace

std::optional<dev_t> SystemNodeSource::identify(const std::string& path, int& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = errno;
        return std::nullopt;
    }
    if (!S_ISCHR(info.st_mode)) {
        error = ENODEV;
        return std::nullopt;
    }
    return info.st_rdev;
}

std::optional<NodeSource::Probed> SystemNodeSource::probe(const std::string& path, int& error) {
    const std::optional<dev_t> device = identify(path, error);
    if (!device)
        return std::nullopt;
    // Refused here, the node shows as one that cannot be opened: open(2)
    // would fail with the same errno (EACCES).
    if (::access(path.c_str(), R_OK | W_OK) != 0) {
        error = errno;
        return std::nullopt;
    }
    const std::string node = sysfs_ + "/dev/char/" + std::to_string(major(*device)) + ":" +
                             std::to_string(minor(*device));
    std::array<char, 256> target{};
    const ssize_t n = ::readlink((node + "/subsystem").c_str(), target.data(), target.size() - 1);
    const std::string subsystem(target.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
    if (!subsystem.ends_with("/hidraw")) {
        error = ENODEV;
        return std::nullopt;
    }

    Probed probed;
    probed.device = *device;
    // The bytes HIDIOCGRDESC returns, without opening the node.
    if (const auto bytes = ReadBytes(node + "/device/report_descriptor", kMaxDescriptor))
        probed.lengths = ParseReportDescriptor(*bytes);
    return probed;
}

UniqueFd SystemNodeSource::open(const std::string& path, dev_t device) {
    // Non-blocking: handles sharing the node wait in poll(), and one that
    // finds its report taken by another goes back to waiting.
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!fd)
        return fd;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISCHR(info.st_mode) || info.st_rdev != device)
        return UniqueFd();  // replaced by another device since it was probed
    return fd;
}

}  // namespace vadero
