// Enumeration, identity strings and selection of a device.
#include <gtest/gtest.h>

#include "tests/support/FakeHid.h"
#include "tests/support/ManualDispatcher.h"
#include "transport/Identity.h"
#include "transport/USB.h"

namespace vadero {
namespace {

using test::FakeDevice;
using test::FakeHidLayer;

FakeDevice Device(const std::string& path) {
    FakeDevice d;
    d.path = path;
    return d;
}

class Discovery : public ::testing::Test {
  protected:
    FakeHidLayer hid{FakeHidLayer::Time::Virtual};
    ManualDispatcher dispatcher;
    THIDDevice device{TransportEnv{hid, dispatcher, ReaderMode::Manual}};

    void SetUp() override { device.Pid = lcx3::kProductId; }
};

TEST_F(Discovery, ListsMatchingPresentDevicesInTheLayersOrder) {
    FakeDevice other = Device("/dev/hidraw0");
    other.attributes = {0x0451, 0x0004};
    FakeDevice wrongVendor = Device("/dev/hidraw1");
    wrongVendor.attributes = {0x0452, 0x0026};
    FakeDevice absent = Device("/dev/hidraw2");
    absent.present = false;
    hid.addDevice(other);
    hid.addDevice(Device("/dev/hidraw5"));
    hid.addDevice(wrongVendor);
    hid.addDevice(absent);
    hid.addDevice(Device("/dev/hidraw3"));

    for (const bool registered : {false, true}) {
        device.ViewRegisteredDevices = registered;
        ASSERT_EQ(device.EnumerateDevices(), 2) << "registered=" << registered;
        EXPECT_EQ(device.GetDevicePath(0), "/dev/hidraw5");
        EXPECT_EQ(device.GetDevicePath(1), "/dev/hidraw3");
        EXPECT_EQ(device.GetDevicePath(2), "");
    }
}

TEST_F(Discovery, IdentityStringsFallBackWhenUnreadable) {
    FakeDevice bare = Device("/dev/hidraw1");
    bare.serial.reset();
    bare.manufacturer.reset();
    hid.addDevice(Device("/dev/hidraw0"));
    hid.addDevice(bare);
    ASSERT_EQ(device.EnumerateDevices(), 2);

    EXPECT_EQ(device.GetManufacturer(1), "Norvelectrics");
    EXPECT_EQ(device.GetProduct(1), "HID-LCX3  ");
    EXPECT_EQ(device.GetSerialNumber(1), "0001");
    EXPECT_EQ(device.GetSerialNumber(2), "unknown");
    EXPECT_EQ(device.GetManufacturer(2), "");
    EXPECT_EQ(device.GetSerialNumber(3), "");
    EXPECT_EQ(device.GetManufacturer(0), "");

    hid.setPresent("/dev/hidraw0", false);  // gone since the enumeration
    EXPECT_EQ(device.GetSerialNumber(1), "unknown");
    EXPECT_EQ(device.GetProduct(1), "");
}

TEST_F(Discovery, SelectionOnAnEmptyListLeavesTheReaderAlone) {
    EXPECT_FALSE(device.SelectIndex(0));
    EXPECT_FALSE(device.OpenIndex(0));
    hid.addDevice(Device("/dev/hidraw0"));
    EXPECT_FALSE(device.SelectIndex(1));
    EXPECT_FALSE(device.SelectIndex(-1));
    EXPECT_TRUE(device.Reader()->Paused());
    EXPECT_EQ(device.Reader()->DevicePath, "");
}

TEST_F(Discovery, OpenIndexTakesTheReportLengths) {
    hid.addDevice(Device("/dev/hidraw0"));
    EXPECT_EQ(device.OutputReportLength, 0);
    ASSERT_TRUE(device.OpenIndex(0));
    EXPECT_EQ(device.Reader()->ReadLength, 65);
    EXPECT_EQ(device.OutputReportLength, 65);
    EXPECT_FALSE(device.Reader()->Paused());
}

TEST_F(Discovery, OpenIndexWithoutCapabilitiesFailsButStaysSelected) {
    FakeDevice noCaps = Device("/dev/hidraw0");
    noCaps.caps.reset();
    hid.addDevice(noCaps);
    EXPECT_FALSE(device.OpenIndex(0));
    EXPECT_EQ(device.Reader()->DevicePath, "/dev/hidraw0");
    EXPECT_EQ(device.Reader()->ReadLength, 0);
}

TEST_F(Discovery, LongPathsReachTheReaderCutTo255Characters) {
    const std::string path = "/dev/" + std::string(300, 'x');
    hid.addDevice(Device(path));
    ASSERT_TRUE(device.SelectIndex(0));
    EXPECT_EQ(device.Reader()->DevicePath, path.substr(0, 255));
}

}  // namespace
}  // namespace vadero
