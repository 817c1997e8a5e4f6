#include <gtest/gtest.h>

#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using tovik::test::ProgramHarness;

namespace {

bool allActionButtonsDisabled(const ui::TForm1& f) {
    for (const ui::Button* b : {&f.btOops, &f.btPwrOff, &f.btNewStart, &f.btLogOff, &f.btLock, &f.btTimerOff1,
                                &f.btTimerOff2, &f.btHibernate})
        if (b->enabled()) return false;
    return true;
}

}  // namespace

TEST(GraceCountdown, DefaultRunFromFirstToLastTick) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    f.displayedOwner = "Büro Nord";

    h.loop.advance(100);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 5,4s bis Feierabend Büro");
    EXPECT_EQ(h.loop.title(), "5,4 Sekunden");
    EXPECT_EQ(f.caption(), "Noch 5,4 Sekunden bis Feierabend Büro Nord");
    EXPECT_EQ(f.Gauge1.progress(), 54);
    EXPECT_EQ(f.Gauge2.progress(), 54);
    EXPECT_TRUE(f.tmExitDelay.enabled());
    EXPECT_EQ(f.tmExitDelay.interval(), 3000);
    EXPECT_TRUE(h.power.calls.empty());

    h.loop.advance(5300);
    EXPECT_EQ(f.remainingTicks, 1);
    EXPECT_TRUE(f.btOops.enabled());
    h.loop.advance(100);
    EXPECT_EQ(f.remainingTicks, 0);
    // The last tick's line gives way at once to the power off's status.
    EXPECT_EQ(f.stSeconds.caption(), "und tschüss......");
    EXPECT_EQ(h.loop.title(), "und tschüss......");
    EXPECT_EQ(f.Gauge1.progress(), 0);
    // Exactly one power action: the countdown stops, the buttons are disabled
    // and the forced power off (the default option) is requested.
    EXPECT_EQ(h.power.calls, (std::vector<std::string>{"privilege", "exitWindows(12)"}));
    EXPECT_FALSE(f.tmCountDown.enabled());
    EXPECT_TRUE(allActionButtonsDisabled(f));

    // The watchdog ends the program 3 s after that last tick.
    h.loop.advance(10000);
    ASSERT_TRUE(h.loop.terminated());
    EXPECT_EQ(h.loop.terminatedAt(), 5500 + 3000);
    EXPECT_EQ(f.remainingTicks, 0);
}

TEST(GraceCountdown, MinutesFormOnlyFromTwoMinutesLeft) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    f.remainingTicks = 1201;
    h.loop.advance(100);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 2,00 Minuten bis...");
    EXPECT_EQ(h.loop.title(), "2,00 Minuten ");
    EXPECT_EQ(f.caption(), "Noch 2,00 Minuten  bis Feierabend ");
    EXPECT_EQ(f.tmExitDelay.interval(), 5000);
    h.loop.advance(100);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 119,9s bis Feierabend ");
    EXPECT_EQ(h.loop.title(), "119,9 Sekunden");
}

TEST(GraceCountdown, ClockTimeTextsNameTheTargetTime) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    f.clockTimeMode = true;
    f.targetClockTime = "22:00";
    f.displayedOwner = "Büro Nord";
    f.remainingTicks = 15001;
    h.loop.advance(100);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 25,00 Minuten bis... 22:00");
    EXPECT_EQ(f.caption(), "Noch 25,00 Minuten  bis Feierabend um 22:00 Büro Nord");
    f.remainingTicks = 55;
    h.loop.advance(100);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 5,4s bis Feierabend um 22:00 Büro");
}

TEST(GraceCountdown, WatchdogIntervalShortensFromOneMinuteLeft) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    f.remainingTicks = 602;
    h.loop.advance(100);
    EXPECT_EQ(f.remainingTicks, 601);
    EXPECT_EQ(f.tmExitDelay.interval(), 5000);
    h.loop.advance(100);
    EXPECT_EQ(f.tmExitDelay.interval(), 3000);
}

