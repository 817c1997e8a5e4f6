#include <gtest/gtest.h>

#include "app/FormDblClick.h"
#include "res/ResourceIds.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using tovik::test::ProgramHarness;

namespace {

// A user typing into the focused minutes field, one event per key.
void typeIntoMinutes(ProgramHarness& h, const std::string& keys) {
    h.form().seShutMinutes.setFocus();
    for (char typed : keys) h.loop.user([&] { test::TypeIntoMinutes(h.form(), typed); });
}

// Starts a grace countdown and opens the timer panel with "Timer aus,".
ui::TForm1& startInTimerLayout(ProgramHarness& h, const std::string& argument = "") {
    ui::TForm1& f = h.start(argument);
    h.loop.advance(300);
    h.loop.user([&] { f.btTimerOff1.click(); });
    return f;
}

std::optional<std::int32_t> stored(ProgramHarness& h, const std::string& name) {
    return h.registry.dword(test::HKCU, test::tovikKey, name);
}

}  // namespace

// ---------------------------------------------------------------- "Timer aus," and the common start

TEST(TimerPanel, TimerOffStopsTheGraceCountdownAndShowsThePanel) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    EXPECT_EQ(f.remainingTicks, 52);
    EXPECT_FALSE(f.tmCountDown.enabled());
    EXPECT_FALSE(f.tmExitDelay.enabled());
    EXPECT_EQ(f.height(), 430);
    EXPECT_EQ(f.caption(), "Nach einer bestimmten Zeit ausschalten 1 - 1999999 Minuten  (1388 Tage)");
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 19:00:12");
    EXPECT_TRUE(f.targetTimeTracking);
    EXPECT_EQ(stored(h, "TimerOffCounter"), 1);

    EXPECT_FALSE(f.btOops.enabled());
    EXPECT_EQ(f.btOops.imageLayout(), ui::ImageLayout::Left);
    for (const ui::Button* b : {&f.btLogOff, &f.btLock, &f.btTimerOff1, &f.btTimerOff2, &f.btHibernate})
        EXPECT_FALSE(b->enabled()) << b->name();
    EXPECT_TRUE(f.btPwrOff.enabled());
    EXPECT_TRUE(f.btNewStart.enabled());
    EXPECT_FALSE(f.Gauge1.visible());
    EXPECT_FALSE(f.Gauge2.visible());
    // The newer systems' taskbar text stays as the last tick left it.
    EXPECT_EQ(h.loop.title(), "5,2 Sekunden");

    // Nothing is powered off and nothing ends the program.
    h.loop.advance(60000);
    EXPECT_TRUE(h.power.calls.empty());
    EXPECT_FALSE(h.loop.terminated());
    EXPECT_EQ(f.remainingTicks, 52);
}

TEST(TimerPanel, OlderSystemsCopyTheTimerCaptionIntoTheTaskbarText) {
    ProgramHarness h;
    h.system.major = 5;
    ui::TForm1& f = startInTimerLayout(h);
    EXPECT_EQ(h.loop.title(), "Nach einer bestimmten Zeit ausschalten 1 - 1999999 Minuten  (1388 Tage)");
    EXPECT_EQ(f.height(), 430);
}

TEST(TimerPanel, AnyOtherSenderOfTheDoubleClickRunsOnlyTheCommonStart) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    h.loop.advance(200);
    h.loop.user([&] { app::FormDblClick(f, h.program->timerPanel, h.program->statistics, &f.btPwrOff); });
    EXPECT_FALSE(f.tmCountDown.enabled());
    EXPECT_FALSE(f.btOops.enabled());
    EXPECT_FALSE(f.Gauge1.visible());
    EXPECT_EQ(f.height(), 315);
    EXPECT_EQ(f.caption(), "Noch 5,3 Sekunden bis Feierabend ");
    EXPECT_EQ(f.btPwrOff.caption(), "Sofort ausschalten");
    EXPECT_EQ(h.registry.dword(test::HKCU, test::tovikKey, "TimerOffCounter"), std::nullopt);
    h.loop.advance(10000);
    EXPECT_FALSE(h.loop.terminated());
}

