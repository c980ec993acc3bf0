#pragma once
// Which message identifier a key event gets, as Windows reports it to low-level hooks: keys
// pressed while Alt is held (and Control is not) are system keys (0x104 down, 0x105 up). The
// Alt key itself goes down as a system key; its release is a system key-up only when no other
// key was pressed while it was held. The state follows the events it is given.
#include <cstdint>

namespace quelt::x11 {

class SystemKeyState {
  public:
    // The message identifier of a press (`down`) or release of the key `virtualKey`.
    std::uint32_t messageFor(std::uint32_t virtualKey, bool down);

  private:
    bool altHeld() const { return leftAlt_ || rightAlt_; }
    bool controlHeld() const { return leftControl_ || rightControl_; }

    bool leftAlt_ = false;
    bool rightAlt_ = false;
    bool leftControl_ = false;
    bool rightControl_ = false;
    bool otherKeyWhileAlt_ = false;
};

}  // namespace quelt::x11
