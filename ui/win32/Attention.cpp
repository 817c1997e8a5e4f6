// The taskbar button flashes after a restore that did not bring the window
// to the foreground.
#include "ui/win32/Attention.h"

namespace tovik::win32 {

void Attention::afterRestore(HWND window) {
    if (foregroundWindow() == window) return;
    // The tray button flashes, and keeps flashing until the window comes to
    // the foreground; the caption stays calm.
    FLASHWINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = window;
    info.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
    info.uCount = 0;
    info.dwTimeout = 0;
    flash(info);
}

}  // namespace tovik::win32
