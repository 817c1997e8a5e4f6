#include "ui/win32/Win32MainWindow.h"

#include <commctrl.h>
#include <shobjidl.h>

#include "platform/win32/Utf16.h"
#include "res/ResourceIds.h"
#include "ui/ControlIds.h"
#include "ui/Taskbar.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/StartupTrace.h"
#include "ui/win32/WindowProcedure.h"

namespace tovik::win32 {

namespace {

constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int tooltipWidth = 360;
constexpr int spinArrowsWidth = 17;
// The combo box's list: 12 items of 16 pixels.
constexpr int comboItemHeight = 16;
constexpr int comboListItems = 12;
// The combo box's selection field is this much lower than the control at 96 DPI.
constexpr int comboFieldFrame = 6;

#ifndef WM_GETDPISCALEDSIZE
constexpr UINT WM_GETDPISCALEDSIZE = 0x02E4;
#endif

COLORREF toColorRef(ui::Color color) {
    // 0x80000000 + n names system colour n.
    if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A drop-down combo box is as high as its selection field: the item height
// plus a frame of the system's own, which does not grow with the DPI
// everywhere. The item height is set so that the field is `height` high.
void fitComboField(HWND combo, int height) {
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - comboFieldFrame);
    RECT taken;
    GetWindowRect(combo, &taken);
    const int missing = height - (taken.bottom - taken.top);
    if (missing != 0) SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - comboFieldFrame + missing);
}

bool isOwnerDrawn(const ui::Button& button) { return button.isDefault() || button.isCancel() || button.isFlat(); }

unsigned currentShiftState() {
    unsigned shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ui::ssShift;
    if (GetKeyState(VK_MENU) < 0) shift |= ui::ssAlt;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ui::ssCtrl;
    return shift;
}

// The button class reports the second press of a quick double click on an
// owner-drawn button as a double click and does not press the button; every
// press of a push button is one click, so it becomes a plain press here.
LRESULT CALLBACK EveryPressClicks(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(button, EveryPressClicks, 0);
    return DefSubclassProc(button, message, wParam, lParam);
}

// A flat button works like a speed button: a press never takes the keyboard
// focus from where it is; the click comes when the mouse is released over
// it. Its frame shows only while the mouse is over it.
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

LRESULT CALLBACK FlatButtonPress(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetCapture(button);
            SendMessageW(button, BM_SETSTATE, TRUE, 0);
            return 0;
        case WM_MOUSEMOVE:
            setHot(button, cursorInside(button, lParam));
            if (GetCapture() == button) SendMessageW(button, BM_SETSTATE, cursorInside(button, lParam), 0);
            return 0;
        case WM_MOUSELEAVE:
            setHot(button, false);
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
            RemovePropW(button, hotProperty);
            RemoveWindowSubclass(button, FlatButtonPress, 0);
            break;
        default:
            break;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace

bool Win32MainWindow::isHot(HWND button) { return GetPropW(button, hotProperty) != nullptr; }

Win32MainWindow::Win32MainWindow(HINSTANCE instance, ui::TForm1& form, ui::Application& app, HWND owner,
                                 const platform::SystemInfo& system)
    : form_(form), app_(app), system_(system), owner_(owner), painter_(instance) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = ObjectWindowProcedure<Win32MainWindow>;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TOVIK));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ui::ids::mainWindowClass;
    RegisterClassW(&windowClass);

    const DWORD exStyle = createParamsExStyle();
    const SIZE outer = OuterSize(ui::TForm1::clientWidth, ui::TForm1::clientHeight, windowStyle, exStyle, dpi_);
    window_ = CreateWindowExW(exStyle, ui::ids::mainWindowClass, Widen(form_.caption()).c_str(), windowStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, outer.cx, outer.cy, owner, nullptr, instance, this);
    // The design client area at the DPI of the monitor the window came on.
    dpi_ = WindowDpi(window_);
    if (dpi_ != ui::designDpi) {
        const SIZE scaled = OuterSize(px(ui::TForm1::clientWidth), px(ui::TForm1::clientHeight), windowStyle,
                                      exStyle, dpi_);
        SetWindowPos(window_, nullptr, 0, 0, scaled.cx, scaled.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    form_.noteHeight(designHeight(outerHeight()));
    StartupTrace::mark("window");
    createControls(instance);
    StartupTrace::mark("controls");
    createTooltips(instance);
    StartupTrace::mark("tool tips");
    form_.attachPeer(this);

    // The shell announces the window's taskbar button with this message,
    // also to a program that runs with higher rights than the shell.
    taskbarButtonCreatedMessage_ = RegisterWindowMessageW(L"TaskbarButtonCreated");
    using FilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll"))
        if (auto allow = reinterpret_cast<FilterFunction>(
                reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx"))))
            allow(window_, taskbarButtonCreatedMessage_, 1 /* MSGFLT_ALLOW */, nullptr);
    app_.taskbarProgress.attachPeer(this);
}

DWORD Win32MainWindow::createParamsExStyle() const {
    // Always on top; on newer systems the main window carries its own
    // taskbar entry although the application window owns it.
    return ui::MainWindowExStyle(WS_EX_TOPMOST, platform::IsNewerWindows(system_));
}

LRESULT Win32MainWindow::WMSysCommand(WPARAM wParam, LPARAM lParam) {
    switch (ui::WMSysCommandRoute(static_cast<unsigned>(wParam), platform::IsNewerWindows(system_))) {
        case ui::SystemCommandRoute::OwnWindowThenHideOwner: {
            const LRESULT result = DefWindowProcW(window_, WM_SYSCOMMAND, wParam, lParam);
            ShowWindow(owner_, SW_HIDE);
            return result;
        }
        case ui::SystemCommandRoute::MinimizeApplication:
            app_.minimize();
            return 0;
        case ui::SystemCommandRoute::DefaultProcedure:
            break;
    }
    return DefWindowProcW(window_, WM_SYSCOMMAND, wParam, lParam);
}

Win32MainWindow::~Win32MainWindow() {
    app_.taskbarProgress.attachPeer(nullptr);
    if (taskbarList_) taskbarList_->Release();
    form_.attachPeer(nullptr);
    for (ui::Control* control : form_.controls()) control->attachPeer(nullptr);
    for (ui::Timer* timer : form_.timers) timer->attachHost(nullptr);
    if (window_) DestroyWindow(window_);
    for (auto& [key, handle] : fonts_) DeleteObject(handle);
    for (auto& [color, handle] : brushes_) DeleteObject(handle);
    if (tooltipFont_) DeleteObject(tooltipFont_);
    if (comStarted_) {
        using UninitializeFunction = void(WINAPI*)();
        if (HMODULE ole32 = GetModuleHandleW(L"ole32.dll"))
            if (auto uninitialize = reinterpret_cast<UninitializeFunction>(
                    reinterpret_cast<void*>(GetProcAddress(ole32, "CoUninitialize"))))
                uninitialize();
    }
}

HFONT Win32MainWindow::font(const ui::Font& design) {
    const StartupTrace::Span span("fonts");
    const ui::Font font = ui::ScaleFont(design, dpi_);
    const std::string key = font.face + "|" + std::to_string(font.height) + (font.bold ? "b" : "") +
                            (font.fixedPitch ? "f" : "");
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    HFONT handle = CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               (font.fixedPitch ? FIXED_PITCH : DEFAULT_PITCH) | FF_DONTCARE, Widen(font.face).c_str());
    fonts_.emplace(key, handle);
    return handle;
}

HBRUSH Win32MainWindow::brush(ui::Color color) {
    auto found = brushes_.find(color);
    if (found != brushes_.end()) return found->second;
    HBRUSH handle = CreateSolidBrush(toColorRef(color));
    brushes_.emplace(color, handle);
    return handle;
}

void Win32MainWindow::createControls(HINSTANCE instance) {
    for (ui::Control* control : form_.controls()) {
        if (dynamic_cast<ui::Gauge*>(control)) {
            // Painted by the window beneath the controls.
            control->attachPeer(this);
            continue;
        }
        const RECT r = place(*control);
        const wchar_t* windowClassName = L"BUTTON";
        DWORD style = WS_CHILD;
        DWORD exStyle = 0;
        int height = r.bottom - r.top;
        if (auto* button = dynamic_cast<ui::Button*>(control)) {
            style |= isOwnerDrawn(*button) ? BS_OWNERDRAW : BS_PUSHBUTTON;
        } else if (dynamic_cast<ui::CheckBox*>(control)) {
            style |= BS_CHECKBOX;
        } else if (auto* text = dynamic_cast<ui::StaticText*>(control)) {
            windowClassName = L"STATIC";
            style |= SS_CENTER | SS_NOTIFY;
            if (text == &form_.stSeconds) style |= SS_SUNKEN;
        } else if (dynamic_cast<ui::SpinEdit*>(control)) {
            windowClassName = L"EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL;
            exStyle |= WS_EX_CLIENTEDGE;
        } else if (dynamic_cast<ui::ComboBox*>(control)) {
            windowClassName = L"COMBOBOX";
            style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
            height += px(comboItemHeight * comboListItems);  // room for the drop-down list
        }
        HWND child = CreateWindowExW(exStyle, windowClassName, Widen(control->caption()).c_str(), style, r.left, r.top,
                                     r.right - r.left, height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control->id())),
                                     instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font(control->font())), FALSE);
        children_[control->id()] = child;

        if (auto* button = dynamic_cast<ui::Button*>(control); button && isOwnerDrawn(*button))
            SetWindowSubclass(child, button->isFlat() ? FlatButtonPress : EveryPressClicks, 0, 0);
        if (auto* box = dynamic_cast<ui::CheckBox*>(control))
            SendMessageW(child, BM_SETCHECK, box->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        if (auto* spin = dynamic_cast<ui::SpinEdit*>(control)) {
            // The arrows sit inside the field's right edge, so the field keeps
            // its whole place; the text stops short of them.
            RECT inside;
            GetClientRect(child, &inside);
            const RECT arrows{inside.right - px(spinArrowsWidth), 0, inside.right, inside.bottom};
            spinArrows_ = std::make_unique<SpinArrows>(instance, child, ui::ids::seShutMinutesArrows, arrows,
                                                       [this, spin](int delta) {
                                                           app_.dispatch([spin, delta] { spin->step(delta); });
                                                       });
            SendMessageW(child, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, px(spinArrowsWidth) + 1));
            SetWindowSubclass(child, SpinFieldProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
        }
        if (auto* combo = dynamic_cast<ui::ComboBox*>(control)) {
            // A combo box takes its text only after creation; its selection
            // field is as high as the designed control, the list items 16.
            fitComboField(child, r.bottom - r.top);
            SendMessageW(child, CB_SETITEMHEIGHT, 0, px(comboItemHeight));
            for (const std::string& item : combo->items())
                SendMessageW(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
            SetWindowTextW(child, Widen(control->caption()).c_str());
        }
        EnableWindow(child, control->enabled());
        if (control->visible()) ShowWindow(child, SW_SHOWNA);
        control->attachPeer(this);
    }
}

LRESULT CALLBACK Win32MainWindow::SpinFieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                                     UINT_PTR, DWORD_PTR self) {
    return reinterpret_cast<Win32MainWindow*>(self)->spinFieldMessage(field, message, wParam, lParam);
}

