#include <gtest/gtest.h>

#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using tovik::test::ProgramHarness;

namespace {

struct Row {
    const char* argument;
    int ticks;
};

}  // namespace

TEST(RunModes, SecondsArgumentsFollowTheRuntimeIntegerSyntaxAndAreClamped) {
    const Row rows[] = {
        {"30", 300},     {"0", 20},        {"-5", 20},    {"1", 20},    {"2", 20},    {"3600", 36000},
        {"3601", 36000}, {"2147483647", 36000},           {"2147483648", 50},         {"-2147483648", 20},
        {"-2147483649", 50},             {"10s", 50},     {"1:30", 50}, {"$10", 160}, {"0x10", 160},
        {"0X10", 160},   {"x10", 160},     {"X1f", 310},  {" 12", 120}, {"+7", 70},   {"rr", 50},
        {"2230", 22300}, {"22.30", 50},    {"$", 50},     {"0x", 50},   {"-", 50},    {"12 ", 50},
        {"$7FFFFFFF", 36000},            {"$80000000", 50},           {"-$10", 20},  {"dd", 50},
    };
    for (const Row& row : rows) {
        ProgramHarness h;
        ui::TForm1& f = h.start(row.argument);
        EXPECT_EQ(f.remainingTicks, row.ticks) << "argument '" << row.argument << "'";
        EXPECT_EQ(f.tmExitDelay.interval(), 4000) << row.argument;
        EXPECT_FALSE(f.tmExitDelay.enabled()) << row.argument;
        EXPECT_FALSE(f.restartMode || f.clockTimeMode || f.simulationMode) << row.argument;
        EXPECT_TRUE(h.loop.boxes().empty()) << row.argument;
    }
}

TEST(RunModes, NoArgumentCountsDownFiveAndAHalfSecondsWithFullGauges) {
    ProgramHarness h;
    ui::TForm1& f = h.start();
    EXPECT_EQ(f.remainingTicks, 55);
    EXPECT_EQ(f.tmExitDelay.interval(), 4000);
    for (ui::Gauge* g : {&f.Gauge1, &f.Gauge2}) {
        EXPECT_EQ(g->minValue(), 0);
        EXPECT_EQ(g->maxValue(), 55);
        EXPECT_EQ(g->progress(), 55);
    }
    EXPECT_TRUE(f.tmCountDown.enabled());
    EXPECT_TRUE(f.tmClock.enabled());
    EXPECT_EQ(h.loop.hintHidePause(), 10000);
    for (ui::Button* b : {&f.btFormMinus, &f.btFormPlus, &f.btFormHeight1Store, &f.btFormHeight2Store})
        EXPECT_FALSE(b->visible()) << b->name();
    EXPECT_FALSE(f.Button1.enabled());
    EXPECT_EQ(f.height(), 315);
    // The first tick comes 100 ms after creation.
    h.loop.advance(99);
    EXPECT_EQ(f.remainingTicks, 55);
    h.loop.advance(1);
    EXPECT_EQ(f.remainingTicks, 54);
}

TEST(RunModes, RestartArgumentGivesTwentySecondsEndingInRestart) {
    for (const char* argument : {"r", "R"}) {
        ProgramHarness h;
        ui::TForm1& f = h.start(argument);
        EXPECT_EQ(f.remainingTicks, 200);
        EXPECT_TRUE(f.restartMode);
        h.loop.advance(100);
        EXPECT_EQ(f.stSeconds.caption(), "Noch 19,9s bis Neustart ");
    }
}

TEST(RunModes, ClockTimeArgumentSetsFlagsAndCaptionsButNoLength) {
    ProgramHarness h;
    ui::TForm1& f = h.start("22:30");
    EXPECT_TRUE(f.clockTimeMode);
    EXPECT_TRUE(f.firstPaintPause);
    EXPECT_EQ(f.btPrefTime2.caption(), "22:30");
    EXPECT_EQ(f.btTimerOff2.caption(), "genau 22:30");
    EXPECT_EQ(f.remainingTicks, 0);
    // Without a length the ticks wait: nothing counts below zero, nothing ends.
    h.loop.advance(10000);
    EXPECT_EQ(f.remainingTicks, 0);
    EXPECT_FALSE(h.loop.terminated());
    EXPECT_TRUE(f.btPwrOff.enabled());
}

TEST(RunModes, ClockTimeNeedsExactlyFiveCharactersWithTheColonThird) {
    for (const char* argument : {"2:30", "22:300", "223:0", "ab:cd", "12:7x", "ä1:23"}) {
        ProgramHarness h;
        ui::TForm1& f = h.start(argument);
        const bool expected = std::string(argument) == "ab:cd" || std::string(argument) == "12:7x" ||
                              std::string(argument) == "ä1:23";
        EXPECT_EQ(f.clockTimeMode, expected) << argument;
    }
}

TEST(RunModes, SimulationReplacesTheLengthAndWatchdogPreset) {
    for (const char* argument : {"", "30", "r", "x", "22:30"}) {
        ProgramHarness h;
        h.system.devEnvironment = "Projekt1";
        ui::TForm1& f = h.start(argument);
        EXPECT_TRUE(f.simulationMode) << argument;
        EXPECT_EQ(f.remainingTicks, 150) << argument;
        EXPECT_EQ(f.tmExitDelay.interval(), 8000) << argument;
        EXPECT_EQ(f.restartMode, std::string(argument) == "r") << argument;
    }
}

