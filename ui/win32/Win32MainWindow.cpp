// The main window: creation, the window procedure that routes each message
// to a named helper, layout and DPI changes, heights, show and centring, timers.
#include "ui/win32/Win32MainWindow.h"

#include "platform/win32/Utf16.h"
#include "res/ResourceIds.h"
#include "ui/ControlIds.h"
#include "ui/Taskbar.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/StartupTrace.h"
#include "ui/win32/VisualStyle.h"
#include "ui/win32/WindowProcedure.h"
#include "ui/win32/Workspace.h"

namespace tovik::win32 {

namespace {

constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// WM_SETTINGCHANGE names the app mode's change by this area.
bool IsAppModeChange(LPARAM lParam) {
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    return area && lstrcmpiW(area, L"ImmersiveColorSet") == 0;
}

#ifndef WM_GETDPISCALEDSIZE
constexpr UINT WM_GETDPISCALEDSIZE = 0x02E4;
#endif

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, ui::TForm1& form, ui::Application& app, HWND owner,
                                 const platform::SystemInfo& system, AccessibleProperties* accessibleProperties,
                                 Attention* attention, DwmWindowAttributes* windowAttributes)
    : form_(form),
      app_(app),
      system_(system),
      instance_(instance),
      owner_(owner),
      gauges_(form, resources_),
      controls_(instance, form, app, resources_),
      taskbarButton_(system, app.taskbarProgress),
      keyPreview_(form, app, controls_),
      accessibility_(accessibleProperties),
      attention_(attention ? *attention : systemAttention_),
      darkLook_(windowAttributes) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = ObjectWindowProcedure<Win32MainWindow>;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TOVIK));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    // No class brush: the background is erased in the palette's face colour.
    windowClass.hbrBackground = nullptr;
    windowClass.lpszClassName = ui::ids::mainWindowClass;
    RegisterClassW(&windowClass);

    const DWORD exStyle = createParamsExStyle();
    const SIZE outer = OuterSize(ui::TForm1::clientWidth, ui::TForm1::clientHeight, windowStyle, exStyle, dpi_);
    window_ = CreateWindowExW(exStyle, ui::ids::mainWindowClass, Widen(form_.caption()).c_str(), windowStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, outer.cx, outer.cy, owner, nullptr, instance, this);
    // The design client area at the DPI of the monitor the window came on.
    dpi_ = WindowDpi(window_);
    if (dpi_ != ui::designDpi) {
        const SIZE scaled = OuterSize(ui::ScaleToDpi(ui::TForm1::clientWidth, dpi_),
                                      ui::ScaleToDpi(ui::TForm1::clientHeight, dpi_), windowStyle, exStyle, dpi_);
        SetWindowPos(window_, nullptr, 0, 0, scaled.cx, scaled.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    resources_.setDpi(dpi_);
    icons_.setFor(window_, instance, IDI_TOVIK, dpi_);
    form_.noteHeight(designHeight(outerHeight()));
    StartupTrace::mark("window");
    gauges_.attach(window_, dpi_);
    controls_.create(instance, window_, dpi_);
    StartupTrace::mark("controls");
    tooltips_.create(instance, window_, dpi_);
    controls_.showHintsIn(tooltips_);
    StartupTrace::mark("tool tips");
    followLook();
    accessibility_.describe(form_, controls_);
    StartupTrace::mark("accessibility");
    // Keyboard cues as the last input asks: hidden after a mouse start.
    SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    form_.attachPeer(this);
    taskbarButton_.listen(window_);
    app_.taskbarProgress.attachPeer(&taskbarButton_);
}

Win32MainWindow::~Win32MainWindow() {
    app_.taskbarProgress.attachPeer(nullptr);
    form_.attachPeer(nullptr);
    for (ui::Control* control : form_.controls()) control->attachPeer(nullptr);
    for (ui::Timer* timer : form_.timers) timer->attachHost(nullptr);
    // The rooms go after the window: its destruction still sends them messages.
    if (window_) DestroyWindow(window_);
}

DWORD Win32MainWindow::createParamsExStyle() const {
    // Always on top; on newer systems the main window carries its own
    // taskbar entry although the application window owns it.
    return ui::MainWindowExStyle(WS_EX_TOPMOST, platform::IsNewerWindows(system_));
}

// ---------------------------------------------------------------- messages

LRESULT Win32MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return eraseBackground(reinterpret_cast<HDC>(wParam));
        case WM_PRINTCLIENT:
            // A themed button draws what lies beneath its round corners.
            gauges_.paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_SETTINGCHANGE:
            // Of the settings broadcast, often, only high contrast and the
            // app mode ("ImmersiveColorSet") change colours.
            if (wParam == SPI_SETHIGHCONTRAST || IsAppModeChange(lParam)) renewLook(message, wParam, lParam);
            break;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            renewLook(message, wParam, lParam);
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(
                controls_.colors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return reinterpret_cast<LRESULT>(controls_.fieldColors(reinterpret_cast<HDC>(wParam)));
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code == NM_CUSTOMDRAW)
                return controls_.customDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam));
            break;
        case WM_DRAWITEM:
            if (controls_.drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_COMMAND:
            controls_.command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_TIMER:
            timerFired(wParam);
            return 0;
        case WM_SYSCOMMAND:
            return WMSysCommand(wParam, lParam);
        case WM_SHOWWINDOW:
            showOwnerWithWindow(wParam, lParam);
            break;
        case WM_POWERBROADCAST:
            powerBroadcast(wParam);
            return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) controls_.rememberFocus();
            break;
        case WM_SETFOCUS:
            // The system gives the focus to the window itself when it is
            // activated or restored; the control that had it takes it back.
            controls_.giveFocusBack();
            return 0;
        case WM_LBUTTONDBLCLK:
            if (form_.onDblClick) app_.dispatch(form_.onDblClick);
            return 0;
        case WM_GETDPISCALEDSIZE:
            // The size the window will have at the new DPI: the same design
            // client width and outer height as now.
            *reinterpret_cast<SIZE*>(lParam) = outerSizeAt(LOWORD(wParam), form_.height());
            return TRUE;
        case WM_DPICHANGED:
            dpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            accessibility_.forget();
            PostQuitMessage(0);
            return 0;
        default:
            if (taskbarButton_.isButtonCreated(message)) {
                taskbarButton_.buttonCreated();
                return 0;
            }
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32MainWindow::powerBroadcast(WPARAM event) {
    // A wake sends PBT_APMRESUMEAUTOMATIC, and PBT_APMRESUMESUSPEND as well
    // once somebody is at the computer; the automatic one may come without a
    // suspend before it.
    if (event == PBT_APMSUSPEND) {
        if (form_.onSuspend) app_.dispatch(form_.onSuspend);
    } else if (event == PBT_APMRESUMEAUTOMATIC) {
        if (form_.onResume) app_.dispatch(form_.onResume);
    } else if (event == PBT_APMRESUMESUSPEND) {
        if (form_.onResumeByUser) app_.dispatch(form_.onResumeByUser);
    }
}

