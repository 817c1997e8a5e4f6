#include "platform/win32/Win32Power.h"

#include <windows.h>

#include "platform/win32/SystemLibrary.h"

namespace tovik::win32 {

namespace {

// BOOLEAN SetSuspendState(BOOLEAN Hibernate, BOOLEAN ForceCritical, BOOLEAN DisableWakeEvent)
using SetSuspendStateProc = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);

// Empty until the first successful lookup; lives as long as the process.
SystemProcedure<SetSuspendStateProc> cachedSetSuspendState{L"powrprof.dll", "SetSuspendState",
                                                           /*lookAgainWhenMissing=*/true};

}  // namespace

bool CallSetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) {
    const SetSuspendStateProc setSuspendState = cachedSetSuspendState.get();
    if (!setSuspendState) return false;
    return setSuspendState(hibernate ? TRUE : FALSE, forceCritical ? TRUE : FALSE, disableWakeEvent ? TRUE : FALSE) !=
           FALSE;
}

void Win32Power::enableShutdownPrivilege() {
    // Where the token or the privilege cannot be had, nothing is adjusted;
    // the request that follows then fails and says so.
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}

bool Win32Power::exitWindows(unsigned flags) {
    static_assert(platform::exitflags::LogOff == EWX_LOGOFF && platform::exitflags::Reboot == EWX_REBOOT &&
                  platform::exitflags::Force == EWX_FORCE && platform::exitflags::PowerOff == EWX_POWEROFF);
    // The event log records a planned session end, not an unexplained one.
    return ExitWindowsEx(flags, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED) !=
           FALSE;
}

bool Win32Power::setSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) {
    return CallSetSuspendState(hibernate, forceCritical, disableWakeEvent);
}

bool Win32Power::lockWorkStation() { return LockWorkStation() != FALSE; }

}  // namespace tovik::win32
