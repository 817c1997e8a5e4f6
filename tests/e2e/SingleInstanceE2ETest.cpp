// One copy per executable name: a second Tovik.exe ends at once and silently
// with exit code 0, a renamed copy runs beside it, of many copies started at
// the same moment exactly one stays, and once the running copy has gone the
// next start runs. Every way out of the program ends it with exit code 0.
#include <filesystem>

#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

// A copy of the program started by the test itself: any executable, any
// show command, optionally held suspended until resume().
class Copy {
public:
    explicit Copy(const std::wstring& executable, std::wstring_view arguments = L"", bool suspended = false) {
        std::wstring commandLine = L"\"" + executable + L"\"";
        if (!arguments.empty()) commandLine += L" " + std::wstring(arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        const PROCESS_INFORMATION info = createProcess(commandLine, suspended ? CREATE_SUSPENDED : 0, startup);
        process_ = info.hProcess;
        thread_ = info.hThread;
        id_ = info.dwProcessId;
    }
    ~Copy() {
        kill();
        CloseHandle(thread_);
        CloseHandle(process_);
    }
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    DWORD id() const { return id_; }
    void resume() { ResumeThread(thread_); }
    bool running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    bool waitForExit(Millis timeout) { return WaitForSingleObject(process_, DWORD(timeout.count())) == WAIT_OBJECT_0; }
    DWORD exitCode() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_, &code);
        return code;
    }
    Window mainWindow() const { return findTopLevel(id_, L"TForm1", true); }
    Window waitForMainWindow(Millis timeout) const {
        Window found;
        waitUntil([&] { return (found = mainWindow()) || !running(); }, timeout, 5ms);
        return found;
    }
    // Waits for the end and tells whether any window of the copy was
    // visible meanwhile.
    bool waitForExitWatchingWindows(Millis timeout, bool& sawWindow) {
        sawWindow = false;
        const bool ended = waitUntil(
            [&] {
                for (const Window& w : topLevelWindows(id_)) sawWindow = sawWindow || w.visible();
                return !running();
            },
            timeout, 2ms);
        return ended;
    }
    void kill() {
        if (!running()) return;
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }

private:
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD id_ = 0;
};

using SingleInstance = TovikTest;

TEST_F(SingleInstance, SecondStartEndsAtOnceAndTheFirstCountsOnUntouched) {
    ASSERT_TRUE(start(L"100"));
    const auto before = waitForTicksAtMost(995, 5s);
    ASSERT_TRUE(before);
    const auto runs = counter(L"RunCounter");
    ASSERT_TRUE(runs);

    // With a long countdown of its own: should it run, no power action comes near.
    Copy second(tovikExecutable(), L"100");
    bool sawWindow = true;
    ASSERT_TRUE(second.waitForExitWatchingWindows(10s, sawWindow)) << "the second copy did not end";
    EXPECT_EQ(second.exitCode(), 0u);
    EXPECT_FALSE(sawWindow) << "the second copy showed a window";
    EXPECT_EQ(counter(L"RunCounter"), runs) << "the second copy counted a run";

    // The first one goes on where it was, with the same window.
    EXPECT_TRUE(tovik.running());
    EXPECT_EQ(tovik.mainWindow(), main);
    const auto later = waitForTicksAtMost(before->ticks - 10, 3s);
    EXPECT_TRUE(later) << control(ids::stSeconds).text();
    EXPECT_EQ(findMessageBox(tovik.id()).window().handle(), nullptr);
}

TEST_F(SingleInstance, CopyUnderAnotherFileNameRunsBeside) {
    ASSERT_TRUE(start(L"100"));
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path dir = std::filesystem::path(temp) / L"tovik-e2e-renamed";
    std::filesystem::create_directories(dir);
    const std::filesystem::path renamed = dir / L"Tovik2.exe";
    ASSERT_TRUE(CopyFileW(tovikExecutable().c_str(), renamed.c_str(), FALSE)) << GetLastError();
    {
        Copy beside(renamed.wstring(), L"100");
        const Window besideMain = beside.waitForMainWindow(15s);
        EXPECT_TRUE(besideMain) << "Tovik2.exe did not show its window";
        EXPECT_TRUE(beside.running());
        EXPECT_TRUE(tovik.running());
        EXPECT_NE(besideMain, main);

        // Its own guard holds too: a second Tovik2.exe is refused.
        Copy again(renamed.wstring(), L"100");
        ASSERT_TRUE(again.waitForExit(10s));
        EXPECT_EQ(again.exitCode(), 0u);
        EXPECT_TRUE(beside.running());
    }
    std::error_code ignored;
    waitUntil([&] { return std::filesystem::remove_all(dir, ignored) != static_cast<std::uintmax_t>(-1) &&
                           !std::filesystem::exists(dir); },
              5s, 50ms);
}

