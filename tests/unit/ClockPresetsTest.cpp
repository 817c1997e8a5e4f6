#include <gtest/gtest.h>

#include <random>

#include "platform/UserError.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/ReferenceReadings.h"
#include "tests/support/SettingsWorld.h"
#include "timer/ClockTime.h"

using namespace tovik;
using tovik::test::ProgramHarness;

namespace {

platform::LocalDateTime at(int hour, int minute, int second, int millisecond = 0) {
    return {2026, 12, 8, hour, minute, second, millisecond};
}

std::string conversionError(const platform::LocalDateTime& now, const std::string& text,
                            const std::string& separator = ":") {
    return test::failureOf([&] { timer::MinutesUntilClockTime(now, text, separator); });
}

std::optional<std::string> storedText(ProgramHarness& h, const std::string& name) {
    return h.registry.text(test::HKCU, test::tovikKey, name);
}

}  // namespace

// ---------------------------------------------------------------- minutes until a clock time

TEST(MinutesUntilClockTime, StepsWholeMinutesUntilWithinAMinuteOfTheTarget) {
    const struct {
        platform::LocalDateTime now;
        const char* target;
        int minutes;
    } cases[] = {
        {at(10, 0, 30), "10:05", 4},      // power off at about 10:04:30
        {at(10, 4, 10), "10:05", 1},      // less than two minutes ahead
        {at(10, 5, 20), "10:05", 1439},   // the current minute: tomorrow
        {at(18, 50, 30), "18:45", 1434},  // earlier than now
        {at(23, 30, 10), "00:00", 30},    // midnight from before it
        {at(0, 0, 30), "00:00", 1440},
        {at(23, 59, 59, 999), "00:00", 1},
        {at(10, 3, 59, 999), "10:05", 1},
        {at(10, 3, 59, 998), "10:05", 1},
        {at(10, 2, 59, 999), "10:05", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(timer::MinutesUntilClockTime(c.now, c.target, ":"), c.minutes)
            << c.target << " from " << c.now.hour << ":" << c.now.minute << ":" << c.now.second << "."
            << c.now.millisecond;
}

TEST(MinutesUntilClockTime, RefusesEverythingButHoursAndMinutesWithTheTextVerbatim) {
    for (const char* bad : {"", "24:00", "23:60", "12:7x", "22:30:15", "24", "22:", "ab:cd", " 9:05", "9:05 ", "123:00",
                            "09-05", "+9:05", "%s:%n", "{}"}) {
        EXPECT_EQ(conversionError(at(12, 0, 0), bad), "'" + std::string(bad) + ":00' ist keine gültige Uhrzeit")
            << "'" << bad << "'";
    }
    // One or two digits each, a colon or the user's own separator.
    EXPECT_EQ(timer::ClockTextToMinuteOfDay("9:5", ":"), 9 * 60 + 5);
    // Hours alone read as their full hour.
    EXPECT_EQ(timer::ClockTextToMinuteOfDay("22", ":"), 22 * 60);
    EXPECT_EQ(timer::ClockTextToMinuteOfDay("09:05", "."), 9 * 60 + 5);
    EXPECT_EQ(timer::ClockTextToMinuteOfDay("09.05", "."), 9 * 60 + 5);
    EXPECT_EQ(timer::ClockTextToMinuteOfDay("09.05", ":"), std::nullopt);
    EXPECT_EQ(timer::ClockTextToMinuteOfDay("23:59", ":"), 23 * 60 + 59);
    EXPECT_EQ(timer::ClockTextToMinuteOfDay("00:00", ":"), 0);
}

TEST(MinutesUntilClockTime, AnyTextEndsInOneToADayOrInTheExactError) {
    std::mt19937 random(1208);
    const std::string alphabet = "0123456789:: .-+xX%sn{}\xc3\xbc";
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, i % 7 == 0 ? 300 : 7)(random);
        for (int j = 0; j < length; ++j) text += alphabet[random() % alphabet.size()];
        const platform::LocalDateTime now = at(int(random() % 24), int(random() % 60), int(random() % 60),
                                               int(random() % 1000));
        const std::optional<int> minuteOfDay = test::ReferenceClockMinuteOfDay(text);
        const bool valid = minuteOfDay.has_value();
        try {
            const int minutes = timer::MinutesUntilClockTime(now, text, ":");
            ASSERT_TRUE(valid) << "'" << text << "' converted";
            ASSERT_GE(minutes, 1);
            ASSERT_LE(minutes, 1440);
            // Within a minute of the target, and no smaller step is.
            const long nowMs = ((now.hour * 60L + now.minute) * 60 + now.second) * 1000 + now.millisecond;
            const long target = *minuteOfDay * 60000L;
            auto span = [&](int k) { return std::labs(target - (nowMs + k * 60000L) % 86400000L); };
            ASSERT_LE(span(minutes), 60000) << text;
            for (int k = 1; k < minutes; ++k) ASSERT_GT(span(k), 60000) << text << " " << k;
        } catch (const UserError& e) {
            ASSERT_FALSE(valid) << "'" << text << "' refused";
            ASSERT_EQ(std::string(e.what()), "'" + text + ":00' ist keine gültige Uhrzeit");
        }
    }
}

