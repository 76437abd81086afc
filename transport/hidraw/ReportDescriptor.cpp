#include "transport/hidraw/ReportDescriptor.h"

#include <array>
#include <cstddef>
#include <optional>
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

struct Item {
    bool isLong = false;  // its bDataSize, bLongItemTag and data: nothing here uses them
    std::uint8_t type = 0;
    std::uint8_t tag = 0;
    std::uint32_t value = 0;
};

// The item at pos, pos moved past it; nullopt when the descriptor ends inside it.
std::optional<Item> NextItem(std::span<const std::uint8_t> descriptor, std::size_t& pos) {
    static constexpr std::array<std::size_t, 4> kDataSize{0, 1, 2, 4};
    const std::size_t size = descriptor.size();
    const std::uint8_t prefix = descriptor[pos++];
    Item item;
    if (prefix == kLongItemPrefix) {
        if (size - pos < 2)
            return std::nullopt;
        const std::size_t dataSize = descriptor[pos];
        pos += 2;
        if (size - pos < dataSize)
            return std::nullopt;
        pos += dataSize;
        item.isLong = true;
        return item;
    }
    const std::size_t dataSize = kDataSize[prefix & 0x3];
    if (size - pos < dataSize)
        return std::nullopt;
    for (std::size_t i = 0; i < dataSize; ++i)
        item.value |= std::uint32_t{descriptor[pos + i]} << (8 * i);
    pos += dataSize;
    item.type = static_cast<std::uint8_t>((prefix >> 2) & 0x3);
    item.tag = static_cast<std::uint8_t>(prefix >> 4);
    return item;
}

// What the main and global items declare so far; each step false when the
// descriptor is malformed.
class Declared {
  public:
    bool main(std::uint8_t tag) {
        const std::uint64_t bits = std::uint64_t{global_.reportSize} * global_.reportCount;
        switch (tag) {
            case kInput:
                return input_.add(global_.reportId, bits);
            case kOutput:
                return output_.add(global_.reportId, bits);
            case kCollection:
                ++collectionDepth_;
                return true;
            case kEndCollection:
                return collectionDepth_-- > 0;
            default:  // Feature and reserved tags do not count
                return true;
        }
    }

    bool global(std::uint8_t tag, std::uint32_t value) {
        switch (tag) {
            case kReportSize:
                global_.reportSize = value;
                return true;
            case kReportCount:
                global_.reportCount = value;
                return true;
            case kReportId:
                global_.reportId = value;
                numbered_ = true;
                return value != 0 && value <= 255;
            case kPush:
                stack_.push_back(global_);
                return true;
            case kPop:
                if (stack_.empty())
                    return false;
                global_ = stack_.back();
                stack_.pop_back();
                return true;
            default:
                return true;
        }
    }

    std::optional<ReportLengths> lengths() const {
        if (collectionDepth_ != 0)
            return std::nullopt;
        ReportLengths lengths;
        lengths.InputReportByteLength = input_.largestByteLength();
        lengths.OutputReportByteLength = output_.largestByteLength();
        lengths.NumberedReports = numbered_;
        return lengths;
    }

  private:
    GlobalState global_;
    std::vector<GlobalState> stack_;
    int collectionDepth_ = 0;
    bool numbered_ = false;
    ReportBits input_;
    ReportBits output_;
};

}  // namespace

std::optional<ReportLengths> ParseReportDescriptor(std::span<const std::uint8_t> descriptor) {
    Declared declared;
    std::size_t pos = 0;
    while (pos < descriptor.size()) {
        const std::optional<Item> item = NextItem(descriptor, pos);
        if (!item)
            return std::nullopt;
        if (item->isLong)
            continue;
        // Local items and the reserved type carry nothing the lengths need.
        const bool wellFormed = item->type == kMain     ? declared.main(item->tag)
                                : item->type == kGlobal ? declared.global(item->tag, item->value)
                                                        : true;
        if (!wellFormed)
            return std::nullopt;
    }
    return declared.lengths();
}

}  // namespace vadero
