#include "engine/CountdownText.h"

#include <cstdint>

namespace tovik::engine {

namespace {

constexpr int significantDigits = 5;

int digitCount(unsigned long long value) {
    int count = 0;
    do {
        ++count;
        value /= 10;
    } while (value != 0);
    return count;
}

unsigned long long pow10(int exponent) {
    unsigned long long result = 1;
    while (exponent-- > 0) result *= 10;
    return result;
}

// a / b rounded half up, for non-negative a and positive b.
unsigned long long roundedQuotient(unsigned long long a, unsigned long long b) { return (2 * a + b) / (2 * b); }

}  // namespace

std::string FormatFixed(long long numerator, long long denominator, int decimals, const std::string& separator) {
    if (numerator < 0) numerator = 0;
    if (denominator <= 0) denominator = 1;
    const auto n = static_cast<unsigned long long>(numerator);
    const auto d = static_cast<unsigned long long>(denominator);

    const unsigned long long wholePart = n / d;
    const int integerDigits = wholePart == 0 ? 0 : digitCount(wholePart);
    if (integerDigits > significantDigits) return std::to_string(roundedQuotient(n, d));

    int kept = significantDigits - integerDigits;
    if (kept > decimals) kept = decimals;
    const unsigned long long scale = pow10(kept);
    const unsigned long long scaled = roundedQuotient(n * scale, d);

    std::string text = std::to_string(scaled / scale);
    if (decimals > 0) {
        std::string fraction = kept > 0 ? std::to_string(scaled % scale) : std::string();
        fraction.insert(0, static_cast<size_t>(kept) - fraction.size(), '0');
        fraction.append(static_cast<size_t>(decimals - kept), '0');
        text += separator + fraction;
    }
    return text;
}

std::string SecondsText(int ticks, const std::string& separator) { return FormatFixed(ticks, 10, 1, separator); }

std::string MinutesText(int ticks, const std::string& separator) { return FormatFixed(ticks, 600, 2, separator); }

std::string FirstWord(const std::string& text) {
    if (text.empty()) return {};
    const size_t blank = text.find(' ', 1);
    return blank == std::string::npos ? text : text.substr(0, blank);
}

}  // namespace tovik::engine
