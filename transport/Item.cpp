#include "transport/Item.h"

namespace vadero {

std::string TItemList::Get(int Index) const {
    if (Index < 0 || Index > Count() - 1)
        return {};
    return entries_[static_cast<std::size_t>(Index)];
}

void TItemList::Clear() {
    entries_.clear();
    entries_.shrink_to_fit();
}

int TItemList::Add(const std::string& Text) {
    entries_.push_back(Text);
    return Count();
}

}  // namespace vadero
