#include "transport/hidraw/ReportDescriptor.h"

#include <array>
#include <cstddef>
#include <vector>

namespace vadero {
namespace {

constexpr std::uint8_t kLongItemPrefix = 0xFE;

enum ItemType : std::uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

enum MainTag : std::uint8_t {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kEndCollection = 0xC,
};

enum GlobalTag : std::uint8_t {
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB,
};

struct GlobalState {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;  // 0: the device uses no report IDs
};

// Bits declared per report ID for one kind of report.
class ReportBits {
  public:
    // False when the report grows beyond kMaxReportByteLength.
    bool add(std::uint32_t id, std::uint64_t bits) {
        present_[id] = true;
        // Both factors of bits are below 2^32, so this sum cannot wrap.
        bits_[id] += bits;
        return bits_[id] <= kMaxBits;
    }
    int largestByteLength() const {
        int largest = 0;
        for (std::size_t id = 0; id < bits_.size(); ++id) {
            if (!present_[id])
                continue;
            const int length = static_cast<int>((bits_[id] + 7) / 8) + 1;
            if (length > largest)
                largest = length;
        }
        return largest;
    }

  private:
    static constexpr std::uint64_t kMaxBits = std::uint64_t{kMaxReportByteLength - 1} * 8;
    std::array<std::uint64_t, 256> bits_{};
    std::array<bool, 256> present_{};
};

}  // namespace

std::optional<ReportLengths> ParseReportDescriptor(std::span<const std::uint8_t> descriptor) {
    static constexpr std::array<std::size_t, 4> kDataSize{0, 1, 2, 4};

    const std::size_t size = descriptor.size();
    std::size_t pos = 0;
    GlobalState global;
    std::vector<GlobalState> stack;
    int collectionDepth = 0;
    bool numbered = false;
    ReportBits input;
    ReportBits output;

    while (pos < size) {
        const std::uint8_t prefix = descriptor[pos++];
        if (prefix == kLongItemPrefix) {
            // bDataSize, bLongItemTag, then the data; nothing here uses them.
            if (size - pos < 2)
                return std::nullopt;
            const std::size_t dataSize = descriptor[pos];
            pos += 2;
            if (size - pos < dataSize)
                return std::nullopt;
            pos += dataSize;
            continue;
        }
        const std::size_t dataSize = kDataSize[prefix & 0x3];
        if (size - pos < dataSize)
            return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i)
            value |= std::uint32_t{descriptor[pos + i]} << (8 * i);
        pos += dataSize;

        const auto type = static_cast<std::uint8_t>((prefix >> 2) & 0x3);
        const auto tag = static_cast<std::uint8_t>(prefix >> 4);
        const std::uint64_t bits = std::uint64_t{global.reportSize} * global.reportCount;
        if (type == kMain) {
            switch (tag) {
                case kInput:
                    if (!input.add(global.reportId, bits))
                        return std::nullopt;
                    break;
                case kOutput:
                    if (!output.add(global.reportId, bits))
                        return std::nullopt;
                    break;
                case kCollection:
                    ++collectionDepth;
                    break;
                case kEndCollection:
                    if (collectionDepth == 0)
                        return std::nullopt;
                    --collectionDepth;
                    break;
                default:  // Feature and reserved tags do not count
                    break;
            }
        } else if (type == kGlobal) {
            switch (tag) {
                case kReportSize:
                    global.reportSize = value;
                    break;
                case kReportCount:
                    global.reportCount = value;
                    break;
                case kReportId:
                    if (value == 0 || value > 255)
                        return std::nullopt;
                    global.reportId = value;
                    numbered = true;
                    break;
                case kPush:
                    stack.push_back(global);
                    break;
                case kPop:
                    if (stack.empty())
                        return std::nullopt;
                    global = stack.back();
                    stack.pop_back();
                    break;
                default:
                    break;
            }
        }
        // Local items and the reserved type carry nothing the lengths need.
    }
    if (collectionDepth != 0)
        return std::nullopt;

    ReportLengths lengths;
    lengths.InputReportByteLength = input.largestByteLength();
    lengths.OutputReportByteLength = output.largestByteLength();
    lengths.NumberedReports = numbered;
    return lengths;
}

}  // namespace vadero
