#pragma once
#include <cstdint>
#include <optional>

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

// The counts since the system started, as Windows gives them. Each steps by
// the clock tick (the interrupt-time counts by 1 ms once any program raised
// the timer resolution), and each call reads its own instant.
class InterruptClocks {
public:
    virtual ~InterruptClocks() = default;
    // 100 ns units, time asleep included; none before Windows 10.
    virtual std::optional<std::uint64_t> interruptTime() const = 0;
    // 100 ns units, time asleep left out; none before Windows 7.
    virtual std::optional<std::uint64_t> unbiasedInterruptTime() const = 0;
    // Milliseconds, time asleep included, always in clock-tick steps.
    virtual std::uint64_t tickCount64() const = 0;
};

}  // namespace tovik::platform
