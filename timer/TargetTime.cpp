#include "timer/TargetTime.h"

#include <cstdint>

namespace tovik::timer {

namespace {


// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, platform::LocalDateTime& out) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2));
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::string twoDigits(int value) { return std::string(1, char('0' + value / 10)) + char('0' + value % 10); }

}  // namespace

platform::LocalDateTime PlusMinutes(const platform::LocalDateTime& when, long long minutes) {
    return PlusMilliseconds(when, minutes * msPerMinute);
}

platform::LocalDateTime PlusMilliseconds(const platform::LocalDateTime& when, long long milliseconds) {
    const std::int64_t timeOfDay =
        ((std::int64_t{when.hour} * 60 + when.minute) * 60 + when.second) * 1000 + when.millisecond;
    const std::int64_t total = daysFromCivil(when.year, when.month, when.day) * msPerDay + timeOfDay + milliseconds;
    const std::int64_t days = floorDiv(total, msPerDay);
    std::int64_t rest = total - days * msPerDay;
    platform::LocalDateTime result;
    civilFromDays(days, result);
    result.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    result.second = static_cast<int>(rest % 60);
    rest /= 60;
    result.minute = static_cast<int>(rest % 60);
    result.hour = static_cast<int>(rest / 60);
    return result;
}

std::string DaysSuffixFor(long long minutes) {
    const long long days = minutes >= 0 ? minutes / 1440 : 0;
    if (days < 1) return {};
    return "  +" + std::to_string(days) + (days < 2 ? " Tag" : " Tage");
}

std::string MomentText(const platform::Locale& locale, const platform::LocalDateTime& from, long long milliseconds) {
    return locale.formatLongTime(PlusMilliseconds(from, milliseconds)) + DaysSuffixFor(milliseconds / msPerMinute);
}

std::string ClockText(const platform::LocalDateTime& when) {
    return twoDigits(when.hour) + ":" + twoDigits(when.minute);
}

}  // namespace tovik::timer
