#pragma once
#include <string>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/SystemInfo.h"
#include "settings/Counters.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::timer {

// The timer panel: "Timer aus," stops the grace countdown and shows the
// panel, the minutes field with its step buttons sets the length, "Go!"
// restarts the grace countdown with minutes x 600 ticks, and a one-second
// clock keeps the clock line and the target time current.
class TimerPanel {
public:
    TimerPanel(ui::TForm1& form, ui::Application& app, const platform::SystemInfo& system,
               const platform::Clock& clock, const platform::Locale& locale, settings::Counters& counters);

    // The start shared by every sender of the window's double-click: both
    // timers stop, the action buttons are disabled and the gauges hidden.
    void CommonStart();
    // "Timer aus,": the tall window with the panel and the live target time.
    void TimerBranch();

    void btRestartClick();
    void seShutMinutesChange();
    void seShutMinutesKeyPress(char&) {}
    void tmClockTimer();
    void btPlusHourClick() { form_.seShutMinutes.step(60); }
    void btMinusHourClick() { form_.seShutMinutes.step(-60); }
    void btPlusDayClick() { form_.seShutMinutes.step(1440); }
    void btMinusDayClick() { form_.seShutMinutes.step(-1440); }
    void stSecondsClick();
    // Enter typed in the minutes field starts "Go!" and goes no further.
    void FormKeyPress(char& key);

    // A countdown started by "Go!" missed its moment while the computer slept:
    // it stops as a double-click in the timer layout stops it, with the panel
    // in view, "Go!" ready and the minutes as they were, and the line says
    // which moment was missed. Nothing is counted.
    void ShowMissed();
    // The target text the panel showed when "Go!" last started a countdown.
    const std::string& startedTargetText() const { return startedTargetText_; }

    // "Power Off um " and the target time.
    void ShowTargetTime();
    // The time of day the minutes read lead to from now, in the user's long
    // time format, with the whole days: "01:00:37  +1 Tag".
    std::string TargetTimeText() const;
    // The same for the moment the running countdown ends at: its remaining
    // ticks from now, so that it names one moment however long it runs.
    std::string CountdownEndText() const;

    static constexpr const char* timerCaption =
        "Nach einer bestimmten Zeit ausschalten 1 - 1999999 Minuten  (1388 Tage)";
    static constexpr const char* goCaption = "Tovik - Timer Power Off";
    static constexpr int ticksPerMinute = 600;

private:
    std::string targetLine() const;

    ui::TForm1& form_;
    ui::Application& app_;
    const platform::SystemInfo& system_;
    const platform::Clock& clock_;
    const platform::Locale& locale_;
    settings::Counters& counters_;
    std::string startedTargetText_;
};

}  // namespace tovik::timer
