#pragma once
#include <string>

namespace tovik::platform {

// Holds off the computer's idle sleep while a countdown runs. It never keeps
// the display on, never wakes a sleeping computer and never stands in the
// way of a sleep the user asks for (lid, power button, Start menu).
class SystemAwake {
public:
    virtual ~SystemAwake() = default;
    // Asks the system to stay awake; the reason names what will happen and
    // when, for whoever asks why the computer does not sleep. Asking again
    // sets the request anew, with the new reason.
    virtual void hold(const std::string& reason) = 0;
    // The system may sleep when idle again; nothing happens when nothing is held.
    virtual void release() = 0;
};

}  // namespace tovik::platform
