#include <gtest/gtest.h>

#include "platform/UptimeClock.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using tovik::test::ProgramHarness;
using Clocks = tovik::test::WindowsClocks::Kind;

namespace {

constexpr std::uint32_t minute = 60 * 1000;

// How the wake reaches the program: the messages Windows sends, in either
// order with the first late tick, or the clocks alone.
enum class Wake { ResumeFirst, TickFirst, ClocksOnly, ResumeWithoutSuspend };
constexpr Wake everyWake[] = {Wake::ResumeFirst, Wake::TickFirst, Wake::ClocksOnly, Wake::ResumeWithoutSuspend};

const char* nameOf(Wake wake) {
    switch (wake) {
        case Wake::ResumeFirst: return "suspend, sleep, resume messages, late tick";
        case Wake::TickFirst: return "suspend, sleep, late tick, resume messages";
        case Wake::ClocksOnly: return "sleep known from the clocks alone";
        case Wake::ResumeWithoutSuspend: return "resume messages without a suspend";
    }
    return "";
}

// Both messages of a wake that somebody is at the computer for.
void sendResume(ProgramHarness& h) {
    h.loop.user(h.form().onResume);
    h.loop.user(h.form().onResumeByUser);
}

// The computer sleeps for `ms`, then wakes; afterwards the overdue timers
// have fired.
void sleepAndWake(ProgramHarness& h, std::uint32_t ms, Wake wake) {
    ui::TForm1& f = h.form();
    if (wake == Wake::ResumeFirst || wake == Wake::TickFirst) h.loop.user(f.onSuspend);
    h.loop.sleep(ms);
    if (wake == Wake::ResumeFirst || wake == Wake::ResumeWithoutSuspend) sendResume(h);
    h.loop.processMessages();
    if (wake == Wake::TickFirst) sendResume(h);
}

// The clocks of the computers Tovik meets: Windows 10 and 11 with the
// default or a raised timer resolution, with and without a sleep since the
// system started, and Windows 7 and 8.1, which count no time asleep.
const Clocks everyClocks[] = {{false, false, true}, {false, true, true}, {false, false, false}, {true, false, true},
                              {true, true, false}};

// "Timer aus," and "Go!" with `minutes`; the window stays in view unless it
// is to minimise, as by default.
ui::TForm1& startTimer(ProgramHarness& h, const std::string& minutes, bool minimise = false) {
    ui::TForm1& f = h.start();
    f.cbAutoMinimize.setChecked(minimise);
    h.loop.advance(300);
    h.loop.user([&] { f.btTimerOff1.click(); });
    f.seShutMinutes.setTextByUser(minutes);
    h.loop.user([&] { f.btRestart.click(); });
    return f;
}

}  // namespace

TEST(Sleep, TheSystemIsKeptAwakeExactlyWhileACountdownRuns) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    EXPECT_EQ(h.awake.reason, "Tovik schaltet den Computer um 18:45:17 aus");
    h.loop.advance(1000);
    h.loop.user([&] { f.btOops.click(); });
    EXPECT_FALSE(h.awake.held());
    h.loop.user([&] { f.btOops.click(); });
    EXPECT_TRUE(h.awake.held());
    h.loop.user([&] { f.btTimerOff1.click(); });
    EXPECT_FALSE(h.awake.held());
    f.seShutMinutes.setTextByUser("1500");
    h.loop.user([&] { f.btRestart.click(); });
    // The reason names the action and its time, the day included.
    EXPECT_EQ(h.awake.reason, "Tovik schaltet den Computer um 19:45:12  +1 Tag aus");
    // "genau" over a running countdown aims elsewhere.
    h.loop.user([&] { f.btTimerOff2.click(); });
    EXPECT_EQ(h.awake.reason, "Tovik schaltet den Computer um 18:44:12 aus");
    // A double-click on the window stops it.
    h.loop.user(f.onDblClick);
    EXPECT_FALSE(h.awake.held());

    // Restart mode names its action; it ends in the action, before which the
    // request is gone.
    ProgramHarness g;
    ui::TForm1& e = g.start("r");
    EXPECT_EQ(g.awake.reason, "Tovik startet den Computer um 18:45:32 neu");
    g.loop.advance(20000);
    EXPECT_EQ(g.power.calls, (std::vector<std::string>{"privilege", "exitWindows(2)"}));
    EXPECT_FALSE(g.awake.held());
    EXPECT_FALSE(e.tmCountDown.enabled());

    // The program ends while the countdown runs.
    ProgramHarness k;
    k.start("300");
    ASSERT_TRUE(k.awake.held());
    k.program.reset();
    EXPECT_FALSE(k.awake.held());
}

