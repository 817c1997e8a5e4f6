#include "platform/UptimeClock.h"

namespace tovik::platform {

// The tick count counts time asleep on every Windows; its clock-tick steps
// are fine enough for moments kept to the second.
std::uint64_t UptimeClock::milliseconds() const { return clocks_.tickCount64(); }

std::uint64_t UptimeClock::asleep() const {
    // The biased count first: a clock tick, or a thread held up, between the
    // two readings makes the difference smaller, never larger than the true
    // time asleep. The tick count is no stand-in for the biased count: it
    // steps by the clock tick while the unbiased count may step by 1 ms, and
    // its difference would wander by a tick either way.
    const auto biased = clocks_.interruptTime();
    const auto unbiased = clocks_.unbiasedInterruptTime();
    if (!unbiased || !biased || *biased < *unbiased) return 0;
    return *biased - *unbiased;
}

}  // namespace tovik::platform
