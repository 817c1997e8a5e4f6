#pragma once
#include <string>

#include "platform/DateTime.h"

namespace tovik::platform {

// The user's regional settings: how numbers, dates and times are written.
class Locale {
public:
    virtual ~Locale() = default;
    // The decimal separator, for example "," on German systems.
    virtual std::string decimalSeparator() const = 0;
    // The date in the user's short date format, for example "08.12.2026".
    virtual std::string formatShortDate(const LocalDateTime& when) const = 0;
    // The separator between hours and minutes, for example ":".
    virtual std::string timeSeparator() const = 0;
    // The time of day in the user's long time format, for example "18:45:12".
    virtual std::string formatLongTime(const LocalDateTime& when) const = 0;
};

}  // namespace tovik::platform
