// Powering off at a clock time: from the command line (the preset is stored,
// the window names the time in one sentence for five seconds, then
// minimises and counts down to it), from the combo box and the first preset,
// and the error box for a time that is none.
#include <cstdio>

#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

struct ClockTarget {
    std::string text;  // "HH:MM"
    int minutes;       // what the program must count down
};

// A clock time `ahead` minutes after the next full minute, and the minutes
// the program computes for it: the smallest k >= 1 that brings now + k
// minutes within one minute of the target.
ClockTarget clockTimeAhead(int ahead) {
    // Far enough from the next full minute that the program, a moment later,
    // computes the same minutes.
    SYSTEMTIME t;
    GetLocalTime(&t);
    if (t.wSecond > 50) {
        sleepFor(Millis((61 - t.wSecond) * 1000));
        GetLocalTime(&t);
    }
    const int nowMs = ((t.wHour * 60 + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds;
    const int targetMinute = (t.wHour * 60 + t.wMinute + ahead) % 1440;
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", targetMinute / 60, targetMinute % 60);
    int k = 1;
    while (std::abs(targetMinute * 60000 - (nowMs + k * 60000) % 86400000) > 60000) ++k;
    return {text, k};
}

class ClockTime : public TovikTest {
protected:
    std::optional<std::string> stored(const wchar_t* name) const {
        return reg::getString(HKEY_CURRENT_USER, reg::settingsKey, name);
    }
};

TEST_F(ClockTime, CommandLineTimeNamesItForFiveSecondsThenMinimisesAndCountsDownToIt) {
    const ClockTarget target = clockTimeAhead(6);
    ASSERT_TRUE(start(wide(target.text)));
    const double shown = now();
    // The first paint writes the sentence.
    EXPECT_EQ(waitForText(control(ids::btNewStart), [](const std::string& t) { return t == "Computer wird genau"; }, 2s),
              "Computer wird genau");
    EXPECT_EQ(control(ids::btPwrOff).text(), "um " + target.text + " Uhr");
    EXPECT_EQ(control(ids::btHibernate).text(), "runter gefahren");
    // "Go!" has emptied the upper buttons, "genau" among them.
    EXPECT_EQ(control(ids::btTimerOff2).text(), "");
    EXPECT_EQ(control(ids::btPrefTime2).text(), target.text);
    EXPECT_EQ(stored(L"PrefTime2"), target.text);
    EXPECT_FALSE(control(ids::btLock).enabled());
    EXPECT_FALSE(control(ids::btTimerOff2).enabled());
    EXPECT_TRUE(control(ids::btPwrOff).enabled());

    // The countdown runs while the sentence shows.
    const std::string line = waitForText(
        control(ids::stSeconds), [](const std::string& t) { return t.rfind("Noch ", 0) == 0; }, 3s);
    int whole = 0, hundredths = 0;
    char clock[8] = {};
    ASSERT_EQ(std::sscanf(line.c_str(), "Noch %d,%d Minuten bis... %5s", &whole, &hundredths, clock), 3) << line;
    EXPECT_EQ(clock, target.text) << line;
    const double left = whole + hundredths / 100.0;
    EXPECT_LE(left, target.minutes) << line;
    EXPECT_GE(left, target.minutes - 0.1) << line;

    EXPECT_TRUE(waitUntil([&] { return now() - shown > 3.5; }, 5s));
    EXPECT_FALSE(IsIconic(main.handle())) << "minimised before the five seconds";
    EXPECT_TRUE(waitUntil([&] { return IsIconic(main.handle()) != FALSE; }, 4s)) << "not minimised after five seconds";
    EXPECT_LT(now() - shown, 7.0);
    EXPECT_TRUE(tovik.running());
    EXPECT_EQ(counter(L"PwrOffCounter"), std::nullopt);
}

TEST_F(ClockTime, StartedMinimisedItCountsDownToTheTimeFromTheStart) {
    const ClockTarget target = clockTimeAhead(8);
    tovik.start(wide(target.text), SW_SHOWMINNOACTIVE);
    main = tovik.waitForMainWindowCreated(15s);
    ASSERT_TRUE(main);
    // The countdown to the time runs at once, whether or not the window shows.
    const std::string line = waitForText(
        control(ids::stSeconds), [](const std::string& t) { return t.rfind("Noch ", 0) == 0; }, 5s);
    EXPECT_NE(line.find("Minuten bis... " + target.text), std::string::npos) << line;
    EXPECT_EQ(stored(L"PrefTime2"), target.text);
    EXPECT_TRUE(waitUntil([&] { return IsIconic(main.handle()) != FALSE; }, 8s)) << "not minimised";
    sleepFor(1000ms);
    EXPECT_TRUE(IsIconic(main.handle())) << "shown again after it was minimised";
    EXPECT_TRUE(tovik.running());
    EXPECT_EQ(counter(L"PwrOffCounter"), std::nullopt);
}

TEST_F(ClockTime, TimeThatIsNoneShowsTheErrorThenTheTimerLayoutWithoutCountdown) {
    tovik.start(L"12:7x");
    const MessageBoxView box = expectErrorBox("'12:7x:00' ist keine gültige Uhrzeit");
    ASSERT_TRUE(box);
    box.answer(IDOK);
    main = tovik.waitForMainWindow(5s);
    ASSERT_TRUE(main);
    EXPECT_EQ(main.outerHeight(), 430);
    EXPECT_EQ(control(ids::btPwrOff).text(), "um 12:7x Uhr");
    EXPECT_EQ(stored(L"PrefTime2"), "18:45");
    sleepFor(1500ms);
    const std::string target = control(ids::stSeconds).text();
    EXPECT_EQ(target.rfind("Power Off um ", 0), 0u) << "a countdown runs: " << target;
    EXPECT_TRUE(tovik.running());
}

TEST_F(ClockTime, ComboChoiceThenTheFirstPresetStoresItAndStarts) {
    ASSERT_TRUE(start(L"300"));
    click(control(ids::btTimerOff1));
    ASSERT_TRUE(waitUntil([&] { return main.outerHeight() == 430; }, 2s));
    click(control(ids::cbAutoMinimize));

    // The twentieth entry of the list, by the Down key in the combo box.
    const Window combo = control(ids::cbOffByTime);
    const Window comboText = Window(FindWindowExW(combo.handle(), nullptr, L"Edit", nullptr));
    click(comboText ? comboText : combo);
    for (int i = 0; i < 20; ++i) pressKey(VK_DOWN);
    EXPECT_EQ(waitForText(control(ids::btPrefTime1), [](const std::string& t) { return t == "09:50"; }, 2s), "09:50");
    EXPECT_EQ(stored(L"PrefTime1"), "00:45") << "a choice alone stores nothing";

    click(control(ids::btPrefTime1));
    EXPECT_TRUE(waitUntil([&] { return stored(L"PrefTime1") == std::optional<std::string>("09:50"); }, 2s));
    const std::string line = waitForText(
        control(ids::stSeconds), [](const std::string& t) { return t.rfind("Noch ", 0) == 0; }, 3s);
    EXPECT_NE(line.find("Minuten bis... 09:50"), std::string::npos) << line;
    EXPECT_NE(main.text().find("bis Feierabend um 09:50 "), std::string::npos) << main.text();
}

TEST_F(ClockTime, StoredPresetThatIsNoTimeReportsTheErrorAndStartsNothing) {
    reg::setString(HKEY_CURRENT_USER, reg::settingsKey, L"PrefTime1", "24:00");
    ASSERT_TRUE(start(L"300"));
    click(control(ids::btTimerOff1));
    ASSERT_TRUE(waitUntil([&] { return main.outerHeight() == 430; }, 2s));
    EXPECT_EQ(control(ids::btPrefTime1).text(), "24:00");
    click(control(ids::btPrefTime1));
    const MessageBoxView box = expectErrorBox("'24:00:00' ist keine gültige Uhrzeit");
    ASSERT_TRUE(box);
    box.answer(IDOK);
    sleepFor(1500ms);
    EXPECT_EQ(control(ids::stSeconds).text().rfind("Power Off um ", 0), 0u) << control(ids::stSeconds).text();
    EXPECT_EQ(main.outerHeight(), 430);
    EXPECT_EQ(stored(L"PrefTime1"), "24:00");
}

}  // namespace
}  // namespace tovik::e2e
