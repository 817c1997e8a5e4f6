#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/SystemInfo.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/Timer.h"
#include "ui/win32/ButtonPainter.h"
#include "ui/win32/SpinArrows.h"

namespace tovik::win32 {

// The main window on Windows: a top-level window of class TForm1 with one
// child window per control (the gauges are painted by the window itself),
// mirroring the model's properties and turning user input into the model's
// events through the application's dispatch point.
class Win32MainWindow : public ui::ControlPeer, public ui::WindowPeer, public ui::TimerHost {
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

private:
    template <typename Owner>
    friend LRESULT CALLBACK ObjectWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The creation parameters' extended style (CreateParams).
    DWORD createParamsExStyle() const;
    LRESULT WMSysCommand(WPARAM wParam, LPARAM lParam);
    // The outer height, also while the window is minimised.
    int outerHeight() const;

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
    HFONT font(const ui::Font& font);
    HBRUSH brush(ui::Color color);
    void paintGauges(HDC dc);
    void onCommand(int id, int code, HWND child);
    ui::Control* controlOf(HWND child) const;
    int timerId(const ui::Timer& timer) const;

    ui::TForm1& form_;
    ui::Application& app_;
    const platform::SystemInfo& system_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    std::map<int, HWND> children_;
    std::map<std::string, HFONT> fonts_;
    std::map<ui::Color, HBRUSH> brushes_;
    ButtonPainter painter_;
    std::unique_ptr<SpinArrows> spinArrows_;
};

}  // namespace tovik::win32
