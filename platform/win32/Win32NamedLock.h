#pragma once

#include "platform/NamedLock.h"

namespace tovik::win32 {

// Named mutexes without a namespace prefix: they live in the logon
// session's namespace, and the system closes a process's handles when it
// ends, whichever way, so the name vanishes with its last holder.
class Win32NamedLocks : public platform::NamedLocks {
public:
    platform::NamedLockResult createOrOpen(const std::string& name) override;
    void close(platform::LockHandle handle) override;
};

}  // namespace tovik::win32
