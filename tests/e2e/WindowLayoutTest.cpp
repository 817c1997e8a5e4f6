// The main window's fixed look: its controls at their design places with
// their design texts, what is hidden or disabled at start, the window's own
// frame, and how long its hints stay.
#include "tests/e2e/TovikTest.h"

#include <commctrl.h>

#include "ui/win32/Workspace.h"

namespace tovik::e2e {
namespace {

std::string describe(RECT r) {
    return std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right - r.left) + " x " +
           std::to_string(r.bottom - r.top);
}

bool isHeightButton(int id) {
    return id == ids::btFormPlus || id == ids::btFormMinus || id == ids::btFormHeight1Store ||
           id == ids::btFormHeight2Store;
}

class MainWindowLayout : public TovikTest {
protected:
    void SetUp() override {
        TovikTest::SetUp();
        // A long countdown: nothing ends while the window is looked at.
        ASSERT_TRUE(start(L"300"));
    }
};

TEST_F(MainWindowLayout, EveryControlSitsAtItsDesignPlace) {
    for (const auto& c : designedControls) {
        SCOPED_TRACE(c.name);
        const Window w = control(c.id);
        ASSERT_TRUE(w) << c.name << " (id " << c.id << ") is not a child window of the main window";
        EXPECT_EQ(w.parent(), main);
        EXPECT_EQ(describe(coveredArea(main, c.id)), describe(c.place));
    }
}

TEST_F(MainWindowLayout, HeightButtonsAreHiddenAndEverythingElseShown) {
    for (const auto& c : designedControls) {
        SCOPED_TRACE(c.name);
        const Window w = control(c.id);
        ASSERT_TRUE(w);
        if (isHeightButton(c.id)) {
            EXPECT_FALSE(w.visible()) << c.name << " is shown right after start";
        } else if (c.id == ids::cbHibernateForPwrOff) {
            // Hidden until the user has allowed it once; a fresh profile has not.
            EXPECT_FALSE(w.visible());
        } else {
            EXPECT_TRUE(w.visible()) << c.name << " is hidden";
        }
    }
}

TEST_F(MainWindowLayout, HelpButtonIsDisabledAndTheActionsAreEnabled) {
    EXPECT_FALSE(control(ids::Button1).enabled());
    EXPECT_EQ(control(ids::Button1).text(), "Hilfe");
    for (const auto& b : actionButtons) {
        SCOPED_TRACE(b.name);
        EXPECT_TRUE(control(b.id).enabled());
    }
}

TEST_F(MainWindowLayout, FreshProfileShowsDesignTextsAndDefaultOptions) {
    struct Expected {
        const char* name;
        int id;
        const char* text;
    };
    const Expected texts[] = {
        {"btOops", ids::btOops, "Oops! Das wollte ich noch nicht!"},
        {"btNewStart", ids::btNewStart, "Sofort neu starten"},
        {"btLogOff", ids::btLogOff, "Sofort abmelden,"},
        {"btLock", ids::btLock, "sperren"},
        {"btPwrOff", ids::btPwrOff, "Sofort ausschalten"},
        {"btTimerOff1", ids::btTimerOff1, "Timer aus,"},
        {"btTimerOff2", ids::btTimerOff2, "genau 18:45"},
        // Wine allows hibernation.
        {"btHibernate", ids::btHibernate, "In den Tiefschlafzustand"},
        {"cbHibernateForPwrOff", ids::cbHibernateForPwrOff, "In den Tiefschlafzustand bei CountDown"},
        {"cbForcePwrOff", ids::cbForcePwrOff, "Hängende Prozesse zum Beenden zwingen (FORCE)"},
        {"cbAutoMinimize", ids::cbAutoMinimize, "Automatisch minimieren nach Timer ausschalten 'Go!'"},
        {"btRestart", ids::btRestart, "Go!"},
        {"stRestartTime", ids::stRestartTime, "PowerOff Zeit in Minuten"},
        {"btPlusHour", ids::btPlusHour, "+1 Stunde"},
        {"btMinusHour", ids::btMinusHour, "-1 Stunde"},
        {"btPlusDay", ids::btPlusDay, "+1 Tag"},
        {"btMinusDay", ids::btMinusDay, "-1 Tag"},
        {"btPrefTime1", ids::btPrefTime1, "00:45"},
        {"btPrefTime2", ids::btPrefTime2, "18:45"},
        {"seShutMinutes", ids::seShutMinutes, "15"},
        {"cbOffByTime", ids::cbOffByTime, "Zeit"},
        {"Button1", ids::Button1, "Hilfe"},
    };
    for (const auto& e : texts) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(control(e.id).text(), e.text);
    }
    EXPECT_TRUE(control(ids::cbForcePwrOff).checked());
    EXPECT_TRUE(control(ids::cbAutoMinimize).checked());
    EXPECT_FALSE(control(ids::cbHibernateForPwrOff).checked());
}