// ---------------------------------------------------------------- the combo box

TEST(ClockPresets, ComboOffersItsFortyEightTimesAndAChoicePreparesOnlyTheFirstPreset) {
    ProgramHarness h;
    h.clock.time = at(8, 0, 0);
    ui::TForm1& f = h.start("300");
    const auto& items = f.cbOffByTime.items();
    ASSERT_EQ(items.size(), 48u);
    EXPECT_EQ(items[18], "09:00");
    EXPECT_EQ(items[19], "09:50");
    EXPECT_EQ(items[20], "10:00");
    EXPECT_EQ(items[21], "10:50");
    EXPECT_EQ(items[47], "23:30");
    EXPECT_EQ(f.cbOffByTime.text(), "Zeit");

    h.registry.clearLog();
    h.loop.user([&] { f.cbOffByTime.selectByUser(19); });
    EXPECT_EQ(f.cbOffByTime.text(), "09:50");
    EXPECT_EQ(f.btPrefTime1.caption(), "09:50");
    EXPECT_EQ(f.seShutMinutes.text(), "109");
    EXPECT_EQ(f.stSeconds.caption(), "Power Off um 09:49:00");
    EXPECT_TRUE(h.registry.writes().empty());
    EXPECT_EQ(f.btPrefTime2.caption(), "18:45");
    EXPECT_EQ(f.btTimerOff2.caption(), "genau 18:45");
    EXPECT_FALSE(f.clockTimeMode);
    EXPECT_EQ(f.targetClockTime, "");
    // The grace countdown goes on: a choice starts and stops nothing.
    EXPECT_TRUE(f.tmCountDown.enabled());
}

TEST(ClockPresets, TypedComboTextConvertsAsEmptyAndChangesNothing) {
    ProgramHarness h;
    ui::TForm1& f = h.start("300");
    h.loop.user([&] { f.cbOffByTime.selectByUser(2); });
    const std::string minutes = f.seShutMinutes.text();
    h.loop.user([&] { f.cbOffByTime.typeByUser("01:0"); });
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    EXPECT_EQ(h.loop.boxes()[0].kind, test::ShownBox::Kind::Error);
    EXPECT_EQ(h.loop.boxes()[0].text, "':00' ist keine gültige Uhrzeit");
    EXPECT_EQ(f.cbOffByTime.selectedIndex(), -1);
    EXPECT_EQ(f.seShutMinutes.text(), minutes);
    EXPECT_EQ(f.btPrefTime1.caption(), "01:00");
}

// ---------------------------------------------------------------- the preset buttons

TEST(ClockPresets, GenauDuringTheGraceCountdownStartsTheCountdownToTheSecondPreset) {
    ProgramHarness h;
    h.clock.time = at(18, 0, 30);
    ui::TForm1& f = h.start();
    f.cbAutoMinimize.setChecked(false);
    h.loop.advance(200);
    h.registry.clearLog();
    h.loop.user([&] { f.btTimerOff2.click(); });
    EXPECT_EQ(f.targetClockTime, "18:45");
    EXPECT_EQ(f.seShutMinutes.text(), "44");
    EXPECT_EQ(h.registry.writes(), std::vector<std::string>{"PrefTime2=sz:18:45\\0"});
    EXPECT_TRUE(f.clockTimeMode);
    EXPECT_EQ(f.remainingTicks, 44 * 600);
    EXPECT_TRUE(f.tmCountDown.enabled());
    h.loop.advance(100);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 44,00 Minuten bis... 18:45");
    EXPECT_TRUE(h.power.calls.empty());

    // A later click on a time that is none leaves the countdown's words with
    // the time it aims at.
    f.btPrefTime1.setCaption("24:00");
    h.loop.user([&] { f.btPrefTime1.click(); });
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    h.loop.advance(600);
    EXPECT_EQ(f.targetClockTime, "18:45");
    EXPECT_NE(f.caption().find("um 18:45"), std::string::npos) << f.caption();
}