TEST(GraceCountdown, WindowIsRestoredAndTheLineAnnouncedExactlyAtTheMarks) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    f.remainingTicks = 6001;
    std::vector<int> restoredAt, announcedAt;
    // Each tick is 100 ms; record the count whenever a restore or a reading
    // of the countdown line was asked for.
    for (int i = 0; i < 6001; ++i) {
        f.showWindow(ui::ShowCommand::Show);
        const int announced = f.stSeconds.announcements();
        h.loop.advance(100);
        if (f.lastShowCommand() == ui::ShowCommand::Restore) restoredAt.push_back(f.remainingTicks);
        if (f.stSeconds.announcements() != announced) announcedAt.push_back(f.remainingTicks);
    }
    EXPECT_EQ(restoredAt, (std::vector<int>{6000, 1800, 1200, 600, 100}));
    // The power off's status is announced as the action starts.
    EXPECT_EQ(announcedAt, (std::vector<int>{6000, 1800, 1200, 600, 100, 0}));
    EXPECT_EQ(f.stSeconds.caption(), "und tschüss......");

    ProgramHarness sixty;
    ui::TForm1& g = sixty.start("60");
    g.showWindow(ui::ShowCommand::Show);
    sixty.loop.advance(200);
    EXPECT_EQ(g.lastShowCommand(), ui::ShowCommand::Show);
}

TEST(GraceCountdown, EndActionFollowsRestartModeThenTheEnabledCheckedHibernateBox) {
    for (bool restart : {false, true})
        for (bool visible : {false, true})
            for (bool enabled : {false, true})
                for (bool checked : {false, true}) {
                    ProgramHarness h;
                    ui::TForm1& f = h.start(restart ? "r" : "2");
                    f.cbHibernateForPwrOff.setVisible(visible);
                    f.cbHibernateForPwrOff.setEnabled(enabled);
                    f.cbHibernateForPwrOff.setChecked(checked);
                    h.loop.advance(30000);
                    // Exactly one action, and the visibility of the box plays no part.
                    const std::string expected = restart                ? "exitWindows(2)"
                                                 : (enabled && checked) ? "setSuspendState(1,0,0)"
                                                                        : "exitWindows(12)";
                    EXPECT_EQ(h.power.calls, (std::vector<std::string>{"privilege", expected}))
                        << restart << visible << enabled << checked;
                }
}

TEST(GraceCountdown, PauseAndWaitEndsTheProgramWithoutAction) {
    for (int ticksLeft : {600, 601}) {
        ProgramHarness h;
        ui::TForm1& f = h.start();
        f.remainingTicks = ticksLeft + 1;
        h.loop.advance(100);  // the last tick leaves ticksLeft
        const std::uint32_t lastTick = h.loop.now();
        h.loop.advance(50);
        h.loop.user([&] { f.btOops.click(); });
        EXPECT_FALSE(f.tmCountDown.enabled());
        EXPECT_EQ(f.btOops.caption(), "Oder vielleicht doch?");
        EXPECT_EQ(f.stSeconds.color(), ui::clBlue);
        EXPECT_EQ(f.focusedControl(), &f.stSeconds);
        EXPECT_EQ(h.loop.title(), "Doch kein Feierabend ");
        EXPECT_EQ(f.caption(), "Doch kein Feierabend ");
        h.loop.advance(10000);
        ASSERT_TRUE(h.loop.terminated());
        EXPECT_EQ(h.loop.terminatedAt(), lastTick + (ticksLeft <= 600 ? 3000 : 5000));
        EXPECT_TRUE(h.power.calls.empty());
        EXPECT_EQ(f.remainingTicks, ticksLeft);
    }
}

TEST(GraceCountdown, PauseAndResumeContinueFromTheSameValue) {
    ProgramHarness h;
    h.system.devEnvironment = "Projekt1";
    ui::TForm1& f = h.start();
    f.displayedOwner = "Büro Nord";
    h.loop.advance(1000);
    EXPECT_EQ(f.remainingTicks, 140);
    h.loop.user([&] { f.btOops.click(); });
    EXPECT_EQ(h.loop.title(), "Doch kein Feierabend Büro Nord");
    h.loop.advance(2000);
    EXPECT_EQ(f.remainingTicks, 140);
    h.loop.user([&] { f.btOops.click(); });
    EXPECT_TRUE(f.tmCountDown.enabled());
    EXPECT_EQ(f.btOops.caption(), "Oder etwa nicht?");
    EXPECT_EQ(f.stSeconds.color(), ui::clSkyBlue);
    EXPECT_EQ(f.caption(), "Noch 14,0 Sekunden bis Feierabend Büro Nord");
    h.loop.advance(100);
    EXPECT_EQ(f.remainingTicks, 139);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 13,9s bis Feierabend Büro");
    EXPECT_FALSE(h.loop.terminated());
}

