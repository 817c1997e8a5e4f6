#pragma once
#include <cstdint>

#include "platform/DateTime.h"

namespace tovik::platform {

// The local wall clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

// Milliseconds from a fixed moment; only goes forward, whatever the wall
// clock does.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual std::uint64_t milliseconds() const = 0;
};

// Milliseconds since the system started, as its interrupt-time clocks count
// them: `milliseconds` goes on while the computer sleeps, `awakeMilliseconds`
// does not, so the difference grows by the time spent asleep.
class UptimeClock {
public:
    virtual ~UptimeClock() = default;
    virtual std::uint64_t milliseconds() const = 0;
    virtual std::uint64_t awakeMilliseconds() const = 0;
};

}  // namespace tovik::platform