LRESULT Win32MainWindow::spinFieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* spin = dynamic_cast<ui::SpinEdit*>(controlOf(field));
    if (!spin) return DefSubclassProc(field, message, wParam, lParam);
    switch (message) {
        case WM_CHAR: {
            // The window's key preview has seen the character already.
            bool taken = false;
            char key = 0;
            if (wParam < 0x80) {
                key = static_cast<char>(wParam);
                app_.dispatch([&] { taken = spin->typeCharacter(key); });
            }
            if (!taken) {
                MessageBeep(0);
                return 0;
            }
            if (key == 0) return 0;
            return DefSubclassProc(field, message, static_cast<unsigned char>(key), lParam);
        }
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) {
                const int delta = wParam == VK_UP ? 1 : -1;
                app_.dispatch([spin, delta] { spin->step(delta); });
                return 0;
            }
            break;
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(field, message, wParam, lParam);
            // Only a move to another control of the window leaves the field,
            // not a switch to another program.
            const HWND next = reinterpret_cast<HWND>(wParam);
            if (next && (next == window_ || IsChild(window_, next)) && !IsChild(field, next))
                app_.dispatch([spin] { spin->leave(); });
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(field, SpinFieldProcedure, 0);
            break;
        default:
            break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

void Win32MainWindow::createTooltips(HINSTANCE instance) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance,
                               nullptr);
    scaleTooltips();
    for (ui::Control* control : form_.controls()) updateTooltip(*control);
}

