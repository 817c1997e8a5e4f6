#pragma once
#include <windows.h>

#include <string>

#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::win32 {

class Win32MainWindow;

// The application on Windows: a hidden owner window whose text is the
// application's title, the message loop with the window's key preview, and
// the modal boxes.
class Win32Application : public ui::Application {
public:
    explicit Win32Application(HINSTANCE instance);
    ~Win32Application() override;

    HWND handle() const { return window_; }
    void setMainWindow(Win32MainWindow* main) { main_ = main; }

    // Processes messages until the application is terminated.
    void run();

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
    // Hands one message to the window's key preview, then to its window.
    void handle(MSG& message);
    int box(const std::string& text, const std::string& caption, unsigned flags);

    HWND window_ = nullptr;
    Win32MainWindow* main_ = nullptr;
    bool terminated_ = false;
    int hintHidePause_ = 2500;
};

}  // namespace tovik::win32