// A counter that cannot be counted ends the abort handler at the count: the
// timer has toggled and the button and the line show it, but the title and
// the window caption stay as they were, and the store's error shows.
TEST(GraceCountdown, UncountablePauseOrResumeStopsAtTheCountBeforeTitleAndCaption) {
    using test::HKCU;
    using test::tovikKey;
    // Pause with OopsCounter stored as text.
    {
        ProgramHarness h;
        h.registry.plantText(HKCU, tovikKey, "OopsCounter", "7");
        ui::TForm1& f = h.start();
        f.displayedOwner = "Büro Nord";
        h.loop.advance(1000);
        const std::string titleBefore = h.loop.title();
        const std::string captionBefore = f.caption();

        h.loop.user([&] { f.btOops.click(); });

        EXPECT_FALSE(f.tmCountDown.enabled());
        EXPECT_EQ(f.focusedControl(), &f.stSeconds);
        EXPECT_EQ(f.btOops.caption(), "Oder vielleicht doch?");
        EXPECT_EQ(f.stSeconds.color(), ui::clBlue);
        EXPECT_EQ(h.loop.title(), titleBefore);
        EXPECT_EQ(f.caption(), captionBefore);
        ASSERT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_EQ(h.loop.boxes()[0].kind, test::ShownBox::Kind::Error);
        EXPECT_EQ(h.loop.boxes()[0].text, "Ungültiger Datentyp für 'OopsCounter'");
        EXPECT_EQ(h.loop.boxes()[0].caption, titleBefore);
        EXPECT_EQ(h.registry.text(HKCU, tovikKey, "OopsCounter"), "7");
        // Still a pause: the countdown stands and the watchdog ends the program.
        h.loop.advance(10000);
        EXPECT_EQ(f.remainingTicks, 45);
        EXPECT_EQ(h.loop.terminatedAt(), 1000 + 3000);
    }
    // Resume with OopsResumeCounter stored as text.
    {
        ProgramHarness h;
        h.registry.plantText(HKCU, tovikKey, "OopsResumeCounter", "7");
        ui::TForm1& f = h.start();
        f.displayedOwner = "Büro Nord";
        h.loop.advance(1000);
        h.loop.user([&] { f.btOops.click(); });
        ASSERT_TRUE(h.loop.boxes().empty());
        const std::string titleBefore = h.loop.title();
        const std::string captionBefore = f.caption();
        ASSERT_EQ(captionBefore, "Doch kein Feierabend Büro Nord");

        h.loop.user([&] { f.btOops.click(); });

        EXPECT_TRUE(f.tmCountDown.enabled());
        EXPECT_EQ(f.btOops.caption(), "Oder etwa nicht?");
        EXPECT_EQ(f.stSeconds.color(), ui::clSkyBlue);
        EXPECT_EQ(h.loop.title(), titleBefore);
        EXPECT_EQ(f.caption(), captionBefore);
        ASSERT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_EQ(h.loop.boxes()[0].kind, test::ShownBox::Kind::Error);
        EXPECT_EQ(h.loop.boxes()[0].text, "Ungültiger Datentyp für 'OopsResumeCounter'");
        EXPECT_EQ(h.loop.boxes()[0].caption, titleBefore);
        EXPECT_EQ(h.registry.dword(HKCU, tovikKey, "OopsCounter"), 1);
        EXPECT_EQ(h.registry.text(HKCU, tovikKey, "OopsResumeCounter"), "7");
        // The countdown runs on from where it stood.
        h.loop.advance(100);
        EXPECT_EQ(f.remainingTicks, 44);
        EXPECT_FALSE(h.loop.terminated());
    }
}