TEST(ClockPresets, FirstPresetStoresItsCaptionAndStarts) {
    ProgramHarness h;
    h.clock.time = at(23, 30, 10);
    ui::TForm1& f = h.start("300");
    h.loop.user([&] { f.cbOffByTime.selectByUser(0); });
    h.loop.user([&] { f.btPrefTime1.click(); });
    EXPECT_EQ(storedText(h, "PrefTime1"), "00:00");
    EXPECT_EQ(f.remainingTicks, 30 * 600);
    EXPECT_EQ(f.targetClockTime, "00:00");
    EXPECT_EQ(f.caption(), "Tovik - Timer Power Off");
}

TEST(ClockPresets, StoredInvalidPresetReportsTheErrorAndStartsNothing) {
    ProgramHarness h;
    h.registry.plantText(test::HKCU, test::tovikKey, "PrefTime1", "24:00");
    ui::TForm1& f = h.start("300");
    EXPECT_EQ(f.btPrefTime1.caption(), "24:00");
    h.loop.advance(200);
    h.loop.user([&] { f.btPrefTime1.click(); });
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    EXPECT_EQ(h.loop.boxes()[0].text, "'24:00:00' ist keine gültige Uhrzeit");
    EXPECT_EQ(f.targetClockTime, "");
    EXPECT_EQ(f.seShutMinutes.text(), "15");
    EXPECT_FALSE(f.clockTimeMode);
    EXPECT_EQ(f.remainingTicks, 2998);
    EXPECT_EQ(storedText(h, "PrefTime1"), "24:00");
}

TEST(ClockPresets, RefusedWriteStopsBeforeClockTimeModeAndGo) {
    ProgramHarness h;
    h.clock.time = at(18, 0, 30);
    ui::TForm1& f = h.start("300");
    h.registry.refuseWrite("PrefTime2");
    h.loop.advance(200);
    h.loop.user([&] { f.btPrefTime2.click(); });
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    EXPECT_EQ(h.loop.boxes()[0].text, "Fehler beim Setzen der Daten für 'PrefTime2'");
    EXPECT_EQ(f.targetClockTime, "");
    EXPECT_EQ(f.seShutMinutes.text(), "44");
    EXPECT_FALSE(f.clockTimeMode);
    EXPECT_EQ(f.remainingTicks, 2998);
    EXPECT_EQ(f.caption(), "Noch 5,00 Minuten  bis Feierabend ");
}

// ---------------------------------------------------------------- the clock-time start

namespace {

// Shows the window as the toolkit does: the show handler, then the first paint.
void showAndPaint(ProgramHarness& h) {
    h.loop.user([&] { h.form().onShow(); });
    h.loop.user([&] { h.form().onPaint(); });
}

}  // namespace

TEST(ClockTimeStart, CommandLineTimeStoresThePresetStartsAndPaintsTheSentence) {
    ProgramHarness h;
    h.clock.time = at(22, 0, 30);
    ui::TForm1& f = h.start("22:30");
    EXPECT_TRUE(f.clockTimeMode);
    EXPECT_EQ(f.remainingTicks, 0);
    EXPECT_EQ(f.btTimerOff2.caption(), "genau 22:30");
    // Before the window shows, the ticks wait instead of counting below zero.
    h.loop.advance(1000);
    EXPECT_TRUE(h.power.calls.empty());

    const std::uint32_t shown = h.loop.now();
    h.loop.user([&] { f.onShow(); });
    EXPECT_EQ(storedText(h, "PrefTime2"), "22:30");
    EXPECT_EQ(f.targetClockTime, "22:30");
    EXPECT_EQ(f.remainingTicks, 29 * 600);
    EXPECT_EQ(h.registry.dword(test::HKCU, test::tovikKey, "TimerOffCounter"), 1);
    EXPECT_EQ(f.height(), 315);
    // The newer system with the minimise option: minimised onto the taskbar.
    EXPECT_EQ(f.lastShowCommand(), ui::ShowCommand::Minimize);

    h.loop.user([&] { f.onPaint(); });
    EXPECT_EQ(f.btNewStart.caption(), "Computer wird genau");
    EXPECT_EQ(f.btPwrOff.caption(), "um 22:30 Uhr");
    EXPECT_EQ(f.btHibernate.caption(), "runter gefahren");
    EXPECT_EQ(f.btNewStart.hint(), "Achtung, Button für Neustrat ist noch aktiv!");
    EXPECT_EQ(f.btPwrOff.hint(), "Achtung, Button für PowerOff ist noch aktiv!");
    EXPECT_EQ(f.btHibernate.hint(), "Achtung, Button für Tiefschlaf ist noch aktiv!");
    for (const ui::Button* b : {&f.btTimerOff1, &f.btTimerOff2, &f.btLogOff, &f.btLock})
        EXPECT_FALSE(b->enabled()) << b->name();
    EXPECT_TRUE(f.btPwrOff.enabled());
    // The first paint held the window for five seconds while the countdown ran on.
    EXPECT_EQ(h.loop.now() - shown, 5000u);
    EXPECT_FALSE(f.firstPaintPause);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 28,92 Minuten bis... 22:30");

    // Later paints rewrite the texts but never pause again.
    const std::uint32_t before = h.loop.now();
    h.loop.user([&] { f.onPaint(); });
    EXPECT_EQ(h.loop.now(), before);
}

