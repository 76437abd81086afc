#include "transport/hidraw/ReportDescriptor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace vadero {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A vendor-defined device with one 64-byte input and output report and no
// report IDs, as HID-serial bridges have.
const Bytes kVendor64 = {
    0x06, 0x00, 0xFF,  // Usage Page (Vendor 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x09, 0x01,        //   Usage (1)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x40,        //   Report Count (64)
    0x81, 0x02,        //   Input (Data, Var, Abs)
    0x09, 0x01,        //   Usage (1)
    0x91, 0x02,        //   Output (Data, Var, Abs)
    0xC0,              // End Collection
};

// The boot keyboard of the HID class definition.
const Bytes kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,                          // Generic Desktop, Keyboard
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,  // modifier usages
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02,                          // 8 modifier bits
    0x95, 0x01, 0x75, 0x08, 0x81, 0x01,                          // reserved byte
    0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05,  // 5 LEDs
    0x91, 0x02,                                                  //   Output
    0x95, 0x01, 0x75, 0x03, 0x91, 0x01,                          // LED padding
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65,              // 6 key codes
    0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00,              //   Input (Array)
    0xC0,
};

// A three-button mouse with relative X and Y.
const Bytes kMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00,  // Mouse, Pointer
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01,  // buttons 1-3
    0x95, 0x03, 0x75, 0x01, 0x81, 0x02,                          // 3 bits
    0x95, 0x01, 0x75, 0x05, 0x81, 0x01,                          // 5 bits padding
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F,  // X, Y
    0x75, 0x08, 0x95, 0x02, 0x81, 0x06,                          // 2 bytes
    0xC0, 0xC0,
};

// Report 1: 32 bytes in, 8 out; report 2: 63 bytes in, 16 out.
const Bytes kTwoIds = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08,  //
    0x85, 0x01, 0x95, 0x20, 0x09, 0x01, 0x81, 0x02,        // ID 1 Input
    0x95, 0x08, 0x09, 0x01, 0x91, 0x02,                    // ID 1 Output
    0x85, 0x02, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02,        // ID 2 Input
    0x95, 0x10, 0x09, 0x01, 0x91, 0x02,                    // ID 2 Output
    0xC0,
};

struct Expected {
    int input;
    int output;
    bool numbered;
};

void ExpectLengths(const Bytes& descriptor, Expected expected) {
    const auto lengths = ParseReportDescriptor(descriptor);
    ASSERT_TRUE(lengths.has_value());
    EXPECT_EQ(lengths->InputReportByteLength, expected.input);
    EXPECT_EQ(lengths->OutputReportByteLength, expected.output);
    EXPECT_EQ(lengths->NumberedReports, expected.numbered);
}

TEST(ReportDescriptor, RealDevicesGiveTheirReportLengthsWithTheIdByte) {
    ExpectLengths(kVendor64, {65, 65, false});
    ExpectLengths(kTwoIds, {64, 17, true});
    ExpectLengths(kBootKeyboard, {9, 2, false});
    ExpectLengths(kMouse, {4, 0, false});
    ExpectLengths({}, {0, 0, false});
}

TEST(ReportDescriptor, BitsOfOneReportAddUpBeforeRounding) {
    // 4 + 8 bits -> 2 bytes; 4-byte Report Count data; Feature ignored.
    ExpectLengths({0x75, 0x04, 0x95, 0x01, 0x81, 0x02, 0x75, 0x01, 0x97, 0x08, 0x00, 0x00, 0x00,
                   0x81, 0x02, 0xB1, 0x02},
                  {3, 0, false});
    // A long item (tag 0x10, 2 data bytes) and local items change nothing.
    ExpectLengths({0xFE, 0x02, 0x10, 0x81, 0x02, 0x09, 0x01, 0x75, 0x08, 0x95, 0x02, 0x91, 0x02},
                  {0, 3, false});
}

TEST(ReportDescriptor, PopRestoresSizeCountAndReportId) {
    ExpectLengths({0x85, 0x01, 0x75, 0x08, 0x95, 0x04, 0xA4,        // ID 1, 4 x 8, Push
                   0x85, 0x02, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02,  // ID 2: 3 bits
                   0xB4, 0x81, 0x02},                               // Pop: ID 1, 32 bits
                  {5, 0, true});
}

TEST(ReportDescriptor, LargestReportIsAcceptedOneBitMoreIsNot) {
    // 65534 bytes: Report Size 8, Report Count 65534.
    ExpectLengths({0x75, 0x08, 0x96, 0xFE, 0xFF, 0x81, 0x02}, {0xFFFF, 0, false});
    EXPECT_FALSE(ParseReportDescriptor(
        Bytes{0x75, 0x08, 0x96, 0xFE, 0xFF, 0x81, 0x02, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02}));
    // The largest factors must not wrap.
    EXPECT_FALSE(ParseReportDescriptor(
        Bytes{0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02}));
}

TEST(ReportDescriptor, MalformedDescriptorsFail) {
    const std::vector<Bytes> malformed = {
        {0x26, 0xFF},              // data cut short
        {0x97, 0x01, 0x00, 0x00},  // 4-byte data cut short
        {0xFE},                    // long item without its header
        {0xFE, 0x05, 0x10, 0x00},  // long item data cut short
        {0xB4},                    // Pop without Push
        {0xC0},                    // End Collection without Collection
        {0xA1, 0x01},              // Collection never ended
        {0x85, 0x00},              // Report ID 0
        {0x84},                    // Report ID without data is 0 too
        {0x86, 0x00, 0x01},        // Report ID 256
    };
    for (const Bytes& descriptor : malformed) {
        EXPECT_FALSE(ParseReportDescriptor(descriptor)) << testing::PrintToString(descriptor);
    }
}

TEST(ReportDescriptor, EveryCutOfARealDescriptorFailsWithoutReadingPastIt) {
    for (const Bytes* descriptor : {&kVendor64, &kTwoIds, &kBootKeyboard, &kMouse}) {
        // Once the application collection is open, every cut leaves it open.
        const auto collection = std::find(descriptor->begin(), descriptor->end(), 0xA1);
        const auto opened = static_cast<std::size_t>(collection - descriptor->begin()) + 2;
        for (std::size_t size = 1; size < descriptor->size(); ++size) {
            // An exactly sized heap copy: reading past it trips AddressSanitizer.
            const auto copy = std::make_unique<std::uint8_t[]>(size);
            std::copy_n(descriptor->begin(), size, copy.get());
            const auto lengths = ParseReportDescriptor({copy.get(), size});
            if (size >= opened) {
                EXPECT_FALSE(lengths) << "size " << size;
            }
        }
    }
}

}  // namespace
}  // namespace vadero