TEST(GraceCountdown, ResumeJustBeforeTheWatchdogKeepsTheCountdownGoing) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    h.loop.advance(100);
    h.loop.user([&] { f.btOops.click(); });
    h.loop.advance(2950);
    h.loop.user([&] { f.btOops.click(); });
    // The watchdog falls due 50 ms before the first tick after the resume:
    // the countdown runs, so the tick re-arms it instead.
    h.loop.advance(100);
    EXPECT_FALSE(h.loop.terminated());
    EXPECT_EQ(f.remainingTicks, 53);
    h.loop.advance(5300);
    EXPECT_EQ(h.power.calls, (std::vector<std::string>{"privilege", "exitWindows(12)"}));
}

TEST(GraceCountdown, PauseBeforeTheFirstTickKeepsTheProgramOpen) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    h.loop.advance(50);
    h.loop.user([&] { f.btOops.click(); });
    h.loop.advance(60000);
    EXPECT_FALSE(h.loop.terminated());
    EXPECT_EQ(f.remainingTicks, 55);
    h.loop.user([&] { f.btOops.click(); });
    h.loop.advance(100);
    EXPECT_EQ(f.remainingTicks, 54);
}

TEST(GraceCountdown, EscapeClicksTheAbortButtonOnlyWhileItIsEnabled) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    h.loop.advance(100);
    h.loop.user([&] { f.previewKeyDown(ui::VK_ESCAPE_KEY, 0); });
    EXPECT_FALSE(f.tmCountDown.enabled());
    h.loop.user([&] { f.previewKeyDown(ui::VK_ESCAPE_KEY, 0); });
    EXPECT_TRUE(f.tmCountDown.enabled());
    f.btOops.setEnabled(false);
    EXPECT_FALSE(f.previewKeyDown(ui::VK_ESCAPE_KEY, 0));
    EXPECT_TRUE(f.tmCountDown.enabled());
}

TEST(GraceCountdown, EnterStartsNoActionOutsideAFocusedButton) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    f.seShutMinutes.setFocus();
    EXPECT_FALSE(f.previewKeyDown(ui::VK_RETURN_KEY, 0));
    EXPECT_TRUE(h.power.calls.empty());
    f.btLock.setFocus();
    EXPECT_TRUE(f.previewKeyDown(ui::VK_RETURN_KEY, 0));
    EXPECT_EQ(h.power.calls, (std::vector<std::string>{"privilege", "lockWorkStation"}));
}

TEST(GraceCountdown, OlderSystemsLeaveTheCaptionAlone) {
    ProgramHarness h;
    h.system.major = 5;
    ui::TForm1& f = h.start();
    h.loop.advance(300);
    EXPECT_EQ(f.caption(), "Computer mit einem Click ausschalten");
    EXPECT_EQ(h.loop.title(), "5,2 Sekunden");
}

TEST(GraceCountdown, ActionWhilePausedKeepsTheWatchdogRunningFromTheLastTick) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    h.loop.advance(100);
    h.loop.user([&] { f.btOops.click(); });
    h.loop.advance(1000);
    h.loop.user([&] { f.btPwrOff.click(); });
    EXPECT_TRUE(allActionButtonsDisabled(f));
    h.loop.advance(5000);
    EXPECT_EQ(h.loop.terminatedAt(), 3100);
}

// ---------------------------------------------------------------- timers as Windows makes them

// The ms by which the power request comes after what the countdown that
// `begin` starts at 16:00 promised (0.1 s a tick), with timer messages as
// Windows makes them. Every tick must lower the count by one, in order.
static std::int64_t lateness(int ticks, const std::function<void(ui::TForm1&)>& begin) {
    ProgramHarness h;
    h.clock.time = {2026, 12, 8, 16, 0, 0, 0};
    h.registry.plantText(test::HKCU, test::tovikKey, "PrefTime2", "22:00");
    h.loop.useWindowsTimers(19);
    ui::TForm1& f = h.start();
    h.loop.user([&] { begin(f); });
    EXPECT_EQ(f.remainingTicks, ticks);
    int handled = 0;
    f.tmCountDown.onTimer = [&, tick = f.tmCountDown.onTimer] {
        tick();
        handled += f.remainingTicks == ticks - handled - 1;
    };
    EXPECT_TRUE(h.loop.advanceUntil([&] { return !h.power.calls.empty(); }, 8 * 3600 * 1000));
    EXPECT_EQ(handled, ticks);
    return static_cast<std::int64_t>(h.loop.now()) - ticks * 100;
}

