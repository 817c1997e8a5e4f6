#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/SystemInfo.h"
#include "platform/win32/Win32Platform.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/Scaling.h"
#include "ui/TaskbarProgress.h"
#include "ui/Timer.h"
#include "ui/TimerSchedule.h"
#include "ui/win32/ButtonPainter.h"
#include "ui/win32/SpinArrows.h"

struct ITaskbarList3;

namespace tovik::win32 {

// The main window on Windows: a top-level window of class TForm1 with one
// child window per control (the gauges are painted by the window itself),
// mirroring the model's properties and turning user input into the model's
// events through the application's dispatch point. The model's places,
// fonts and heights are 96-DPI pixels; the window scales them to its DPI at
// creation and whenever the DPI changes. On newer systems its taskbar button
// shows the application's taskbar progress.
class Win32MainWindow : public ui::ControlPeer,
                        public ui::WindowPeer,
                        public ui::TimerHost,
                        public ui::TaskbarProgressPeer {
public:
    // `owner` is the application window; `system` answers at each use
    // whether the taskbar arrangement of newer systems applies.
    Win32MainWindow(HINSTANCE instance, ui::TForm1& form, ui::Application& app, HWND owner,
                    const platform::SystemInfo& system);
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
    bool previewMessage(MSG& message);

    void setHintHidePause(int ms);

    // ui::ControlPeer
    void propertyChanged(ui::Control& control, ui::Property what) override;
    void focusRequested(ui::Control& control) override;
    // ui::WindowPeer
    void captionChanged() override;
    void heightChanged() override;
    void showWindow(ui::ShowCommand command) override;
    // ui::TimerHost
    void startTimer(ui::Timer& timer) override;
    void stopTimer(ui::Timer& timer) override;
    // ui::TaskbarProgressPeer
    void progressChanged() override;

private:
    template <typename Owner>
    friend LRESULT CALLBACK ObjectWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The creation parameters' extended style (CreateParams).
    DWORD createParamsExStyle() const;
    LRESULT WMSysCommand(WPARAM wParam, LPARAM lParam);
    // The outer height in device pixels, also while the window is minimised.
    int outerHeight() const;
    // Caption and frame at 96 DPI and at the window's DPI.
    ui::WindowFrame frame() const;
    // The model's outer height in device pixels, and back.
    int deviceHeight(int height) const { return ui::OuterHeightToDevice(height, dpi_, frame()); }
    int designHeight(int pixels) const { return ui::OuterHeightFromDevice(pixels, dpi_, frame()); }
    // A length of the layout, and a control's place, at the window's DPI.
    int px(int length) const { return ui::ScaleToDpi(length, dpi_); }
    RECT place(const ui::Control& control) const;
    // The outer size for the design client width and the given outer height
    // (in 96-DPI pixels) at a DPI.
    SIZE outerSizeAt(int dpi, int height) const;
    // A new DPI (the window moved to another monitor, or the scaling
    // changed): fonts, places, pictures and tool tips for it.
    void changeDpi(int dpi);
    // Each child at its place with its font, for the window's DPI.
    void layoutControls();

    void createControls(HINSTANCE instance);
    void centreOnScreen();
    // Whether the mouse is over a flat button (its frame shows then).
    static bool isHot(HWND button);
    // The minutes field's own keys: the typed-character filter, the Up and
    // Down steps, and the write-back when the focus moves on.
    static LRESULT CALLBACK SpinFieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR self);
    LRESULT spinFieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
    void createTooltips(HINSTANCE instance);
    void updateTooltip(ui::Control& control);
    // The tool tips' width and font for the window's DPI.
    void scaleTooltips();
    // The font at the window's DPI.
    HFONT font(const ui::Font& font);
    HBRUSH brush(ui::Color color);
    void paintGauges(HDC dc);
    // A gauge's area inside its frame, in device pixels.
    RECT gaugeInside(const ui::Gauge& gauge) const;
    void onCommand(int id, int code, HWND child);
    ui::Control* controlOf(HWND child) const;
    int timerId(const ui::Timer& timer) const;
    // The shell has made (or made again) the window's taskbar button.
    void taskbarButtonCreated();
    // Shows the model's taskbar progress; `again` applies everything, also
    // what the button showed already.
    void showProgress(bool again);

    ui::TForm1& form_;
    ui::Application& app_;
    const platform::SystemInfo& system_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    std::map<int, HWND> children_;
    int dpi_ = ui::designDpi;
    HFONT tooltipFont_ = nullptr;
    UINT taskbarButtonCreatedMessage_ = 0;
    // The shell's taskbar list, once the button exists and where the system has one.
    ITaskbarList3* taskbarList_ = nullptr;
    bool comStarted_ = false;
    bool taskbarListTried_ = false;
    ui::ProgressState shownState_ = ui::ProgressState::None;
    std::map<std::string, HFONT> fonts_;
    std::map<ui::Color, HBRUSH> brushes_;
    ButtonPainter painter_;
    // The bar width each gauge was last painted with.
    std::map<const ui::Gauge*, int> drawnBar_;
    std::unique_ptr<SpinArrows> spinArrows_;
    // Each timer's next message is asked for by its schedule.
    Win32MonotonicClock monotonicClock_;
    ui::TimerSchedule timerSchedule_{monotonicClock_};
};

}  // namespace tovik::win32