void Win32MainWindow::scaleTooltips() {
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, px(tooltipWidth));
    const LOGFONTW tipFont = TooltipFont(dpi_);
    HFONT previous = tooltipFont_;
    tooltipFont_ = CreateFontIndirectW(&tipFont);
    if (tooltipFont_) SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(tooltipFont_), FALSE);
    if (previous) DeleteObject(previous);
}

void Win32MainWindow::updateTooltip(ui::Control& control) {
    auto child = children_.find(control.id());
    if (!tooltip_ || child == children_.end()) return;
    std::wstring text = Widen(control.hint());
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(child->second);
    tool.lpszText = text.data();
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!text.empty() && control.showHint()) SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32MainWindow::setHintHidePause(int ms) {
    if (tooltip_) SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(ms, 0));
}

void Win32MainWindow::centreOnScreen() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window_, &placement);
    RECT& normal = placement.rcNormalPosition;
    const int width = normal.right - normal.left;
    const int height = normal.bottom - normal.top;
    normal.left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    normal.top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    normal.right = normal.left + width;
    normal.bottom = normal.top + height;
    if (IsIconic(window_)) {
        placement.showCmd = SW_SHOWMINNOACTIVE;
        SetWindowPlacement(window_, &placement);
    } else {
        SetWindowPos(window_, nullptr, normal.left, normal.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32MainWindow::showFirstTime(int showCommand) {
    // Centred before the show handler runs (a clock-time start shows the
    // window from inside it); every height it sets while the window is still
    // hidden centres it again.
    centreOnScreen();
    if (form_.onShow) app_.dispatch(form_.onShow);
    const bool minimized = showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED ||
                           showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_FORCEMINIMIZE;
    // Shown in its current state: a window the show handler has minimised
    // stays minimised.
    if (IsIconic(window_)) return;
    ShowWindow(window_, minimized ? SW_SHOWNORMAL : showCommand);
    UpdateWindow(window_);
    if (minimized) app_.minimize();
}

ui::Control* Win32MainWindow::controlOf(HWND child) const {
    while (child && GetParent(child) != window_) child = GetParent(child);
    return child ? form_.controlById(GetDlgCtrlID(child)) : nullptr;
}

bool Win32MainWindow::previewMessage(MSG& message) {
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const int key = static_cast<int>(message.wParam);
            // A held Enter presses a button once: "Go!" moves the focus to the
            // abort button, which the key's repeat must not click.
            const bool repeated = (message.lParam & (1 << 30)) != 0;
            if (key == VK_RETURN && repeated) return true;
            const unsigned shift = currentShiftState();
            form_.noteFocus(controlOf(GetFocus()));
            bool consumed = false;
            app_.dispatch([&] { consumed = form_.previewKeyDown(key, shift); });
            if (!consumed && key == VK_TAB && (shift & (ui::ssAlt | ui::ssCtrl)) == 0) {
                if (ui::Control* next = form_.nextTabStop((shift & ui::ssShift) != 0)) next->setFocus();
                consumed = true;
            }
            return consumed;
        }
        case WM_CHAR: {
            if (message.wParam >= 0x80) return false;
            char key = static_cast<char>(message.wParam);
            app_.dispatch([&] { key = form_.previewKeyPress(key); });
            if (key == 0) return true;
            message.wParam = static_cast<unsigned char>(key);
            return false;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const int key = static_cast<int>(message.wParam);
            const unsigned shift = currentShiftState();
            app_.dispatch([&] { form_.previewKeyUp(key, shift); });
            return false;
        }
        default:
            return false;
    }
}