TEST(GraceCountdown, KeepsToRealTimeWhenTimerMessagesComeLateAndStretchesOverAStall) {
    EXPECT_LT(std::abs(lateness(55, [](ui::TForm1&) {})), 100);
    const auto sixtyMinutes = [](ui::TForm1& f) {
        f.btTimerOff1.click();
        f.seShutMinutes.setTextByUser("60");
        f.btRestart.click();
    };
    EXPECT_LT(std::abs(lateness(36000, sixtyMinutes)), 1000);
    // "genau 22:00".
    EXPECT_LT(std::abs(lateness(359 * 600, [](ui::TForm1& f) { f.btTimerOff2.click(); })), 1000);

    ProgramHarness h;
    ui::TForm1& f = h.start("300");
    h.loop.stall(4000);
    h.loop.advance(1000);
    EXPECT_EQ(f.remainingTicks, 3000 - 1 - 10);
}

// ---------------------------------------------------------------- a stall

TEST(GraceCountdown, StallUnderAMinuteStretchesTheCountdownALongerOneEndsItAsAnUnansweredPause) {
    for (const bool watchdogFirst : {true, false}) {
        SCOPED_TRACE(watchdogFirst ? "watchdog first" : "tick first");
        ProgramHarness h;
        ui::TForm1& f = h.start("300");
        h.loop.advance(1000);
        ASSERT_EQ(f.remainingTicks, 2990);
        // The thread stands still for 59 s, without a sleep.
        h.loop.stall(59000, watchdogFirst ? &f.tmExitDelay : &f.tmCountDown);
        EXPECT_FALSE(h.loop.terminated());
        // It counts delivered ticks, not wall time: one tick after the stall.
        EXPECT_EQ(f.remainingTicks, 2989);
        EXPECT_TRUE(f.tmExitDelay.enabled());
        h.loop.advance(298900);
        EXPECT_EQ(f.remainingTicks, 0);
        EXPECT_EQ(h.power.calls, (std::vector<std::string>{"privilege", "exitWindows(12)"}));
        h.loop.advance(10000);
        EXPECT_TRUE(h.loop.terminated());

        // Two hours without a tick and without a word from Windows: whatever
        // held the program up, its moment passed long ago.
        ProgramHarness g;
        ui::TForm1& e = g.start("300");
        g.loop.advance(1000);
        g.loop.stall(2 * 3600 * 1000, watchdogFirst ? &e.tmExitDelay : &e.tmCountDown);
        const std::uint32_t woke = g.loop.now();
        EXPECT_EQ(e.btOops.caption(), "Oder vielleicht doch?");
        EXPECT_EQ(e.lastShowCommand(), ui::ShowCommand::Restore);
        g.loop.advance(10000);
        EXPECT_EQ(g.loop.terminatedAt(), woke + engine::GraceCountdown::longWatchdogMs);
        EXPECT_TRUE(g.power.calls.empty());
    }
}

TEST(GraceCountdown, StallWhilePausedOrActingStillEndsTheProgram) {
    ProgramHarness h;
    ui::TForm1& f = h.start("300");
    h.loop.advance(1000);
    h.loop.user([&] { f.btOops.click(); });
    h.loop.stall(60000, &f.tmExitDelay);
    EXPECT_TRUE(h.loop.terminated());

    ProgramHarness g;
    ui::TForm1& e = g.start();
    g.loop.advance(5500);
    ASSERT_EQ(g.power.calls.size(), 2u);
    g.loop.stall(60000, &e.tmExitDelay);
    EXPECT_TRUE(g.loop.terminated());
    EXPECT_EQ(g.power.calls.size(), 2u);
}