void Win32MainWindow::paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    gauges_.paint(dc);
    EndPaint(window_, &paint);
    // The paint handler may wait with messages flowing; it runs after the
    // paint itself is complete, for every paint, also one that arrives while
    // an earlier paint handler waits.
    if (form_.onPaint) app_.dispatch(form_.onPaint);
}

LRESULT Win32MainWindow::eraseBackground(HDC dc) {
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, resources_.brush(ui::Role::Face));
    return 1;
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

void Win32MainWindow::showOwnerWithWindow(WPARAM shown, LPARAM reason) {
    // The application window is shown whenever the main window is (not when
    // its owner brings it back, `reason` then names why).
    if (shown && reason == 0 && owner_ && !IsWindowVisible(owner_)) ShowWindow(owner_, SW_SHOWNOACTIVATE);
}

// ---------------------------------------------------------------- DPI and heights

void Win32MainWindow::dpiChanged(int dpi, const RECT& suggested) {
    changeDpi(dpi);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    form_.noteHeight(designHeight(outerHeight()));
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32MainWindow::followLook() {
    std::vector<HWND> checkBoxes;
    for (ui::Control* control : form_.controls())
        if (dynamic_cast<ui::CheckBox*>(control)) checkBoxes.push_back(controls_.childOf(*control));
    darkLook_.follow(window_, checkBoxes, tooltips_, resources_);
}

void Win32MainWindow::renewLook(UINT message, WPARAM wParam, LPARAM lParam) {
    resources_.renewColors();
    RenewVisualStyle();
    followLook();
    // The common controls learn of new colours only from their parent.
    if (message == WM_SYSCOLORCHANGE)
        for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, message, wParam, lParam);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Win32MainWindow::changeDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    // Fonts of the old DPI go once no control uses them any more.
    resources_.setDpi(dpi);
    gauges_.setDpi(dpi);
    controls_.setDpi(dpi);
    resources_.releaseRetiredFonts();
    tooltips_.setDpi(dpi);
    icons_.setFor(window_, instance_, IDI_TOVIK, dpi);
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

// ---------------------------------------------------------------- caption, show and centring

void Win32MainWindow::captionChanged() { SetWindowTextW(window_, Widen(form_.caption()).c_str()); }

void Win32MainWindow::showWindow(ui::ShowCommand command) {
    ShowWindow(window_, static_cast<int>(command));
    if (command == ui::ShowCommand::Restore) attention_.afterRestore(window_);
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
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromRect(&normal, MONITOR_DEFAULTTOPRIMARY), &monitor);
        normal = ScreenToWorkspace(normal, monitor, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
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

// ---------------------------------------------------------------- timers

int Win32MainWindow::timerId(const ui::Timer& timer) const {
    for (int i = 0; i < ui::TForm1::timerCount; ++i)
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

void Win32MainWindow::timerFired(WPARAM id) {
    const auto index = static_cast<size_t>(id);
    if (index >= 1 && index <= static_cast<size_t>(ui::TForm1::timerCount)) {
        ui::Timer* timer = form_.timers[index - 1];
        // Only the wait until the next due time, so late messages do not add up.
        if (const auto wait = timerSchedule_.next(*timer)) SetTimer(window_, id, *wait, nullptr);
        app_.dispatch([timer] { timer->fire(); });
    }
}

}  // namespace tovik::win32
