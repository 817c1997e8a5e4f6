// Entry point of Tovik.exe: takes the single-instance guard, wires the
// Windows implementations of the platform seam and the toolkit to the
// program, shows the main window and runs the message loop. The exit code
// is 0 on every way out.
#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "app/CommandLine.h"
#include "app/Program.h"
#include "app/SingleInstanceGuard.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32InterruptClocks.h"
#include "platform/win32/Win32NamedLock.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemAwake.h"
#include "ui/win32/Win32Application.h"
#include "ui/win32/StartupTrace.h"
#include "ui/win32/Win32MainWindow.h"

using namespace tovik;

namespace {

void runProgram(HINSTANCE instance, int showCommand, win32::Win32SystemInfo& system, app::SingleInstanceGuard& guard) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    win32::Win32Clock clock;
    win32::Win32Locale locale;
    win32::Win32Power power;
    win32::Win32Registry registry;
    win32::Win32InterruptClocks interruptClocks;
    win32::Win32SystemAwake awake;

    win32::Win32Application application(instance);
    application.onEndSession = [&guard] { guard.close(); };
    // Out of the taskbar on newer systems, before the main window exists.
    application.arrangeTaskbar(platform::IsNewerWindows(system));

    win32::StartupTrace::mark("toolkit");
    app::Program program(application, app::Platform{system, clock, locale, power, registry, interruptClocks, awake});
    win32::Win32MainWindow window(instance, program.Form1, application, application.handle(), system);
    application.setMainWindow(&window);
    program.attachTimers(window);

    const std::string commandLine = win32::Narrow(std::wstring(GetCommandLineW()));
    application.dispatch([&] { program.FormCreate(app::FirstArgument(commandLine)); });
    win32::StartupTrace::mark("settings");

    window.showFirstTime(showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
    win32::StartupTrace::mark("show");
    application.run();
    application.setMainWindow(nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before any DLL is loaded: a file planted beside Tovik.exe is never one.
    win32::RestrictDllSearchToSystemFolder();
    try {
        // First of all: one copy per executable name in the logon session. A
        // second copy ends here, before any window, setting or counter.
        win32::Win32SystemInfo system;
        win32::Win32NamedLocks locks;
        app::SingleInstanceGuard guard(locks, system.executablePath());
        if (guard.refused()) return 0;
        win32::StartupTrace::mark("guard");

        runProgram(instance, showCommand, system, guard);
    } catch (...) {
        // Nothing the program could still show; it ends like any other run.
    }
    return 0;
}
