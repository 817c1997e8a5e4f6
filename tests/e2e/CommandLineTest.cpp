// The one command-line argument and the run mode it selects, as the first
// countdown line and the window's captions show it; the refused letter d;
// the development environment's window that turns every run into a
// simulation.
#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

class CommandLine : public TovikTest {
protected:
    // Starts Tovik with the arguments and returns the first countdown text it
    // shows (empty when none came); Tovik is ended right after, long before
    // any countdown could run out.
    std::string firstCountdownText(std::wstring_view arguments) {
        TextTimeline timeline;
        if (!start(arguments, [&](const Window& created) { timeline.start(created.child(ids::stSeconds), 2ms); }))
            return "(no main window)";
        std::string first;
        waitUntil(
            [&] {
                for (const auto& e : timeline.entries())
                    if (e.text.rfind("Noch ", 0) == 0) {
                        first = e.text;
                        return true;
                    }
                return false;
            },
            10s, 2ms);
        tovik.kill();
        timeline.stop();
        if (first.empty()) ADD_FAILURE() << "no countdown text:\n" << timeline.describe();
        return first;
    }

    // For a fresh Tovik in each case of a loop.
    void restart() {
        tovik.reset();
        main = Window();
    }
};

struct ArgumentCase {
    const wchar_t* argument;
    const char* firstText;
};

TEST_F(CommandLine, ArgumentSetsLengthAndGoalOfTheCountdown) {
    const ArgumentCase cases[] = {
        {L"30", "Noch 29,9s bis Feierabend "},
        {L"r", "Noch 19,9s bis Neustart "},
        {L"R", "Noch 19,9s bis Neustart "},
        {L"$10", "Noch 15,9s bis Feierabend "},
        // Below 2 seconds: 2 seconds.
        {L"1", "Noch 1,9s bis Feierabend "},
        {L"0", "Noch 1,9s bis Feierabend "},
        {L"-5", "Noch 1,9s bis Feierabend "},
        // Not a number: 5 seconds.
        {L"rr", "Noch 4,9s bis Feierabend "},
        {L"10s", "Noch 4,9s bis Feierabend "},
        {L"1:30", "Noch 4,9s bis Feierabend "},
        {L"22.30", "Noch 4,9s bis Feierabend "},
        {L"99999999999", "Noch 4,9s bis Feierabend "},
        // Above an hour: an hour, shown in minutes.
        {L"4000", "Noch 60,00 Minuten bis..."},
        // Four digits without a colon are seconds, not a clock time.
        {L"2230", "Noch 37,17 Minuten bis..."},
        // Only the first argument counts.
        {L"30 r", "Noch 29,9s bis Feierabend "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.argument));
        restart();
        EXPECT_EQ(firstCountdownText(c.argument), c.firstText);
    }
}

TEST_F(CommandLine, RestartCountdownNamesNeustartInTaskbarAndCaption) {
    // Watched from its creation on: the first tick can come before the window is seen.
    TextTimeline caption;
    ASSERT_TRUE(start(L"r", [&](const Window& created) { caption.start(created); }));
    ASSERT_TRUE(waitForTicksAtMost(195, 5s));
    // The line and the taskbar text of one tick; the two readings fall in
    // different ticks now and then, most often on a busy machine.
    std::string lineText, taskbarText;
    const bool sameTick = waitUntil(
        [&] {
            lineText = control(ids::stSeconds).text();
            taskbarText = owner().text();
            const auto line = parseSecondsLine(lineText);
            return line && taskbarText == std::to_string(line->ticks / 10) + "," +
                                              std::to_string(line->ticks % 10) + " Sekunden";
        },
        2s);
    tovik.kill();
    caption.stop();
    bool seen = false;
    for (const auto& e : caption.entries()) seen = seen || e.text == "Noch 19,9 Sekunden bis Neustart ";
    EXPECT_TRUE(seen) << caption.describe();
    EXPECT_TRUE(sameTick) << "line \"" << lineText << "\", taskbar \"" << taskbarText << "\"";
}

TEST_F(CommandLine, ClockTimeArgumentNamesTheSecondPresetButtons) {
    ASSERT_TRUE(start(L"22:30"));
    EXPECT_EQ(control(ids::btPrefTime2).text(), "22:30");
    // "genau 22:30" lasts only until the show handler's "Go!" empties the
    // upper buttons, before the window is seen.
    EXPECT_EQ(control(ids::btTimerOff2).text(), "");
    // The first preset keeps its stored time.
    EXPECT_EQ(control(ids::btPrefTime1).text(), "00:45");
}

TEST_F(CommandLine, DevEnvironmentTurnsEveryCountdownIntoFifteenSeconds) {
    openDevEnvironment();
    const ArgumentCase cases[] = {
        {L"", "Noch 14,9s bis Feierabend "},
        {L"30", "Noch 14,9s bis Feierabend "},
        {L"r", "Noch 14,9s bis Neustart "},
        {L"4000", "Noch 14,9s bis Feierabend "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.argument));
        restart();
        EXPECT_EQ(firstCountdownText(c.argument), c.firstText);
    }
}

TEST_F(CommandLine, RefusedDInformsAndEndsWithoutDevEnvironment) {
    tovik.start(L"d");
    const MessageBoxView box = tovik.waitForMessageBox(15s);
    ASSERT_TRUE(box) << "no message box for the argument d";
    const Window app = findTopLevel(tovik.id(), L"TApplication", false);
    ASSERT_TRUE(app) << "no application window";
    EXPECT_EQ(box.caption(), app.text()) << "the caption is not the application title";
    EXPECT_FALSE(box.caption().empty());
    EXPECT_EQ(box.text(), "Parameter D ist nicht mehr unterstützt. Prgramm wird beendet.");
    EXPECT_EQ(box.buttonTexts(), std::vector<std::string>{"OK"});
    EXPECT_EQ(box.icon(), IconKind::None) << toString(box.icon());
    EXPECT_TRUE(tovik.running()) << "the program did not wait for the answer";

    const double answered = now();
    box.answer(IDOK);
    ASSERT_TRUE(tovik.waitForExit(5s)) << "the program goes on after the refusal";
    EXPECT_EQ(tovik.exitCode(), 0u);
    EXPECT_LT(tovik.exitTime() - answered, 2.0);
    // Start-up ran to its end before the program ended.
    EXPECT_EQ(counter(L"RunCounter"), std::optional<DWORD>(1));
}

TEST_F(CommandLine, RefusedDNamesTheRunningDevEnvironmentThenSimulates) {
    struct Case {
        const wchar_t* title;
        const char* named;
    };
    const Case cases[] = {{L"Werkbank 3", "Werkbank 3"}, {L"", "TAppBuilder"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.title));
        restart();
        openDevEnvironment(c.title);
        tovik.start(L"d");
        const MessageBoxView box = tovik.waitForMessageBox(15s);
        ASSERT_TRUE(box) << "no message box for the argument d";
        EXPECT_EQ(box.text(), std::string(c.named) + " is running. Parameter D ist nicht mehr unterstützt");
        EXPECT_EQ(box.buttonTexts(), std::vector<std::string>{"OK"});
        box.answer(IDOK);

        main = tovik.waitForMainWindow(10s);
        ASSERT_TRUE(main) << "no main window after the answer";
        const auto line = waitForTicksAtMost(149, 5s);
        ASSERT_TRUE(line);
        EXPECT_GE(line->ticks, 140) << "not a 15-second countdown";
        EXPECT_EQ(line->goal, "Feierabend");
        tovik.kill();
    }
}

}  // namespace
}  // namespace tovik::e2e
