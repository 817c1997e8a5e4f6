#include "tests/support/ReferenceReadings.h"

#include <algorithm>
#include <regex>

namespace tovik::test {

std::optional<long long> ReferenceRuntimeInteger(const std::string& text) {
    static const std::regex decimal("^ *([+-]?)([0-9]+)$");
    static const std::regex hexadecimal("^ *([+-]?)(?:\\$|x|X|0x|0X)([0-9A-Fa-f]+)$");
    std::smatch match;
    int base = 0;
    if (std::regex_match(text, match, decimal)) base = 10;
    else if (std::regex_match(text, match, hexadecimal)) base = 16;
    else return std::nullopt;
    std::string digits = match[2].str();
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > 12) return std::nullopt;  // far beyond 32 bits in either base
    long long value = std::stoll(digits, nullptr, base);
    if (match[1].str() == "-") value = -value;
    if (value < -2147483648LL || value > 2147483647LL) return std::nullopt;
    return value;
}

ReferenceRunMode ReferenceRunModeOf(const std::string& argument) {
    // Five characters with a colon third; UTF-8 continuation bytes belong to
    // the character before them.
    std::string leads = argument;
    std::erase_if(leads, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; });
    const bool clockTime = leads.size() == 5 && leads[2] == ':';
    ReferenceRunMode mode;
    if (argument.empty()) {
        mode.ticks = 55;
    } else if (argument == "r" || argument == "R") {
        mode.restart = true;
        mode.ticks = 200;
    } else if (clockTime) {
        mode.clockTime = true;
    } else {
        mode.refused = argument == "d" || argument == "D";
        mode.ticks = static_cast<int>(std::clamp(ReferenceRuntimeInteger(argument).value_or(5), 2LL, 3600LL)) * 10;
    }
    return mode;
}

long long ReferenceMinutesReading(const std::string& text) {
    static const std::regex decimal("[+-]?0*([0-9]{1,10})");
    std::smatch match;
    if (!std::regex_match(text, match, decimal)) return 1;
    const long long magnitude = std::stoll(match[1].str());
    const long long value = text[0] == '-' ? -magnitude : magnitude;
    if (value < -2147483648LL || value > 2147483647LL) return 1;
    return value;
}

std::optional<int> ReferenceClockMinuteOfDay(const std::string& text) {
    static const std::regex clock("([0-9]{1,2})(:([0-9]{1,2}))?");
    std::smatch match;
    if (!std::regex_match(text, match, clock)) return std::nullopt;
    const int hours = std::stoi(match[1]), minutes = match[3].matched ? std::stoi(match[3]) : 0;
    if (hours > 23 || minutes > 59) return std::nullopt;
    return hours * 60 + minutes;
}

namespace {

// Adds one to the last digit of a digit string, carrying to the left.
void addOneAtEnd(std::string& digits) {
    for (auto at = digits.rbegin(); at != digits.rend(); ++at) {
        if (*at != '9') {
            ++*at;
            return;
        }
        *at = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::string ReferenceFixed(std::uint64_t numerator, std::uint64_t denominator, int decimals,
                           const std::string& separator) {
    const std::string whole = std::to_string(numerator / denominator);
    const int integerDigits = whole == "0" ? 0 : static_cast<int>(whole.size());
    // The fraction's digits by long division, one more than ever needed.
    std::string fraction;
    std::uint64_t rest = numerator % denominator;
    for (int i = 0; i < 8; ++i) {
        rest *= 10;
        fraction += static_cast<char>('0' + rest / denominator);
        rest %= denominator;
    }
    if (integerDigits > 5) {
        std::string rounded = whole;
        if (fraction[0] >= '5') addOneAtEnd(rounded);
        return rounded;
    }
    const int kept = std::min(decimals, 5 - integerDigits);
    std::string digits = whole + fraction.substr(0, static_cast<size_t>(kept));
    if (fraction[static_cast<size_t>(kept)] >= '5') addOneAtEnd(digits);
    const std::string integerPart = digits.substr(0, digits.size() - static_cast<size_t>(kept));
    std::string decimalsPart = digits.substr(digits.size() - static_cast<size_t>(kept));
    decimalsPart.append(static_cast<size_t>(decimals - kept), '0');
    std::string text = integerPart.empty() ? "0" : integerPart;
    text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
    return decimals > 0 ? text + separator + decimalsPart : text;
}

}  // namespace tovik::test
