#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/NamedLock.h"

namespace tovik::test {

// The named locks of one logon session, in memory. Every guard created on
// the same object plays a copy of the program in that session. Names are
// compared case-sensitively; a lock vanishes when its last handle closes.
class MemoryNamedLocks : public platform::NamedLocks {
public:
    platform::NamedLockResult createOrOpen(const std::string& name) override;
    void close(platform::LockHandle handle) override;

    // A name already used by an object of another kind: creating a lock
    // under it fails.
    std::set<std::string> foreignObjects;

    bool exists(const std::string& name) const { return openCount_.count(name) != 0; }
    int openHandles() const { return static_cast<int>(handles_.size()); }
    int createCalls() const { return createCalls_; }
    // Handles given back that were 0 or not open: must stay empty.
    const std::vector<platform::LockHandle>& badCloses() const { return badCloses_; }

private:
    std::map<std::string, int> openCount_;
    std::map<platform::LockHandle, std::string> handles_;
    std::vector<platform::LockHandle> badCloses_;
    platform::LockHandle next_ = 0x40;
    int createCalls_ = 0;
};

}  // namespace tovik::test
