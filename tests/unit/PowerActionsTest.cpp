#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using namespace tovik::test;
using engine::PowerAction;
using Kind = ShownBox::Kind;

namespace {

using Calls = std::vector<std::string>;

// One immediate action as the user starts it.
struct ActionCase {
    const char* button;
    ui::Button ui::TForm1::*control;
    const char* counter;
    const char* status;  // nullptr: the line and title stay as they were
};

const ActionCase actionCases[] = {
    {"btPwrOff", &ui::TForm1::btPwrOff, "PwrOffCounter", "und tschüss......"},
    {"btNewStart", &ui::TForm1::btNewStart, "RestartCounter", "Es wird neu gestartet..."},
    {"btLogOff", &ui::TForm1::btLogOff, "LogOffCounter", "Melde mich ab..."},
    {"btHibernate", &ui::TForm1::btHibernate, "HibernateCounter", "Gehe schlafen..."},
    {"btLock", &ui::TForm1::btLock, "LockCounter", nullptr},
};

const char* const allCounters[] = {"RunCounter",    "RestartCounter",  "PwrOffCounter",    "OopsCounter", "OopsResumeCounter",
                                   "LogOffCounter", "TimerOffCounter", "HibernateCounter", "LockCounter"};

// Starts the default 5.5 s countdown and lets ten ticks run.
ui::TForm1& startAndTick(ProgramHarness& h, const std::string& argument = "") {
    ui::TForm1& f = h.start(argument);
    f.displayedOwner = "Büro Nord";
    h.loop.advance(1000);
    return f;
}

void click(ProgramHarness& h, ui::Button ui::TForm1::*control) {
    h.loop.user([&] { (h.form().*control).click(); });
}

std::optional<std::int32_t> counter(const ProgramHarness& h, const std::string& name) {
    return h.registry.dword(HKCU, tovikKey, name);
}

std::optional<std::string> lastShutDown(const ProgramHarness& h) {
    return h.registry.text(HKCU, diagnosticKey, "LastShutDown");
}

// The counters other than RunCounter that hold a value.
std::vector<std::string> bumpedCounters(const ProgramHarness& h) {
    std::vector<std::string> names;
    for (const char* name : allCounters)
        if (std::string(name) != "RunCounter" && h.registry.value(HKCU, tovikKey, name)) names.push_back(name);
    return names;
}

bool allActionButtonsDisabled(const ui::TForm1& f) {
    for (const ui::Button* b : {&f.btOops, &f.btPwrOff, &f.btNewStart, &f.btLogOff, &f.btLock, &f.btTimerOff1,
                                &f.btTimerOff2, &f.btHibernate})
        if (b->enabled()) return false;
    return true;
}

void expectGaugesReset(const ui::TForm1& f) {
    EXPECT_EQ(f.Gauge1.progress(), 0);
    EXPECT_EQ(f.Gauge1.backColor(), ui::clRed);
    EXPECT_TRUE(f.Gauge1.visible());
    EXPECT_EQ(f.Gauge2.progress(), 0);
    EXPECT_EQ(f.Gauge2.backColor(), ui::clBtnFace);
    EXPECT_FALSE(f.Gauge2.visible());
}

// The gauges as the last tick left them.
void expectGaugesUntouched(const ui::TForm1& f) {
    EXPECT_GT(f.remainingTicks, 0);
    EXPECT_EQ(f.Gauge1.progress(), f.remainingTicks);
    EXPECT_EQ(f.Gauge1.backColor(), ui::clSkyBlue);
    EXPECT_EQ(f.Gauge2.progress(), f.remainingTicks);
    EXPECT_EQ(f.Gauge2.backColor(), ui::clSkyBlue);
    EXPECT_TRUE(f.Gauge2.visible());
}

}  // namespace

