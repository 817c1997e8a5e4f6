#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Timer.h"

namespace tovik::ui {

// Virtual key codes the window's key handling looks at.
constexpr int VK_TAB_KEY = 0x09;
constexpr int VK_RETURN_KEY = 0x0D;
constexpr int VK_ESCAPE_KEY = 0x1B;

// Modifier set of a key event: bit 0 Shift, bit 1 Alt, bit 2 Ctrl.
constexpr unsigned ssShift = 1;
constexpr unsigned ssAlt = 2;
constexpr unsigned ssCtrl = 4;

// The modifier set of a key event from the keys held down. AltGr, which
// Windows reports as Ctrl+Alt with the right Alt key down, is neither Ctrl
// nor Alt: on a German keyboard it types "@" or "€". `rightAltDown` counts
// only on a layout that has AltGr; elsewhere the right Alt is plain Alt.
unsigned ShiftStateOf(bool shiftDown, bool altDown, bool ctrlDown, bool rightAltDown);

// ShowWindow commands the program uses on its main window.
enum class ShowCommand { Hide = 0, Show = 5, Minimize = 6, Restore = 9 };

class TForm1;

// Mirrors the window's own properties on screen.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;
    virtual void captionChanged() = 0;
    virtual void heightChanged() = 0;
    virtual void showWindow(ShowCommand command) = 0;
};

// The main window Form1: every control, the three timers and the state fields
// that the handlers share. It only holds state; the handlers live in the
// engine, timer, settings and app folders and are bound in app/.
class TForm1 {
public:
    TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Controls, in creation order (also the drawing order of the gauges).
    Gauge Gauge2;
    Gauge Gauge1;
    Button btFormPlus;
    Button btFormMinus;
    Button btFormHeight1Store;
    Button btFormHeight2Store;
    Button btPwrOff;
    StaticText stSeconds;
    Button btNewStart;
    Button btLogOff;
    Button btRestart;
    SpinEdit seShutMinutes;
    StaticText stRestartTime;
    StaticText stWatch;
    Button btTimerOff1;
    Button btPlusHour;
    Button btMinusHour;
    Button btPlusDay;
    Button btMinusDay;
    CheckBox cbForcePwrOff;
    CheckBox cbAutoMinimize;
    ComboBox cbOffByTime;
    Button btPrefTime1;
    Button btPrefTime2;
    Button btHibernate;
    CheckBox cbHibernateForPwrOff;
    Button btOops;
    Button btLock;
    Button btTimerOff2;
    Button Button1;

    Timer tmCountDown;
    Timer tmExitDelay;
    Timer tmClock;

    // State fields; all zero, false or empty when the window is created.
    int remainingTicks = 0;
    int smallFormHeight = 0;
    int bigFormHeight = 0;
    bool simulationMode = false;
    bool targetTimeTracking = false;
    bool shiftDown = false;
    bool clockTimeMode = false;
    bool restartMode = false;
    bool firstPaintPause = false;
    std::string displayedOwner;
    // The clock time a preset's countdown aims at, set as that countdown starts.
    std::string targetClockTime;

    // Window properties.
    static constexpr int clientWidth = 569;
    static constexpr int clientHeight = 503;
    static constexpr const char* designCaption = "Computer mit einem Click ausschalten";
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& text);
    // The outer height, frame and caption included, as the program stores it.
    // Until the window exists it is the design client height with a classic
    // frame; the window reports its real outer height from creation on.
    static constexpr int designOuterHeight = clientHeight + 31;
    int height() const { return height_; }
    // Every height reaches the window, also one equal to the current one: the
    // window may have refused an earlier one (below its minimum size).
    void setHeight(int pixels);
    // The window's real outer height, as the toolkit reads it back.
    void noteHeight(int pixels) { height_ = pixels; }
    void showWindow(ShowCommand command);
    ShowCommand lastShowCommand() const { return lastShow_; }

    // Window events, bound by the composition root.
    std::function<void()> onShow;
    std::function<void()> onPaint;
    std::function<void()> onDblClick;
    std::function<void(int key, unsigned shift)> onKeyDown;
    std::function<void(char& key)> onKeyPress;
    std::function<void(int key, unsigned shift)> onKeyUp;
    // The computer is about to sleep; it woke again.
    std::function<void()> onSuspend;
    std::function<void()> onResume;        // PBT_APMRESUMEAUTOMATIC
    std::function<void()> onResumeByUser;  // PBT_APMRESUMESUSPEND

    // Every control, in creation order; the gauges first.
    const std::vector<Control*>& controls() const { return controls_; }
    Control* controlById(int id) const;
    static constexpr int timerCount = 3;
    Timer* timers[timerCount];

    // Keyboard focus, as the toolkit reports it.
    Control* focusedControl() const { return focused_; }
    void noteFocus(Control* control) { focused_ = control; }
    // The control that Tab (or Shift+Tab) moves to from the focused one.
    Control* nextTabStop(bool backward) const;

    // Key preview: the window's key handlers see every key before the focused
    // control. Returns true when the window consumed the key (Esc on the
    // cancel button, Enter on a focused button).
    bool previewKeyDown(int key, unsigned shift);
    // Returns the character to hand on to the focused control; 0 swallows it.
    char previewKeyPress(char key);
    void previewKeyUp(int key, unsigned shift);

    void attachPeer(WindowPeer* peer) { peer_ = peer; }

private:
    std::vector<Control*> controls_;
    Control* focused_ = nullptr;
    std::string caption_ = designCaption;
    int height_ = designOuterHeight;
    ShowCommand lastShow_ = ShowCommand::Hide;
    WindowPeer* peer_ = nullptr;
};

}  // namespace tovik::ui
