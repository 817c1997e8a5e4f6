#include <gtest/gtest.h>

#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using tovik::test::ProgramHarness;

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

// The computer sleeps for `ms`, then wakes; afterwards the overdue timers
// have fired.
void sleepAndWake(ProgramHarness& h, std::uint32_t ms, Wake wake) {
    ui::TForm1& f = h.form();
    if (wake == Wake::ResumeFirst || wake == Wake::TickFirst) h.loop.user(f.onSuspend);
    h.loop.sleep(ms);
    const auto resume = [&] {
        h.loop.user(f.onResume);  // PBT_APMRESUMEAUTOMATIC
        h.loop.user(f.onResume);  // PBT_APMRESUMESUSPEND
    };
    if (wake == Wake::ResumeFirst || wake == Wake::ResumeWithoutSuspend) resume();
    h.loop.processMessages();
    if (wake == Wake::TickFirst) resume();
}

// "Timer aus," and "Go!" with `minutes`; the window stays in view.
ui::TForm1& startTimer(ProgramHarness& h, const std::string& minutes) {
    ui::TForm1& f = h.start();
    f.cbAutoMinimize.setChecked(false);
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
        const int holdsBefore = h.awake.holds;
        sleepAndWake(h, 20 * minute, wake);

        // 30 minutes left, not 50: the swallowed ticks are not replayed.
        EXPECT_NEAR(f.remainingTicks, 30 * 600, 2);
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