TEST(PowerActions, EachButtonCountsShowsItsStatusAndMakesItsRequest) {
    struct Expected {
        const char* request;  // with cbForcePwrOff checked
        const char* requestUnforced;
    };
    const Expected requests[] = {
        {"exitWindows(12)", "exitWindows(8)"},
        {"exitWindows(2)", "exitWindows(2)"},
        {"exitWindows(0)", "exitWindows(0)"},
        {"setSuspendState(1,0,0)", "setSuspendState(1,0,0)"},
        {"lockWorkStation", "lockWorkStation"},
    };
    for (std::size_t i = 0; i < std::size(actionCases); ++i) {
        for (bool force : {true, false}) {
            const ActionCase& action = actionCases[i];
            SCOPED_TRACE(std::string(action.button) + (force ? " forced" : " unforced"));
            ProgramHarness h;
            ui::TForm1& f = startAndTick(h);
            f.cbForcePwrOff.setChecked(force);
            const std::string lineBefore = f.stSeconds.caption();
            const std::string titleBefore = h.loop.title();
            h.clock.time = {2027, 1, 4, 7, 5, 9, 0};

            click(h, action.control);

            EXPECT_EQ(h.power.calls, (Calls{"privilege", force ? requests[i].request : requests[i].requestUnforced}));
            EXPECT_EQ(bumpedCounters(h), (std::vector<std::string>{action.counter}));
            EXPECT_EQ(counter(h, action.counter), 1);
            EXPECT_TRUE(allActionButtonsDisabled(f));
            EXPECT_FALSE(f.tmCountDown.enabled());
            EXPECT_TRUE(f.tmExitDelay.enabled());
            EXPECT_TRUE(h.loop.boxes().empty());
            if (action.status) {
                EXPECT_EQ(f.stSeconds.caption(), action.status);
                EXPECT_EQ(h.loop.title(), action.status);
                expectGaugesReset(f);
            } else {
                EXPECT_EQ(f.stSeconds.caption(), lineBefore);
                EXPECT_EQ(h.loop.title(), titleBefore);
                expectGaugesUntouched(f);
            }
            // The last shutdown is noted for a real power off alone, and then
            // in a diagnostic key created for it.
            if (action.control == &ui::TForm1::btPwrOff) {
                EXPECT_EQ(lastShutDown(h), "04.01.2027 07:05:09");
            } else {
                EXPECT_FALSE(h.registry.keyExists(HKCU, diagnosticKey));
            }
            EXPECT_EQ(h.registry.openKeyCount(), 0u);
        }
    }
}

TEST(PowerActions, ForceIsTheCheckMarkAtTheMomentOfThePowerOff) {
    // The option is read when the countdown ends, not when it started.
    ProgramHarness h;
    ui::TForm1& f = h.start("2");
    EXPECT_TRUE(f.cbForcePwrOff.checked());
    h.loop.advance(1000);
    f.cbForcePwrOff.setChecked(false);
    h.loop.advance(1000);
    EXPECT_EQ(h.power.calls, (Calls{"privilege", "exitWindows(8)"}));
    EXPECT_TRUE(lastShutDown(h).has_value());
}

TEST(PowerActions, SimulationModeAnnouncesEachActionWordForWord) {
    struct Announcement {
        const ActionCase& action;
        bool force;
        const char* text;
    };
    const Announcement announcements[] = {
        {actionCases[0], true,
         "Jetzt würde die ExitWindowsEx Prozedur EWX_POWEROFF+EWX_FORCE ausgeführt und LastShutDown notiert!"},
        {actionCases[0], false,
         "Jetzt würde die ExitWindowsEx Prozedur EWX_POWEROFF ausgeführt und LastShutDown notiert!"},
        {actionCases[1], true, "Jetzt würde die ExitWindowsEx Prozedur EWX_REBOOT ausgeführt!"},
        {actionCases[2], true, "Jetzt würde die ExitWindowsEx Prozedur EWX_LOGOFF ausgeführt!"},
        {actionCases[3], true, "Jetzt würde die SetSuspendState Prozedur ausgeführt!"},
        {actionCases[4], true, "Jetzt würde die LockWorkStation Prozedur ausgeführt!"},
    };
    for (const Announcement& a : announcements) {
        SCOPED_TRACE(a.action.button);
        ProgramHarness h;
        h.system.devEnvironment = "Projekt1";
        ui::TForm1& f = startAndTick(h);
        ASSERT_TRUE(f.simulationMode);
        f.cbForcePwrOff.setChecked(a.force);
        const std::string lineBefore = f.stSeconds.caption();
        const std::string titleBefore = h.loop.title();

        click(h, a.action.control);

        ASSERT_EQ(h.loop.boxes().size(), 1u);
        const ShownBox& box = h.loop.boxes()[0];
        EXPECT_EQ(box.kind, Kind::Information);
        EXPECT_EQ(box.text, a.text);
        // The caption is the application title: the status text just shown,
        // or for a lock the title the countdown left.
        EXPECT_EQ(box.caption, a.action.status ? a.action.status : titleBefore.c_str());
        // Privilege and count as for a real action, but no request and no note.
        EXPECT_EQ(h.power.calls, (Calls{"privilege"}));
        EXPECT_EQ(counter(h, a.action.counter), 1);
        EXPECT_FALSE(h.registry.keyExists(HKCU, diagnosticKey));
        EXPECT_TRUE(allActionButtonsDisabled(f));
        if (a.action.status) {
            EXPECT_EQ(f.stSeconds.caption(), a.action.status);
            expectGaugesReset(f);
        } else {
            EXPECT_EQ(f.stSeconds.caption(), lineBefore);
            expectGaugesUntouched(f);
        }
    }
}

