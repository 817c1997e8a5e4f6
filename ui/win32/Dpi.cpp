// What the system tells about DPI, looked up at run time where Windows 7
// lacks it, and the design's places in device pixels.
#include "ui/win32/Dpi.h"

namespace tovik::win32 {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

template <typename Function>
Function user32Function(const char* name) {
    static HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : ui::designDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : ui::designDpi;
}

// The outer rectangle around `client` at the DPI; false where the system has
// no frames for a DPI of the caller's choice.
bool adjustForDpi(RECT& client, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjust = user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    return adjust && adjust(&client, style, FALSE, exStyle, static_cast<UINT>(dpi));
}

}  // namespace

int WindowDpi(HWND window) {
    static const auto forWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (forWindow && window) {
        const UINT dpi = forWindow(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return systemDpi();
}

ui::WindowFrame FrameHeights(DWORD style, DWORD exStyle, int dpi) {
    RECT atDesign{0, 0, 0, 0};
    RECT atDpi{0, 0, 0, 0};
    if (adjustForDpi(atDesign, style, exStyle, ui::designDpi) && adjustForDpi(atDpi, style, exStyle, dpi))
        return {static_cast<int>(atDesign.bottom - atDesign.top), static_cast<int>(atDpi.bottom - atDpi.top)};
    // The system metrics are those of the system DPI, the only DPI a window
    // has on such a system.
    AdjustWindowRectEx(&atDpi, style, FALSE, exStyle);
    const int frame = atDpi.bottom - atDpi.top;
    return {ui::ScaleFromDpi(frame, dpi), frame};
}

SIZE OuterSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    RECT outer{0, 0, clientWidth, clientHeight};
    if (!adjustForDpi(outer, style, exStyle, dpi)) AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

int SystemMetricAt(int index, int dpi) {
    static const auto forDpi = user32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
    // For the system DPI; scaled where the window's differs.
    return MulDiv(GetSystemMetrics(index), dpi, systemDpi());
}

LOGFONTW TooltipFont(int dpi) {
    static const auto forDpi = user32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return metrics.lfStatusFont;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    // For the system DPI; scaled where the window's differs.
    metrics.lfStatusFont.lfHeight = ui::ScaleToDpi(ui::ScaleFromDpi(metrics.lfStatusFont.lfHeight, systemDpi()), dpi);
    return metrics.lfStatusFont;
}

RECT DevicePlace(const ui::Control& control, int dpi) {
    const ui::Rect r = ui::ScaleRect(control.bounds(), dpi);
    return RECT{r.left, r.top, r.left + r.width, r.top + r.height};
}

}  // namespace tovik::win32