void Win32MainWindow::propertyChanged(ui::Control& control, ui::Property what) {
    if (auto* gauge = dynamic_cast<ui::Gauge*>(&control)) {
        RECT area = place(*gauge);
        if (what == ui::Property::Value) {
            // A tick moves the bar by a fraction of a pixel mostly: only a
            // change that shows is repainted, and only the strip that changed.
            const RECT inner = gaugeInside(*gauge);
            const int drawn = drawnBar_[gauge];
            const int now = gauge->barWidth(inner.right - inner.left);
            if (now == drawn) return;
            area = inner;
            area.left = inner.left + std::min(drawn, now);
            area.right = inner.left + std::max(drawn, now);
            drawnBar_[gauge] = now;
            InvalidateRect(window_, &area, FALSE);
            return;
        }
        drawnBar_.erase(gauge);
        InvalidateRect(window_, &area, TRUE);
        return;
    }
    auto found = children_.find(control.id());
    if (found == children_.end()) return;
    HWND child = found->second;
    switch (what) {
        case ui::Property::Caption: {
            // A field's own edit reaches the model as a caption change; writing
            // the same text back would move the caret to the start.
            const std::wstring text = Widen(control.caption());
            const bool field = dynamic_cast<ui::SpinEdit*>(&control) || dynamic_cast<ui::ComboBox*>(&control);
            if (field && windowText(child) == text) break;
            SetWindowTextW(child, text.c_str());
            break;
        }
        case ui::Property::Visible:
            ShowWindow(child, control.visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case ui::Property::Enabled:
            EnableWindow(child, control.enabled());
            break;
        case ui::Property::Checked:
            if (auto* box = dynamic_cast<ui::CheckBox*>(&control))
                SendMessageW(child, BM_SETCHECK, box->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ui::Property::Hint:
            updateTooltip(control);
            break;
        default:
            InvalidateRect(child, nullptr, TRUE);
            break;
    }
}

void Win32MainWindow::focusRequested(ui::Control& control) {
    auto found = children_.find(control.id());
    if (found != children_.end()) SetFocus(found->second);
}

void Win32MainWindow::captionChanged() { SetWindowTextW(window_, Widen(form_.caption()).c_str()); }

int Win32MainWindow::outerHeight() const {
    // A minimised window keeps the height it will have when restored.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(window_) && GetWindowPlacement(window_, &placement))
        return placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    RECT outer;
    GetWindowRect(window_, &outer);
    return outer.bottom - outer.top;
}

void Win32MainWindow::heightChanged() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(window_) && GetWindowPlacement(window_, &placement)) {
        placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + deviceHeight(form_.height());
        placement.showCmd = SW_SHOWMINNOACTIVE;
        SetWindowPlacement(window_, &placement);
    } else {
        RECT outer;
        GetWindowRect(window_, &outer);
        SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, deviceHeight(form_.height()),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The system keeps a window at least as high as its caption; the model
    // reads what the window really took, in 96-DPI pixels.
    form_.noteHeight(designHeight(outerHeight()));
    // Until it is first shown the window stays centred at every height (the
    // show handler may show it from inside, at the compact height).
    if (!IsWindowVisible(window_)) centreOnScreen();
}

void Win32MainWindow::showWindow(ui::ShowCommand command) { ShowWindow(window_, static_cast<int>(command)); }

int Win32MainWindow::timerId(const ui::Timer& timer) const {
    for (int i = 0; i < 3; ++i)
        if (form_.timers[i] == &timer) return i + 1;
    return 0;
}

void Win32MainWindow::startTimer(ui::Timer& timer) {
    // Setting a timer again under the same id starts its period afresh.
    SetTimer(window_, static_cast<UINT_PTR>(timerId(timer)), timerSchedule_.start(timer), nullptr);
}

void Win32MainWindow::stopTimer(ui::Timer& timer) {
    timerSchedule_.stop(timer);
    KillTimer(window_, static_cast<UINT_PTR>(timerId(timer)));
}

RECT Win32MainWindow::gaugeInside(const ui::Gauge& gauge) const {
    RECT area = place(gauge);
    // The frame is as thick as one pixel is at 96 DPI.
    const int frame = ui::FrameWidth(dpi_);
    InflateRect(&area, -frame, -frame);
    return area;
}

void Win32MainWindow::paintGauges(HDC dc) {
    for (ui::Gauge* gauge : {&form_.Gauge2, &form_.Gauge1}) {
        if (!gauge->visible()) continue;
        RECT area = place(*gauge);
        for (int line = ui::FrameWidth(dpi_); line > 0; --line) {
            FrameRect(dc, &area, GetSysColorBrush(COLOR_WINDOWFRAME));
            InflateRect(&area, -1, -1);
        }
        FillRect(dc, &area, brush(gauge->backColor()));
        RECT bar = area;
        bar.right = bar.left + gauge->barWidth(area.right - area.left);
        drawnBar_[gauge] = bar.right - bar.left;
        if (bar.right > bar.left) FillRect(dc, &bar, brush(gauge->barColor()));
    }
}

void Win32MainWindow::onCommand(int id, int code, HWND child) {
    ui::Control* control = form_.controlById(id);
    if (!control || child == nullptr) return;
    if (auto* box = dynamic_cast<ui::CheckBox*>(control)) {
        if (code == BN_CLICKED) app_.dispatch([box] { box->toggleByUser(); });
    } else if (dynamic_cast<ui::Button*>(control)) {
        if (code == BN_CLICKED) app_.dispatch([control] { control->click(); });
    } else if (dynamic_cast<ui::StaticText*>(control)) {
        if (code == STN_CLICKED) app_.dispatch([control] { control->click(); });
        if (code == STN_DBLCLK) app_.dispatch([control] { control->doubleClick(); });
    } else if (auto* spin = dynamic_cast<ui::SpinEdit*>(control)) {
        if (code == EN_CHANGE) {
            const std::wstring text = windowText(child);
            const std::string typed = Narrow(text);
            app_.dispatch([spin, typed] { spin->setTextByUser(typed); });
        }
    } else if (auto* combo = dynamic_cast<ui::ComboBox*>(control)) {
        if (code == CBN_SELCHANGE) {
            const int index = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
            app_.dispatch([combo, index] { combo->selectByUser(index); });
        } else if (code == CBN_EDITCHANGE) {
            const std::string typed = Narrow(windowText(child));
            app_.dispatch([combo, typed] { combo->typeByUser(typed); });
        }
    }
}

LRESULT Win32MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            paintGauges(dc);
            EndPaint(window_, &paint);
            // The paint handler may wait with messages flowing; it runs after
            // the paint itself is complete, for every paint, also one that
            // arrives while an earlier paint handler waits.
            if (form_.onPaint) app_.dispatch(form_.onPaint);
            return 0;
        }
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window_, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ui::Control* control = controlOf(reinterpret_cast<HWND>(lParam));
            ui::Color color = ui::clBtnFace;
            if (auto* text = dynamic_cast<ui::StaticText*>(control)) color = text->color();
            SetBkColor(dc, toColorRef(color));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(brush(color));
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (auto* button = dynamic_cast<ui::Button*>(form_.controlById(static_cast<int>(item.CtlID)))) {
                painter_.draw(item, *button, font(button->font()), isHot(item.hwndItem), dpi_);
                return TRUE;
            }
            break;
        }
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_TIMER: {
            const auto index = static_cast<size_t>(wParam);
            if (index >= 1 && index <= 3) {
                ui::Timer* timer = form_.timers[index - 1];
                // Only the wait until the next due time, so late messages do not add up.
                if (const auto wait = timerSchedule_.next(*timer)) SetTimer(window_, wParam, *wait, nullptr);
                app_.dispatch([timer] { timer->fire(); });
            }
            return 0;
        }
        case WM_SYSCOMMAND:
            return WMSysCommand(wParam, lParam);
        case WM_SHOWWINDOW:
            // The application window is shown whenever the main window is
            // (not when its owner brings it back, lParam then names why).
            if (wParam && lParam == 0 && owner_ && !IsWindowVisible(owner_)) ShowWindow(owner_, SW_SHOWNOACTIVATE);
            break;
        case WM_LBUTTONDBLCLK:
            if (form_.onDblClick) app_.dispatch(form_.onDblClick);
            return 0;
        case WM_GETDPISCALEDSIZE: {
            // The size the window will have at the new DPI: the same design
            // client width and outer height as now.
            *reinterpret_cast<SIZE*>(lParam) = outerSizeAt(LOWORD(wParam), form_.height());
            return TRUE;
        }
        case WM_DPICHANGED: {
            changeDpi(HIWORD(wParam));
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                         suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
            form_.noteHeight(designHeight(outerHeight()));
            RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            if (message == taskbarButtonCreatedMessage_ && message != 0) {
                taskbarButtonCreated();
                return 0;
            }
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace tovik::win32

namespace tovik::win32 {

RECT Win32MainWindow::place(const ui::Control& control) const {
    const ui::Rect r = ui::ScaleRect(control.bounds(), dpi_);
    return RECT{r.left, r.top, r.left + r.width, r.top + r.height};
}

ui::WindowFrame Win32MainWindow::frame() const {
    return FrameHeights(windowStyle, static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)), dpi_);
}

