#pragma once
// What a layer remembers of its failed opens: the reason of the last open of
// each path that failed, until the path opens again. Thread-safe: readers
// and their owner open paths at once.

#include <map>
#include <mutex>
#include <string>

namespace vadero {

class OpenErrors {
  public:
    // An empty reason: the path opened.
    void record(const std::string& path, std::string reason) {
        const std::lock_guard lock(mutex_);
        if (reason.empty())
            reasons_.erase(path);
        else
            reasons_[path] = std::move(reason);
    }
    std::string of(const std::string& path) const {
        const std::lock_guard lock(mutex_);
        const auto it = reasons_.find(path);
        return it == reasons_.end() ? std::string() : it->second;
    }

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> reasons_;
};

}  // namespace vadero
