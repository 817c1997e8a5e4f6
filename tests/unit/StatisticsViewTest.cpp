#include <gtest/gtest.h>

#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using tovik::test::ProgramHarness;

namespace {

// The eight texts of the view, in the order they are written.
std::vector<std::string> viewTexts(const ui::TForm1& f) {
    return {f.btOops.caption(),   f.btNewStart.caption(),  f.btPwrOff.caption(),    f.btLogOff.caption(),
            f.btLock.caption(),   f.btTimerOff1.caption(), f.btHibernate.caption(), f.stSeconds.caption()};
}

void doubleClickWindow(ProgramHarness& h) { h.loop.user([&] { h.form().onDblClick(); }); }

bool heightButtonsVisible(const ui::TForm1& f) {
    return f.btFormMinus.visible() && f.btFormPlus.visible() && f.btFormHeight1Store.visible() &&
           f.btFormHeight2Store.visible();
}

}  // namespace

TEST(StatisticsView, FreshProfileShowsOneRunAndZeroEverywhereElse) {
    ProgramHarness h;
    h.system.exePath = "C:\\Users\\Jürgen\\Programme mit langem Namen\\Tovik.exe";
    ui::TForm1& f = h.start();
    EXPECT_FALSE(heightButtonsVisible(f));
    h.loop.advance(200);
    doubleClickWindow(h);
    EXPECT_EQ(f.caption(), "Tovik - Statistics - C:\\Users\\Jürgen\\Programme mit langem Namen\\Tovik.exe");
    EXPECT_EQ(viewTexts(f), (std::vector<std::string>{"Oops_Button = 0   :   OopsResume_Button = 0", "Res_Btn = 0",
                                                       "Pwr_Btn = 0", "Log_Btn = 0", "0", "Tim_Btn = 0",
                                                       "Hib_Btn = 0", "RunCounter = 1   "}));
    // The common start stopped the countdown without counting a pause.
    EXPECT_FALSE(f.tmCountDown.enabled());
    EXPECT_FALSE(f.Gauge1.visible());
    EXPECT_EQ(h.registry.dword(test::HKCU, test::tovikKey, "OopsCounter"), std::nullopt);
    EXPECT_TRUE(heightButtonsVisible(f));
    EXPECT_FALSE(f.cbHibernateForPwrOff.visible());
    for (const ui::Control* c : {static_cast<const ui::Control*>(&f.btRestart),
                                 static_cast<const ui::Control*>(&f.seShutMinutes),
                                 static_cast<const ui::Control*>(&f.stRestartTime),
                                 static_cast<const ui::Control*>(&f.stWatch)})
        EXPECT_TRUE(c->visible()) << c->name();
    // The window keeps its height; nothing powers off or ends the program.
    EXPECT_EQ(f.height(), 315);
    h.loop.advance(20000);
    EXPECT_TRUE(h.power.calls.empty());
    EXPECT_FALSE(h.loop.terminated());
}

TEST(StatisticsView, SeededCountsShowAsWrittenTwiceAlikeCountingNothing) {
    ProgramHarness h;
    h.registry.plantDword(test::HKCU, test::tovikKey, "OopsCounter", 41);
    h.registry.plantDword(test::HKCU, test::tovikKey, "OopsResumeCounter", -7);
    h.registry.plantDword(test::HKCU, test::tovikKey, "LockCounter", 2147483647);
    h.registry.plantDword(test::HKCU, test::tovikKey, "RunCounter", -2147483648);
    ui::TForm1& f = h.start();
    doubleClickWindow(h);
    const auto first = viewTexts(f);
    EXPECT_EQ(first[0], "Oops_Button = 41   :   OopsResume_Button = -7");
    EXPECT_EQ(first[4], "2147483647");
    EXPECT_EQ(first[7], "RunCounter = -2147483647   ");
    h.registry.clearLog();
    doubleClickWindow(h);
    EXPECT_EQ(viewTexts(f), first);
    EXPECT_TRUE(h.registry.writes().empty());
}

TEST(StatisticsView, CounterOfAnotherTypeEndsTheViewAfterTheCaption) {
    ProgramHarness h;
    h.registry.plantText(test::HKCU, test::tovikKey, "HibernateCounter", "3");
    ui::TForm1& f = h.start("300");
    const auto before = viewTexts(f);
    doubleClickWindow(h);
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    EXPECT_EQ(h.loop.boxes()[0].text, "Ungültiger Datentyp für 'HibernateCounter'");
    EXPECT_EQ(f.caption(), "Tovik - Statistics - C:\\Programme\\Tovik\\Tovik.exe");
    EXPECT_EQ(viewTexts(f), before);
    EXPECT_FALSE(heightButtonsVisible(f));
    EXPECT_FALSE(f.tmCountDown.enabled());
}

