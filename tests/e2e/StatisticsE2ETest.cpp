// The statistics view: a double-click on an empty part of the window shows
// the nine usage counts on the window's own buttons, a double-click on the
// blue line offers to reset them, and the height buttons it brings store
// the window's heights for the next start.
#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

class Statistics : public TovikTest {
protected:
    void seed(const wchar_t* name, DWORD value) { reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, name, value); }

    // A double-click on the frame of the lower gauge, beside the blue line:
    // the window's own background.
    void openStatistics() {
        // A click into a window that is not yet in front may only activate it.
        ASSERT_TRUE(bringToForeground(main));
        doubleClickAt(main, 14, 260);
        ASSERT_EQ(waitForText(main, [](const std::string& t) { return t.rfind("Tovik - Statistics - ", 0) == 0; }, 3s)
                      .rfind("Tovik - Statistics - ", 0),
                  0u)
            << main.text();
    }

    std::string text(int id) const { return control(id).text(); }
};

TEST_F(Statistics, DoubleClickOnTheWindowShowsTheNineCountsAndTheProgramPath) {
    seed(L"RunCounter", 6);
    seed(L"RestartCounter", 2);
    seed(L"PwrOffCounter", 41);
    seed(L"OopsCounter", 3);
    seed(L"OopsResumeCounter", static_cast<DWORD>(-7));
    seed(L"LogOffCounter", 5);
    seed(L"TimerOffCounter", 8);
    seed(L"HibernateCounter", 9);
    seed(L"LockCounter", 2147483647);
    ASSERT_TRUE(start(L"300"));
    openStatistics();
    EXPECT_EQ(main.text(), "Tovik - Statistics - " + utf8(tovikExecutable()));
    EXPECT_EQ(text(ids::btOops), "Oops_Button = 3   :   OopsResume_Button = -7");
    EXPECT_EQ(text(ids::btNewStart), "Res_Btn = 2");
    EXPECT_EQ(text(ids::btPwrOff), "Pwr_Btn = 41");
    EXPECT_EQ(text(ids::btLogOff), "Log_Btn = 5");
    EXPECT_EQ(text(ids::btLock), "2147483647");
    EXPECT_EQ(text(ids::btTimerOff1), "Tim_Btn = 8");
    EXPECT_EQ(text(ids::btHibernate), "Hib_Btn = 9");
    EXPECT_EQ(text(ids::stSeconds), "RunCounter = 7   ");
    for (int id : {ids::btFormPlus, ids::btFormMinus, ids::btFormHeight1Store, ids::btFormHeight2Store})
        EXPECT_TRUE(control(id).visible()) << id;
    // The countdown stopped and counted no pause.
    sleepFor(1200ms);
    EXPECT_EQ(text(ids::stSeconds), "RunCounter = 7   ");
    EXPECT_EQ(counter(L"OopsCounter"), std::optional<DWORD>(3));
    EXPECT_TRUE(tovik.running());
}

TEST_F(Statistics, ResetQuestionAndYesWriteEveryCountAsZero) {
    seed(L"PwrOffCounter", 12);
    ASSERT_TRUE(start(L"300"));
    openStatistics();
    doubleClick(control(ids::stSeconds));
    const MessageBoxView box = tovik.waitForMessageBox(5s);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.caption(), "Registry Einträge - Counter");
    EXPECT_EQ(box.text(), "Die Counter wirklich auf Null setzen?");
    EXPECT_EQ(box.icon(), IconKind::Warning) << toString(box.icon());
    const auto buttons = box.buttons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].text, "&Ja");
    EXPECT_EQ(buttons[1].text, "&Nein");
    EXPECT_TRUE(buttons[1].isDefault) << "No is not the default button";
    box.answer(IDYES);

    for (const wchar_t* name : {L"RunCounter", L"RestartCounter", L"PwrOffCounter", L"OopsCounter",
                                L"OopsResumeCounter", L"LogOffCounter", L"TimerOffCounter", L"HibernateCounter",
                                L"LockCounter"})
        EXPECT_TRUE(waitUntil([&] { return counter(name) == std::optional<DWORD>(0); }, 2s)) << utf8(name);
    EXPECT_EQ(waitForText(control(ids::btPwrOff), [](const std::string& t) { return t == "Pwr_Btn = 0"; }, 2s),
              "Pwr_Btn = 0");
    EXPECT_EQ(text(ids::stSeconds), "RunCounter = 0   ");
    EXPECT_EQ(text(ids::btLock), "0");
}

TEST_F(Statistics, ShiftedHeightStepsStoredAsTheBigHeightOpenTheNextTimerLayout) {
    ASSERT_TRUE(start(L"300"));
    openStatistics();
    const int before = main.outerHeight();
    bringToForeground(main);
    keyDown(VK_SHIFT);
    for (int i = 0; i < 3; ++i) click(control(ids::btFormPlus));
    keyUp(VK_SHIFT);
    EXPECT_TRUE(waitUntil([&] { return main.outerHeight() == before + 15; }, 2s)) << main.outerHeight();
    EXPECT_EQ(text(ids::btTimerOff1), std::to_string(before + 15));
    click(control(ids::btFormMinus));
    const int stored = before + 14;
    EXPECT_TRUE(waitUntil([&] { return main.outerHeight() == stored; }, 2s)) << main.outerHeight();

    click(control(ids::btFormHeight2Store));
    const MessageBoxView box = tovik.waitForMessageBox(5s);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text(), "Wert FormHeight2 = " + std::to_string(stored) + " für grosses Formular gespeichert.");
    box.answer(IDOK);
    EXPECT_EQ(reg::getDword(HKEY_CURRENT_USER, reg::settingsKey, L"FormHeight2"), std::optional<DWORD>(stored));
    tovik.kill();
    tovik.waitForExit(5s);

    tovik.reset();
    ASSERT_TRUE(start(L"300"));
    EXPECT_EQ(main.outerHeight(), 315);
    click(control(ids::btTimerOff1));
    EXPECT_TRUE(waitUntil([&] { return main.outerHeight() == stored; }, 2s)) << main.outerHeight();
}

}  // namespace
}  // namespace tovik::e2e