TEST(PowerActions, WatchdogEndsTheProgramWhileTheAnnouncementIsOpen) {
    // Before the first tick the watchdog holds the 8000 ms preset of
    // simulation mode and starts with the action.
    {
        ProgramHarness h;
        h.system.devEnvironment = "Projekt1";
        h.start();
        h.loop.advance(50);
        h.loop.scriptAnswer({1, 60000});
        click(h, &ui::TForm1::btNewStart);
        ASSERT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_TRUE(h.loop.terminated());
        EXPECT_EQ(h.loop.terminatedAt(), 50 + 8000);
    }
    // After ticks it keeps the period of the last tick: 3000 ms from there.
    {
        ProgramHarness h;
        h.system.devEnvironment = "Projekt1";
        h.start();
        h.loop.advance(1050);
        h.loop.scriptAnswer({1, 60000});
        click(h, &ui::TForm1::btLock);
        EXPECT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_EQ(h.loop.terminatedAt(), 1000 + 3000);
    }
    // An announcement closed by the user changes nothing: the watchdog still ends the program.
    {
        ProgramHarness h;
        h.system.devEnvironment = "Projekt1";
        h.start();
        h.loop.advance(1050);
        h.loop.scriptAnswer({1, 500});
        click(h, &ui::TForm1::btPwrOff);
        EXPECT_FALSE(h.loop.terminated());
        h.loop.advance(10000);
        EXPECT_EQ(h.loop.terminatedAt(), 1000 + 3000);
        EXPECT_EQ(counter(h, "PwrOffCounter"), 1);
    }
}

// Like every other refusal, a refused lock keeps the window and its warning.
TEST(PowerActions, FailedLockWarnsLeavesLineAndGaugesAndKeepsTheProgramOpen) {
    ProgramHarness h;
    h.power.lockResult = false;
    ui::TForm1& f = startAndTick(h);
    const std::string titleBefore = h.loop.title();
    h.loop.scriptAnswer({1, 60000});
    click(h, &ui::TForm1::btLock);
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    EXPECT_EQ(h.loop.boxes()[0].kind, Kind::Warning);
    EXPECT_EQ(h.loop.boxes()[0].text, "System nicht erfolgreich gesperrt!");
    EXPECT_EQ(h.loop.boxes()[0].caption, "Warnung");
    EXPECT_EQ(h.power.calls, (Calls{"privilege", "lockWorkStation"}));
    EXPECT_EQ(counter(h, "LockCounter"), 1);
    EXPECT_EQ(h.loop.title(), titleBefore);
    expectGaugesUntouched(f);
    h.loop.advance(60000);
    EXPECT_FALSE(h.loop.terminated());
}

// A refused request from a button, or a refused sleep at the end of the
// countdown, stops the watchdog and warns; nothing else is asked of the
// system, the status stays and the program stays open.
TEST(PowerActions, RefusedRequestWarnsAndKeepsTheProgramOpen) {
    const char* const warnings[] = {"ausgeschaltet!", "neu gestartet!", "abgemeldet!",
                                    "in den Tiefschlafzustand versetzt!"};
    for (int i = 0; i < 5; ++i) {
        const int action = std::min(i, 3);
        ProgramHarness h;
        h.power.exitResult = h.power.suspendResult = false;
        ui::TForm1& f = h.start(i == 4 ? "2" : "");
        f.cbHibernateForPwrOff.setChecked(true);
        h.loop.scriptAnswer({1, 5000});
        h.loop.advance(1000);
        if (i < 4) click(h, actionCases[i].control);
        h.loop.advance(60000);
        ASSERT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_EQ(h.loop.boxes()[0].kind, Kind::Warning);
        EXPECT_EQ(h.loop.boxes()[0].text, std::string("System nicht erfolgreich ") + warnings[action]);
        EXPECT_EQ(h.power.calls.size(), 2u);
        EXPECT_EQ(f.stSeconds.caption(), actionCases[action].status);
        EXPECT_FALSE(h.loop.terminated());
    }
}