SIZE Win32MainWindow::outerSizeAt(int dpi, int height) const {
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE));
    SIZE size = OuterSize(ui::ScaleToDpi(ui::TForm1::clientWidth, dpi), 0, windowStyle, exStyle, dpi);
    size.cy = ui::OuterHeightToDevice(height, dpi, FrameHeights(windowStyle, exStyle, dpi));
    return size;
}

void Win32MainWindow::changeDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    // Fonts of the old DPI go once no control uses them any more.
    std::map<std::string, HFONT> old;
    old.swap(fonts_);
    layoutControls();
    for (auto& [key, handle] : old) DeleteObject(handle);
    scaleTooltips();
}

void Win32MainWindow::layoutControls() {
    for (ui::Control* control : form_.controls()) {
        auto found = children_.find(control->id());
        if (found == children_.end()) continue;
        HWND child = found->second;
        const RECT r = place(*control);
        int height = r.bottom - r.top;
        if (dynamic_cast<ui::ComboBox*>(control)) height += px(comboItemHeight * comboListItems);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font(control->font())), FALSE);
        SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (dynamic_cast<ui::ComboBox*>(control)) {
            fitComboField(child, r.bottom - r.top);
            SendMessageW(child, CB_SETITEMHEIGHT, 0, px(comboItemHeight));
        }
        if (dynamic_cast<ui::SpinEdit*>(control) && spinArrows_) {
            RECT inside;
            GetClientRect(child, &inside);
            spinArrows_->moveTo(RECT{inside.right - px(spinArrowsWidth), 0, inside.right, inside.bottom});
            SendMessageW(child, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, px(spinArrowsWidth) + 1));
        }
    }
}

