#include "app/traffic/RegisterMeaning.h"

#include <QCoreApplication>
#include <QLocale>
#include <bit>

#include "app/LocaleText.h"
#include "app/pages/FilterTime.h"
#include "app/pages/RangeCaptions.h"
#include "app/trend/TrendSeries.h"
#include "calibrator/Conversions.h"
#include "calibrator/RangeLabels.h"
#include "calibrator/RegisterMap.h"

namespace vadero {

namespace {

constexpr const char* kValuePicture = "#0.000";  // mA and V, as the demo's display
constexpr const char* kLevelPicture = "#0.0";    // as the ramp page

// The run of registers being read, by address.
class Run {
  public:
    Run(int first, std::span<const std::uint16_t> values) : first_(first), values_(values) {}
    bool Holds(int address) const {
        return address >= first_ && address < first_ + int(values_.size());
    }
    std::uint16_t At(int address) const { return values_[std::size_t(address - first_)]; }
    int First() const { return first_; }
    int End() const { return first_ + int(values_.size()); }

  private:
    int first_;
    std::span<const std::uint16_t> values_;
};

QString Word(int address, std::uint16_t value) {
    if (kCalibrationBlock.Holds(address))
        return QCoreApplication::translate("RegisterMeaning", "registre %1 (étalonnage) : %2")
            .arg(address)
            .arg(value);
    return QCoreApplication::translate("RegisterMeaning", "registre %1 : %2")
        .arg(address)
        .arg(value);
}

QString Physical(int range, std::uint16_t raw) {
    const float value = RawToValue(TValueUnit::uPhysical, range, std::int16_t(raw), UserScale{});
    return ShowNumber(value, kValuePicture) + " " + UnitOfRange(range);
}

QString OutputValue(std::uint16_t raw, int range) {
    if (!IsGenerating(range))
        return QCoreApplication::translate("RegisterMeaning", "valeur générée brute %1")
            .arg(std::int16_t(raw));
    return QCoreApplication::translate("RegisterMeaning", "valeur générée %1")
        .arg(Physical(range, raw));
}

QString Range(std::uint16_t code) {
    // The range buttons' own caption, in the window's language.
    const QString label = RangeCaption(code);
    if (label.isEmpty())
        return QCoreApplication::translate("RegisterMeaning", "gamme %1 (inconnue)").arg(code);
    return QCoreApplication::translate("RegisterMeaning", "gamme %1 (%2)").arg(code).arg(label);
}

QString LoopPower(std::uint16_t value) {
    return value != 0
               ? QCoreApplication::translate("RegisterMeaning",
                                             "alimentation de boucle %1 (marche)")
                     .arg(value)
               : QCoreApplication::translate("RegisterMeaning", "alimentation de boucle %1 (arrêt)")
                     .arg(value);
}

QString Language(std::uint16_t code) {
    switch (code) {
        case kLanguageFrench:
            return QCoreApplication::translate("RegisterMeaning", "langue %1 (français)").arg(code);
        case kLanguageEnglish:
            return QCoreApplication::translate("RegisterMeaning", "langue %1 (anglais)").arg(code);
        default:
            return QCoreApplication::translate("RegisterMeaning", "langue %1 (inconnue)").arg(code);
    }
}

// A float over two registers, low word first, in the user format when the
// run holds it.
QString UserValue(const Run& run, int address) {
    const std::uint32_t bits = std::uint32_t(run.At(address)) | std::uint32_t(run.At(address + 1))
                                                                    << 16;
    const auto value = std::bit_cast<float>(bits);
    if (run.Holds(reg::kUserFormat)) {
        const QString shown = ShowNumber(value, FormatOfCode(run.At(reg::kUserFormat)));
        return shown.trimmed();
    }
    return QLocale().toString(double(value), 'g', 7);
}

// A memory, or a register of no parameter.
QString MemoryOrWord(int address, std::uint16_t raw) {
    for (int table = 0; table < int(reg::kMemory1.size()); ++table) {
        const int index = address - reg::kMemory1[std::size_t(table)];
        if (index >= 0 && index < kMemoryCount)
            return QCoreApplication::translate("RegisterMeaning", "mémoire %1 (%2) %3")
                .arg(index + 1)
                .arg(QString::fromStdString(RangeName(table)))
                .arg(Physical(table, raw));
    }
    return Word(address, raw);
}

QString RampValue(int address, std::uint16_t value, int range) {
    if (address >= reg::kRampTime1 && address < reg::kRampTime1 + kRampTimeCount)
        return QCoreApplication::translate("RegisterMeaning", "t%1 %2 s")
            .arg(address - reg::kRampTime1 + 1)
            .arg(value);
    if (address >= reg::kRampLevel1 && address < reg::kRampLevel1 + kRampLevelCount) {
        const int level = address - reg::kRampLevel1 + 1;
        if (!IsGenerating(range))
            return QCoreApplication::translate("RegisterMeaning", "L%1 brut %2")
                .arg(level)
                .arg(value);
        const float percent = RawToValue(TValueUnit::uPercent, range, std::int16_t(value), {});
        return QCoreApplication::translate("RegisterMeaning", "L%1 %2 %")
            .arg(level)
            .arg(ShowNumber(percent, kLevelPicture));
    }
    if (address == reg::kRampDelay)
        return QCoreApplication::translate("RegisterMeaning", "D %1 s").arg(value);
    return QCoreApplication::translate("RegisterMeaning", "Rep %1").arg(value);
}

// The parameter at `address`: its text and the registers it spans.
RegisterItem ItemAt(const Run& run, int address, int range) {
    const std::uint16_t value = run.At(address);
    const bool userFloat = address == reg::kUserFullScale || address == reg::kUserZero;
    if (userFloat && run.Holds(address + 1)) {
        const QString text =
            address == reg::kUserFullScale
                ? QCoreApplication::translate("RegisterMeaning", "pleine échelle utilisateur %1")
                : QCoreApplication::translate("RegisterMeaning", "zéro utilisateur %1");
        return {address, 2, text.arg(UserValue(run, address))};
    }
    switch (address) {
        case reg::kOutputValue:
            return {address, 1, OutputValue(value, range)};
        case reg::kRange:
            return {address, 1, Range(value)};
        case reg::kLoopPower:
            return {address, 1, LoopPower(value)};
        case reg::kFilter:
            return {address, 1,
                    QCoreApplication::translate("RegisterMeaning", "filtre %1 (%2)")
                        .arg(value)
                        .arg(FilterText(value))};
        case reg::kUserFormat:
            return {address, 1,
                    QCoreApplication::translate("RegisterMeaning", "format utilisateur %1 (\"%2\")")
                        .arg(value)
                        .arg(QString::fromStdString(FormatOfCode(value)).trimmed())};
        case reg::kOutputDecimals:
            return {address, 1,
                    QCoreApplication::translate("RegisterMeaning", "décimales %1 (\"%2\")")
                        .arg(std::int16_t(value))
                        .arg(QString::fromStdString(DecimalsFormat(std::int16_t(value))))};
        case reg::kLanguage:
            return {address, 1, Language(value)};
        default:
            break;
    }
    if (address >= reg::kRampTime1 && address <= reg::kRampRepeat)
        return {address, 1, RampValue(address, value, range)};
    return {address, 1, MemoryOrWord(address, value)};
}

}  // namespace

std::vector<RegisterItem> HoldingMeaning(int first, std::span<const std::uint16_t> values,
                                         int range) {
    const Run run(first, values);
    if (run.Holds(reg::kRange))
        range = run.At(reg::kRange);
    std::vector<RegisterItem> items;
    for (int address = run.First(); address < run.End();) {
        RegisterItem item = address >= 0 && address < kRegisterCount
                                ? ItemAt(run, address, range)
                                : RegisterItem{address, 1, Word(address, run.At(address))};
        address += item.count;
        items.push_back(std::move(item));
    }
    return items;
}

QString JoinedMeaning(const std::vector<RegisterItem>& items) {
    QStringList texts;
    for (const RegisterItem& item : items) texts << item.text;
    return texts.join(", ");
}

QString MeasureMeaning(std::uint16_t raw, int range) {
    if (range < 0 || range >= kRangeCount)
        return QCoreApplication::translate("RegisterMeaning", "mesure brute %1")
            .arg(std::int16_t(raw));
    float value = 0;
    switch (MeasureToValue(range, std::int16_t(raw), value)) {
        case 1:
            return QCoreApplication::translate("RegisterMeaning", "mesure Dep+");
        case 2:
            return QCoreApplication::translate("RegisterMeaning", "mesure Dep-");
        default:
            return QCoreApplication::translate("RegisterMeaning", "mesure %1 %2")
                .arg(ShowNumber(value, kValuePicture))
                .arg(UnitOfRange(range));
    }
}

}  // namespace vadero
