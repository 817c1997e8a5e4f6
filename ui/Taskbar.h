#pragma once
#include <cstdint>

#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::ui {

// The taskbar arrangement. Older systems (major version 5 and below) keep
// the toolkit's own: the application window, which owns the main window,
// carries the program's taskbar entry with the application's title, and
// minimising the main window minimises the application as a whole. Newer
// systems give the main window an entry of its own: the application window
// is a tool window (no entry), the main window an app window, and the main
// window minimises, maximises and restores itself.

namespace exstyle {
constexpr std::uint32_t toolWindow = 0x80;
constexpr std::uint32_t appWindow = 0x40000;
}  // namespace exstyle

namespace syscmd {
constexpr unsigned mask = 0xFFF0;  // the low four bits are the system's own
constexpr unsigned move = 0xF010;
constexpr unsigned minimize = 0xF020;
constexpr unsigned maximize = 0xF030;
constexpr unsigned close = 0xF060;
constexpr unsigned restore = 0xF120;
}  // namespace syscmd

// The application window's extended style as set at start-up, before the
// main window is created: out of the taskbar on newer systems.
std::uint32_t ApplicationWindowExStyle(std::uint32_t exStyle, bool newerSystem);

// CreateParams: the main window's extended style from the toolkit's default
// one; on newer systems an entry of its own although it has an owner.
std::uint32_t MainWindowExStyle(std::uint32_t exStyle, bool newerSystem);

// Where a WM_SYSCOMMAND of the main window goes (WMSysCommand).
enum class SystemCommandRoute {
    // The main window's own default procedure handles it (it minimises,
    // maximises or restores itself), then the application window is hidden.
    OwnWindowThenHideOwner,
    // The toolkit's default for a minimise: the application window takes
    // it and the application minimises as a whole.
    MinimizeApplication,
    // The toolkit's default for everything else: the default procedure.
    DefaultProcedure,
};
SystemCommandRoute WMSysCommandRoute(unsigned commandWord, bool newerSystem);

// Minimises the main window onto its own taskbar entry (newer systems):
// show it, let pending messages (a pending paint among them) run, minimise.
void AppMinimize(TForm1& form, Application& app);

}  // namespace tovik::ui
