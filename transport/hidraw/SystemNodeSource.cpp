#include "transport/hidraw/SystemNodeSource.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <cerrno>
#include <span>

namespace vadero {
namespace {

// -1 when the descriptor is no hidraw node, the ioctl result otherwise.
int Ioctl(int fd, unsigned long request, void* argument) {
    int result = 0;
    do {
        result = ::ioctl(fd, request, argument);
    } while (result < 0 && errno == EINTR);
    return result;
}

}  // namespace

std::optional<dev_t> SystemNodeSource::identify(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) return std::nullopt;
    return info.st_rdev;
}

std::optional<NodeSource::Opened> SystemNodeSource::open(const std::string& path) {
    Opened opened;
    // Non-blocking: handles sharing the node wait in poll(), and one that
    // finds its report taken by another goes back to waiting.
    opened.fd.reset(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!opened.fd) return std::nullopt;
    struct stat info {};
    if (::fstat(opened.fd.get(), &info) != 0 || !S_ISCHR(info.st_mode)) return std::nullopt;
    opened.device = info.st_rdev;

    int size = 0;
    if (Ioctl(opened.fd.get(), HIDIOCGRDESCSIZE, &size) < 0) return std::nullopt;  // not hidraw
    hidraw_report_descriptor descriptor{};
    if (size >= 0 && size <= HID_MAX_DESCRIPTOR_SIZE) {
        descriptor.size = static_cast<__u32>(size);
        if (Ioctl(opened.fd.get(), HIDIOCGRDESC, &descriptor) >= 0) {
            opened.lengths = ParseReportDescriptor(
                std::span<const std::uint8_t>(descriptor.value, descriptor.size));
        }
    }
    return opened;
}

}  // namespace vadero
