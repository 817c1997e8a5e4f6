// The application on Windows: the hidden owner window, its taskbar entry
// and minimising, the message loop, and the modal boxes.
#include "ui/win32/Win32Application.h"

#include "ui/win32/StartupTrace.h"

#include "platform/win32/Utf16.h"
#include "ui/ControlIds.h"
#include "ui/Taskbar.h"
#include "ui/win32/Win32MainWindow.h"
#include "ui/win32/WindowProcedure.h"

namespace tovik::win32 {

Win32Application::Win32Application(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ObjectWindowProcedure<Win32Application>;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.lpszClassName = ui::ids::applicationWindowClass;
    RegisterClassW(&windowClass);
    // A hidden top-level window of zero size that owns the main window.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    window_ = CreateWindowExW(0, ui::ids::applicationWindowClass, L"Tovik",
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                              nullptr, nullptr, instance, this);
}

Win32Application::~Win32Application() {
    if (window_) DestroyWindow(window_);
}

std::string Win32Application::title() const {
    const int length = GetWindowTextLengthW(window_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window_, text.data(), length + 1);
    return Narrow(text.data(), copied);
}

void Win32Application::setTitle(const std::string& text) { SetWindowTextW(window_, Widen(text).c_str()); }

void Win32Application::terminate() {
    // WM_QUIT ends the main loop, and also closes an open modal box on its way.
    terminated_ = true;
    PostQuitMessage(0);
}

void Win32Application::arrangeTaskbar(bool newerSystem) {
    const auto exStyle = static_cast<std::uint32_t>(GetWindowLongW(window_, GWL_EXSTYLE));
    SetWindowLongW(window_, GWL_EXSTYLE, static_cast<LONG>(ui::ApplicationWindowExStyle(exStyle, newerSystem)));
}

void Win32Application::minimize() {
    // Minimising the application window hides the main window it owns; on
    // older systems the application's taskbar entry is then the only trace
    // of the program. The minimise handler runs afterwards.
    ShowWindow(window_, SW_MINIMIZE);
    if (onMinimize) dispatch(onMinimize);
}

void Win32Application::keepMainWindowWithApplication(WPARAM sizeKind) {
    HWND mainWindow = main_ ? main_->handle() : nullptr;
    if (!mainWindow) return;
    // A minimised owner takes the windows it owns off the screen, and its
    // restore brings them back. Where the system leaves that undone, it is
    // done here; only a window hidden here is shown here again.
    if (sizeKind == SIZE_MINIMIZED) {
        if (IsWindowVisible(mainWindow)) {
            ShowWindow(mainWindow, SW_HIDE);
            mainHiddenByMinimize_ = true;
        }
    } else if (mainHiddenByMinimize_) {
        mainHiddenByMinimize_ = false;
        if (!IsWindowVisible(mainWindow)) ShowWindow(mainWindow, SW_SHOW);
    }
}

LRESULT Win32Application::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND:
            // The application's own taskbar entry (older systems): a minimise
            // there minimises the application as a whole.
            if ((static_cast<unsigned>(wParam) & ui::syscmd::mask) == ui::syscmd::minimize) {
                minimize();
                return 0;
            }
            break;
        case WM_SIZE:
            keepMainWindowWithApplication(wParam);
            break;
        case WM_CLOSE:
            // Closing the application closes its main window.
            if (main_ && main_->handle()) {
                PostMessageW(main_->handle(), WM_CLOSE, 0, 0);
                return 0;
            }
            break;
        case WM_ENDSESSION:
            // The system ends the process once every window has seen this;
            // end it here with the program's exit code, 0.
            if (wParam) {
                if (onEndSession) onEndSession();
                ExitProcess(0);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32Application::handle(MSG& message) {
    if (main_ && main_->previewMessage(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32Application::run() {
    MSG message;
    for (;;) {
        // The first time the loop runs out of work the window is painted.
        if (StartupTrace::pending() && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) StartupTrace::finish();
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
        handle(message);
    }
    terminated_ = true;
}

void Win32Application::processMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave it for the loop that owns the program's end.
            PostQuitMessage(static_cast<int>(message.wParam));
            terminated_ = true;
            return;
        }
        handle(message);
    }
}

bool Win32Application::waitForMessage(std::uint32_t timeoutMs) {
    if (terminated_) return false;
    // Every kind of input, touch and pen included; input that is already in
    // the queue wakes it too, even when something has looked at it before.
    // Windows 7 refuses the touch and pen bits, so it waits without them.
    constexpr DWORD touchAndPen = 0x0800 /* QS_TOUCH */ | 0x1000 /* QS_POINTER */;
    static DWORD wakeMask = QS_ALLINPUT | touchAndPen;
    DWORD result = MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, wakeMask, MWMO_INPUTAVAILABLE);
    if (result == WAIT_FAILED && (wakeMask & touchAndPen)) {
        wakeMask &= ~touchAndPen;
        result = MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, wakeMask, MWMO_INPUTAVAILABLE);
    }
    return result != WAIT_TIMEOUT;
}

int Win32Application::box(const std::string& text, const std::string& caption, unsigned flags) {
    HWND owner = main_ ? main_->handle() : window_;
    return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags | MB_TOPMOST);
}

void Win32Application::showMessage(const std::string& text) { box(text, title(), MB_OK); }

void Win32Application::showWarning(const std::string& text) { box(text, "Warnung", MB_OK | MB_ICONWARNING); }

int Win32Application::askQuestion(const std::string& text, const std::string& caption, unsigned flags) {
    return box(text, caption, flags);
}

void Win32Application::showError(const std::string& text) { box(text, title(), MB_OK | MB_ICONERROR); }

void Win32Application::setHintHidePause(int ms) {
    hintHidePause_ = ms;
    if (main_) main_->setHintHidePause(ms);
}

}  // namespace tovik::win32
