#pragma once

namespace tovik::platform {

// Flags of a session-end request, as ExitWindowsEx takes them. Only power off
// is ever combined with the force flag.
namespace exitflags {
inline constexpr unsigned LogOff = 0;
inline constexpr unsigned Reboot = 2;
inline constexpr unsigned Force = 4;
inline constexpr unsigned PowerOff = 8;
}  // namespace exitflags

// The requests that end, suspend or lock the user's session.
class PowerApi {
public:
    virtual ~PowerApi() = default;
    // Enables the shutdown right in the process token; the result is not looked at.
    virtual void enableShutdownPrivilege() = 0;
    // Asks the system to end the session: log off, restart or power off
    // (optionally forced), recorded as planned. It returns at once; false
    // when the system refused to start it.
    virtual bool exitWindows(unsigned flags) = 0;
    // Hibernates (hibernate true) or suspends the machine. False when the
    // system refused or cannot do it at all.
    virtual bool setSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) = 0;
    // Locks the workstation; false when the lock failed.
    virtual bool lockWorkStation() = 0;
};

}  // namespace tovik::platform
