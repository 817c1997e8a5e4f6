#pragma once
#include <optional>
#include <string>

namespace tovik::platform {

// Facts about the running system, each asked afresh at every call.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // Major version of the operating system (5 for XP, 6 and above for newer).
    virtual int majorVersion() const = 0;
    // The development environment's main window (class "TAppBuilder"), when one
    // exists: its title, or its class name when the title is empty.
    virtual std::optional<std::string> findDevEnvironmentWindow() const = 0;
    virtual bool hibernateAllowed() const = 0;
    virtual bool suspendAllowed() const = 0;
    // Full path of the running executable.
    virtual std::string executablePath() const = 0;
};

// Newer systems (major version 6 or more) give the main window its own
// taskbar entry and let the window caption follow the countdown.
inline bool IsNewerWindows(const SystemInfo& system) { return system.majorVersion() > 5; }

}  // namespace tovik::platform
