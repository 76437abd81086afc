#include "calibrator/LocalTime.h"

#include <cstdio>
#include <ctime>

namespace vadero {

namespace {

std::tm Local(std::chrono::system_clock::time_point at) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

}  // namespace

std::string IsoLocalTime(std::chrono::system_clock::time_point at) {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(at.time_since_epoch()).count() % 1000;
    const std::tm local = Local(at);
    char date[32];
    char zone[8];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    std::strftime(zone, sizeof zone, "%z", &local);  // +0100
    char text[64];
    std::snprintf(text, sizeof text, "%s.%03d%.3s:%.2s", date, int(ms), zone, zone + 3);
    return text;
}

std::string CompactLocalTime(std::chrono::system_clock::time_point at) {
    const std::tm local = Local(at);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%S", &local);
    return text;
}

}  // namespace vadero
