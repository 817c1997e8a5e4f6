#pragma once
// End-to-end driver: starts the real Tovik.exe, finds its windows and controls,
// reads what a user would see, and acts as a user would (mouse and keyboard).
// Runs in the same Wine prefix as Tovik.exe, so it shares its registry,
// desktop and input queue.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tovik::e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// ---------------------------------------------------------------- text, time

std::string utf8(std::wstring_view text);
std::wstring wide(std::string_view text);

// Seconds on the performance counter; only differences are meaningful.
double now();
void sleepFor(Millis duration);

// ---------------------------------------------------------------- windows

enum class IconKind { None, Information, Warning, Error, Question, Unknown };
const char* toString(IconKind kind);

// A window of any process, seen from outside.
class Window {
public:
    Window() = default;
    explicit Window(HWND handle) : handle_(handle) {}

    HWND handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && IsWindow(handle_); }
    bool operator==(const Window& other) const { return handle_ == other.handle_; }

    // The text as the window's own procedure answers WM_GETTEXT.
    std::string text() const;
    std::string className() const;
    int id() const;
    DWORD processId() const;
    // Visible itself and all its parents.
    bool visible() const;
    bool enabled() const;
    // BM_GETCHECK: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    LRESULT checkState() const;
    bool checked() const { return checkState() == BST_CHECKED; }
    LONG_PTR style() const;
    LONG_PTR exStyle() const;
    bool hasStyle(LONG_PTR bits) const { return (style() & bits) == bits; }
    bool hasExStyle(LONG_PTR bits) const { return (exStyle() & bits) == bits; }
    // Outer rectangle on the screen.
    RECT screenRect() const;
    int outerHeight() const;
    // Outer rectangle in the client coordinates of the parent (for a child).
    RECT rectInParent() const;
    // Client rectangle on the screen.
    RECT clientScreenRect() const;

    Window owner() const;
    Window parent() const;
    Window child(int controlId) const;
    std::vector<Window> children() const;

private:
    HWND handle_ = nullptr;
};

// Every top-level window of a process, visible or not.
std::vector<Window> topLevelWindows(DWORD processId);
// The first top-level window of that process and class; visibleOnly skips hidden ones.
Window findTopLevel(DWORD processId, std::wstring_view className, bool visibleOnly);

// Colour of one pixel of a window's client area as it is on the screen.
COLORREF screenPixel(const Window& window, int clientX, int clientY);
// Pixels of a client-area rectangle as they are on the screen, row by row.
std::vector<COLORREF> captureClient(const Window& window, RECT area);

// ---------------------------------------------------------------- gauges

// One row of pixels through a gauge's visible frame, classified by colour.
struct GaugeScan {
    int total = 0;
    int bar = 0;         // pure blue, from the left
    int background = 0;  // sky blue
    int red = 0;
    int other = 0;
    int firstNonBar = -1;  // index of the first pixel after the bar run
    std::vector<COLORREF> pixels;
    // Share of the frame's width that the bar covers (0..1).
    double barShare() const { return total ? double(bar) / total : 0.0; }
    // The gauge is drawn: nearly the whole row is bar, background or red.
    bool shown() const { return total && (bar + background + red) * 10 >= total * 9; }
    std::string describe() const;
};

constexpr COLORREF gaugeBar = RGB(0, 0, 255);
constexpr COLORREF gaugeBackground = RGB(0xA6, 0xCA, 0xF0);
constexpr COLORREF gaugeRed = RGB(255, 0, 0);

// Scans the horizontal strip of the gauge above the control it frames.
// gauge and inner are in the main window's client coordinates.
GaugeScan scanGauge(const Window& mainWindow, RECT gauge, RECT inner);

// ---------------------------------------------------------------- input

// Brings a top-level window to the foreground so that keys reach it.
bool bringToForeground(const Window& topLevel);

enum Modifier : unsigned { NoModifier = 0, Shift = 1, Alt = 2, Ctrl = 4 };

// Real input, as the system delivers a user's mouse and keyboard.
void click(const Window& control);
void doubleClick(const Window& control);
void clickAt(const Window& window, int clientX, int clientY);
void doubleClickAt(const Window& window, int clientX, int clientY);
// Presses the left button there, keeps it down for the duration, releases it.
void holdMouseAt(const Window& window, int clientX, int clientY, Millis duration);
// One key press (down and up) with the given modifiers held.
void pressKey(WORD virtualKey, unsigned modifiers = NoModifier);
// A key held down, and released again.
void keyDown(WORD virtualKey);
void keyUp(WORD virtualKey);
// Digits and letters, one key press each.
void typeText(std::string_view text);

