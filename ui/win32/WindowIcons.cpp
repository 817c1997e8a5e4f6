// The window's small and large icons (caption, taskbar, Alt+Tab) in the
// sizes the system asks for at the window's DPI.
#include "ui/win32/WindowIcons.h"

#include <commctrl.h>

#include "ui/win32/Dpi.h"

namespace tovik::win32 {

namespace {

// The icon in that size: the image of that size where the resource holds
// one, else a larger one scaled down (which stays sharper than scaling up).
HICON loadIcon(HINSTANCE instance, int resourceId, int size) {
    HICON icon = nullptr;
    if (SUCCEEDED(LoadIconWithScaleDown(instance, MAKEINTRESOURCEW(resourceId), size, size, &icon))) return icon;
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, 0));
}

}  // namespace

void WindowIcons::setFor(HWND window, HINSTANCE instance, int resourceId, int dpi) {
    HICON small = loadIcon(instance, resourceId, SystemMetricAt(SM_CXSMICON, dpi));
    HICON large = loadIcon(instance, resourceId, SystemMetricAt(SM_CXICON, dpi));
    if (!small || !large) {
        if (small) DestroyIcon(small);
        if (large) DestroyIcon(large);
        return;
    }
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    destroy();
    small_ = small;
    large_ = large;
}

void WindowIcons::destroy() {
    if (small_) DestroyIcon(small_);
    if (large_) DestroyIcon(large_);
    small_ = large_ = nullptr;
}

}  // namespace tovik::win32
