// The tool tips of the window's controls: the tool tip window, a tool per
// hinted control, and their width and font for the window's DPI.
#include "ui/win32/Tooltips.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/Utf16.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/VisualStyle.h"

namespace tovik::win32 {

namespace {

constexpr int tooltipWidth = 360;

}  // namespace

Tooltips::~Tooltips() {
    if (font_) DeleteObject(font_);
}

void Tooltips::create(HINSTANCE instance, HWND window, int dpi) {
    window_ = window;
    dpi_ = dpi;
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance,
                               nullptr);
    scale();
}

void Tooltips::setDpi(int dpi) {
    dpi_ = dpi;
    scale();
}

void Tooltips::scale() {
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, ui::ScaleToDpi(tooltipWidth, dpi_));
    const LOGFONTW tipFont = TooltipFont(dpi_);
    HFONT previous = font_;
    font_ = CreateFontIndirectW(&tipFont);
    if (font_) SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (previous) DeleteObject(previous);
}

void Tooltips::update(const ui::Control& control, HWND child) {
    if (!tooltip_ || !child) return;
    std::wstring text = Widen(control.hint());
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    tool.lpszText = text.data();
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!text.empty() && control.showHint()) SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::setColors(COLORREF back, COLORREF text, bool classic) {
    if (!tooltip_) return;
    DrawWithoutTheme(tooltip_, classic);
    SendMessageW(tooltip_, TTM_SETTIPBKCOLOR, back, 0);
    SendMessageW(tooltip_, TTM_SETTIPTEXTCOLOR, text, 0);
}

void Tooltips::setHidePause(int ms) {
    if (tooltip_) SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(ms, 0));
}

}  // namespace tovik::win32
