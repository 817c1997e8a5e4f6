#include "platform/UptimeClock.h"

namespace tovik::platform {

std::uint64_t UptimeClock::milliseconds() const {
    if (const auto time = clocks_.interruptTime()) return *time / perMs;
    return clocks_.tickCount64();
}

std::uint64_t UptimeClock::asleep() const {
    // The unbiased count first: a clock tick between the two readings makes
    // the difference larger, never smaller than the true time asleep. The
    // tick count is no stand-in for the biased count: it steps by the clock
    // tick while the unbiased count may step by 1 ms, and its difference
    // would wander by a tick either way.
    const auto unbiased = clocks_.unbiasedInterruptTime();
    const auto biased = clocks_.interruptTime();
    if (!unbiased || !biased || *biased < *unbiased) return 0;
    return *biased - *unbiased;
}

}  // namespace tovik::platform
