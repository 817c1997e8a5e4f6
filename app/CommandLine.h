#pragma once
#include <optional>
#include <string>

namespace tovik::app {

// The first argument after the program name: arguments are split at blanks
// and control characters; double quotes group blanks into an argument and
// are removed. Empty when there is none.
std::string FirstArgument(const std::string& commandLine);

// The runtime's integer syntax: optional leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or
// "0X"; nothing may follow, and the value must fit in signed 32 bits.
std::optional<int> ParseRuntimeInteger(const std::string& text);

// Exactly five characters with a colon in third place, such as "22:30".
// The digits are not checked here.
bool IsClockTimeArgument(const std::string& argument);

}  // namespace tovik::app
