#include "ui/TimerSchedule.h"

#include <algorithm>

namespace tovik::ui {

namespace {

std::uint64_t intervalOf(const Timer& timer) { return static_cast<std::uint64_t>(std::max(timer.interval(), 1)); }

}  // namespace

std::uint32_t TimerSchedule::start(const Timer& timer) {
    due_[&timer] = clock_.milliseconds() + intervalOf(timer);
    return static_cast<std::uint32_t>(intervalOf(timer));
}

std::optional<std::uint32_t> TimerSchedule::next(const Timer& timer) {
    const auto found = due_.find(&timer);
    if (found == due_.end()) return std::nullopt;
    const std::uint64_t now = clock_.milliseconds();
    const std::uint64_t interval = intervalOf(timer);
    std::uint64_t& due = found->second;
    due = now >= due + interval + shortestWait ? now + interval : due + interval;
    return static_cast<std::uint32_t>(std::max<std::uint64_t>(due > now ? due - now : 0, shortestWait));
}

}  // namespace tovik::ui