// ---------------------------------------------------------------- taskbar progress

void Win32MainWindow::taskbarButtonCreated() {
    // Older systems: the taskbar entry is the application window's, and
    // their shell has no progress on it.
    if (!platform::IsNewerWindows(system_)) return;
    if (!taskbarList_ && !taskbarListTried_) {
        taskbarListTried_ = true;
        // COM only now, once there is a button to show on: no start-up cost,
        // and nothing at all where the shell never announces a button.
        using InitializeFunction = HRESULT(WINAPI*)(void*, DWORD);
        using CreateFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
        HMODULE ole32 = LoadLibraryW(L"ole32.dll");
        auto initialize = ole32 ? reinterpret_cast<InitializeFunction>(
                                      reinterpret_cast<void*>(GetProcAddress(ole32, "CoInitializeEx")))
                                : nullptr;
        auto create = ole32 ? reinterpret_cast<CreateFunction>(
                                  reinterpret_cast<void*>(GetProcAddress(ole32, "CoCreateInstance")))
                            : nullptr;
        if (initialize && create) {
            comStarted_ = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
            ITaskbarList3* list = nullptr;
            if (SUCCEEDED(create(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                 reinterpret_cast<void**>(&list))) &&
                list) {
                if (SUCCEEDED(list->HrInit()))
                    taskbarList_ = list;
                else
                    list->Release();
            }
        }
    }
    // A new button (the shell may have restarted) shows nothing yet.
    if (taskbarList_) showProgress(true);
}

void Win32MainWindow::progressChanged() {
    if (taskbarList_) showProgress(false);
}

void Win32MainWindow::showProgress(bool again) {
    const ui::TaskbarProgress& progress = app_.taskbarProgress;
    const ui::ProgressState state = progress.state();
    const bool stateChanged = again || state != shownState_;
    shownState_ = state;
    if (state == ui::ProgressState::None) {
        if (stateChanged) taskbarList_->SetProgressState(window_, TBPF_NOPROGRESS);
        return;
    }
    // The value first: it would turn a bar without progress into a normal one.
    taskbarList_->SetProgressValue(window_, static_cast<ULONGLONG>(progress.value()),
                                   static_cast<ULONGLONG>(ui::TaskbarProgress::steps));
    if (!stateChanged) return;
    TBPFLAG flag = TBPF_NORMAL;
    if (state == ui::ProgressState::Paused) flag = TBPF_PAUSED;
    if (state == ui::ProgressState::Error) flag = TBPF_ERROR;
    taskbarList_->SetProgressState(window_, flag);
}

}  // namespace tovik::win32