TEST(StatisticsView, ResetAsksOnlyWhileTheGaugeIsHiddenAndYesZeroesEveryCount) {
    ProgramHarness h;
    h.registry.plantDword(test::HKCU, test::tovikKey, "PwrOffCounter", 12);
    ui::TForm1& f = h.start("300");
    // Gauge1 visible: no offer, but the click of the double-click still ran.
    h.loop.user([&] { f.stSeconds.click(); });
    h.loop.user([&] { f.stSeconds.doubleClick(); });
    EXPECT_TRUE(h.loop.boxes().empty());
    EXPECT_EQ(f.btTimerOff2.caption(), "genau 19:00");

    doubleClickWindow(h);
    h.loop.scriptAnswer({ui::answerNo});
    h.loop.user([&] { f.stSeconds.doubleClick(); });
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    const test::ShownBox& question = h.loop.boxes()[0];
    EXPECT_EQ(question.kind, test::ShownBox::Kind::Question);
    EXPECT_EQ(question.text, "Die Counter wirklich auf Null setzen?");
    EXPECT_EQ(question.caption, "Registry Einträge - Counter");
    EXPECT_EQ(question.flags, 308u);
    EXPECT_EQ(h.registry.dword(test::HKCU, test::tovikKey, "PwrOffCounter"), 12);
    EXPECT_EQ(f.btPwrOff.caption(), "Pwr_Btn = 12");

    h.loop.scriptAnswer({ui::answerYes});
    h.loop.user([&] { f.stSeconds.doubleClick(); });
    for (const char* name : {"RunCounter", "RestartCounter", "PwrOffCounter", "OopsCounter", "OopsResumeCounter",
                             "LogOffCounter", "TimerOffCounter", "HibernateCounter", "LockCounter"})
        EXPECT_EQ(h.registry.dword(test::HKCU, test::tovikKey, name), 0) << name;
    EXPECT_EQ(viewTexts(f), (std::vector<std::string>{"Oops_Button = 0   :   OopsResume_Button = 0", "Res_Btn = 0",
                                                       "Pwr_Btn = 0", "Log_Btn = 0", "0", "Tim_Btn = 0",
                                                       "Hib_Btn = 0", "RunCounter = 0   "}));
}

// ---------------------------------------------------------------- the height buttons

TEST(HeightPresets, ShiftMakesCoarseStepsUntilAKeyIsReleased) {
    ProgramHarness h;
    ui::TForm1& f = h.start("300");
    doubleClickWindow(h);
    h.loop.user([&] { f.previewKeyDown(0x10, ui::ssShift); });
    for (int i = 0; i < 3; ++i) h.loop.user([&] { f.btFormPlus.click(); });
    EXPECT_EQ(f.height(), 330);
    EXPECT_EQ(f.btTimerOff1.caption(), "330");
    EXPECT_TRUE(f.Gauge1.visible());

    ProgramHarness g;
    ui::TForm1& e = g.start("300");
    doubleClickWindow(g);
    g.loop.user([&] { e.previewKeyDown(0x10, ui::ssShift); });
    g.loop.user([&] { e.btFormPlus.click(); });
    g.loop.user([&] { e.btFormPlus.click(); });
    g.loop.user([&] { e.previewKeyUp(0x10, 0); });
    g.loop.user([&] { e.btFormPlus.click(); });
    EXPECT_EQ(e.height(), 326);
    g.loop.user([&] { e.btFormMinus.click(); });
    EXPECT_EQ(e.height(), 325);
    // Another key's key-down without Shift ends the coarse steps too.
    g.loop.user([&] { e.previewKeyDown(0x10, ui::ssShift); });
    g.loop.user([&] { e.previewKeyDown('A', 0); });
    g.loop.user([&] { e.btFormMinus.click(); });
    EXPECT_EQ(e.height(), 324);
}

TEST(HeightPresets, StoreButtonsKeepTheCurrentHeightForTheNextStartOnly) {
    for (int major : {10, 5}) {
        SCOPED_TRACE("major " + std::to_string(major));
        ProgramHarness h;
        h.system.major = major;
        ui::TForm1& f = h.start("300");
        doubleClickWindow(h);
        h.loop.user([&] { f.btFormHeight1Store.click(); });
        const int compact = major > 5 ? 315 : 320;
        EXPECT_EQ(h.registry.dword(test::HKCU, test::tovikKey, "FormHeight1"), compact);
        ASSERT_EQ(h.loop.boxes().size(), 1u);
        EXPECT_EQ(h.loop.boxes()[0].kind, test::ShownBox::Kind::Information);
        EXPECT_EQ(h.loop.boxes()[0].text,
                  "Wert FormHeight1 = " + std::to_string(compact) + " für kleines Formular gespeichert.");
        EXPECT_EQ(f.btTimerOff1.caption(), std::to_string(compact));
        EXPECT_TRUE(f.cbHibernateForPwrOff.enabled());
        EXPECT_FALSE(f.cbHibernateForPwrOff.visible());

        h.loop.user([&] { f.btFormMinus.click(); });
        h.loop.user([&] { f.btFormHeight2Store.click(); });
        EXPECT_EQ(h.registry.dword(test::HKCU, test::tovikKey, "FormHeight2"), compact - 1);
        EXPECT_EQ(h.loop.boxes().back().text,
                  "Wert FormHeight2 = " + std::to_string(compact - 1) + " für grosses Formular gespeichert.");
        // This run keeps the heights it loaded: "Go!" returns to the compact one.
        EXPECT_EQ(f.bigFormHeight, 430);
        h.loop.user([&] { f.btRestart.click(); });
        EXPECT_EQ(f.height(), compact);
    }
}

TEST(HeightPresets, RefusedStoreShowsTheErrorAndNoInformation) {
    ProgramHarness h;
    ui::TForm1& f = h.start("300");
    doubleClickWindow(h);
    h.registry.refuseWrite("FormHeight2");
    h.loop.user([&] { f.btFormHeight2Store.click(); });
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    EXPECT_EQ(h.loop.boxes()[0].kind, test::ShownBox::Kind::Error);
    EXPECT_EQ(h.loop.boxes()[0].text, "Fehler beim Setzen der Daten für 'FormHeight2'");
}
