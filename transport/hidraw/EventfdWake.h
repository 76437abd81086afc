#pragma once
// A wake that poll() can wait on together with a device: an eventfd that is
// readable from signal() until clear().

#include "transport/HidLayer.h"
#include "transport/UniqueFd.h"

namespace vadero {

class EventfdWake : public HidWake {
  public:
    EventfdWake();  // throws std::system_error when no eventfd can be made
    void signal() override;
    void clear() override;
    bool signalled() const override;
    int fd() const { return fd_.get(); }

  private:
    UniqueFd fd_;
};

}  // namespace vadero
