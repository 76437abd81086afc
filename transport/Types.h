#pragma once
// Types shared by every layer of the tool: the component base, the notify
// event and the bridge's line formats.

#include <cstdint>
#include <functional>

namespace vadero {

// Base of every component that can be the Sender of an event.
class TObject {
  public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// Raised only when bound; Sender is the object named by the raising class.
using NotifyEvent = std::function<void(TObject* Sender)>;

inline void Raise(const NotifyEvent& event, TObject* sender) {
    if (event)
        event(sender);
}

// Serial line format of the HID-serial bridge; the value is the byte the
// configuration report carries.
enum class TPortFormat : std::uint8_t {
    _9600_8N2 = 0,
    _9600_8E1 = 1,
    _19200_8E1 = 2,
    _38400_8E1 = 3,
};

}  // namespace vadero
