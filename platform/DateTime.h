#pragma once

namespace tovik::platform {

// A local calendar date and time of day, as the system clock reports it.
struct LocalDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    bool operator==(const LocalDateTime&) const = default;
};

}  // namespace tovik::platform