TEST(Sleep, ATimerThatSleptCountsToTheSameMomentAndActsWithinASecondOfIt) {
    for (const Wake wake : everyWake) {
        SCOPED_TRACE(nameOf(wake));
        ProgramHarness h;
        ui::TForm1& f = startTimer(h, "60");
        const std::uint32_t target = h.loop.now() + 60 * minute;
        h.loop.advance(10 * minute);
        const int holdsBefore = h.awake.holds, announcedBefore = f.stSeconds.announcements();
        sleepAndWake(h, 20 * minute, wake);

        // 30 minutes left, not 50: the swallowed ticks are not replayed; the
        // gauges follow and the line is announced once.
        EXPECT_NEAR(f.remainingTicks, 30 * 600, 2);
        EXPECT_EQ(f.Gauge1.progress(), f.remainingTicks);
        EXPECT_EQ(f.Gauge2.progress(), f.remainingTicks);
        EXPECT_EQ(f.stSeconds.announcements(), announcedBefore + 1);
        EXPECT_EQ(f.lastShowCommand(), ui::ShowCommand::Restore);
        // The request is set again after the resume.
        EXPECT_GT(h.awake.holds, holdsBefore);
        EXPECT_TRUE(h.awake.held());
        EXPECT_TRUE(h.power.calls.empty());
        EXPECT_FALSE(h.loop.terminated());

        ASSERT_TRUE(h.loop.advanceUntil([&] { return !h.power.calls.empty(); }, 31 * minute));
        EXPECT_NEAR(static_cast<double>(h.loop.now()), target, 1000.0);
        EXPECT_EQ(h.power.calls, (std::vector<std::string>{"privilege", "exitWindows(12)"}));
    }

    // A moment exactly a minute ahead is counted to, and reached no sooner.
    ProgramHarness h;
    startTimer(h, "10");
    h.loop.advance(5000);
    sleepAndWake(h, 10 * minute - 5000 - minute, Wake::TickFirst);
    const std::uint32_t woke = h.loop.now();
    ASSERT_TRUE(h.loop.advanceUntil([&] { return !h.power.calls.empty(); }, 2 * minute));
    EXPECT_GE(h.loop.now(), woke + minute);
}

TEST(Sleep, ATimerWhoseMomentPassedOrIsUnderAMinuteAheadIsMissedAndDoesNotAct) {
    // Asleep across the target time, and until 30 s before it.
    for (const std::uint32_t asleep : {15 * minute, 10 * minute - 30000 - 5000})
        for (const Wake wake : everyWake) {
            SCOPED_TRACE(nameOf(wake));
            ProgramHarness h;
            ui::TForm1& f = startTimer(h, "10");
            const std::vector<std::string> writesBefore = test::writtenNames(h.registry);
            h.loop.advance(5000);
            sleepAndWake(h, asleep, wake);

            // Stopped as a double-click in the timer layout stops it.
            EXPECT_FALSE(f.tmCountDown.enabled());
            EXPECT_FALSE(f.tmExitDelay.enabled());
            EXPECT_FALSE(f.btOops.enabled());
            EXPECT_EQ(f.height(), f.bigFormHeight);
            EXPECT_TRUE(f.seShutMinutes.visible());
            EXPECT_EQ(f.seShutMinutes.value(), 10);
            EXPECT_TRUE(f.btRestart.visible());
            EXPECT_TRUE(f.btRestart.enabled());
            EXPECT_EQ(f.stSeconds.caption(), "Verpasst: Power Off um 18:55:12");
            EXPECT_EQ(f.lastShowCommand(), ui::ShowCommand::Restore);
            EXPECT_FALSE(h.awake.held());

            // Nothing acts, counts or is stored, and the clock leaves the
            // missed line alone until the minutes change.
            h.loop.advance(30 * minute);
            EXPECT_TRUE(h.power.calls.empty());
            EXPECT_FALSE(h.loop.terminated());
            EXPECT_EQ(test::writtenNames(h.registry), writesBefore);
            EXPECT_EQ(f.stSeconds.caption(), "Verpasst: Power Off um 18:55:12");
            h.loop.user([&] { f.btPlusHour.click(); });
            EXPECT_EQ(f.stSeconds.caption(), "Power Off um 19:55:12");

            // "Go!" sets out again.
            h.loop.user([&] { f.btRestart.click(); });
            EXPECT_TRUE(f.tmCountDown.enabled());
            EXPECT_TRUE(h.awake.held());
        }
}

