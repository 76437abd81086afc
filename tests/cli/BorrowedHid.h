#pragma once
// Hands lcx3 a layer that the test keeps, so that its devices outlive the run
// and can be looked at afterwards.

#include "transport/HidLayer.h"

namespace vadero::test {

class BorrowedHid : public HidLayer {
  public:
    explicit BorrowedHid(HidLayer& hid) : hid_(hid) {}
    std::vector<std::string> enumerate(bool all) override { return hid_.enumerate(all); }
    std::unique_ptr<HidHandle> open(const std::string& path) override { return hid_.open(path); }
    std::string openError(const std::string& path) const override { return hid_.openError(path); }
    std::optional<HidAttributes> identify(const std::string& path) override {
        return hid_.identify(path);
    }
    std::unique_ptr<HidWake> makeWake() override { return hid_.makeWake(); }
    void pause(std::chrono::milliseconds duration, HidWake& wake) override {
        hid_.pause(duration, wake);
    }
    std::chrono::steady_clock::time_point now() const override { return hid_.now(); }

  private:
    HidLayer& hid_;
};

}  // namespace vadero::test
