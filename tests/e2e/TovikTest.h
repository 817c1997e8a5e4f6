#pragma once
// Common ground of the end-to-end tests: every test starts from a fresh user
// profile, with no Tovik running, on a newer Windows version unless it asks
// for an older one, and ends the Tovik it started.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"
#include "ui/ControlIds.h"

namespace tovik::e2e {

namespace ids = tovik::ui::ids;

// A control of the main window, by name and id, for messages and loops.
struct NamedControl {
    const char* name;
    int id;
};

// The eight action buttons that the end of the countdown disables.
extern const std::vector<NamedControl> actionButtons;

// A control that is a window of its own, at its design place (96 DPI).
struct DesignedControl {
    const char* name;
    int id;
    RECT place;  // left, top, right, bottom in the main window's client area
};

constexpr RECT at(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

// Every control that is a window of its own, in creation order.
extern const std::vector<DesignedControl> designedControls;

// The area a control covers together with its own helper windows (the spin
// edit's arrows lie beside its edit field).
RECT coveredArea(const Window& main, int id);

// A countdown line in the seconds form: "Noch 5,4s bis Feierabend Büro".
struct SecondsLine {
    int ticks = 0;           // tenths of a second
    std::string separator;   // decimal separator as shown
    std::string goal;        // "Feierabend" or "Neustart"
    std::string tail;        // what follows the goal word and its blank
};
std::optional<SecondsLine> parseSecondsLine(const std::string& text);

// The countdown lines of a timeline, in the order they were seen.
struct SeenLine {
    double time;
    SecondsLine line;
    std::string text;
};
std::vector<SeenLine> secondsLines(const std::vector<TextTimeline::Entry>& entries);

class TovikTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Tells Wine which Windows version to report to Tovik.exe ("winxp", "win10").
    void useWindowsVersion(const wchar_t* wineVersionName);
    // Opens a "TAppBuilder" window before Tovik starts: simulation mode.
    void openDevEnvironment(std::wstring title = L"Werkbank");

    // Starts Tovik.exe and waits for its main window. Check the result with
    // ASSERT_TRUE(start(...)).
    Window start(std::wstring_view arguments = L"");
    // The same, but calls whenCreated with the main window as soon as it and
    // its controls exist, before the countdown's first tick, so that the
    // whole countdown can be watched.
    Window start(std::wstring_view arguments, const std::function<void(const Window&)>& whenCreated);
    Window control(int id) const { return main.child(id); }
    Window owner() const { return main.owner(); }

    // Waits until the text of the window satisfies the condition; returns the
    // last text read.
    std::string waitForText(const Window& window, const std::function<bool(const std::string&)>& condition,
                            Millis timeout);
    // Waits for the first countdown line with at most that many ticks left.
    std::optional<SecondsLine> waitForTicksAtMost(int ticks, Millis timeout);

    // Presses a key with Tovik's main window in the foreground.
    void pressKeyInTovik(WORD virtualKey, unsigned modifiers = NoModifier);

    // Pixel colour in the middle of the left margin of stSeconds, where no text is.
    COLORREF secondsLineBackground() const;

    std::optional<DWORD> counter(const wchar_t* name) const;

    // Waits for Tovik's error box and checks it: the text, the error icon, a
    // lone OK button and the application title as caption. Leaves it open.
    MessageBoxView expectErrorBox(const std::string& text);

    TovikProcess tovik;
    Window main;

private:
    std::optional<UnmanagedWindows> unmanagedWindows_;
    std::optional<DevEnvironmentWindow> devEnvironment_;
    std::optional<WindowsVersion> windowsVersion_;
};

}  // namespace tovik::e2e