TEST(PowerActions, SleepRequestMatchesWhatTheSystemOffersAtTheMomentOfTheAction) {
    struct Offer {
        bool hibernate;
        bool suspend;
        const char* caption;
        const char* request;
        const char* refusal;
    };
    const char* const hibernation = "in den Tiefschlafzustand versetzt!";
    const Offer offers[] = {
        {true, true, "In den Tiefschlafzustand", "setSuspendState(1,0,0)", hibernation},
        {true, false, "In den Tiefschlafzustand", "setSuspendState(1,0,0)", hibernation},
        // The button promises suspend, so suspend is asked for and named.
        {false, true, "In den Suspendmodus", "setSuspendState(0,0,0)", "in den Suspendmodus versetzt!"},
        {false, false, "*****", "setSuspendState(1,0,0)", hibernation},
    };
    for (const Offer& offer : offers) {
        SCOPED_TRACE(offer.caption);
        ProgramHarness h;
        h.system.hibernate = offer.hibernate;
        h.system.suspend = offer.suspend;
        ui::TForm1& f = startAndTick(h);
        EXPECT_EQ(f.btHibernate.caption(), offer.caption);
        h.power.suspendResult = false;
        h.loop.scriptAnswer({1, 500});
        click(h, &ui::TForm1::btHibernate);
        EXPECT_EQ(h.power.calls, (Calls{"privilege", offer.request}));
        // A refusal names what was asked for.
        ASSERT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_EQ(h.loop.boxes()[0].text, std::string("System nicht erfolgreich ") + offer.refusal);
    }

    // The end of the countdown on a suspend-only system suspends as well, and
    // the facts are those of the moment of the action, not of start-up.
    {
        ProgramHarness h;
        h.system.hibernate = false;
        h.system.suspend = true;
        ui::TForm1& f = h.start("2");
        f.cbHibernateForPwrOff.setChecked(true);
        h.loop.advance(2000);
        EXPECT_EQ(h.power.calls, (Calls{"privilege", "setSuspendState(0,0,0)"}));
    }
    {
        ProgramHarness h;
        h.start();
        h.loop.advance(500);
        h.system.hibernate = false;
        h.system.suspend = true;
        click(h, &ui::TForm1::btHibernate);
        EXPECT_EQ(h.power.calls, (Calls{"privilege", "setSuspendState(0,0,0)"}));
    }
}

TEST(PowerActions, ActionWhilePausedLeavesTheWatchdogRunningOutFromTheLastTick) {
    // More than a minute left: the last tick armed 5000 ms.
    ProgramHarness h;
    ui::TForm1& f = h.start("120");
    h.loop.advance(100);
    EXPECT_EQ(f.tmExitDelay.interval(), 5000);
    h.loop.user([&] { f.btOops.click(); });
    h.loop.advance(2400);
    click(h, &ui::TForm1::btNewStart);
    EXPECT_EQ(h.power.calls, (Calls{"privilege", "exitWindows(2)"}));
    h.loop.advance(10000);
    EXPECT_EQ(h.loop.terminatedAt(), 100 + 5000);
}

TEST(PowerActions, ActionInTheStoppedStateStartsTheWatchdogWithTheIntervalItHolds) {
    // After ticks: the interval the last tick gave.
    {
        ProgramHarness h;
        ui::TForm1& f = startAndTick(h);
        f.tmCountDown.setEnabled(false);
        f.tmExitDelay.setEnabled(false);
        h.loop.advance(20000);
        ASSERT_FALSE(h.loop.terminated());
        click(h, &ui::TForm1::btPwrOff);
        EXPECT_TRUE(f.tmExitDelay.enabled());
        h.loop.advance(10000);
        EXPECT_EQ(h.loop.terminatedAt(), 21000 + 3000);
    }
    // Before any tick: the preset that start-up gave it.
    {
        ProgramHarness h;
        ui::TForm1& f = h.start();
        f.tmCountDown.setEnabled(false);
        h.loop.advance(7000);
        ASSERT_FALSE(f.tmExitDelay.enabled());
        click(h, &ui::TForm1::btNewStart);
        h.loop.advance(10000);
        EXPECT_EQ(h.loop.terminatedAt(), 7000 + 4000);
        EXPECT_EQ(f.remainingTicks, 55);
    }
}

