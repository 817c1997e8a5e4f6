// The main window on Windows, the hub of ui/win32: it owns the other rooms,
// and its window procedure hands each message to the helper that handles it.
#pragma once
#include <windows.h>

#include "platform/SystemInfo.h"
#include "platform/win32/Win32Platform.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/Scaling.h"
#include "ui/Timer.h"
#include "ui/TimerSchedule.h"
#include "ui/win32/Accessibility.h"
#include "ui/win32/Attention.h"
#include "ui/win32/ChildControls.h"
#include "ui/win32/DarkLook.h"
#include "ui/win32/Gauges.h"
#include "ui/win32/GdiResources.h"
#include "ui/win32/KeyPreview.h"
#include "ui/win32/TaskbarButton.h"
#include "ui/win32/Tooltips.h"
#include "ui/win32/WindowIcons.h"

namespace tovik::win32 {

// A top-level window of class TForm1 with one child window per control (the
// gauges are painted by the window itself), mirroring the model's properties
// and turning user input into the model's events through the application's
// dispatch point. The model's places, fonts and heights are 96-DPI pixels;
// the window scales them to its DPI at creation and whenever the DPI
// changes. On newer systems its taskbar button shows the taskbar progress.
//
// The rooms: `controls_` the child windows (with their buttons' behaviour,
// the minutes field and the button painter), `gauges_` the painted gauges,
// `resources_` fonts and brushes, `tooltips_` the tool tips, `taskbarButton_`
// the taskbar button, `keyPreview_` the key preview, `icons_` the window's
// icons for its DPI, `accessibility_` what screen readers read, `attention_`
// the taskbar button's flashing, `darkLook_` the dark caption and children.
// The window itself keeps creation, layout and DPI, heights, showing and
// centring, and the timers.
class Win32MainWindow : public ui::WindowPeer, public ui::TimerHost {
public:
    // `owner` is the application window; `system` answers at each use
    // whether the taskbar arrangement of newer systems applies. Tests may
    // replace the accessibility property services, the foreground rule and
    // DWM's window attributes.
    Win32MainWindow(HINSTANCE instance, ui::TForm1& form, ui::Application& app, HWND owner,
                    const platform::SystemInfo& system, AccessibleProperties* accessibleProperties = nullptr,
                    Attention* attention = nullptr, DwmWindowAttributes* windowAttributes = nullptr);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    HWND handle() const { return window_; }

    // Shows the window for the first time: the show handler runs, then the
    // window is centred on the screen and made visible. A minimising show
    // command (a shortcut set to run minimised) shows the window normally
    // and then minimises the application.
    void showFirstTime(int showCommand);

    // Key preview: the window's key handlers see every key of the window and
    // its controls first. True when the message was consumed.
    bool previewMessage(MSG& message) { return keyPreview_.preview(window_, message); }

    void setHintHidePause(int ms) { tooltips_.setHidePause(ms); }

    // ui::WindowPeer
    void captionChanged() override;
    void heightChanged() override;
    void showWindow(ui::ShowCommand command) override;
    // ui::TimerHost
    void startTimer(ui::Timer& timer) override;
    void stopTimer(ui::Timer& timer) override;

private:
    template <typename Owner>
    friend LRESULT CALLBACK ObjectWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The message handlers the window procedure hands messages to.
    void paint();
    // The computer is about to sleep, or woke again.
    void powerBroadcast(WPARAM event);
    LRESULT eraseBackground(HDC dc);
    LRESULT WMSysCommand(WPARAM wParam, LPARAM lParam);
    void showOwnerWithWindow(WPARAM shown, LPARAM reason);
    void dpiChanged(int dpi, const RECT& suggested);
    // WM_SYSCOLORCHANGE, WM_THEMECHANGED, WM_SETTINGCHANGE of high contrast
    // or of the app mode: colours, brushes and theme data read afresh, the
    // caption and children follow, and everything is painted again.
    void renewLook(UINT message, WPARAM wParam, LPARAM lParam);
    // The caption, the check boxes and the tool tips in the current look.
    void followLook();
    void timerFired(WPARAM id);

    // The creation parameters' extended style (CreateParams).
    DWORD createParamsExStyle() const;
    // The outer height in device pixels, also while the window is minimised.
    int outerHeight() const;
    // Caption and frame at 96 DPI and at the window's DPI.
    ui::WindowFrame frame() const;
    // The model's outer height in device pixels, and back.
    int deviceHeight(int height) const { return ui::OuterHeightToDevice(height, dpi_, frame()); }
    int designHeight(int pixels) const { return ui::OuterHeightFromDevice(pixels, dpi_, frame()); }
    // The outer size for the design client width and the given outer height
    // (in 96-DPI pixels) at a DPI.
    SIZE outerSizeAt(int dpi, int height) const;
    // A new DPI (the window moved to another monitor, or the scaling
    // changed): fonts, places, pictures and tool tips for it.
    void changeDpi(int dpi);
    void centreOnScreen();
    int timerId(const ui::Timer& timer) const;

    ui::TForm1& form_;
    ui::Application& app_;
    const platform::SystemInfo& system_;
    HINSTANCE instance_ = nullptr;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    int dpi_ = ui::designDpi;
    // The rooms live until the window and its children are gone: messages
    // of the destruction still reach them.
    GdiResources resources_;
    Gauges gauges_;
    ChildControls controls_;
    Tooltips tooltips_;
    TaskbarButton taskbarButton_;
    KeyPreview keyPreview_;
    WindowIcons icons_;
    // Each timer's next message is asked for by its schedule.
    Win32MonotonicClock monotonicClock_;
    ui::TimerSchedule timerSchedule_{monotonicClock_};
    Accessibility accessibility_;
    Attention systemAttention_;
    Attention& attention_;
    DarkLook darkLook_;
};

}  // namespace tovik::win32
