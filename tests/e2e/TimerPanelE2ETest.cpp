// The timer panel: "Timer aus," stops the grace countdown and shows the
// panel with the live target time, the minutes field takes digits and steps,
// and "Go!" (or Enter in the field) starts the long countdown in the compact,
// minimised window.
#include <cstdio>

#include "tests/e2e/TovikTest.h"

#include <tlhelp32.h>

namespace tovik::e2e {
namespace {

// Seconds since midnight of a "hh:mm:ss" text; -1 when it is none.
int secondsOfDay(const std::string& text) {
    int h = 0, m = 0, s = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%2d:%2d:%2d%c", &h, &m, &s, &tail) != 3) return -1;
    return (h * 60 + m) * 60 + s;
}

int nowSecondsOfDay() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return (t.wHour * 60 + t.wMinute) * 60 + t.wSecond;
}

// Distance in seconds on the 24-hour clock.
int clockDistance(int a, int b) {
    const int d = ((a - b) % 86400 + 86400) % 86400;
    return std::min(d, 86400 - d);
}

class TimerPanelE2E : public TovikTest {
protected:
    // Starts a long grace countdown and clicks "Timer aus,".
    void openTimerPanel() {
        ASSERT_TRUE(start(L"300"));
        ASSERT_TRUE(waitForText(control(ids::stSeconds), [](const std::string& t) { return t.rfind("Noch ", 0) == 0; },
                                3s)
                        .rfind("Noch ", 0) == 0);
        click(control(ids::btTimerOff1));
        ASSERT_TRUE(waitUntil([&] { return main.outerHeight() == 430; }, 2s)) << main.outerHeight();
    }

    std::string minutesText() const { return control(ids::seShutMinutes).text(); }

    bool waitForMinutes(const std::string& expected) {
        return waitUntil([&] { return minutesText() == expected; }, 2s);
    }

