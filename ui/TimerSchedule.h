#pragma once
#include <cstdint>
#include <map>
#include <optional>

#include "platform/Clock.h"
#include "ui/Timer.h"

namespace tovik::ui {

// When to ask for each timer's next message so that its periods keep to real
// time. A window timer's message comes late (up to a clock tick, more while
// the thread is busy) and its next period starts from the late message; asking
// every time only for the wait until the next due time, one interval after the
// last due time, keeps the lateness from adding up. Windows keeps no wait below
// 10 ms, so a message after a very late one may be late by that much more; a
// message later still, by a whole interval beyond that (a busy or stopped
// thread, a sleep), starts the schedule afresh from itself: a held-up thread
// stretches the periods instead of bunching them.
class TimerSchedule {
public:
    static constexpr std::uint32_t shortestWait = 10;

    explicit TimerSchedule(const platform::MonotonicClock& clock) : clock_(clock) {}

    // The timer's period starts now; returns the wait to ask for, in ms.
    std::uint32_t start(const Timer& timer);
    // A message of the timer came; returns the wait until its next one is
    // due, or nothing when the timer is not running.
    std::optional<std::uint32_t> next(const Timer& timer);
    void stop(const Timer& timer) { due_.erase(&timer); }

private:
    const platform::MonotonicClock& clock_;
    std::map<const Timer*, std::uint64_t> due_;
};

}  // namespace tovik::ui
