#include "tests/support/MemoryNamedLock.h"

namespace tovik::test {

platform::NamedLockResult MemoryNamedLocks::createOrOpen(const std::string& name) {
    ++createCalls_;
    if (foreignObjects.count(name)) return {};
    platform::NamedLockResult result;
    result.existedBefore = openCount_.count(name) != 0;
    ++openCount_[name];
    next_ += 4;
    handles_[next_] = name;
    result.handle = next_;
    return result;
}

void MemoryNamedLocks::close(platform::LockHandle handle) {
    auto found = handles_.find(handle);
    if (found == handles_.end()) {
        badCloses_.push_back(handle);
        return;
    }
    if (--openCount_[found->second] == 0) openCount_.erase(found->second);
    handles_.erase(found);
}

}  // namespace tovik::test
