#pragma once
#include <string>

namespace tovik::engine {

// numerator / denominator (both non-negative) in fixed-point notation with
// `decimals` digits after the separator, rounded half up to at most five
// significant digits; decimals lost that way are written as zeros. Computed
// exactly on integers. From six integer digits on, the value is written as a
// whole number, rounded half up, without decimals.
std::string FormatFixed(long long numerator, long long denominator, int decimals, const std::string& separator);

// Seconds text: ticks / 10 with one decimal (54 ticks give "5,4").
std::string SecondsText(int ticks, const std::string& separator);
// Minutes text: ticks / 600 with two decimals (8999 ticks give "15,00").
std::string MinutesText(int ticks, const std::string& separator);

// The first word of a text: the first character always, then every following
// character up to the next blank. " Büro Nord" gives " Büro".
std::string FirstWord(const std::string& text);

}  // namespace tovik::engine
