#include "timer/ClockTime.h"

#include <cstdint>
#include <cstdlib>

#include "platform/UserError.h"
#include "timer/TargetTime.h"

namespace tovik::timer {

namespace {


// One to two digits at `at`, then `at` stands behind them.
std::optional<int> readField(const std::string& text, std::size_t& at) {
    int value = 0, digits = 0;
    while (at < text.size() && digits < 2 && text[at] >= '0' && text[at] <= '9') {
        value = value * 10 + (text[at++] - '0');
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return value;
}

bool readSeparator(const std::string& text, std::size_t& at, const std::string& timeSeparator) {
    if (at < text.size() && text[at] == ':') {
        ++at;
        return true;
    }
    if (!timeSeparator.empty() && text.compare(at, timeSeparator.size(), timeSeparator) == 0) {
        at += timeSeparator.size();
        return true;
    }
    return false;
}

}  // namespace

std::optional<int> ClockTextToMinuteOfDay(const std::string& clockText, const std::string& timeSeparator) {
    const std::string text = clockText + ":00";
    std::size_t at = 0;
    const auto hours = readField(text, at);
    if (!hours || !readSeparator(text, at, timeSeparator)) return std::nullopt;
    const auto minutes = readField(text, at);
    if (!minutes) return std::nullopt;
    // Hours alone ("22") end here: the appended ":00" gave their minutes.
    if (at != text.size()) {
        if (!readSeparator(text, at, timeSeparator)) return std::nullopt;
        const auto seconds = readField(text, at);
        // Only "hh:mm" with ":00" appended reaches the seconds; they are always 0.
        if (!seconds || *seconds > 59 || at != text.size()) return std::nullopt;
    }
    if (*hours > 23 || *minutes > 59) return std::nullopt;
    return *hours * 60 + *minutes;
}

int MinutesUntilClockTime(const platform::LocalDateTime& now, const std::string& clockText,
                          const std::string& timeSeparator) {
    const auto minuteOfDay = ClockTextToMinuteOfDay(clockText, timeSeparator);
    if (!minuteOfDay) throw UserError("'" + clockText + ":00' ist keine gültige Uhrzeit");
    const std::int64_t target = *minuteOfDay * msPerMinute;
    std::int64_t timeOfDay =
        ((std::int64_t{now.hour} * 60 + now.minute) * 60 + now.second) * 1000 + now.millisecond;
    // Step a minute at a time; within 1440 steps the time of day passes every
    // minute of the day once, so the loop always ends.
    int k = 0;
    do {
        timeOfDay = (timeOfDay + msPerMinute) % msPerDay;
        ++k;
    } while (std::llabs(target - timeOfDay) > msPerMinute && k < 1440);
    return k;
}

}  // namespace tovik::timer
