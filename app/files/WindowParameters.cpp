#include "app/files/WindowParameters.h"

#include <QCoreApplication>

#include "app/LocaleText.h"
#include "app/pages/FilterTime.h"
#include "app/pages/RangeCaptions.h"
#include "app/pages/UserScaleValues.h"
#include "calibrator/Conversions.h"

namespace vadero {

namespace {

// The context of this file's texts in the translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(vadero::WindowParameters)
};

UserScale ScaleOf(const TLCXParams& p) {
    return {p.UserZero(), p.UserFullScale()};
}

QString Unknown(int code) {
    return Texts::tr("code %1 (inconnu)").arg(code);
}

QString UserValue(float value, std::uint16_t format) {
    return ShowNumber(value, WholePicture(value, format)).trimmed();
}

QString Words(const TLCXParams& p, const RegisterBlock& block) {
    QStringList words;
    for (int k = block.first; k <= block.Last(); ++k) words << QString::number(p.Word(k));
    return words.join(", ");
}

void AddMainPage(std::vector<WindowParameter>& t) {
    const QString page = Texts::tr("Principal");
    t.push_back({page, Texts::tr("Gamme"), {reg::kRange, 1}, [](const TLCXParams& p) {
                     const QString caption = RangeCaption(p.Range());
                     return caption.isEmpty() ? Unknown(p.Range()) : caption;
                 }});
    t.push_back(
        {page, Texts::tr("Alimentation de boucle"), {reg::kLoopPower, 1}, [](const TLCXParams& p) {
             return p.LoopPower() != 0 ? Texts::tr("active") : Texts::tr("inactive");
         }});
    t.push_back({page,
                 Texts::tr("Décimales des valeurs en mA et V"),
                 {reg::kOutputDecimals, 1},
                 [](const TLCXParams& p) {
                     return QString::fromStdString(DecimalsFormat(p.OutputDecimals()));
                 }});
}

void AddUserScalePage(std::vector<WindowParameter>& t) {
    const QString page = Texts::tr("Echelle utilisateur");
    t.push_back(
        {page, Texts::tr("Pleine échelle"), {reg::kUserFullScale, 2}, [](const TLCXParams& p) {
             return UserValue(p.UserFullScale(), p.UserFormat());
         }});
    t.push_back({page, Texts::tr("Zéro"), {reg::kUserZero, 2}, [](const TLCXParams& p) {
                     return UserValue(p.UserZero(), p.UserFormat());
                 }});
    t.push_back(
        {page, Texts::tr("Format d'affichage"), {reg::kUserFormat, 1}, [](const TLCXParams& p) {
             return QString::fromStdString(FormatOfCode(p.UserFormat())).trimmed();
         }});
}

void AddMemoriesPage(std::vector<WindowParameter>& t) {
    static const char* const kTables[] = {"0-20 mA", "4-20 mA", "0-10 V"};
    static const char* const kUnits[] = {"mA", "mA", "V"};
    for (int table = 0; table < int(reg::kMemory1.size()); ++table) {
        for (int k = 1; k <= kMemoryCount; ++k) {
            t.push_back({Texts::tr("Mémoires"),
                         Texts::tr("Mémoire %1 (%2)").arg(k).arg(kTables[table]),
                         {reg::kMemory1[std::size_t(table)] + k - 1, 1},
                         [table, k](const TLCXParams& p) {
                             const float v = RawToValue(TValueUnit::uPhysical, table,
                                                        std::int16_t(p.Memory(table, k)), {});
                             return ShowNumber(v, "#0.000") + ' ' + kUnits[table];
                         }});
        }
    }
}

void AddRampPage(std::vector<WindowParameter>& t) {
    const QString page = Texts::tr("Rampe");
    for (int k = 1; k <= kRampTimeCount; ++k)
        t.push_back(
            {page,
             QStringLiteral("t%1 (s)").arg(k),
             {reg::kRampTime1 + k - 1, 1},
             [k](const TLCXParams& p) { return QStringLiteral("%1 s").arg(p.RampTime(k)); }});
    for (int k = 1; k <= kRampLevelCount; ++k)
        t.push_back({page,
                     QStringLiteral("L%1 (%)").arg(k),
                     {reg::kRampLevel1 + k - 1, 1},
                     [k](const TLCXParams& p) {
                         const float v = RawToValue(TValueUnit::uPercent, p.Range(),
                                                    std::int16_t(p.RampLevel(k)), ScaleOf(p));
                         return ShowNumber(v, "#0.0") + " %";
                     }});
    t.push_back({page, QStringLiteral("D (s)"), {reg::kRampDelay, 1}, [](const TLCXParams& p) {
                     return QStringLiteral("%1 s").arg(p.RampDelay());
                 }});
    t.push_back({page, QStringLiteral("Rep"), {reg::kRampRepeat, 1}, [](const TLCXParams& p) {
                     return QString::number(p.RampRepeat());
                 }});
}

void AddOthersPage(std::vector<WindowParameter>& t) {
    const QString page = Texts::tr("Divers");
    t.push_back(
        {page, Texts::tr("Langue du calibrateur"), {reg::kLanguage, 1}, [](const TLCXParams& p) {
             if (p.Language() == kLanguageFrench)
                 return Texts::tr("Français");
             if (p.Language() == kLanguageEnglish)
                 return Texts::tr("Anglais");
             return Unknown(p.Language());
         }});
    t.push_back({page, Texts::tr("Filtre de mesure"), {reg::kFilter, 1}, [](const TLCXParams& p) {
                     return FilterText(p.Filter());
                 }});
    // Carried along by the transfers; no page shows it.
    t.push_back({QString(),
                 Texts::tr("Registre %1 (non interprété)").arg(reg::kCarried),
                 {reg::kCarried, 1},
                 [](const TLCXParams& p) { return QString::number(p.Word(reg::kCarried)); }});
}

}  // namespace

std::vector<WindowParameter> WindowParameters() {
    std::vector<WindowParameter> t;
    AddMainPage(t);
    AddUserScalePage(t);
    AddMemoriesPage(t);
    AddRampPage(t);
    AddOthersPage(t);
    return t;
}

std::vector<WindowDifference> DiffParameters(const TLCXParams& file, const TLCXParams& window) {
    std::vector<WindowDifference> differences;
    for (const WindowParameter& p : WindowParameters()) {
        if (Words(file, p.registers) == Words(window, p.registers))
            continue;
        WindowDifference d{p.page, p.caption, p.show(file), p.show(window)};
        if (d.inFile == d.inWindow) {
            d.inFile += " (" + Words(file, p.registers) + ")";
            d.inWindow += " (" + Words(window, p.registers) + ")";
        }
        differences.push_back(d);
    }
    return differences;
}

}  // namespace vadero
