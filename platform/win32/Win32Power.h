#pragma once

#include "platform/PowerApi.h"

namespace tovik::win32 {

// The power requests on Windows. Their results are handed on as the system
// gives them; nothing here reports or retries.
class Win32Power : public platform::PowerApi {
public:
    void enableShutdownPrivilege() override;
    bool exitWindows(unsigned flags) override;
    bool setSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) override;
    bool lockWorkStation() override;
};

// SetSuspendState of powrprof.dll from the system folder, bound at run time and kept for the whole
// process once found; a failed lookup keeps nothing, so the next call looks
// again. False without calling anything when the procedure is not there.
bool CallSetSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent);

}  // namespace tovik::win32