TEST_F(MainWindowLayout, WindowStaysOnTopWithFixedSizeAndNoMaximiseBox) {
    EXPECT_TRUE(main.hasExStyle(WS_EX_TOPMOST)) << "not always on top";
    EXPECT_FALSE(main.hasStyle(WS_MAXIMIZEBOX)) << "has a maximise box";
    EXPECT_FALSE(main.hasStyle(WS_THICKFRAME)) << "has a sizing border";
    EXPECT_TRUE(main.hasStyle(WS_MINIMIZEBOX)) << "has no minimise box";
    EXPECT_TRUE(main.hasStyle(WS_SYSMENU)) << "has no system menu";
    EXPECT_TRUE(main.hasStyle(WS_CAPTION)) << "has no caption";

    RECT client{};
    GetClientRect(main.handle(), &client);
    EXPECT_EQ(client.right - client.left, 569);
    EXPECT_EQ(main.outerHeight(), 315) << "outer height on a newer Windows";

    // Dragging the bottom edge is a WM_NCHITTEST question: a fixed frame has no
    // sizing border to grab.
    const RECT outer = main.screenRect();
    DWORD_PTR hit = 0;
    SendMessageTimeoutW(main.handle(), WM_NCHITTEST, 0,
                        MAKELPARAM((outer.left + outer.right) / 2, outer.bottom - 1), SMTO_NORMAL, 5000, &hit);
    EXPECT_NE(hit, DWORD_PTR(HTBOTTOM));
    EXPECT_NE(hit, DWORD_PTR(HTBOTTOMRIGHT));
}

TEST_F(MainWindowLayout, NewerWindowsGiveTheMainWindowTheTaskbarEntry) {
    EXPECT_TRUE(main.hasExStyle(WS_EX_APPWINDOW)) << "the main window has no taskbar entry of its own";
    EXPECT_FALSE(main.hasExStyle(WS_EX_TOOLWINDOW));
    EXPECT_TRUE(owner().hasExStyle(WS_EX_TOOLWINDOW)) << "the application window would show in the taskbar";
}

TEST_F(MainWindowLayout, HintsStayTenSecondsBeforeTheyHideByThemselves) {
    // The one tool tip control of the window: a top-level window of Tovik
    // owned by the main window.
    std::vector<Window> tips;
    for (const Window& w : topLevelWindows(tovik.id()))
        if (w.className() == "tooltips_class32" && w.owner() == main) tips.push_back(w);
    ASSERT_EQ(tips.size(), 1u) << "tool tip controls owned by the main window";

    DWORD_PTR autoPop = 0;
    ASSERT_TRUE(SendMessageTimeoutW(tips[0].handle(), TTM_GETDELAYTIME, TTDT_AUTOPOP, 0, SMTO_NORMAL, 5000, &autoPop))
        << "the tool tip control does not answer";
    EXPECT_EQ(autoPop, DWORD_PTR(10000)) << "ms before a hint hides by itself";
}

// A minimised window's restored place is kept in workspace coordinates: with
// the taskbar at the left or top they lie its size off the screen's, on the
// monitor the place lies on; a tool window's stays in screen coordinates.
TEST(Workspace, ScreenPlaceConvertsToTheWorkAreaOfItsMonitorForAllButToolWindows) {
    const MONITORINFO second{sizeof(MONITORINFO), {1920, 0, 3840, 1080}, {1968, 40, 3840, 1080}, 0};
    const RECT centred{2595, 382, 3165, 697}, expected{2547, 342, 3117, 657};
    const RECT got = win32::ScreenToWorkspace(centred, second, 0);
    EXPECT_TRUE(EqualRect(&got, &expected)) << got.left << "," << got.top;
    const RECT tool = win32::ScreenToWorkspace(centred, second, WS_EX_TOOLWINDOW);
    EXPECT_TRUE(EqualRect(&tool, &centred));
}

}  // namespace
}  // namespace tovik::e2e
