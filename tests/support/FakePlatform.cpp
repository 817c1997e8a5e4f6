#include "tests/support/FakePlatform.h"

#include <cstdio>

namespace tovik::test {

std::string FakeLocale::formatShortDate(const platform::LocalDateTime& when) const {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", when.day, when.month, when.year);
    return text;
}

std::string FakeLocale::formatLongTime(const platform::LocalDateTime& when) const {
    char text[32];
    std::snprintf(text, sizeof text, "%02d%s%02d%s%02d", when.hour, clockSeparator.c_str(), when.minute,
                  clockSeparator.c_str(), when.second);
    return text;
}

}  // namespace tovik::test
