// The window's small and large icons (caption, taskbar, Alt+Tab) in the
// sizes the system asks for at the window's DPI.
#pragma once
#include <windows.h>

namespace tovik::win32 {

class WindowIcons {
public:
    WindowIcons() = default;
    ~WindowIcons() { destroy(); }
    WindowIcons(const WindowIcons&) = delete;
    WindowIcons& operator=(const WindowIcons&) = delete;

    // Gives `window` the program icon `resourceId` in the small and large
    // icon sizes of that DPI; the icons it had from here are destroyed.
    void setFor(HWND window, HINSTANCE instance, int resourceId, int dpi);

private:
    void destroy();

    HICON small_ = nullptr;
    HICON large_ = nullptr;
};

}  // namespace tovik::win32
