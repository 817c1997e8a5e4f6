// The taskbar arrangement on both kinds of system. Newer systems: the main
// window carries the entry itself (WS_EX_APPWINDOW), the application window
// is a tool window, and a minimise from the system menu or the caption
// button minimises the main window itself and hides the application window.
// Older systems: the application window's entry carries the countdown, and
// minimising the main window minimises the application as a whole.
#include "platform/win32/Win32Platform.h"
#include "tests/e2e/TovikTest.h"
#include "ui/win32/TaskbarButton.h"
#include "ui/win32/Win32Application.h"

namespace tovik::e2e {
namespace {

bool iconic(const Window& w) { return IsIconic(w.handle()) != FALSE; }
bool shown(const Window& w) { return IsWindowVisible(w.handle()) != FALSE; }

bool zeroSize(const Window& w) {
    const RECT r = w.screenRect();
    return r.right == r.left && r.bottom == r.top;
}

// Tovik.exe started the way a shortcut set to "minimised" starts it.
class MinimizedStart {
public:
    MinimizedStart() {
        std::wstring commandLine = L"\"" + tovikExecutable() + L"\" 100";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMINNOACTIVE;
        const PROCESS_INFORMATION info = createProcess(commandLine, 0, startup);
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
    ~MinimizedStart() {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
    MinimizedStart(const MinimizedStart&) = delete;
    MinimizedStart& operator=(const MinimizedStart&) = delete;

    // The main window, shown or not, once the countdown has started in it.
    Window waitForCountingMainWindow(Millis timeout) const {
        Window found;
        waitUntil(
            [&] {
                found = findTopLevel(id_, L"TForm1", false);
                return found && parseSecondsLine(found.child(ids::stSeconds).text());
            },
            timeout, 10ms);
        return found;
    }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// ---------------------------------------------------------------- newer systems

using NewerTaskbar = TovikTest;

TEST_F(NewerTaskbar, MainWindowCarriesTheEntryAndTheApplicationWindowIsAToolWindow) {
    ASSERT_TRUE(start(L"100"));
    const Window app = owner();
    ASSERT_TRUE(app);
    EXPECT_TRUE(main.hasExStyle(WS_EX_APPWINDOW));
    EXPECT_FALSE(main.hasExStyle(WS_EX_TOOLWINDOW));
    EXPECT_TRUE(main.hasExStyle(WS_EX_TOPMOST));
    EXPECT_TRUE(app.hasExStyle(WS_EX_TOOLWINDOW));
    EXPECT_FALSE(app.hasExStyle(WS_EX_APPWINDOW));
    // Shown with the main window, but without any area of its own.
    EXPECT_TRUE(shown(app));
    EXPECT_TRUE(zeroSize(app)) << app.screenRect().right - app.screenRect().left;
}

TEST_F(NewerTaskbar, SystemMenuMinimiseMinimisesTheMainWindowItselfAndHidesTheApplicationWindow) {
    ASSERT_TRUE(start(L"100"));
    const Window app = owner();
    ASSERT_TRUE(shown(app));

    // As the caption button sends it, with the low bits the system may set.
    SendMessageW(main.handle(), WM_SYSCOMMAND, SC_MINIMIZE | 0x2, 0);
    EXPECT_TRUE(iconic(main));
    EXPECT_TRUE(shown(main)) << "the minimised main window lost its own taskbar entry";
    EXPECT_FALSE(shown(app)) << "the application window was not hidden";
    EXPECT_FALSE(iconic(app)) << "the application was minimised as a whole";

    // A click on the taskbar entry restores it; the application window stays hidden.
    SendMessageW(main.handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(iconic(main));
    EXPECT_TRUE(shown(main));
    EXPECT_FALSE(shown(app));
    // The countdown runs on throughout.
    const auto line = waitForTicksAtMost(1000, 2s);
    ASSERT_TRUE(line) << control(ids::stSeconds).text();
    EXPECT_TRUE(waitForTicksAtMost(line->ticks - 3, 2s));
}

TEST_F(NewerTaskbar, OtherSystemCommandsKeepTheApplicationWindow) {
    ASSERT_TRUE(start(L"100"));
    const Window app = owner();
    ASSERT_TRUE(shown(app));
    // Commands without a modal loop of their own; they go to the default
    // procedure and the application window stays.
    SendMessageW(main.handle(), WM_SYSCOMMAND, SC_ARRANGE, 0);
    SendMessageW(main.handle(), WM_SYSCOMMAND, SC_NEXTWINDOW | 0x3, 0);
    EXPECT_TRUE(shown(app));
    EXPECT_FALSE(iconic(main));
    EXPECT_TRUE(shown(main));
    EXPECT_TRUE(tovik.running());
}

TEST_F(NewerTaskbar, MinimisedStartEndsOnTheMainWindowsOwnEntry) {
    MinimizedStart started;
    const Window window = started.waitForCountingMainWindow(15s);
    ASSERT_TRUE(window) << "no counting main window";
    // The application was minimised; its minimise handler brought the main
    // window back and minimised it onto its own entry.
    EXPECT_TRUE(waitUntil([&] { return iconic(window) && shown(window); }, 3s))
        << "iconic " << iconic(window) << ", shown " << shown(window);
}

// The shell refuses its taskbar list at first, as while it is still starting.
struct ShellStartingLate : win32::TaskbarButton {
    using TaskbarButton::TaskbarButton;
    ITaskbarList3* createTaskbarList() override { return ++asked == 1 ? nullptr : TaskbarButton::createTaskbarList(); }
    int asked = 0;
};

TEST(TaskbarButtonPeer, TaskbarListIsAskedForAgainAtEachAnnouncementUntilTheShellGivesIt) {
    win32::Win32Application application(GetModuleHandleW(nullptr));
    win32::Win32SystemInfo system;
    ui::TaskbarProgress progress;
    ShellStartingLate button(system, progress);
    button.listen(application.handle());
    for (int announcement = 0; announcement < 3; ++announcement) button.buttonCreated();
    EXPECT_EQ(button.asked, 2);  // refused, given by Wine's shell, kept
}

// ---------------------------------------------------------------- older systems

class OlderTaskbar : public TovikTest {
protected:
    void SetUp() override {
        TovikTest::SetUp();
        useWindowsVersion(L"winxp");
    }
};

TEST_F(OlderTaskbar, ApplicationWindowIsShownWithTheMainWindowAndCarriesTheCountdown) {
    ASSERT_TRUE(start(L"100"));
    const Window app = owner();
    ASSERT_TRUE(app);
    EXPECT_TRUE(shown(app)) << "the application window, owner of the taskbar entry, is hidden";
    EXPECT_TRUE(zeroSize(app));
    EXPECT_FALSE(app.hasExStyle(WS_EX_TOOLWINDOW));
    EXPECT_FALSE(main.hasExStyle(WS_EX_APPWINDOW));

    TextTimeline entry;
    entry.start(app);
    const auto counting = [&] {
        int seconds = 0;
        for (const auto& e : entry.entries()) seconds += e.text.find(" Sekunden") != std::string::npos;
        return seconds;
    };
    const bool counted = waitUntil([&] { return counting() >= 5; }, 5s);
    const std::string caption = main.text();
    entry.stop();
    EXPECT_TRUE(counted) << entry.describe();
    EXPECT_EQ(caption, "Computer mit einem Click ausschalten");
}

TEST_F(OlderTaskbar, MinimisingTheMainWindowMinimisesTheApplication) {
    ASSERT_TRUE(start(L"100"));
    const Window app = owner();
    ASSERT_TRUE(shown(app));

    SendMessageW(main.handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(waitUntil([&] { return iconic(app); }, 2s)) << "the application window is not minimised";
    EXPECT_TRUE(shown(app)) << "the application's taskbar entry is gone";
    EXPECT_TRUE(waitUntil([&] { return !shown(main); }, 2s)) << "the main window stayed on the screen";
    EXPECT_FALSE(iconic(main)) << "the main window minimised itself";

    // A click on the application's taskbar entry brings everything back.
    SendMessageW(app.handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(waitUntil([&] { return !iconic(app) && shown(main); }, 2s))
        << "application iconic " << iconic(app) << ", main shown " << shown(main);
    EXPECT_FALSE(iconic(main));
    const auto line = waitForTicksAtMost(1000, 2s);
    ASSERT_TRUE(line) << control(ids::stSeconds).text();
    EXPECT_TRUE(waitForTicksAtMost(line->ticks - 3, 2s));
}

TEST_F(OlderTaskbar, MinimisedStartMinimisesTheApplication) {
    MinimizedStart started;
    const Window window = started.waitForCountingMainWindow(15s);
    ASSERT_TRUE(window) << "no counting main window";
    const Window app = window.owner();
    ASSERT_TRUE(app);
    EXPECT_TRUE(waitUntil([&] { return iconic(app) && shown(app) && !shown(window); }, 3s))
        << "application iconic " << iconic(app) << " shown " << shown(app) << ", main shown " << shown(window);
    EXPECT_FALSE(iconic(window));
}

}  // namespace
}  // namespace tovik::e2e
