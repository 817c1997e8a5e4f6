// The application on Windows: the hidden owner window, the message loop
// with the key preview, and the modal boxes.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::win32 {

class Win32MainWindow;

// The application on Windows: a hidden owner window whose text is the
// application's title, the message loop with the window's key preview, and
// the modal boxes. The owner window ("application window") has zero size and
// is shown whenever the main window is; on older systems its taskbar entry
// is the program's.
class Win32Application : public ui::Application {
public:
    explicit Win32Application(HINSTANCE instance);
    ~Win32Application() override;

    HWND handle() const { return window_; }
    void setMainWindow(Win32MainWindow* main) { main_ = main; }

    // Processes messages until the application is terminated.
    void run();

    // Start-up, before the main window is created: on newer systems the
    // application window becomes a tool window, so it gets no taskbar entry
    // even while it is shown.
    void arrangeTaskbar(bool newerSystem);

    // Runs when the session ends, right before the process ends with exit code 0.
    std::function<void()> onEndSession;

    std::string title() const override;
    void setTitle(const std::string& text) override;
    void terminate() override;
    bool terminated() const override { return terminated_; }
    void minimize() override;
    void processMessages() override;
    bool waitForMessage(std::uint32_t timeoutMs) override;
    std::uint32_t tickCount() const override { return GetTickCount(); }
    void showMessage(const std::string& text) override;
    void showWarning(const std::string& text) override;
    int askQuestion(const std::string& text, const std::string& caption, unsigned flags) override;
    void showError(const std::string& text) override;
    void setHintHidePause(int ms) override;
    int hintHidePause() const override { return hintHidePause_; }

private:
    template <typename Owner>
    friend LRESULT CALLBACK ObjectWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Hides or shows the main window as the application window is minimised or restored.
    void keepMainWindowWithApplication(WPARAM sizeKind);
    // Hands one message to the window's key preview, then to its window.
    void handle(MSG& message);
    int box(const std::string& text, const std::string& caption, unsigned flags);

    HWND window_ = nullptr;
    Win32MainWindow* main_ = nullptr;
    bool terminated_ = false;
    bool mainHiddenByMinimize_ = false;
    int hintHidePause_ = 2500;
};

}  // namespace tovik::win32