TEST_F(SingleInstance, OfTwentyCopiesStartedAtOnceExactlyOneRuns) {
    std::vector<std::unique_ptr<Copy>> copies;
    for (int i = 0; i < 20; ++i) copies.push_back(std::make_unique<Copy>(tovikExecutable(), L"100", true));
    for (auto& copy : copies) copy->resume();

    // Every copy but one ends; the one left shows its window.
    const bool settled = waitUntil(
        [&] {
            int alive = 0;
            for (auto& copy : copies) alive += copy->running();
            return alive == 1;
        },
        60s, 50ms);
    int alive = 0, windows = 0;
    for (auto& copy : copies) {
        if (copy->running()) {
            ++alive;
            windows += static_cast<bool>(copy->waitForMainWindow(15s));
        } else {
            EXPECT_EQ(copy->exitCode(), 0u) << "copy " << copy->id();
        }
    }
    EXPECT_TRUE(settled);
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(windows, 1);
    // Still exactly one a moment later.
    sleepFor(500ms);
    alive = 0;
    for (auto& copy : copies) alive += copy->running();
    EXPECT_EQ(alive, 1);
}

TEST_F(SingleInstance, NextStartRunsAfterTheRunningCopyEnded) {
    // Killed: the system gives the guard back.
    ASSERT_TRUE(start(L"100"));
    tovik.kill();
    ASSERT_TRUE(tovik.waitForExit(5s));
    tovik.reset();
    ASSERT_TRUE(start(L"100")) << "no window after the first copy was killed";
    EXPECT_TRUE(tovik.running());

    // Ended by closing its window.
    PostMessageW(main.handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(tovik.waitForExit(10s));
    EXPECT_EQ(tovik.exitCode(), 0u);
    tovik.reset();
    ASSERT_TRUE(start(L"100")) << "no window after the copy before was closed";
    EXPECT_TRUE(tovik.running());
}

TEST_F(SingleInstance, RunsWithoutGuardWhenTheNameBelongsToAnotherObject) {
    // An object of another kind under the instance name: the guard cannot be
    // made, and every copy runs.
    HANDLE foreign = CreateEventW(nullptr, TRUE, FALSE, L"Tovik");
    ASSERT_NE(foreign, nullptr);
    ASSERT_TRUE(start(L"100"));
    Copy second(tovikExecutable(), L"100");
    EXPECT_TRUE(second.waitForMainWindow(15s)) << "the second unguarded copy did not run";
    EXPECT_TRUE(tovik.running());
    second.kill();
    CloseHandle(foreign);
}

// ---------------------------------------------------------------- exit code

using ExitCode = TovikTest;

TEST_F(ExitCode, IsZeroWhenTheWindowIsClosed) {
    ASSERT_TRUE(start(L"100"));
    PostMessageW(main.handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(tovik.waitForExit(10s));
    EXPECT_EQ(tovik.exitCode(), 0u);
}

TEST_F(ExitCode, IsZeroWhenTheApplicationWindowIsClosed) {
    // The close command of the application's own taskbar entry (older systems).
    useWindowsVersion(L"winxp");
    ASSERT_TRUE(start(L"100"));
    PostMessageW(owner().handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(tovik.waitForExit(10s));
    EXPECT_EQ(tovik.exitCode(), 0u);
}

TEST_F(ExitCode, IsZeroWhenTheSessionEnds) {
    ASSERT_TRUE(start(L"100"));
    // As the system does it: every top-level window is asked, then told.
    const auto windows = topLevelWindows(tovik.id());
    for (const Window& w : windows) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(w.handle(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
        EXPECT_NE(answer, 0u) << w.className() << " refused the end of the session";
    }
    for (const Window& w : windows) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(w.handle(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    }
    ASSERT_TRUE(tovik.waitForExit(10s)) << "the program outlived the end of the session";
    EXPECT_EQ(tovik.exitCode(), 0u);
}

}  // namespace
}  // namespace tovik::e2e