// ---------------------------------------------------------------- message boxes

struct MessageBoxButton {
    int id = 0;
    std::string text;
    bool isDefault = false;
};

// A modal message box (dialog class #32770) of the program.
class MessageBoxView {
public:
    MessageBoxView() = default;
    explicit MessageBoxView(Window box) : box_(box) {}
    explicit operator bool() const { return static_cast<bool>(box_); }
    const Window& window() const { return box_; }

    std::string caption() const { return box_.text(); }
    std::string text() const;
    std::vector<MessageBoxButton> buttons() const;
    std::vector<std::string> buttonTexts() const;
    IconKind icon() const;
    // Clicks the button with that id (IDOK, IDYES, IDNO...).
    void answer(int buttonId) const;

private:
    Window box_;
};

// Open message boxes of a process.
MessageBoxView findMessageBox(DWORD processId);

// ---------------------------------------------------------------- polling

// Polls until the condition holds or the time is up; true when it held.
template <class Condition>
bool waitUntil(Condition condition, Millis timeout, Millis interval = 10ms) {
    const double deadline = now() + timeout.count() / 1000.0;
    for (;;) {
        if (condition()) return true;
        if (now() >= deadline) return false;
        sleepFor(interval);
    }
}

// Records every change of a window's text with the time it was first seen.
class TextTimeline {
public:
    struct Entry {
        double time;
        std::string text;
    };
    TextTimeline() = default;
    TextTimeline(const TextTimeline&) = delete;
    TextTimeline& operator=(const TextTimeline&) = delete;
    ~TextTimeline() { stop(); }

    void start(Window window, Millis interval = 5ms);
    void stop();
    std::vector<Entry> entries() const;
    // Time of the last change seen so far (or of the first reading).
    std::optional<Entry> last() const;
    std::string describe() const;

private:
    void run(Window window, Millis interval);
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    std::thread thread_;
    bool stop_ = false;
};

// ---------------------------------------------------------------- processes

// Starts a process; throws with the system's error when it cannot. Retries
// the start that Wine refuses now and then. `startedAt`, when given, gets the
// time of the attempt that succeeded.
PROCESS_INFORMATION createProcess(std::wstring commandLine, DWORD flags, STARTUPINFOW startup,
                                  double* startedAt = nullptr);

// The Tovik.exe beside this driver.
std::wstring tovikExecutable();

// Ends every still running Tovik.exe of this prefix that was started from
// that executable (a leftover of an earlier, failed test).
void killLeftoverTovik(const std::wstring& executable = tovikExecutable());

class TovikProcess {
public:
    TovikProcess() = default;
    TovikProcess(const TovikProcess&) = delete;
    TovikProcess& operator=(const TovikProcess&) = delete;
    ~TovikProcess();

    // The program that start() runs: Tovik.exe beside the driver unless set
    // (an installed copy, an installer).
    void setExecutable(std::wstring path) { executable_ = std::move(path); }
    const std::wstring& executable() const { return executable_; }

    // Starts Tovik.exe with the command-line arguments (not the program name),
    // shown as a shortcut would ask (SW_SHOWMINNOACTIVE for "run minimised").
    void start(std::wstring_view arguments = L"", int showCommand = SW_SHOWDEFAULT);
    bool started() const { return process_ != nullptr; }
    DWORD id() const { return processId_; }
    double startTime() const { return startTime_; }

    // The visible main window (class TForm1) of the process; an empty Window
    // when it did not appear in time or the process ended.
    Window waitForMainWindow(Millis timeout = 15s);
    Window mainWindow() const;
    // Waits until the program has come to its message loop and waits for
    // input; a click sent before that may land in a window still settling.
    void waitUntilInputIdle(Millis timeout = 5s) const;
    // The main window as soon as it and its controls exist, shown or not (it
    // is created before the program reads its settings and starts counting).
    Window waitForMainWindowCreated(Millis timeout = 15s);
    // The visible message box of the process, or an empty one after the time-out.
    MessageBoxView waitForMessageBox(Millis timeout = 10s) const;