TEST(RunModes, RefusedDWithoutDevEnvironmentAnnouncesAndTerminatesAfterFullStartUp) {
    for (const char* argument : {"d", "D"}) {
        ProgramHarness h;
        ui::TForm1& f = h.start(argument);
        ASSERT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_EQ(h.loop.boxes()[0].text, "Parameter D ist nicht mehr unterstützt. Prgramm wird beendet.");
        EXPECT_EQ(h.loop.boxes()[0].kind, test::ShownBox::Kind::Information);
        EXPECT_TRUE(h.loop.terminated());
        // The remaining steps still ran: the argument read as no number.
        EXPECT_EQ(f.remainingTicks, 50);
        EXPECT_TRUE(f.tmCountDown.enabled());
        EXPECT_FALSE(f.btFormPlus.visible());
    }
}

TEST(RunModes, RefusedDWithDevEnvironmentNamesItAndSimulates) {
    ProgramHarness h;
    h.system.devEnvironment = "Projekt1 - Werkbank";
    ui::TForm1& f = h.start("d");
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    EXPECT_EQ(h.loop.boxes()[0].text, "Projekt1 - Werkbank is running. Parameter D ist nicht mehr unterstützt");
    EXPECT_FALSE(h.loop.terminated());
    EXPECT_TRUE(f.simulationMode);
    EXPECT_EQ(f.remainingTicks, 150);
}

TEST(RunModes, HibernateActionIsNamedAfterWhatTheSystemOffers) {
    struct Case {
        bool hibernate, suspend;
        const char* button;
        const char* box;
        bool boxEnabled;
    } cases[] = {
        {true, true, "In den Tiefschlafzustand", "In den Tiefschlafzustand bei CountDown", true},
        {false, true, "In den Suspendmodus", "In den Suspendmodus bei CountDown", true},
        {false, false, "*****", "*****", false},
    };
    for (const Case& c : cases) {
        ProgramHarness h;
        h.system.hibernate = c.hibernate;
        h.system.suspend = c.suspend;
        ui::TForm1& f = h.start();
        EXPECT_EQ(f.btHibernate.caption(), c.button);
        EXPECT_EQ(f.cbHibernateForPwrOff.caption(), c.box);
        EXPECT_EQ(f.cbHibernateForPwrOff.enabled(), c.boxEnabled);
        EXPECT_TRUE(f.btHibernate.enabled());
    }
}

TEST(RunModes, OlderSystemsGetTheTallerSmallHeightAndNoMinimiseHandler) {
    ProgramHarness older;
    older.system.major = 5;
    EXPECT_EQ(older.start().height(), 320);
    EXPECT_FALSE(older.loop.onMinimize);
    ProgramHarness newer;
    EXPECT_EQ(newer.start().height(), 315);
    EXPECT_TRUE(newer.loop.onMinimize);
}

// A wrongly typed owner name or second height ends start-up at its step: the
// error shows, and nothing after it runs: no gauges set to the run's length,
// no RunCounter, no countdown, and the height buttons are not hidden.
TEST(RunModes, WronglyTypedOwnerOrHeightStopsStartUpBeforeTheGaugesAndTheCountdown) {
    using test::HKCU;
    using test::tovikKey;
    struct Case {
        const char* value;
        platform::RegistryValue planted;
        const char* error;
    } cases[] = {
        {"DisplayedOwner", {platform::regtype::Dword, std::string("\1\0\0\0", 4)},
         "Ungültiger Datentyp für 'DisplayedOwner'"},
        {"FormHeight2", {platform::regtype::Sz, std::string("430\0", 4)}, "Ungültiger Datentyp für 'FormHeight2'"},
    };
    // The gauges as designed, which differ from the 300 ticks of the run.
    const ui::TForm1 design;
    ASSERT_NE(design.Gauge1.maxValue(), 300);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ProgramHarness h;
        h.registry.plantText(HKCU, tovikKey, "DisplayedOwner", "Anna Beispiel");
        h.registry.plantValue(HKCU, tovikKey, c.value, c.planted);
        ui::TForm1& f = h.start("30");

        ASSERT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_EQ(h.loop.boxes()[0].kind, test::ShownBox::Kind::Error);
        EXPECT_EQ(h.loop.boxes()[0].text, c.error);
        EXPECT_EQ(h.loop.boxes()[0].caption, h.loop.title());
        // The steps before ran: the run's length is known, and the height
        // fails only after the owner was read.
        EXPECT_EQ(f.remainingTicks, 300);
        if (std::string(c.value) == "FormHeight2") {
            EXPECT_EQ(f.displayedOwner, "Anna Beispiel");
        }

        for (const ui::Gauge* g : {&f.Gauge1, &f.Gauge2}) {
            EXPECT_EQ(g->maxValue(), design.Gauge1.maxValue()) << g->name();
            EXPECT_EQ(g->progress(), design.Gauge1.progress()) << g->name();
        }
        EXPECT_FALSE(h.registry.value(HKCU, tovikKey, "RunCounter"));
        for (const ui::Button* b : {&f.btFormPlus, &f.btFormMinus, &f.btFormHeight1Store, &f.btFormHeight2Store})
            EXPECT_TRUE(b->visible()) << b->name();

        EXPECT_FALSE(f.tmCountDown.enabled());
        h.loop.advance(60000);
        EXPECT_EQ(f.remainingTicks, 300);
        EXPECT_FALSE(f.tmExitDelay.enabled());
        EXPECT_FALSE(h.loop.terminated());
        EXPECT_TRUE(h.power.calls.empty());
        EXPECT_EQ(h.loop.boxes().size(), 1u);
    }
}
