#pragma once
#include <string>
#include <string_view>

#include "platform/NamedLock.h"

namespace tovik::app {

// The longest executable path the instance name is taken from, in characters.
constexpr std::size_t instancePathLimit = 255;

// The name of the single-instance lock: the executable's file name without
// directory and extension. The path is cut to its first 255 characters
// first; everything up to and including the last '\' or ':' goes (a forward
// slash is no separator), then the last dot and what follows it. Letter case
// and every other character stay as they are.
std::string InstanceName(std::string_view executablePath);

enum class GuardState {
    Held,       // the lock is ours: this is the only copy
    Refused,    // another copy holds the lock: this one ends at once
    Unguarded,  // the lock could not be made: the program runs without it
};

// Only one copy of the program runs per executable name in a logon session.
// Created first thing at start-up, before any window, setting or counter;
// destroyed last, when it gives back the handle it got (if any). The lock is
// never released otherwise and nothing waits on it: it exists for as long
// as the first copy runs.
class SingleInstanceGuard {
public:
    SingleInstanceGuard(platform::NamedLocks& locks, std::string_view executablePath);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    GuardState state() const { return state_; }
    // True when another copy runs: the caller ends the process with exit code 0.
    bool refused() const { return state_ == GuardState::Refused; }
    const std::string& instanceName() const { return name_; }
    platform::LockHandle handle() const { return handle_; }

    // Gives the handle back now (the process is about to end); idempotent.
    void close();

private:
    platform::NamedLocks& locks_;
    std::string name_;
    platform::LockHandle handle_ = 0;
    GuardState state_ = GuardState::Unguarded;
};

}  // namespace tovik::app