TEST(Sleep, TheGraceCountdownAfterASleepEndsAsAPauseNobodyAnswers) {
    for (const Wake wake : everyWake) {
        SCOPED_TRACE(nameOf(wake));
        ProgramHarness h;
        ui::TForm1& f = h.start();
        h.loop.advance(1000);
        const std::vector<std::string> writesBefore = test::writtenNames(h.registry);
        sleepAndWake(h, 10000, wake);
        const std::uint32_t woke = h.loop.now();

        EXPECT_FALSE(f.tmCountDown.enabled());
        EXPECT_EQ(f.btOops.caption(), "Oder vielleicht doch?");
        EXPECT_TRUE(f.btOops.enabled());
        EXPECT_EQ(f.stSeconds.color(), ui::clBlue);
        EXPECT_EQ(h.loop.title(), "Doch kein Feierabend ");
        EXPECT_EQ(f.lastShowCommand(), ui::ShowCommand::Restore);
        EXPECT_FALSE(h.awake.held());

        h.loop.advance(10000);
        ASSERT_TRUE(h.loop.terminated());
        EXPECT_EQ(h.loop.terminatedAt(), woke + 3000);
        EXPECT_TRUE(h.power.calls.empty());
        EXPECT_EQ(test::writtenNames(h.registry), writesBefore);
    }

    // A long grace countdown with its end far enough ahead goes on.
    ProgramHarness h;
    ui::TForm1& f = h.start("3600");
    h.loop.advance(1000);
    sleepAndWake(h, 30 * minute, Wake::TickFirst);
    EXPECT_TRUE(f.tmCountDown.enabled());
    EXPECT_NEAR(f.remainingTicks, 29 * 600 + 590, 2);
}

TEST(Sleep, AComputerThatNeverSleptIsNeverTakenForOneThatDid) {
    for (const Clocks& clocks : everyClocks)
        for (std::uint32_t seed = 1; seed <= 8; ++seed) {
            ProgramHarness h(clocks, seed);
            SCOPED_TRACE(test::WindowsClocks(h.loop, clocks, seed).describe() + ", seed " + std::to_string(seed));
            h.loop.useWindowsTimers(seed);
            ui::TForm1& f = h.start();
            // The computer slept before the program started: Windows tells
            // it once somebody is at it.
            h.loop.advance(2000);
            h.loop.user(f.onResumeByUser);
            ASSERT_TRUE(h.loop.advanceUntil([&] { return !h.power.calls.empty(); }, 7000)) << f.stSeconds.caption();
            EXPECT_EQ(h.power.calls, (std::vector<std::string>{"privilege", "exitWindows(12)"}));

            // A suspend message that no sleep follows lapses while the ticks
            // go on: a stall of a busy machine later is no wake.
            ProgramHarness k(clocks, seed);
            ui::TForm1& d = k.start("300");
            k.loop.advance(1000);
            k.loop.user(d.onSuspend);
            k.loop.advance(10000);
            k.loop.stall(2000);
            EXPECT_TRUE(d.tmCountDown.enabled());
            EXPECT_EQ(d.remainingTicks, 3000 - 110 - 1);

            // A minimised timer stays minimised until its first mark.
            ProgramHarness g(clocks, seed);
            g.loop.useWindowsTimers(seed);
            ui::TForm1& e = startTimer(g, "15", true);
            g.loop.advance(4 * minute + 50000);
            EXPECT_EQ(e.lastShowCommand(), ui::ShowCommand::Minimize);
            EXPECT_TRUE(e.tmCountDown.enabled());
            EXPECT_EQ(e.stSeconds.caption().rfind("Verpasst", 0), std::string::npos);
        }
}