    // The time of day in the target text, checked against now + minutes. A
    // window still busy may bring the text up to date only within `settle`.
    void expectTargetInMinutes(int minutes, Millis settle = 0ms) {
        const std::string prefix = "Power Off um ";
        std::string target;
        waitUntil(
            [&] {
                target = control(ids::stSeconds).text();
                const int shown = target.rfind(prefix, 0) == 0 ? secondsOfDay(target.substr(prefix.size())) : -1;
                return shown >= 0 && clockDistance(shown, nowSecondsOfDay() + minutes * 60) <= 2;
            },
            settle, 100ms);
        ASSERT_EQ(target.rfind(prefix, 0), 0u) << target;
        const int shown = secondsOfDay(target.substr(prefix.size()));
        ASSERT_GE(shown, 0) << target;
        EXPECT_LE(clockDistance(shown, nowSecondsOfDay() + minutes * 60), 2) << target;
    }
};

TEST_F(TimerPanelE2E, TimerOffStopsTheCountdownAndShowsThePanelWithTheTargetTime) {
    openTimerPanel();
    EXPECT_EQ(main.text(), "Nach einer bestimmten Zeit ausschalten 1 - 1999999 Minuten  (1388 Tage)");
    const std::string target = waitForText(
        control(ids::stSeconds), [](const std::string& t) { return t.rfind("Power Off um ", 0) == 0; }, 2s);
    expectTargetInMinutes(15);
    EXPECT_TRUE(waitUntil([&] { return counter(L"TimerOffCounter") == std::optional<DWORD>(1); }, 2s));
    EXPECT_FALSE(control(ids::btTimerOff1).enabled());
    EXPECT_FALSE(control(ids::btOops).enabled());

    // The countdown stands still and no watchdog ends the program; the
    // target text follows the clock.
    sleepFor(3500ms);
    EXPECT_TRUE(tovik.running());
    EXPECT_EQ(control(ids::stSeconds).text().rfind("Power Off um ", 0), 0u);
    expectTargetInMinutes(15);

    // The clock line shows the time of day.
    const int clock = secondsOfDay(control(ids::stWatch).text());
    ASSERT_GE(clock, 0) << control(ids::stWatch).text();
    EXPECT_LE(clockDistance(clock, nowSecondsOfDay()), 2);
}

TEST_F(TimerPanelE2E, MinutesFieldTakesDigitsAndStepsByButtonsArrowsAndKeys) {
    openTimerPanel();
    const Window field = control(ids::seShutMinutes);
    click(field);
    pressKey(VK_END);
    pressKey(VK_BACK);
    EXPECT_TRUE(waitForMinutes("1")) << minutesText();
    typeText("2x0");
    EXPECT_TRUE(waitForMinutes("120")) << "a letter reached the field: " << minutesText();
    expectTargetInMinutes(120, 2s);

    click(control(ids::btPlusHour));
    EXPECT_TRUE(waitForMinutes("180")) << minutesText();
    click(control(ids::btMinusDay));
    EXPECT_TRUE(waitForMinutes("1")) << minutesText();
    click(control(ids::btPlusDay));
    EXPECT_TRUE(waitForMinutes("1441")) << minutesText();
    const std::string target = waitForText(
        control(ids::stSeconds), [](const std::string& t) { return t.find("  +1 Tag") != std::string::npos; }, 2s);
    EXPECT_NE(target.find("  +1 Tag"), std::string::npos) << target;
    click(control(ids::btMinusHour));
    EXPECT_TRUE(waitForMinutes("1381")) << minutesText();

    // The arrows inside the field's right edge, and the Up key in the field.
    const Window arrows = field.child(ids::seShutMinutesArrows);
    ASSERT_TRUE(arrows);
    RECT r{};
    GetClientRect(arrows.handle(), &r);
    clickAt(arrows, r.right / 2, r.bottom / 4);
    EXPECT_TRUE(waitForMinutes("1382")) << minutesText();
    clickAt(arrows, r.right / 2, r.bottom * 3 / 4);
    clickAt(arrows, r.right / 2, r.bottom * 3 / 4);
    EXPECT_TRUE(waitForMinutes("1380")) << minutesText();
    pressKey(VK_UP);
    EXPECT_TRUE(waitForMinutes("1381")) << minutesText();
}

TEST_F(TimerPanelE2E, EnterInTheFieldStartsTheLongCountdownAndMinimises) {
    openTimerPanel();
    click(control(ids::seShutMinutes));
    pressKey(VK_RETURN);
    const std::string line = waitForText(
        control(ids::stSeconds), [](const std::string& t) { return t.rfind("Noch ", 0) == 0; }, 3s);
    EXPECT_TRUE(line == "Noch 15,00 Minuten bis..." || line == "Noch 14,99 Minuten bis...") << line;
    EXPECT_TRUE(waitUntil([&] { return IsIconic(main.handle()) != FALSE; }, 3s)) << "the window was not minimised";
    EXPECT_EQ(main.text().rfind("Noch 1", 0), 0u) << main.text();
    EXPECT_TRUE(tovik.running());
    EXPECT_EQ(counter(L"PwrOffCounter"), std::nullopt);
}

TEST_F(TimerPanelE2E, GoShrinksTheWindowAndHidesTheMinutesField) {
    openTimerPanel();
    // Without the minimise option the window stays in view.
    click(control(ids::cbAutoMinimize));
    ASSERT_TRUE(waitUntil([&] { return !control(ids::cbAutoMinimize).checked(); }, 2s));
    click(control(ids::btRestart));
    ASSERT_TRUE(waitUntil([&] { return main.outerHeight() == 315; }, 2s)) << main.outerHeight();
    // "Go!" enables the abort button after it has shrunk the window.
    EXPECT_TRUE(waitUntil([&] { return control(ids::btOops).enabled(); }, 2s));
    EXPECT_FALSE(control(ids::seShutMinutes).visible());
    EXPECT_FALSE(control(ids::stRestartTime).visible());
    EXPECT_FALSE(IsIconic(main.handle()));
    EXPECT_EQ(control(ids::btOops).text(), "Oops! Das wollte ich noch nicht!");
    EXPECT_EQ(control(ids::btLogOff).text(), "");
    const std::string line = waitForText(
        control(ids::stSeconds), [](const std::string& t) { return t.rfind("Noch ", 0) == 0; }, 3s);
    EXPECT_EQ(line.rfind("Noch 1", 0), 0u) << line;
    // The gauges frame the line again.
    const RECT gauge{8, 232, 561, 281}, inner{24, 240, 545, 273};
    EXPECT_TRUE(waitUntil([&] { return scanGauge(main, gauge, inner).shown(); }, 2s))
        << scanGauge(main, gauge, inner).describe();
}

TEST_F(TimerPanelE2E, HeldArrowRepeatsAfterFourHundredThenEveryHundredMilliseconds) {
    openTimerPanel();
    const Window arrows = control(ids::seShutMinutes).child(ids::seShutMinutesArrows);
    ASSERT_TRUE(arrows);
    RECT r{};
    GetClientRect(arrows.handle(), &r);
    // One step at the press, then at 400, 500, ..., 1000 ms: eight in all.
    holdMouseAt(arrows, r.right / 2, r.bottom / 4, 1050ms);
    // The arrows hold the mouse while pressed; released once Tovik has read the button's release.
    EXPECT_TRUE(waitUntil(
        [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(main.handle(), nullptr), &info);
            return info.hwndCapture == nullptr;
        },
        2s));
    const int steps = std::stoi(minutesText()) - 15;
    EXPECT_GE(steps, 7) << minutesText();
    EXPECT_LE(steps, 9) << minutesText();
    // Released: no more steps.
    sleepFor(300ms);
    EXPECT_EQ(std::stoi(minutesText()) - 15, steps);
}

