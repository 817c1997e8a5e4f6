#pragma once
#include <cstdint>
#include <random>
#include <string>

#include "platform/Clock.h"
#include "tests/support/VirtualLoop.h"

namespace tovik::test {

// The interrupt-time counts and the tick count as a Windows computer gives
// them, on the virtual loop's time: counts of 100 ns since a start hours
// ago, the interrupt time stepping by the clock tick (15.625 ms) or by 1 ms
// once the timer resolution was raised, the tick count by the clock tick
// with a phase of its own, a time asleep that is rarely whole milliseconds,
// and no two readings taken at the same instant: each reading comes a little
// after the one before, so the second of two may already be one step on.
class WindowsClocks : public platform::InterruptClocks {
public:
    struct Kind {
        bool windows7 = false;          // no QueryInterruptTime
        bool raisedResolution = false;  // some program asked for 1 ms timers
        bool sleptBeforeStart = true;   // the computer slept before the program started
    };

    WindowsClocks(const VirtualLoop& loop, Kind kind, std::uint32_t seed = 1);

    std::optional<std::uint64_t> interruptTime() const override;
    std::optional<std::uint64_t> unbiasedInterruptTime() const override;
    std::uint64_t tickCount64() const override;

    std::string describe() const;

    static constexpr std::uint64_t clockTick = 156250;  // 100 ns units

private:
    // The instant of the next reading, in 100 ns since the system started.
    std::uint64_t readingInstant() const;
    // The interrupt-time count at `instant`: its value at the last step.
    std::uint64_t stepped(std::uint64_t instant) const;
    // Time asleep so far, as the interrupt time's bias: a sleep counts from
    // the last step before it to the first step after it, less the moment the
    // computer was still awake when it woke.
    std::uint64_t bias() const;

    const VirtualLoop& loop_;
    Kind kind_;
    std::uint64_t started_;         // interrupt time when virtual time began
    std::uint64_t biasBeforeStart_;
    std::uint64_t step_;
    std::uint64_t interruptPhase_, tickPhase_;
    std::uint32_t seed_;
    mutable std::mt19937 random_;
    mutable std::uint64_t lastMs_ = ~0ull;
    mutable std::uint64_t withinMs_ = 0;
};

}  // namespace tovik::test
