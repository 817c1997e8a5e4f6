#pragma once
#include <cstdint>

#include "platform/Clock.h"

namespace tovik::platform {

// Time since the system started, time asleep included, and the time it has
// spent asleep, from the interrupt-time counts.
class UptimeClock {
public:
    explicit UptimeClock(const InterruptClocks& clocks) : clocks_(clocks) {}

    // Milliseconds, time asleep included; never goes back.
    std::uint64_t milliseconds() const;
    // The time asleep since the system started, in 100 ns units, as one
    // reading of the two interrupt-time counts. It may fall short of the
    // true time by a clock tick or more, never exceed it, never read less
    // than none; where only the unbiased count exists (Windows 7 and 8.1) it
    // reads none.
    std::uint64_t asleep() const;

    static constexpr std::uint64_t perMs = 10000;

private:
    const InterruptClocks& clocks_;
};

}  // namespace tovik::platform
