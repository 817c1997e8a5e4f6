#pragma once
// Readings of the program's input rules written a second time, sharing no
// code with the program: the randomized tests and the fuzz targets check the
// program against them.
#include <cstdint>
#include <optional>
#include <string>

namespace tovik::test {

// The runtime's integer syntax: leading blanks, a sign, decimal digits or
// hexadecimal ones after $, x, X, 0x or 0X, nothing after, signed 32 bits.
std::optional<long long> ReferenceRuntimeInteger(const std::string& text);

// What a run-mode argument sets up at start-up.
struct ReferenceRunMode {
    int ticks = 0;
    bool restart = false;
    bool clockTime = false;
    bool refused = false;
};
ReferenceRunMode ReferenceRunModeOf(const std::string& argument);

// The minutes field: a signed 32-bit decimal, or 1 for anything else.
long long ReferenceMinutesReading(const std::string& text);

// A clock text: one or two digits, then a colon and one or two digits or
// nothing (hours alone are the full hour); hours up to 23, minutes up to 59.
// The minute of the day, or nothing.
std::optional<int> ReferenceClockMinuteOfDay(const std::string& text);

// numerator / denominator with `decimals` decimals, rounded half up to at
// most five significant digits (lost decimals written as zeros); from six
// integer digits on a whole number rounded half up. Done on the digits of
// a long division.
std::string ReferenceFixed(std::uint64_t numerator, std::uint64_t denominator, int decimals,
                           const std::string& separator);

}  // namespace tovik::test