TEST(TimerPanel, TimerOffCounterThatCannotBeCountedEndsTheBranchAfterTheTargetText) {
    ProgramHarness h;
    h.registry.plantText(test::HKCU, test::tovikKey, "TimerOffCounter", "7");
    h.system.major = 5;
    ui::TForm1& f = startInTimerLayout(h);
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    EXPECT_EQ(h.loop.boxes()[0].kind, test::ShownBox::Kind::Error);
    EXPECT_EQ(f.height(), 430);
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 19:00:12");
    // The taskbar text is the last step and is not reached.
    EXPECT_EQ(h.loop.title(), "5,2 Sekunden");
}

// ---------------------------------------------------------------- target text and days

TEST(TimerPanel, TargetTextNamesTheTimeAndTheWholeDays) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    const struct {
        int minutes;
        const char* text;
    } cases[] = {
        {1439, "Power Off um 18:44:12"},
        {1440, "Power Off um 18:45:12  +1 Tag"},
        {2879, "Power Off um 18:44:12  +1 Tag"},
        {2880, "Power Off um 18:45:12  +2 Tage"},
        {1999999, "Power Off um 16:04:12  +1388 Tage"},
    };
    for (const auto& c : cases) {
        h.loop.user([&] { f.seShutMinutes.setValue(c.minutes); });
        EXPECT_EQ(f.stSeconds.caption(), c.text) << c.minutes;
    }
}

TEST(TimerPanel, TargetTimeCrossesMidnightExactlyWithTheSecondsOfNow) {
    ProgramHarness h;
    h.clock.time = {2026, 12, 31, 23, 0, 37, 999};
    ui::TForm1& f = startInTimerLayout(h);
    h.loop.user([&] { f.seShutMinutes.setValue(120); });
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 01:00:37");
}

TEST(TimerPanel, ClockTickShowsTheTimeAndKeepsTheTargetCurrentWhileNoCountdownRuns) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    EXPECT_EQ(f.stWatch.caption(), "Uhrzeit");
    h.clock.time.second = 13;
    h.loop.advance(1000);
    EXPECT_EQ(f.stWatch.caption(), "18:45:13");
    // Not tracking yet: the countdown line is the grace countdown's.
    EXPECT_EQ(f.stSeconds.caption(), "Noch 4,5s bis Feierabend ");

    h.loop.user([&] { f.btTimerOff1.click(); });
    h.clock.time.second = 14;
    h.loop.advance(1000);
    EXPECT_EQ(f.stWatch.caption(), "18:45:14");
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 19:00:14");
}

TEST(TimerPanel, ClockTickRewritesAPausedCountdownsText) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    h.loop.user([&] { f.btRestart.click(); });
    h.loop.advance(2000);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 14,97 Minuten bis...");
    h.loop.user([&] { f.btOops.click(); });
    EXPECT_FALSE(f.tmCountDown.enabled());
    h.loop.advance(1000);
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 19:00:12");
}

// ---------------------------------------------------------------- the minutes field and its steps

TEST(TimerPanel, StepButtonsMoveTheMinutesWithinTheRange) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    h.loop.user([&] { f.btMinusHour.click(); });
    EXPECT_EQ(f.seShutMinutes.text(), "1");
    h.loop.user([&] { f.btPlusHour.click(); });
    EXPECT_EQ(f.seShutMinutes.text(), "61");
    h.loop.user([&] { f.btPlusDay.click(); });
    EXPECT_EQ(f.seShutMinutes.text(), "1501");
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 19:46:12  +1 Tag");
    h.loop.user([&] { f.seShutMinutes.setValue(1999999 - 100); });
    h.loop.user([&] { f.btPlusDay.click(); });
    EXPECT_EQ(f.seShutMinutes.text(), "1999999");
    h.loop.user([&] { f.seShutMinutes.setValue(1000); });
    h.loop.user([&] { f.btMinusDay.click(); });
    EXPECT_EQ(f.seShutMinutes.text(), "1");
}

