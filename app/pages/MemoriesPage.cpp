#include "app/pages/MemoriesPage.h"

#include <QGroupBox>
#include <QLineEdit>

#include "app/Guard.h"
#include "app/LocaleText.h"
#include "app/pages/PageHost.h"
#include "calibrator/Conversions.h"

namespace vadero {

namespace {

struct GroupInfo {
    const char* name;
    const char* caption;
};

constexpr std::array<GroupInfo, MemoriesPage::kTables> kGroups{{
    {"GrMem020mA", "0 - 20mA"},
    {"GrMem420mA", "4 - 20mA"},
    {"GrMem010V", "0 - 10V"},
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
        auto* group = new QGroupBox(QString::fromLatin1(kGroups[table].caption), this);
        group->setObjectName(QString::fromLatin1(kGroups[table].name));
        group->setGeometry(8 + t * (kGroupWidth + kGroupGap), 8, kGroupWidth, 281);
        groups_[table] = group;
        for (int i = 0; i < kPerTable; ++i) {
            auto* edit = new QLineEdit(group);
            edit->setObjectName(QStringLiteral("Edit%1").arg(editNumber++));
            edit->setGeometry(16, kEditTop + i * kEditPitch, kGroupWidth - 32, 21);
            connect(edit, &QLineEdit::textChanged, this,
                    Guarded([this, edit] { MemChange(edit); }));
            connect(edit, &QLineEdit::editingFinished, this,
                    Guarded([this, edit] { MemLeave(*edit); }));
            edits_[table][static_cast<std::size_t>(i)] = edit;
        }
    }
}

void MemoriesPage::FillStartNumbers() {
    for (const auto& group : edits_) {
        for (std::size_t i = 0; i < group.size(); ++i) WriteText(*group[i], QString::number(i));
    }
}

void MemoriesPage::ShowMemories() {
    const TLCX& lcx = host_.LCX1();
    for (int t = 0; t < kTables; ++t) {
        for (int i = 0; i < kPerTable; ++i) {
            const float value =
                lcx.GetMemory(TValueUnit::uPhysical, static_cast<std::uint8_t>(t), i + 1);
            ShowText(*edits_[static_cast<std::size_t>(t)][static_cast<std::size_t>(i)],
                     ShowNumber(value, kPicture));
        }
    }
}

std::optional<MemoriesPage::Place> MemoriesPage::Locate(const QObject& Sender) const {
    for (int i = 0; i < kPerTable; ++i) {
        for (int t = 0; t < kTables; ++t) {
            if (Sender.objectName() ==
                edits_[static_cast<std::size_t>(t)][static_cast<std::size_t>(i)]->objectName())
                return Place{static_cast<std::uint8_t>(t), i + 1};
        }
    }
    return std::nullopt;
}

void MemoriesPage::MemChange(QObject* Sender) {
    host_.CheckChange();
    auto* edit = qobject_cast<QLineEdit*>(Sender);
    if (edit == nullptr)
        return;
    const QString text = edit->text();
    const std::optional<float> typed = ReadNumber(text);
    // Partial input such as "-" stays until it becomes a number; an emptied
    // edit stands for 0.
    if (!typed && !text.isEmpty())
        return;
    if (const auto place = Locate(*edit))
        host_.LCX1().SetMemory(TValueUnit::uPhysical, place->table, typed.value_or(0.0F),
                               place->index);
}

void MemoriesPage::MemLeave(QLineEdit& edit) {
    const auto place = Locate(edit);
    if (!place)
        return;
    // Only now, not while typing: a rewrite at "1.2" would have turned the
    // "1.25" being typed into "1.2005".
    // A text that is no number stored nothing and stays as typed.
    const float stored = host_.LCX1().GetMemory(TValueUnit::uPhysical, place->table, place->index);
    const std::optional<float> typed = ReadNumber(edit.text());
    if (typed && *typed != stored)
        ShowText(edit, ShowNumber(stored, kPicture));
}

}  // namespace vadero
