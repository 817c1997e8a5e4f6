#pragma once
#include <string>

#include "platform/DateTime.h"
#include "platform/Locale.h"

namespace tovik::timer {

inline constexpr long long msPerMinute = 60 * 1000;
inline constexpr long long msPerDay = 1440 * msPerMinute;

// The local date and time `minutes` later (or earlier), exact to the
// millisecond across days, months, years and leap days.
platform::LocalDateTime PlusMinutes(const platform::LocalDateTime& when, long long minutes);
platform::LocalDateTime PlusMilliseconds(const platform::LocalDateTime& when, long long milliseconds);

// The whole 24-hour periods contained in the minutes: empty below one day,
// "  +1 Tag" for one, "  +N Tage" from two on.
std::string DaysSuffixFor(long long minutes);

// The moment `milliseconds` after `from` in the user's long time format,
// with the whole days in between: "01:00:37  +1 Tag".
std::string MomentText(const platform::Locale& locale, const platform::LocalDateTime& from, long long milliseconds);

// Hours and minutes as a clock text: two digits each, 24-hour, with a colon
// ("18:45"), whatever the regional time format; the conversion of clock
// texts takes the colon in every region.
std::string ClockText(const platform::LocalDateTime& when);

}  // namespace tovik::timer
