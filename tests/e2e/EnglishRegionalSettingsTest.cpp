// Numbers follow the user's regional settings. ctest runs these tests with
// Wine started in English (LANG=en_US.UTF-8): decimal point instead of comma.
#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

bool englishRegionalSettings() {
    wchar_t separator[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    return std::wstring(separator) == L".";
}

using EnglishRegionalSettings = TovikTest;

TEST_F(EnglishRegionalSettings, CountdownUsesTheDecimalPoint) {
    ASSERT_TRUE(englishRegionalSettings())
        << "this test needs Wine started with LANG=en_US.UTF-8 (its ctest entry sets it)";
    TextTimeline line, taskbar;
    ASSERT_TRUE(start(L"", [&](const Window& created) {
        line.start(created.child(ids::stSeconds));
        taskbar.start(created.owner());
    }));
    const auto reached = waitForTicksAtMost(45, 5s);
    tovik.kill();
    line.stop();
    taskbar.stop();
    ASSERT_TRUE(reached) << line.describe();

    const auto lines = secondsLines(line.entries());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().text, "Noch 5.4s bis Feierabend ") << line.describe();
    for (const auto& l : lines) EXPECT_EQ(l.line.separator, ".") << l.text;
    bool seen = false;
    for (const auto& e : taskbar.entries()) seen = seen || e.text == "5.4 Sekunden";
    EXPECT_TRUE(seen) << taskbar.describe();
}

}  // namespace
}  // namespace tovik::e2e
