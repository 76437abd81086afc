#include "app/trend/TrendSeries.h"

#include <QDateTime>
#include <array>
#include <charconv>

#include "calibrator/Conversions.h"

namespace vadero {

namespace {

std::string ValueText(const TrendPoint& p) {
    if (p.code == 1)
        return "Dep+";
    if (p.code == 2)
        return "Dep-";
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), p.value).ptr;
    return std::string(buffer.data(), end);
}

std::string TimeText(qint64 ms) {
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms);
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs).toStdString();
}

}  // namespace

const char* UnitOfRange(int range) {
    switch (range) {
        case rgGenerate010V:
        case rgMeasureVoltage:
            return "V";
        case rgMeasureResistance:
            return "KOhms";
        default:
            return "mA";
    }
}

TrendPoint TrendSeries::Measured(qint64 ms, int range, std::int16_t raw) {
    TrendPoint p{ms, raw, range, 0.0F, 0};
    p.code = MeasureToValue(range, raw, p.value);
    return p;
}

void TrendSeries::Add(const TrendPoint& point) {
    if (points_.size() == kCapacity)
        points_.pop_front();
    points_.push_back(point);
}

std::string TrendSeries::Csv() const {
    std::string text = "time,value,unit,raw\n";
    for (const TrendPoint& p : points_)
        text += TimeText(p.ms) + "," + ValueText(p) + "," + UnitOfRange(p.range) + "," +
                std::to_string(p.raw) + "\n";
    return text;
}

}  // namespace vadero
