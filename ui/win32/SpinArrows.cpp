// The two arrows inside the right edge of a numeric field: their window,
// painting, and the press with its repeat timer.
#include "ui/win32/SpinArrows.h"

#include <vsstyle.h>

#include <algorithm>
#include <utility>

#include "ui/win32/Dpi.h"
#include "ui/win32/WindowProcedure.h"

namespace tovik::win32 {

namespace {

constexpr wchar_t className[] = L"TovikSpinArrows";
constexpr wchar_t partClassName[] = L"TovikSpinArrowPart";
constexpr UINT_PTR repeatTimer = 1;

// An arrow's window for screen readers: the mouse passes through it, and the
// arrows' window paints it from beneath.
LRESULT CALLBACK PartProcedure(HWND part, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            ValidateRect(part, nullptr);
            return 0;
        default:
            return DefWindowProcW(part, message, wParam, lParam);
    }
}

}  // namespace

SpinArrows::SpinArrows(HINSTANCE instance, HWND field, int id, RECT place, std::function<void(int)> step,
                       GdiResources& resources)
    : field_(field), step_(std::move(step)), resources_(resources) {
    WNDCLASSW windowClass{};
    if (!GetClassInfoW(instance, className, &windowClass)) {
        // No double-click style: every press of an arrow is a step of its own.
        windowClass.lpfnWndProc = ObjectWindowProcedure<SpinArrows>;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);
        WNDCLASSW partClass{};
        partClass.lpfnWndProc = PartProcedure;
        partClass.hInstance = instance;
        partClass.lpszClassName = partClassName;
        RegisterClassW(&partClass);
    }
    CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE, place.left, place.top, place.right - place.left,
                    place.bottom - place.top, field, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                    this);
    upper_ = CreateWindowExW(0, partClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_, nullptr, instance,
                             nullptr);
    lower_ = CreateWindowExW(0, partClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_, nullptr, instance,
                             nullptr);
    placeParts();
}

void SpinArrows::placeParts() {
    RECT client;
    GetClientRect(window_, &client);
    const int half = client.bottom / 2;
    SetWindowPos(upper_, nullptr, 0, 0, client.right, half, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(lower_, nullptr, 0, half, client.right, client.bottom - half, SWP_NOZORDER | SWP_NOACTIVATE);
}

SpinArrows::~SpinArrows() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void SpinArrows::moveTo(RECT place) {
    SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    placeParts();
    InvalidateRect(window_, nullptr, FALSE);
}

void SpinArrows::press(int direction) {
    pressed_ = direction;
    SetCapture(window_);
    InvalidateRect(window_, nullptr, FALSE);
    // Typing goes on in the field after a click on its arrows.
    if (GetFocus() != field_) SetFocus(field_);
    SetTimer(window_, repeatTimer, firstRepeatMs, nullptr);
    step_(direction);
}

void SpinArrows::release() {
    if (!pressed_) return;
    pressed_ = 0;
    KillTimer(window_, repeatTimer);
    InvalidateRect(window_, nullptr, FALSE);
    if (GetCapture() == window_) ReleaseCapture();
}

void SpinArrows::paint(HDC dc) {
    RECT client;
    GetClientRect(window_, &client);
    RECT upper = client, lower = client;
    upper.bottom = lower.top = client.bottom / 2;
    if (resources_.palette().dark()) {
        paintDark(dc, upper, lower);
        return;
    }
    if (HTHEME theme = theme_.get(window_, WindowDpi(window_))) {
        // The theme's up-down arrows; the state numbers of both parts agree.
        const bool disabled = !IsWindowEnabled(field_);
        const auto state = [&](int arrow) {
            if (disabled) return static_cast<int>(UPS_DISABLED);
            if (pressed_ == arrow) return static_cast<int>(UPS_PRESSED);
            return static_cast<int>(hot_ == arrow ? UPS_HOT : UPS_NORMAL);
        };
        ThemeHandle::drawPart(theme, window_, dc, SPNP_UP, state(+1), upper);
        ThemeHandle::drawPart(theme, window_, dc, SPNP_DOWN, state(-1), lower);
        return;
    }
    DrawFrameControl(dc, &upper, DFC_SCROLL, DFCS_SCROLLUP | (pressed_ > 0 ? DFCS_PUSHED : 0));
    DrawFrameControl(dc, &lower, DFC_SCROLL, DFCS_SCROLLDOWN | (pressed_ < 0 ? DFCS_PUSHED : 0));
}

void SpinArrows::paintDark(HDC dc, const RECT& upper, const RECT& lower) {
    const bool disabled = !IsWindowEnabled(field_);
    for (const int arrow : {+1, -1}) {
        RECT area = arrow > 0 ? upper : lower;
        FillRect(dc, &area, resources_.brush(ui::ButtonFaceFor(false, hot_ == arrow, pressed_ == arrow, disabled)));
        FrameRect(dc, &area, resources_.brush(ui::Role::ButtonBorder));
        // A small triangle pointing up or down, in the middle.
        const int half = static_cast<int>(
            std::max<LONG>(2, std::min((area.right - area.left) / 4, (area.bottom - area.top) / 2 - 1)));
        const int x = (area.left + area.right) / 2;
        const int y = (area.top + area.bottom) / 2;
        const int tip = arrow > 0 ? y - half / 2 : y + half / 2;
        const int base = arrow > 0 ? tip + half : tip - half;
        const POINT triangle[] = {{x, tip}, {x - half, base}, {x + half, base}};
        HBRUSH glyph = resources_.brush(disabled ? ui::Role::ButtonDisabledText : ui::Role::ButtonText);
        HGDIOBJ oldBrush = SelectObject(dc, glyph);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Polygon(dc, triangle, 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }
}

void SpinArrows::trackHot(int arrow) {
    if (hot_ == arrow) return;
    if (hot_ == 0) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
        TrackMouseEvent(&track);
    }
    hot_ = arrow;
    InvalidateRect(window_, nullptr, FALSE);
}

LRESULT SpinArrows::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN: {
            RECT client;
            GetClientRect(window_, &client);
            const int y = static_cast<short>(HIWORD(lParam));
            press(y < client.bottom / 2 ? +1 : -1);
            return 0;
        }
        case WM_MOUSEMOVE: {
            RECT client;
            GetClientRect(window_, &client);
            trackHot(static_cast<short>(HIWORD(lParam)) < client.bottom / 2 ? +1 : -1);
            return 0;
        }
        case WM_MOUSELEAVE:
            trackHot(0);
            return 0;
        case WM_TIMER:
            // The field may have been hidden meanwhile ("Go!" by Enter).
            if (wParam == repeatTimer && pressed_ && !IsWindowVisible(window_)) release();
            if (wParam == repeatTimer && pressed_) {
                SetTimer(window_, repeatTimer, repeatMs, nullptr);
                step_(pressed_);
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            release();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window_, &ps);
            paint(dc);
            EndPaint(window_, &ps);
            return 0;
        }
        case WM_NCDESTROY: {
            HWND window = window_;
            window_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace tovik::win32
