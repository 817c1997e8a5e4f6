// Thousands of generated texts in the minutes field, read, written and left,
// against an independent reading of the field's rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "tests/support/ReferenceReadings.h"
#include "timer/TargetTime.h"
#include "ui/Control.h"

using namespace tovik;

namespace {

constexpr int minMinutes = 1;
constexpr int maxMinutes = 1999999;

std::string generatedText(std::mt19937& random) {
    static const std::string alphabet = "0123456789+-,. aZ%s{}\t\x7f";
    std::uniform_int_distribution<int> shape(0, 9);
    std::string text;
    switch (shape(random)) {
        case 0:  // a number near the 32-bit limits
            text = std::to_string(std::uniform_int_distribution<long long>(-4294967296LL, 4294967296LL)(random));
            break;
        case 1:  // a number within or just beyond the range
            text = std::to_string(std::uniform_int_distribution<int>(-5, maxMinutes + 5)(random));
            break;
        case 2:  // leading zeros and a sign
            text = std::string(std::uniform_int_distribution<int>(0, 12)(random), '0') +
                   std::to_string(std::uniform_int_distribution<int>(0, 99999)(random));
            if (random() % 2) text = (random() % 2 ? "+" : "-") + text;
            break;
        default: {  // anything typed or pasted
            const int length = std::uniform_int_distribution<int>(0, 14)(random);
            for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        }
    }
    return text;
}

}  // namespace

TEST(MinutesFieldFuzz, ReadingWritingAndLeavingFollowTheRules) {
    std::mt19937 random(20261208);
    ui::SpinEdit field(1, "seShutMinutes", {}, 15, minMinutes, maxMinutes, {});
    int changes = 0;
    field.onChange = [&] { ++changes; };
    for (int i = 0; i < 5000; ++i) {
        const std::string text = generatedText(random);
        SCOPED_TRACE("text '" + text + "'");
        const int before = changes;
        const bool differs = text != field.text();
        field.setTextByUser(text);
        EXPECT_EQ(changes - before, differs ? 1 : 0);
        const long long read = test::ReferenceMinutesReading(text);
        ASSERT_EQ(field.value(), read);

        // Leaving writes back the clamped value only when the reading is out of range.
        field.leave();
        const bool outside = read < minMinutes || read > maxMinutes;
        EXPECT_EQ(field.text(), outside ? std::to_string(std::clamp<long long>(read, minMinutes, maxMinutes)) : text);

        // Every write clamps and shows plain digits.
        const long long written = std::uniform_int_distribution<long long>(-3000000000LL, 3000000000LL)(random);
        field.setValue(written);
        EXPECT_EQ(field.text(), std::to_string(std::clamp<long long>(written, minMinutes, maxMinutes)));
    }
    field.setTextByUser(std::string(100000, '9'));
    EXPECT_EQ(field.value(), 1);
    field.setTextByUser(std::string(100000, '0') + "42");
    EXPECT_EQ(field.value(), 42);
    field.setTextByUser("%s%n{}");
    EXPECT_EQ(field.value(), 1);
}

TEST(TargetTime, PlusMinutesMatchesTheCalendarAcrossEveryBoundary) {
    using namespace std::chrono;
    std::mt19937 random(8122026);
    for (int i = 0; i < 20000; ++i) {
        const year_month_day day{year{std::uniform_int_distribution<int>(1900, 2200)(random)},
                                 month{unsigned(std::uniform_int_distribution<int>(1, 12)(random))},
                                 std::chrono::day{unsigned(std::uniform_int_distribution<int>(1, 28)(random))}};
        const milliseconds timeOfDay{std::uniform_int_distribution<long long>(0, 86399999)(random)};
        const long long minutes = i % 3 == 0 ? std::uniform_int_distribution<long long>(-3000, 3000)(random)
                                             : std::uniform_int_distribution<long long>(-2147483648LL, 2147483647LL)(random);

        const hh_mm_ss clock{timeOfDay};
        const platform::LocalDateTime start{int(day.year()), int(unsigned(day.month())), int(unsigned(day.day())),
                                            int(clock.hours().count()), int(clock.minutes().count()),
                                            int(clock.seconds().count()), int(clock.subseconds().count())};
        const auto later = sys_days{day} + timeOfDay + std::chrono::minutes{minutes};
        const auto laterDay = floor<days>(later);
        const year_month_day expectedDay{laterDay};
        const hh_mm_ss expectedClock{later - laterDay};
        const platform::LocalDateTime expected{int(expectedDay.year()), int(unsigned(expectedDay.month())),
                                               int(unsigned(expectedDay.day())), int(expectedClock.hours().count()),
                                               int(expectedClock.minutes().count()),
                                               int(expectedClock.seconds().count()),
                                               int(expectedClock.subseconds().count())};
        ASSERT_EQ(timer::PlusMinutes(start, minutes), expected) << i << ": " << minutes << " minutes";
    }
    // Into a leap day and out of a year at the last millisecond.
    EXPECT_EQ(timer::PlusMinutes({2028, 2, 28, 23, 30, 0, 0}, 60), (platform::LocalDateTime{2028, 2, 29, 0, 30, 0, 0}));
    EXPECT_EQ(timer::PlusMinutes({2026, 12, 31, 23, 59, 59, 999}, 1), (platform::LocalDateTime{2027, 1, 1, 0, 0, 59, 999}));
}

TEST(TargetTime, DaysSuffixOfMinutesOutsideTheFieldsRange) {
    // The clock tick shows the target for whatever the field reads.
    EXPECT_EQ(timer::DaysSuffixFor(-1440), "");
    EXPECT_EQ(timer::DaysSuffixFor(0), "");
    EXPECT_EQ(timer::DaysSuffixFor(2147483647), "  +1491308 Tage");
}
