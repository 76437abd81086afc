#include "cli/Watch.h"

#include <nlohmann/json.hpp>

#include "calibrator/Numbers.h"
#include "cli/ExitCodes.h"

namespace vadero::cli {

Task<int> Watch(EventLoop& loop, Measure measure, WatchSettings settings, WatchLine line,
                Stop& stop) {
    Waiter pause(loop);
    const Stop::Pause cutShort(stop, pause);
    for (int done = 0; !stop.Requested() && (settings.count == 0 || done < settings.count);) {
        const auto start = loop.Now();
        const Measurement m = co_await measure();
        ++done;
        if (m.gone)
            co_return int(kNoDevice);
        line(start, m);
        const auto next = start + settings.interval;
        if (stop.Requested() || (settings.count != 0 && done >= settings.count))
            break;
        if (const auto now = loop.Now(); next > now)
            co_await pause.Until(std::chrono::ceil<std::chrono::milliseconds>(next - now));
    }
    co_return int(kOk);
}

std::string CsvHeader(bool withSerial) {
    return withSerial ? "time,serial,value,unit,raw,state\n" : "time,value,unit,raw,state\n";
}

std::string FormatLine(const LineLayout& layout, const std::string& time, const Measurement& m) {
    const char* state = !m.answered    ? "no answer"
                        : m.state == 1 ? "Dep+"
                        : m.state == 2 ? "Dep-"
                                       : "ok";
    const std::string value =
        FormatPicture(m.value, "#0." + std::string(std::size_t(layout.decimals), '0'));
    switch (layout.format) {
        case LineFormat::Json: {
            nlohmann::json line{{"time", time}};
            if (!layout.serial.empty())
                line["serial"] = layout.serial;
            if (!m.answered) {
                line["error"] = "no answer from the calibrator";
                return line.dump() + "\n";
            }
            line["value"] = std::nearbyint(double(m.value) * 1e4) / 1e4;
            line["unit"] = layout.unit;
            line["raw"] = m.raw;
            line["status"] = m.state == 1 ? "above" : m.state == 2 ? "below" : "ok";
            return line.dump() + "\n";
        }
        case LineFormat::Csv: {
            std::string row = time + ",";
            if (!layout.serial.empty())
                row += layout.serial + ",";
            if (!m.answered)
                return row + ",,," + state + "\n";
            return row + value + "," + layout.unit + "," + std::to_string(m.raw) + "," + state +
                   "\n";
        }
        case LineFormat::Text:
            break;
    }
    std::string text = time + "  ";
    if (!layout.serial.empty())
        text += layout.serial + "  ";
    if (!m.answered)
        return text + "no answer from the calibrator (\"Allumer le calibrateur\")\n";
    text += m.state == 0 ? value + " " + layout.unit : std::string(state);
    return text + "  raw " + std::to_string(m.raw) + "\n";
}

}  // namespace vadero::cli
