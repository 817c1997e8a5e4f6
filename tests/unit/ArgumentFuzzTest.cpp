// Thousands of generated arguments, each checked against the rules of the
// run modes by a reference reading that shares no code with the program's.
#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "app/CommandLine.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/ReferenceReadings.h"

using namespace tovik;
using tovik::test::ProgramHarness;

namespace {

std::string randomArgument(std::mt19937& random) {
    static const std::vector<std::string> pieces = {
        "0", "1", "2", "5", "9", "7", "3600", "36", "2147483647", "2147483648", "4294967295", "-", "+", "$",
        "x", "X", "0x", "0X", "a", "F", "f", "g", " ", ":", ".", ",", "r", "R", "d", "D", "s", "ä", "ß",
        "\t", "\x01", "\x7f", "22:30", "00:00", "99:99", "\xff", "€", "000000000012"};
    std::uniform_int_distribution<int> count(0, 8);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::string argument;
    const int n = count(random);
    for (int i = 0; i < n; ++i) argument += pieces[pick(random)];
    if (random() % 50 == 0) argument.append(random() % 400, static_cast<char>('0' + random() % 10));
    return argument;
}

}  // namespace

TEST(ArgumentFuzz, EveryArgumentEndsInExactlyOneRunMode) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 4000; ++round) {
        const std::string argument = randomArgument(random);
        ProgramHarness h;
        ui::TForm1& f = h.start(argument);
        SCOPED_TRACE("argument '" + argument + "'");

        const test::ReferenceRunMode expected = test::ReferenceRunModeOf(argument);
        EXPECT_EQ(f.restartMode, expected.restart);
        EXPECT_EQ(f.clockTimeMode, expected.clockTime);
        EXPECT_EQ(h.loop.boxes().size(), expected.refused ? 1u : 0u);
        EXPECT_EQ(h.loop.terminated(), expected.refused);
        EXPECT_TRUE(f.tmCountDown.enabled());
        EXPECT_EQ(f.remainingTicks, expected.ticks);
        if (expected.clockTime) EXPECT_EQ(f.btPrefTime2.caption(), argument);
        else EXPECT_EQ(f.tmExitDelay.interval(), 4000);
        if (HasFailure()) break;
    }
}

TEST(ArgumentFuzz, QuotedArgumentsArriveWholeAndFurtherArgumentsAreIgnored) {
    std::mt19937 random(77);
    for (int round = 0; round < 4000; ++round) {
        std::string argument = randomArgument(random);
        std::erase(argument, '"');
        // An empty pair of quotes counts for nothing, so the next argument would follow.
        if (argument.empty()) continue;
        const std::string line = "\"C:\\Program Files\\Tovik\\Tovik.exe\" \"" + argument + "\" 30 r";
        ASSERT_EQ(app::FirstArgument(line), argument) << line;
    }
}

TEST(CommandLine, SplitsAtBlanksAndControlCharactersAndRemovesQuotes) {
    EXPECT_EQ(app::FirstArgument("Tovik.exe"), "");
    EXPECT_EQ(app::FirstArgument("Tovik.exe   "), "");
    EXPECT_EQ(app::FirstArgument("Tovik.exe 30"), "30");
    EXPECT_EQ(app::FirstArgument("Tovik.exe\t30\tr"), "30");
    EXPECT_EQ(app::FirstArgument("Tovik.exe \" 12\""), " 12");
    EXPECT_EQ(app::FirstArgument("Tovik.exe 2\"2:3\"0"), "22:30");
    EXPECT_EQ(app::FirstArgument("Tovik.exe \"\" r"), "r");
    EXPECT_EQ(app::FirstArgument("\"C:\\Mein Ordner\\Tovik.exe\" d"), "d");
    EXPECT_EQ(app::FirstArgument("Tovik.exe \"unclosed arg"), "unclosed arg");
}
