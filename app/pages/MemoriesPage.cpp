#include "app/pages/MemoriesPage.h"

#include <QGroupBox>

#include "app/Guard.h"
#include "app/LocaleText.h"
#include "app/NumberEntry.h"
#include "app/pages/PageHost.h"
#include "calibrator/Conversions.h"

namespace vadero {

namespace {

struct GroupInfo {
    const char* name;
    const char* caption;
    const char* unit;
};

constexpr std::array<GroupInfo, MemoriesPage::kTables> kGroups{{
    {"GrMem020mA", QT_TRANSLATE_NOOP("vadero::MemoriesPage", "0 - 20mA"), "mA"},
    {"GrMem420mA", QT_TRANSLATE_NOOP("vadero::MemoriesPage", "4 - 20mA"), "mA"},
    {"GrMem010V", QT_TRANSLATE_NOOP("vadero::MemoriesPage", "0 - 10V"), "V"},
}};

constexpr int kGroupWidth = 131;
constexpr int kGroupGap = 6;
constexpr int kEditTop = 24;
constexpr int kEditPitch = 32;
const std::string kPicture = "#0.000";

}  // namespace

MemoriesPage::MemoriesPage(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("TabMem"));
    int editNumber = 1;
    for (int t = 0; t < kTables; ++t) {
        const auto table = static_cast<std::size_t>(t);
        auto* group = new QGroupBox(tr(kGroups[table].caption), this);
        group->setObjectName(QString::fromLatin1(kGroups[table].name));
        group->setGeometry(8 + t * (kGroupWidth + kGroupGap), 8, kGroupWidth, 281);
        groups_[table] = group;
        for (int i = 0; i < kPerTable; ++i) {
            auto* edit = new NumberEntry(group);
            edit->setObjectName(QStringLiteral("Edit%1").arg(editNumber++));
            edit->setGeometry(16, kEditTop + i * kEditPitch, kGroupWidth - 32, 21);
            edit->SetField(FieldOf(static_cast<std::uint8_t>(t), i + 1));
            edit->OnTaken =
                Guarded([this, edit](const Taking& taking) { MemChange(edit, taking); });
            edits_[table][static_cast<std::size_t>(i)] = edit;
        }
    }
}

MemoriesPage::~MemoriesPage() {
    // A focus change while the children go must not reach this page.
    for (const auto& group : edits_)
        for (NumberEntry* edit : group) edit->Detach();
}

NumberField MemoriesPage::FieldOf(std::uint8_t table, int index) {
    const UserScale none{};
    NumberField field;
    field.what = tr("la mémoire %1").arg(index);
    field.unit = QString::fromLatin1(kGroups[table].unit);
    // A memory holds 0 to 110 % of its table's full scale.
    field.min = RawToValue(TValueUnit::uPhysical, table, 0, none);
    field.max = RawToValue(TValueUnit::uPhysical, table, kRawMax, none);
    field.show = [](double v) { return ShowNumber(v, kPicture); };
    field.held = [this, table, index] {
        return std::optional<double>(host_.LCX1().GetMemory(TValueUnit::uPhysical, table, index));
    };
    field.store = [this, table, index](double v) {
        host_.LCX1().SetMemory(TValueUnit::uPhysical, table, static_cast<float>(v), index);
    };
    return field;
}

void MemoriesPage::FillStartNumbers() {
    TLCX& lcx = host_.LCX1();
    for (int t = 0; t < kTables; ++t) {
        for (int i = 0; i < kPerTable; ++i) {
            lcx.SetMemory(TValueUnit::uPhysical, static_cast<std::uint8_t>(t),
                          static_cast<float>(i), i + 1);
            edits_[static_cast<std::size_t>(t)][static_cast<std::size_t>(i)]->ShowHeld();
        }
    }
    host_.CheckChange();
}

void MemoriesPage::ShowMemories() {
    for (const auto& group : edits_)
        for (NumberEntry* edit : group) edit->ShowHeld();
}

void MemoriesPage::MemChange(QObject* /*Sender*/, const Taking& taking) {
    host_.Took(taking);
}

}  // namespace vadero