TEST(Sleep, EachSignOfAWakeIsEnoughOnItsOwn) {
    // Windows 7 clocks count no time asleep; a stall is no sleep to the clocks.
    struct Sign {
        const char* name;
        Clocks clocks;
        bool suspend, resumeBeforeTick, resumeAfterTick, asleep;
        std::uint32_t ms;
    };
    const Sign signs[] = {
        {"the resume messages alone", {true, false, true}, false, true, false, true, 3000},
        {"the clocks alone", {false, false, true}, false, false, false, true, 3000},
        {"a tick a second late after the suspend message", {true, true, false}, true, false, true, true, 3000},
        {"a tick a minute late, no message, no time asleep", {false, true, false}, false, false, false, false, 61000},
    };
    for (const Sign& sign : signs) {
        SCOPED_TRACE(sign.name);
        ProgramHarness h(sign.clocks);
        ui::TForm1& f = startTimer(h, "60", true);
        const std::uint32_t target = h.loop.now() + 60 * minute;
        h.loop.advance(5 * minute);
        if (sign.suspend) h.loop.user(f.onSuspend);
        if (sign.asleep) h.loop.sleep(sign.ms);
        else h.loop.stall(sign.ms);
        if (sign.resumeBeforeTick) sendResume(h);
        h.loop.processMessages();

        // The window is back and the count aims at the same moment.
        EXPECT_EQ(f.lastShowCommand(), ui::ShowCommand::Restore);
        EXPECT_NEAR(f.remainingTicks, (target - h.loop.now()) / 100, 2);
        if (sign.resumeAfterTick) sendResume(h);
        ASSERT_TRUE(h.loop.advanceUntil([&] { return !h.power.calls.empty(); }, 60 * minute));
        EXPECT_NEAR(static_cast<double>(h.loop.now()), target, 1000.0);
    }
}

TEST(Sleep, TheTwoResumeMessagesOfOneWakeAreOneWakeAndTheNextSleepIsANewOne) {
    for (const Clocks& clocks : everyClocks) {
        SCOPED_TRACE(clocks.windows7 ? "Windows 7 clocks" : "Windows 10 clocks");
        ProgramHarness h(clocks);
        ui::TForm1& f = startTimer(h, "10", true);
        const std::uint32_t target = h.loop.now() + 10 * minute;
        h.loop.advance(5000);
        h.loop.user(f.onSuspend);
        h.loop.sleep(30000);
        h.loop.user(f.onResume);
        h.loop.processMessages();
        ASSERT_EQ(f.lastShowCommand(), ui::ShowCommand::Restore);
        // PBT_APMRESUMESUSPEND comes when somebody touches the computer, here
        // 45 s before the moment: a second wake would miss it.
        h.loop.advance(target - 45000 - h.loop.now());
        h.loop.user(f.onResumeByUser);
        EXPECT_TRUE(f.tmCountDown.enabled());
        ASSERT_TRUE(h.loop.advanceUntil([&] { return !h.power.calls.empty(); }, minute));
        EXPECT_NEAR(static_cast<double>(h.loop.now()), target, 1000.0);

        // Two sleeps, each told by its messages: the second is a wake of its
        // own. Windows lets the program run on for a moment after the suspend
        // message: the ticks of that moment are no wake.
        ProgramHarness g(clocks);
        ui::TForm1& e = startTimer(g, "60", true);
        const std::uint32_t later = g.loop.now() + 60 * minute;
        for (int sleep = 0; sleep < 2; ++sleep) {
            g.loop.advance(minute);
            e.showWindow(ui::ShowCommand::Minimize);
            g.loop.user(e.onSuspend);
            g.loop.advance(1500);
            EXPECT_EQ(e.lastShowCommand(), ui::ShowCommand::Minimize);
            g.loop.sleep(30000);
            sendResume(g);
            g.loop.processMessages();
            EXPECT_EQ(e.lastShowCommand(), ui::ShowCommand::Restore) << "sleep " << sleep;
            EXPECT_NEAR(e.remainingTicks, (later - g.loop.now()) / 100, 2) << "sleep " << sleep;
        }
    }
}

TEST(Sleep, AThreadHeldUpBetweenTheTwoClockReadingsReadsNoTimeAsleep) {
    // Every reading comes 1.5 s after the one before, as for a thread that
    // lost the processor between them.
    struct HeldUpClocks : platform::InterruptClocks {
        const std::uint64_t asleep = 6000000000;  // ten minutes
        mutable std::uint64_t instant = 360000000000;
        std::uint64_t next() const { return instant += 15000000; }
        std::optional<std::uint64_t> interruptTime() const override { return next(); }
        std::optional<std::uint64_t> unbiasedInterruptTime() const override { return next() - asleep; }
        std::uint64_t tickCount64() const override { return next() / 10000; }
    } clocks;
    EXPECT_LE(platform::UptimeClock(clocks).asleep(), clocks.asleep);
}
