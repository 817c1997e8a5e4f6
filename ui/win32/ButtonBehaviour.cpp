// How the owner-drawn buttons take the mouse: subclasses that make every
// press one click, track the mouse over them and give flat buttons their press.
#include "ui/win32/ButtonBehaviour.h"

#include <commctrl.h>

namespace tovik::win32 {

namespace {

constexpr wchar_t hotProperty[] = L"TovikHot";

void setHot(HWND button, bool hot) {
    if ((GetPropW(button, hotProperty) != nullptr) == hot) return;
    if (hot) {
        SetPropW(button, hotProperty, reinterpret_cast<HANDLE>(1));
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
    } else {
        RemovePropW(button, hotProperty);
    }
    InvalidateRect(button, nullptr, FALSE);
}

bool cursorInside(HWND button, LPARAM lParam) {
    RECT client;
    GetClientRect(button, &client);
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return PtInRect(&client, at) != FALSE;
}

// The mouse over the button, for the theme's hot state.
void trackHot(HWND button, UINT message, LPARAM lParam) {
    if (message == WM_MOUSEMOVE)
        setHot(button, cursorInside(button, lParam));
    else if (message == WM_MOUSELEAVE)
        setHot(button, false);
    else if (message == WM_NCDESTROY)
        RemovePropW(button, hotProperty);
}

// The button class reports the second press of a quick double click on an
// owner-drawn button as a double click and does not press the button; every
// press of a push button is one click, so it becomes a plain press here.
// The mouse over the button is tracked for the theme's hot state.
LRESULT CALLBACK EveryPressClicks(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    trackHot(button, message, lParam);
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(button, EveryPressClicks, 0);
    const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
    // Keyboard cues shown or hidden: the owner draws the focus frame anew.
    if (message == WM_UPDATEUISTATE) InvalidateRect(button, nullptr, FALSE);
    return result;
}

LRESULT CALLBACK FlatButtonPress(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    trackHot(button, message, lParam);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetCapture(button);
            SendMessageW(button, BM_SETSTATE, TRUE, 0);
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() == button) SendMessageW(button, BM_SETSTATE, cursorInside(button, lParam), 0);
            return 0;
        case WM_MOUSELEAVE:
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == button) {
                const bool inside = cursorInside(button, lParam);
                ReleaseCapture();
                if (inside)
                    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                                 reinterpret_cast<LPARAM>(button));
            }
            return 0;
        case WM_CAPTURECHANGED:
            SendMessageW(button, BM_SETSTATE, FALSE, 0);
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(button, FlatButtonPress, 0);
            break;
        default:
            break;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace

void ClickOnEveryPress(HWND button) { SetWindowSubclass(button, EveryPressClicks, 0, 0); }

void PressLikeFlatButton(HWND button) { SetWindowSubclass(button, FlatButtonPress, 0, 0); }

bool IsHot(HWND button) { return GetPropW(button, hotProperty) != nullptr; }

}  // namespace tovik::win32