    bool running() const;
    // Waits for the end; true when the process ended in time.
    bool waitForExit(Millis timeout);
    // Time when the end was noticed (valid after waitForExit returned true).
    double exitTime() const { return exitTime_; }
    DWORD exitCode() const;
    // Terminates the process if it still runs.
    void kill();
    // Kills and forgets the process, so that start() can run again.
    void reset();

private:
    std::wstring executable_ = tovikExecutable();
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    double startTime_ = 0;
    double exitTime_ = 0;
};

// ---------------------------------------------------------------- registry

namespace reg {

constexpr const wchar_t* zebKey = L"Software\\Zeb";
constexpr const wchar_t* settingsKey = L"Software\\Zeb\\Tovik";
constexpr const wchar_t* diagnosticKey = L"Software\\Zeb\\Zeb_Diagnostic";

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// Removes a key with all its subkeys and values; a missing key is fine.
void deleteTree(HKEY root, const wchar_t* path);
bool keyExists(HKEY root, const wchar_t* path);
std::optional<Value> get(HKEY root, const wchar_t* path, const wchar_t* name);
std::optional<DWORD> getDword(HKEY root, const wchar_t* path, const wchar_t* name);
std::optional<std::string> getString(HKEY root, const wchar_t* path, const wchar_t* name);
void set(HKEY root, const wchar_t* path, const wchar_t* name, const Value& value);
void setDword(HKEY root, const wchar_t* path, const wchar_t* name, DWORD value);
void setString(HKEY root, const wchar_t* path, const wchar_t* name, std::string_view utf8Text);
void deleteValue(HKEY root, const wchar_t* path, const wchar_t* name);

// A fresh user profile: no HKCU\Software\Zeb at all.
void freshProfile();

}  // namespace reg

// ---------------------------------------------------------------- environment

// The Windows version that Wine reports to Tovik.exe, set while this object lives.
class WindowsVersion {
public:
    // "winxp" (major version 5) or "win10" (major version 10).
    explicit WindowsVersion(const wchar_t* wineVersionName);
    ~WindowsVersion();
    WindowsVersion(const WindowsVersion&) = delete;
    WindowsVersion& operator=(const WindowsVersion&) = delete;
    static void clear();
};

// The display scaling that Wine reports to programs started while this object
// lives (the user's LogPixels): 144 is 150 %. A program reads it when it
// starts; the one set before is restored afterwards.
class DisplayScale {
public:
    explicit DisplayScale(DWORD dpi);
    ~DisplayScale();
    DisplayScale(const DisplayScale&) = delete;
    DisplayScale& operator=(const DisplayScale&) = delete;
    // Back to Wine's default, 96 DPI (100 %).
    static void clear();

private:
    std::optional<DWORD> previous_;
};

// While this object lives, Tovik.exe cannot load the named system DLL (its
// Wine DLL override is "disabled"), as if the system had none.
class MissingDll {
public:
    explicit MissingDll(const wchar_t* name);
    ~MissingDll();
    MissingDll(const MissingDll&) = delete;
    MissingDll& operator=(const MissingDll&) = delete;
    static void clearAll();

private:
    std::wstring name_;
};

// Tells the window that its taskbar button exists, as the shell does after
// it has made the button (and again after a restart of the shell).
void announceTaskbarButton(const Window& topLevel);

// Wine's X11 driver lets a window manager handle top-level windows; on a bare
// Xvfb there is none, and every DestroyWindow of a shown window then waits 2 s
// for a window-manager answer that never comes, which delays the end of the
// process by 2 s after its window has gone. While this object lives, Wine
// handles Tovik.exe's windows itself, as Windows does.
class UnmanagedWindows {
public:
    UnmanagedWindows();
    ~UnmanagedWindows();
    UnmanagedWindows(const UnmanagedWindows&) = delete;
    UnmanagedWindows& operator=(const UnmanagedWindows&) = delete;
};

// A top-level window of class "TAppBuilder" (the development environment),
// which switches Tovik into its simulation mode. It lives on a thread of its
// own that pumps its messages, until this object is destroyed.
class DevEnvironmentWindow {
public:
    explicit DevEnvironmentWindow(std::wstring title = L"Werkbank");
    ~DevEnvironmentWindow();
    DevEnvironmentWindow(const DevEnvironmentWindow&) = delete;
    DevEnvironmentWindow& operator=(const DevEnvironmentWindow&) = delete;
    HWND handle() const { return window_; }

private:
    std::thread thread_;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
};

}  // namespace tovik::e2e