TEST(ClockTimeStart, PaintDuringThePauseRewritesTheTextsWithoutPausingAgain) {
    ProgramHarness h;
    h.clock.time = at(22, 0, 30);
    ui::TForm1& f = h.start("22:30");
    h.loop.user([&] { f.onShow(); });
    // A paint that falls due during the pause, as a timer of the loop.
    ui::Timer repaint("repaint", 1000, true);
    int paints = 0;
    repaint.onTimer = [&] {
        ++paints;
        f.btPwrOff.setCaption("");
        f.onPaint();
        repaint.setEnabled(false);
    };
    repaint.attachHost(&h.loop);
    const std::uint32_t start = h.loop.now();
    h.loop.user([&] { f.onPaint(); });
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(f.btPwrOff.caption(), "um 22:30 Uhr");
    EXPECT_EQ(h.loop.now() - start, 5000u);
}

TEST(ClockTimeStart, InvalidCommandLineTimeShowsTheErrorAndStaysInTheTimerLayout) {
    ProgramHarness h;
    ui::TForm1& f = h.start("12:7x");
    showAndPaint(h);
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    EXPECT_EQ(h.loop.boxes()[0].text, "'12:7x:00' ist keine gültige Uhrzeit");
    EXPECT_EQ(f.height(), 430);
    EXPECT_FALSE(f.tmCountDown.enabled());
    EXPECT_EQ(f.btPwrOff.caption(), "um 12:7x Uhr");
    EXPECT_EQ(storedText(h, "PrefTime2"), "18:45");
    h.loop.advance(20000);
    EXPECT_TRUE(h.power.calls.empty());
    EXPECT_FALSE(h.loop.terminated());

    // "Go!" without a time: the countdown's texts name none.
    h.loop.user([&] { f.btRestart.click(); });
    h.loop.advance(100);
    EXPECT_EQ(f.stSeconds.caption(), "Noch 15,00 Minuten bis...");
    h.loop.user([&] { f.seShutMinutes.setValue(1); f.btRestart.click(); });
    h.loop.advance(100);
    EXPECT_EQ(f.stSeconds.caption().find(" um "), std::string::npos) << f.stSeconds.caption();
}

TEST(ClockTimeStart, PresetLaterInTheRunPaintsTheLiveTargetTime) {
    ProgramHarness h;
    h.clock.time = at(22, 0, 30);
    ui::TForm1& f = h.start("300");
    f.cbAutoMinimize.setChecked(false);
    showAndPaint(h);
    EXPECT_EQ(f.btPwrOff.caption(), "Sofort ausschalten");
    h.loop.user([&] { f.btTimerOff2.click(); });  // 18:45 tomorrow
    h.loop.user([&] { f.onPaint(); });
    EXPECT_EQ(f.btPwrOff.caption(), "um 18:44:30 Uhr");
    EXPECT_EQ(f.btNewStart.caption(), "Computer wird genau");
    // Ten minutes on, the sentence still names the moment the countdown ends at.
    h.loop.advance(10 * 60000);
    h.clock.time = at(22, 10, 30);
    h.loop.user([&] { f.onPaint(); });
    EXPECT_EQ(f.btPwrOff.caption(), "um 18:44:30 Uhr");
    // Stopped by "Oops!", it names the moment it last aimed at.
    h.loop.user([&] { f.btOops.click(); });
    h.clock.time = at(22, 20, 30);
    h.loop.user([&] { f.onPaint(); });
    EXPECT_EQ(f.btPwrOff.caption(), "um 18:44:30 Uhr");

    // Started with a time, then another preset: the sentence follows the new one.
    ProgramHarness g;
    g.clock.time = at(22, 0, 30);
    ui::TForm1& e = g.start("22:30");
    showAndPaint(g);
    // A preset click that fails starts nothing, and the sentence stays.
    e.btPrefTime1.setCaption("24:00");
    g.loop.user([&] { e.btPrefTime1.click(); });
    g.loop.user([&] { e.onPaint(); });
    EXPECT_EQ(e.btPwrOff.caption(), "um 22:30 Uhr");
    g.registry.plantText(test::HKCU, test::tovikKey, "PrefTime1", "23:00");
    e.btPrefTime1.setCaption("23:00");
    g.loop.user([&] { e.btPrefTime1.click(); });
    g.loop.user([&] { e.onPaint(); });
    EXPECT_EQ(e.btPwrOff.caption(), "um 22:59:30 Uhr");
}