TEST_F(TimerPanelE2E, AnyTextSetFromOutsideReadsAsANumberOrAsOneMinute) {
    openTimerPanel();
    const Window field = control(ids::seShutMinutes);
    for (const std::wstring& text : {std::wstring(L"%s%n{}"), std::wstring(100000, L'7'), std::wstring(L"-")}) {
        SendMessageW(field.handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        // Wine's edit control takes seconds to lay out and paint 100 000
        // characters; once the window is free again, the next clock tick
        // brings the target text up to date.
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutW(main.handle(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer));
        sleepFor(1100ms);
        ASSERT_TRUE(tovik.running());
        expectTargetInMinutes(1, 30s);
    }
    SendMessageW(field.handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"+90"));
    expectTargetInMinutes(90, 2s);

    SendMessageW(field.handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"%s%n"));
    click(control(ids::cbAutoMinimize));
    click(control(ids::btRestart));
    const std::string line = waitForText(
        control(ids::stSeconds), [](const std::string& t) { return t.rfind("Noch ", 0) == 0; }, 3s);
    EXPECT_EQ(line.rfind("Noch 59,", 0), 0u) << line;
    EXPECT_EQ(minutesText(), "%s%n") << "the field keeps a text that reads as its minimum";
}

}  // namespace
}  // namespace tovik::e2e

namespace tovik::e2e {
namespace {

// Every thread of the process stands still (true) or goes on (false), as the
// computer's sleep holds a program.
void holdThreads(DWORD processId, bool hold) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{sizeof entry};
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
            if (hold) SuspendThread(thread);
            else ResumeThread(thread);
            CloseHandle(thread);
        }
    }
    CloseHandle(snapshot);
}

// A one-minute timer that sleeps a few seconds wakes less than a minute
// before its moment: it stops, says what it missed and powers nothing off.
TEST_F(TimerPanelE2E, ATimerThatSleptPastItsMomentDoesNotActAndSaysWhatItMissed) {
    openDevEnvironment();  // an action would only be announced in a box
    openTimerPanel();
    SetWindowTextW(control(ids::seShutMinutes).handle(), L"1");
    ASSERT_TRUE(waitForMinutes("1"));
    const std::string target = control(ids::stSeconds).text();
    ASSERT_EQ(target.rfind("Power Off um ", 0), 0u) << target;
    click(control(ids::btRestart));
    // "Go!" minimises the window; waking brings it back into view.
    ASSERT_TRUE(waitUntil([&] { return IsIconic(main.handle()) != FALSE; }, 3s)) << "the window was not minimised";
    sleepFor(500ms);

    // Sent, as the system sends it: handled before the threads stand still.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main.handle(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0, SMTO_NORMAL, 5000, &answer));
    holdThreads(tovik.id(), true);
    sleepFor(3s);
    holdThreads(tovik.id(), false);
    PostMessageW(main.handle(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    PostMessageW(main.handle(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);

    const std::string line = waitForText(
        control(ids::stSeconds), [](const std::string& t) { return t.rfind("Verpasst: ", 0) == 0; }, 5s);
    // The target text the panel showed as "Go!" started, within its second.
    const std::string missedPrefix = "Verpasst: Power Off um ";
    ASSERT_EQ(line.rfind(missedPrefix, 0), 0u) << line;
    EXPECT_LE(clockDistance(secondsOfDay(line.substr(missedPrefix.size())), secondsOfDay(target.substr(13))), 2)
        << line << " / " << target;
    EXPECT_TRUE(waitUntil([&] { return main.outerHeight() == 430; }, 2s)) << main.outerHeight();
    EXPECT_TRUE(control(ids::seShutMinutes).visible());
    EXPECT_EQ(minutesText(), "1");
    EXPECT_FALSE(IsIconic(main.handle()));
    // A minute and more later: no action announced, the program still open.
    sleepFor(2s);
    EXPECT_FALSE(findMessageBox(tovik.id()).window());
    EXPECT_TRUE(main);
}

}  // namespace
}  // namespace tovik::e2e
