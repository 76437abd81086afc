#include "app/RadioGroup.h"

#include <QRadioButton>
#include <algorithm>

namespace vadero {

namespace {
constexpr int kItemHeight = 20;
constexpr int kTop = 18;
constexpr int kLeft = 10;
}  // namespace

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent) {}

void RadioGroup::ClearItems() {
    for (QRadioButton* button : buttons_) delete button;
    buttons_.clear();
}

void RadioGroup::AddItem(const QString& text) {
    auto* button = new QRadioButton(text, this);
    button->setObjectName(QString("Item%1").arg(buttons_.size()));
    buttons_.push_back(button);
    Arrange();
    button->show();
}

QStringList RadioGroup::Items() const {
    QStringList items;
    for (const QRadioButton* button : buttons_) items << button->text();
    return items;
}

QRadioButton* RadioGroup::Button(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

int RadioGroup::ItemIndex() const {
    for (int k = 0; k < Count(); ++k)
        if (buttons_[static_cast<std::size_t>(k)]->isChecked())
            return k;
    return -1;
}

void RadioGroup::SetItemIndex(int index) {
    if (QRadioButton* button = Button(index)) {
        button->setChecked(true);
        return;
    }
    for (QRadioButton* button : buttons_) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void RadioGroup::Arrange() {
    const int width = std::max(0, this->width() - 2 * kLeft);
    for (int k = 0; k < Count(); ++k)
        buttons_[static_cast<std::size_t>(k)]->setGeometry(kLeft, kTop + k * kItemHeight, width,
                                                           kItemHeight);
}

}  // namespace vadero