TEST(TimerPanel, EveryChangeOfTheTextRaisesOneChangeAndAnEqualWriteNone) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    int changes = 0;
    f.seShutMinutes.onChange = [&] { ++changes; };
    f.seShutMinutes.setValue(15);
    EXPECT_EQ(changes, 0);
    f.seShutMinutes.setValue(0);  // clamps to 1
    EXPECT_EQ(changes, 1);
    f.seShutMinutes.step(-1);  // 1 again: nothing changes
    EXPECT_EQ(changes, 1);
    f.seShutMinutes.step(1);
    EXPECT_EQ(changes, 2);
    f.seShutMinutes.setTextByUser("");
    EXPECT_EQ(changes, 3);
    f.seShutMinutes.leave();  // empty reads 1, within range: stays empty
    EXPECT_EQ(f.seShutMinutes.text(), "");
    EXPECT_EQ(changes, 3);
    f.seShutMinutes.setTextByUser("007");
    f.seShutMinutes.setValue(7);
    EXPECT_EQ(f.seShutMinutes.text(), "7");
    EXPECT_EQ(changes, 5);
}

TEST(TimerPanel, TypedCharactersOutsideNumbersAreRefused) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    typeIntoMinutes(h, "\b\b2a5x");
    EXPECT_EQ(f.seShutMinutes.text(), "25");
    for (char refused : {'a', 'Z', ' ', '.', '%', '\r'}) {
        char key = refused;
        EXPECT_FALSE(f.seShutMinutes.typeCharacter(key)) << int(refused);
    }
    for (char taken : {'0', '9', '+', '-', ',', '\b', '\x16', '\x03'}) {
        char key = taken;
        EXPECT_TRUE(f.seShutMinutes.typeCharacter(key)) << int(taken);
    }
    h.locale.separator = ".";
    char point = '.', comma = ',';
    EXPECT_TRUE(f.seShutMinutes.typeCharacter(point));
    EXPECT_FALSE(f.seShutMinutes.typeCharacter(comma));
}

TEST(TimerPanel, TypedZeroLeavesTheTargetAndLeavingTheFieldWritesBackOne) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    typeIntoMinutes(h, "\b\b");
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 18:46:12");
    h.clock.time.second = 15;
    typeIntoMinutes(h, "0");
    EXPECT_EQ(f.seShutMinutes.value(), 0);
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 18:46:12") << "refreshed at 0 minutes";
    // The clock tick still tracks: it shows now + 0 minutes.
    h.clock.time.second = 20;
    h.loop.advance(1000);
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 18:45:20");
    h.loop.user([&] { f.seShutMinutes.leave(); });
    EXPECT_EQ(f.seShutMinutes.text(), "1");
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 18:46:20");
}

TEST(TimerPanel, EmptiedFieldReadsOneAndGoRunsOneMinuteLeavingItEmpty) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    typeIntoMinutes(h, "\b\b");
    EXPECT_EQ(f.seShutMinutes.text(), "");
    EXPECT_EQ(f.seShutMinutes.value(), 1);
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 18:46:12");
    h.loop.user([&] { f.btRestart.click(); });
    EXPECT_EQ(f.remainingTicks, 600);
    EXPECT_EQ(f.seShutMinutes.text(), "");
}

// ---------------------------------------------------------------- "Go!"

TEST(TimerPanel, GoRestartsTheCountdownWithTheMinutesInTheCompactWindow) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    f.cbAutoMinimize.setChecked(false);
    h.loop.user([&] { f.btRestart.click(); });

    EXPECT_EQ(f.remainingTicks, 9000);
    for (const ui::Gauge* g : {&f.Gauge1, &f.Gauge2}) {
        EXPECT_EQ(g->minValue(), 0);
        EXPECT_EQ(g->maxValue(), 9000);
        EXPECT_EQ(g->progress(), 9000);
        EXPECT_TRUE(g->visible());
    }
    EXPECT_FALSE(f.stRestartTime.visible());
    EXPECT_FALSE(f.seShutMinutes.visible());
    EXPECT_TRUE(f.btRestart.visible());
    EXPECT_TRUE(f.tmCountDown.enabled());
    EXPECT_EQ(f.height(), 315);
    EXPECT_EQ(f.caption(), "Tovik - Timer Power Off");
    EXPECT_EQ(f.btOops.caption(), "Oops! Das wollte ich noch nicht!");
    EXPECT_TRUE(f.btOops.enabled());
    EXPECT_EQ(f.btOops.imageLayout(), ui::ImageLayout::Left);
    EXPECT_EQ(f.btOops.image(), IDB_OOPS_STRIP);
    for (const ui::Button* b : {&f.btLogOff, &f.btLock, &f.btTimerOff1, &f.btTimerOff2, &f.btHibernate}) {
        EXPECT_EQ(b->caption(), "") << b->name();
        EXPECT_FALSE(b->enabled()) << b->name();
    }
    for (const ui::Button* b : {&f.btNewStart, &f.btPwrOff, &f.btLogOff, &f.btLock, &f.btTimerOff1, &f.btHibernate})
        EXPECT_EQ(b->image(), 0) << b->name();
    EXPECT_EQ(f.btPwrOff.caption(), "Sofort ausschalten");
    EXPECT_TRUE(f.btPwrOff.enabled());
    EXPECT_EQ(f.focusedControl(), &f.btOops);
    EXPECT_TRUE(f.targetTimeTracking);
    EXPECT_EQ(h.loop.minimizeCount(), 0);
    EXPECT_EQ(f.lastShowCommand(), ui::ShowCommand::Hide);

    h.loop.advance(100);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 15,00 Minuten bis...");
    EXPECT_EQ(f.tmExitDelay.interval(), 5000);
    // The timed countdown ends in the power off like the grace countdown.
    h.loop.advance(900000);
    EXPECT_EQ(h.power.calls, (std::vector<std::string>{"privilege", "exitWindows(12)"}));
}

