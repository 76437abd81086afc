#include "cli/DeviceSurvey.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include "calibrator/EventLoop.h"
#include "calibrator/LCX.h"
#include "transport/Identity.h"

namespace vadero::cli {

std::string Explained(const std::string& reason) {
    if (reason != std::strerror(EACCES) && reason != std::strerror(EPERM))
        return reason;
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04x:%04x", unsigned(lcx3::kVendorId),
                  unsigned(lcx3::kProductId));
    return reason + " (install the udev rule that grants access to " + ids +
           ", TAG+=\"uaccess\", then unplug and replug the calibrator)";
}

Survey SurveyDevices(HidLayer& hid) {
    // The calibrator model's own device component, as every other command
    // opens it: its enumeration by ids, its matching by strings.
    EventLoop loop;
    TLCX lcx(LCXEnv{TransportEnv{hid, loop}, loop});
    TMiniModbusMaster& device = lcx.Master();

    Survey survey;
    std::set<std::string> listed;
    const int count = device.EnumerateDevices();
    for (int k = 1; k <= count; ++k) {
        const std::string path = device.GetDevicePath(k - 1);
        listed.insert(path);
        if (device.Matches(k))
            survey.matching.push_back({int(survey.matching.size()) + 1, device.GetManufacturer(k),
                                       device.GetProduct(k), device.GetSerialNumber(k), path});
    }
    // What the enumeration skipped because it would not open, when the
    // system tells the calibrator's ids without opening it.
    for (const std::string& path : hid.enumerate(device.ViewRegisteredDevices)) {
        if (listed.contains(path))
            continue;
        const std::string reason = hid.openError(path);
        if (reason.empty())
            continue;  // it opened: another device
        const auto ids = hid.identify(path);
        if (ids && ids->VendorID == device.Vid && ids->ProductID == device.Pid)
            survey.blocked.push_back({path, Explained(reason)});
    }
    return survey;
}

}  // namespace vadero::cli
