// The window procedure shared by every window that a C++ object owns:
// it finds the object and hands it each message.
#pragma once
#include <windows.h>

namespace tovik::win32 {

// The window procedure of a window owned by a C++ object: the object comes
// with CreateWindowEx's creation parameter, is kept in the window's user data
// and handles every later message through its handleMessage. Owner must have
// a handle member `window_` and `LRESULT handleMessage(UINT, WPARAM, LPARAM)`.
template <typename Owner>
LRESULT CALLBACK ObjectWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    if (!owner) return DefWindowProcW(window, message, wParam, lParam);
    return owner->handleMessage(message, wParam, lParam);
}

}  // namespace tovik::win32
