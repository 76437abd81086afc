#pragma once
// A small list of texts: the device paths of the latest enumeration.

#include <string>
#include <vector>

#include "transport/Types.h"

namespace vadero {

class TItemList : public TObject {
  public:
    int Count() const { return static_cast<int>(entries_.size()); }
    // The entry at a 0-based index; an empty text outside the list.
    std::string Get(int Index) const;
    void Clear();
    // Appends and returns the new Count.
    int Add(const std::string& Text);

  private:
    std::vector<std::string> entries_;
};

}  // namespace vadero
