#include <gtest/gtest.h>

#include <random>

#include "engine/CountdownText.h"
#include "tests/support/ReferenceReadings.h"

using namespace tovik;
using namespace tovik::engine;

TEST(CountdownText, SecondsHaveOneDecimal) {
    EXPECT_EQ(SecondsText(54, ","), "5,4");
    EXPECT_EQ(SecondsText(0, ","), "0,0");
    EXPECT_EQ(SecondsText(1199, ","), "119,9");
    EXPECT_EQ(SecondsText(54, "."), "5.4");
}

TEST(CountdownText, MinutesRoundHalfUpExactlyOnTicks) {
    EXPECT_EQ(MinutesText(9000, ","), "15,00");
    EXPECT_EQ(MinutesText(8999, ","), "15,00");
    EXPECT_EQ(MinutesText(1203, ","), "2,01");   // 2.005 rounds up, no binary drift
    EXPECT_EQ(MinutesText(1200, ","), "2,00");
    EXPECT_EQ(MinutesText(1202, ","), "2,00");   // 2.00333...
}

TEST(CountdownText, AtMostFiveSignificantDigits) {
    // 1234.5666... minutes
    EXPECT_EQ(MinutesText(740734, ","), "1234,60");
    EXPECT_EQ(MinutesText(600 * 10000 + 6, ","), "10000,00");  // 10000.01 loses both decimals
    EXPECT_EQ(MinutesText(600 * 9999 + 597, ","), "10000,00");  // 9999.995 carries into a fifth digit
    EXPECT_EQ(MinutesText(600 * 99999 + 300, ","), "100000,00");
}

TEST(CountdownText, SixIntegerDigitsAreWholeMinutes) {
    EXPECT_EQ(MinutesText(600 * 123456 + 300, ","), "123457");
    EXPECT_EQ(MinutesText(1999999 * 600, ","), "1999999");
}

TEST(CountdownText, FirstWordKeepsTheFirstCharacterAlways) {
    EXPECT_EQ(FirstWord(""), "");
    EXPECT_EQ(FirstWord("Büro Nord"), "Büro");
    EXPECT_EQ(FirstWord("Büro"), "Büro");
    EXPECT_EQ(FirstWord(" Büro Nord"), " Büro");
    EXPECT_EQ(FirstWord("Ä"), "Ä");
    EXPECT_EQ(FirstWord("a  b"), "a");
}

TEST(CountdownText, EveryTickCountReadsAsTheLongDivisionRoundedToFiveDigits) {
    std::mt19937 random(5);
    for (int i = 0; i < 200000; ++i) {
        const int ticks = i < 100000 ? i : static_cast<int>(random() & 0x7FFFFFFF);
        const std::string separator = i % 2 ? "," : ".";
        ASSERT_EQ(engine::SecondsText(ticks, separator), test::ReferenceFixed(ticks, 10, 1, separator)) << ticks;
        ASSERT_EQ(engine::MinutesText(ticks, separator), test::ReferenceFixed(ticks, 600, 2, separator)) << ticks;
    }
}
