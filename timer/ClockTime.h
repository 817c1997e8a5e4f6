#pragma once
#include <optional>
#include <string>

#include "platform/DateTime.h"

namespace tovik::timer {

// A clock text ("22:30") turned into its minute of the day: the text with
// ":00" appended must read as hours, minutes and seconds, or as hours and
// minutes (so "22" is 22:00), one or two digits each with nothing else around
// them, hours 0..23, minutes and seconds 0..59.
// Each separator is a colon or the user's time separator. Nothing otherwise.
std::optional<int> ClockTextToMinuteOfDay(const std::string& clockText, const std::string& timeSeparator);

// The whole minutes from `now` after which the time of day comes within one
// minute of the clock text: the smallest k of 1..1440 with the time of day of
// now + k minutes no more than a minute from the target (a plain difference
// of two times of day, without wrap-around at midnight). Throws UserError
// "'<text>:00' ist keine gültige Uhrzeit" for a text that does not convert.
int MinutesUntilClockTime(const platform::LocalDateTime& now, const std::string& clockText,
                          const std::string& timeSeparator);

}  // namespace tovik::timer
