// lcx3 list on a scripted HID layer: a calibrator that the layer refuses to
// open is shown with the layer's reason (and, for a refused access, the udev
// rule's hint); a device without the calibrator's ids is not shown at all.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "tests/support/FakeHid.h"
#include "transport/Identity.h"

namespace vadero {
namespace {

constexpr const char* kHint =
    " (install the udev rule that grants access to 0451:0026, TAG+=\"uaccess\", then unplug "
    "and replug the calibrator)";

struct Case {
    const char* name;
    std::vector<test::FakeDevice> devices;
    int status;
    std::string out;  // stdout
    std::string err;  // stderr
};

test::FakeDevice Device(const std::string& path, int refusal = 0,
                        HidAttributes ids = {lcx3::kVendorId, lcx3::kProductId}) {
    test::FakeDevice device;
    device.path = path;
    device.refusal = refusal;
    device.attributes = ids;
    return device;
}

TEST(Lcx3List, ShowsWhyACalibratorCannotBeOpened) {
    const std::string kBlocked = "lcx3: a calibrator was found but cannot be opened\n";
    const std::vector<Case> cases = {
        {"refused access",
         {Device("/dev/hidraw3", EACCES)},
         cli::kCannotOpen,
         "",
         kBlocked + "  /dev/hidraw3: Permission denied" + kHint + "\n"},
        {"not permitted",
         {Device("/dev/hidraw3", EPERM)},
         cli::kCannotOpen,
         "",
         kBlocked + "  /dev/hidraw3: Operation not permitted" + kHint + "\n"},
        {"another error, no hint",
         {Device("/dev/hidraw3", EIO)},
         cli::kCannotOpen,
         "",
         kBlocked + "  /dev/hidraw3: Input/output error\n"},
        {"another device refused",
         {Device("/dev/hidraw1", EACCES, {lcx3::kVendorId, 0x0004})},
         cli::kNoDevice,
         "",
         "lcx3: no calibrator found\n"},
        {"one opens, one is refused",
         {Device("/dev/hidraw0", EACCES), Device("/dev/hidraw1")},
         cli::kOk,
         "N  serial  product       manufacturer   path\n"
         "1  0001    \"HID-LCX3  \"  Norvelectrics  /dev/hidraw1\n"
         "cannot open /dev/hidraw0: Permission denied" +
             std::string(kHint) + "\n",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto hid = std::make_unique<test::FakeHidLayer>();
        for (const auto& device : c.devices) hid->addDevice(device);
        cli::Options o;
        o.command = "list";
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int status = cli::RunCommand(o, std::move(hid));
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(err, c.err);
    }
}

}  // namespace
}  // namespace vadero
