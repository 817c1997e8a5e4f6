#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "ui/TaskbarProgress.h"

namespace tovik::ui {

// Answers of a question box.
constexpr int answerYes = 6;
constexpr int answerNo = 7;

// Question-box flags, as Windows numbers them.
constexpr unsigned mbYesNo = 0x4;
constexpr unsigned mbIconQuestion = 0x20;
constexpr unsigned mbIconWarning = 0x30;
constexpr unsigned mbDefButton2 = 0x100;

// The toolkit's application: the taskbar title and progress, the message
// loop and its nested forms (message boxes, processing pending messages,
// waiting), and termination. Windows and the virtual-time test loop implement it.
class Application {
public:
    virtual ~Application() = default;

    // The application's title: the text of the program's taskbar entry.
    virtual std::string title() const = 0;
    virtual void setTitle(const std::string& text) = 0;

    // Ends the message loop once the current handler has returned.
    virtual void terminate() = 0;
    virtual bool terminated() const = 0;
    // Minimises the application as a whole.
    virtual void minimize() = 0;

    // Runs every pending message, then returns.
    virtual void processMessages() = 0;
    // Waits until a message arrives or the time-out runs out; false on time-out.
    virtual bool waitForMessage(std::uint32_t timeoutMs) = 0;
    // Milliseconds since an arbitrary start, wrapping at 32 bits.
    virtual std::uint32_t tickCount() const = 0;

    // Modal boxes, centred on the screen. Each runs a nested message loop in
    // which timers keep firing; a termination request closes it.
    // Information box: OK button, no icon, the application title as caption.
    virtual void showMessage(const std::string& text) = 0;
    // Warning box: caption "Warnung", warning icon, OK button.
    virtual void showWarning(const std::string& text) = 0;
    // Question box with Windows message-box flags; returns answerYes, answerNo, ...
    virtual int askQuestion(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // Error box: error icon, the application title as caption.
    virtual void showError(const std::string& text) = 0;

    // How long a tool tip stays before it hides by itself.
    virtual void setHintHidePause(int ms) = 0;
    virtual int hintHidePause() const = 0;

    // The handler the toolkit calls after it has minimised the application.
    std::function<void()> onMinimize;

    // The countdown on the program's taskbar button (newer systems).
    TaskbarProgress taskbarProgress;

    // The single dispatch point of every event: runs the handler and shows the
    // text of a failure in the error box, after which the program goes on.
    void dispatch(const std::function<void()>& handler);
};

}  // namespace tovik::ui