TEST(PowerActions, CounterStoredAsTextStopsTheActionBeforeItsRequest) {
    for (const ActionCase& action : actionCases) {
        SCOPED_TRACE(action.button);
        ProgramHarness h;
        h.registry.plantText(HKCU, tovikKey, action.counter, "7");
        ui::TForm1& f = startAndTick(h);
        const std::string lineBefore = f.stSeconds.caption();

        click(h, action.control);

        ASSERT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_EQ(h.loop.boxes()[0].kind, Kind::Error);
        EXPECT_EQ(h.loop.boxes()[0].text, "Ungültiger Datentyp für '" + std::string(action.counter) + "'");
        // Steps up to the buttons have run; nothing after the count has.
        EXPECT_EQ(h.power.calls, (Calls{"privilege"}));
        EXPECT_TRUE(allActionButtonsDisabled(f));
        EXPECT_FALSE(f.tmCountDown.enabled());
        EXPECT_EQ(f.stSeconds.caption(), lineBefore);
        expectGaugesUntouched(f);
        EXPECT_FALSE(h.registry.keyExists(HKCU, diagnosticKey));
        EXPECT_EQ(h.registry.text(HKCU, tovikKey, action.counter), "7");
        // The armed watchdog still ends the program.
        h.loop.advance(10000);
        EXPECT_EQ(h.loop.terminatedAt(), 1000 + 3000);
    }
}

TEST(PowerActions, FailedLastShutDownWriteStopsThePowerOffBeforeItsRequest) {
    for (bool keyFails : {false, true}) {
        SCOPED_TRACE(keyFails ? "key does not open" : "value refused");
        ProgramHarness h;
        if (keyFails)
            h.registry.failOpen(HKCU, diagnosticKey);
        else
            h.registry.refuseWrite("LastShutDown");
        ui::TForm1& f = startAndTick(h);

        click(h, &ui::TForm1::btPwrOff);

        ASSERT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_EQ(h.loop.boxes()[0].kind, Kind::Error);
        EXPECT_EQ(h.loop.boxes()[0].text, "Fehler beim Setzen der Daten für 'LastShutDown'");
        // The error box carries the status text as its title.
        EXPECT_EQ(h.loop.boxes()[0].caption, "und tschüss......");
        EXPECT_EQ(h.power.calls, (Calls{"privilege"}));
        EXPECT_EQ(counter(h, "PwrOffCounter"), 1);
        expectGaugesReset(f);
        EXPECT_EQ(h.registry.openKeyCount(), 0u);
        h.loop.advance(10000);
        EXPECT_EQ(h.loop.terminatedAt(), 1000 + 3000);
    }
}

TEST(PowerActions, CodeOutsideOneToFiveOnlyStopsArmsAndDisables) {
    for (unsigned code : {0u, 6u, 255u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(code);
        ProgramHarness h;
        h.system.devEnvironment = "Projekt1";  // no announcement either
        ui::TForm1& f = startAndTick(h);
        const std::string lineBefore = f.stSeconds.caption();
        const std::string titleBefore = h.loop.title();
        h.registry.clearLog();

        h.loop.user([&] { h.program->power.PwrOff(static_cast<PowerAction>(code)); });

        EXPECT_EQ(h.power.calls, (Calls{"privilege"}));
        EXPECT_TRUE(allActionButtonsDisabled(f));
        EXPECT_FALSE(f.tmCountDown.enabled());
        EXPECT_TRUE(f.tmExitDelay.enabled());
        EXPECT_TRUE(h.registry.log().empty());
        EXPECT_TRUE(h.loop.boxes().empty());
        EXPECT_EQ(f.stSeconds.caption(), lineBefore);
        EXPECT_EQ(h.loop.title(), titleBefore);
        expectGaugesUntouched(f);
        h.loop.advance(10000);
        EXPECT_EQ(h.loop.terminatedAt(), 1000 + 3000);
    }
}
