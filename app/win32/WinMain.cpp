// Entry point of Tovik.exe: wires the Windows implementations of the
// platform seam and the toolkit to the program, shows the main window and
// runs the message loop. The exit code is 0 on every way out.
#include <windows.h>
#include <commctrl.h>

#include "app/CommandLine.h"
#include "app/Program.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Registry.h"
#include "ui/win32/Win32Application.h"
#include "ui/win32/Win32MainWindow.h"

using namespace tovik;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    win32::Win32SystemInfo system;
    win32::Win32Clock clock;
    win32::Win32Locale locale;
    win32::Win32Power power;
    platform::win32::Win32Registry registry;

    win32::Win32Application application(instance);
    app::Program program(application, app::Platform{system, clock, locale, power, registry});
    win32::Win32MainWindow window(instance, program.Form1, application, application.handle(),
                                  platform::IsNewerWindows(system));
    application.setMainWindow(&window);
    program.attachTimers(window);

    const std::string commandLine = win32::Narrow(std::wstring(GetCommandLineW()));
    application.dispatch([&] { program.FormCreate(app::FirstArgument(commandLine)); });

    window.showFirstTime(showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
    application.run();
    return 0;
}