TEST(TimerPanel, GoMinimisesByTheOptionOnNewerAndOlderSystems) {
    for (int major : {5, 10}) {
        for (bool autoMinimize : {false, true}) {
            SCOPED_TRACE("major " + std::to_string(major) + (autoMinimize ? " minimising" : ""));
            ProgramHarness h;
            h.system.major = major;
            ui::TForm1& f = startInTimerLayout(h);
            f.cbAutoMinimize.setChecked(autoMinimize);
            h.loop.user([&] { f.btRestart.click(); });
            const bool newer = major > 5;
            // Newer systems minimise the main window onto its own taskbar
            // entry; older ones the application as a whole.
            EXPECT_EQ(h.loop.minimizeCount(), autoMinimize && !newer ? 1 : 0);
            EXPECT_EQ(f.lastShowCommand(), autoMinimize && newer ? ui::ShowCommand::Minimize : ui::ShowCommand::Hide);
            EXPECT_TRUE(f.tmCountDown.enabled());
        }
    }
}

TEST(TimerPanel, EnterInTheFieldStartsGoWithTheClampedMinutesAndPowersNothingOff) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    typeIntoMinutes(h, "\b\b99999999\r");
    EXPECT_EQ(f.remainingTicks, 1999999 * 600);
    EXPECT_EQ(f.seShutMinutes.text(), "1999999");
    EXPECT_TRUE(f.tmCountDown.enabled());
    EXPECT_EQ(f.Gauge1.maxValue(), 1199999400);
    h.loop.advance(100);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 1999999 Minuten bis...");
    EXPECT_EQ(f.Gauge1.progress(), 1199999399);
    EXPECT_TRUE(h.power.calls.empty());
}

TEST(TimerPanel, EnterElsewhereIsNoGo) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    f.btRestart.setFocus();
    EXPECT_EQ(f.previewKeyPress('\r'), '\r');
    f.seShutMinutes.setFocus();
    EXPECT_EQ(f.previewKeyPress('7'), '7');
    EXPECT_FALSE(f.tmCountDown.enabled());
}

// ---------------------------------------------------------------- the blue line's click

TEST(TimerPanel, ClickOnTheBlueLineCopiesOnlyTheTimeOfDayToTheSecondPreset) {
    ProgramHarness h;
    ui::TForm1& f = startInTimerLayout(h);
    h.loop.user([&] { f.seShutMinutes.setValue(3000); });
    h.loop.user([&] { f.stSeconds.click(); });
    EXPECT_EQ(f.btPrefTime2.caption(), "20:45");
    EXPECT_EQ(f.btTimerOff2.caption(), "genau 20:45");
    // Nothing is stored: the preset keeps its value until its button is clicked.
    EXPECT_EQ(h.registry.text(test::HKCU, test::tovikKey, "PrefTime2"), "18:45");

    // Also while the grace countdown runs; a clock text has its colon in
    // every region.
    ProgramHarness g;
    g.locale.clockSeparator = ".";
    ui::TForm1& e = g.start();
    g.loop.user([&] { e.stSeconds.click(); });
    EXPECT_EQ(e.btPrefTime2.caption(), "19:00");
    EXPECT_TRUE(e.tmCountDown.enabled());
}
