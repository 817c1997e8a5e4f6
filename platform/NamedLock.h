#pragma once
#include <cstdint>
#include <string>

namespace tovik::platform {

// A system handle as an opaque number; 0 means none.
using LockHandle = std::uintptr_t;

// What creating a named lock gave: the handle (0 when the lock could not be
// made at all) and whether an object of that name existed before.
struct NamedLockResult {
    LockHandle handle = 0;
    bool existedBefore = false;
};

// Named locks visible to the whole logon session. A lock lives as long as
// one handle to it is open and vanishes when the last process holding it
// ends, whichever way it ends.
class NamedLocks {
public:
    virtual ~NamedLocks() = default;
    // Creates the lock under `name`, or opens it when it exists already.
    virtual NamedLockResult createOrOpen(const std::string& name) = 0;
    // Gives a handle back; only ever called with a handle that is not 0.
    virtual void close(LockHandle handle) = 0;
};

}  // namespace tovik::platform
