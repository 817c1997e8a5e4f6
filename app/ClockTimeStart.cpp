#include "app/ClockTimeStart.h"

#include "app/CommandLine.h"
#include "app/PauseWithMessages.h"

namespace tovik::app {

ClockTimeStart::ClockTimeStart(ui::TForm1& form, ui::Application& app, timer::TimerPanel& timerPanel)
    : form_(form), app_(app), timerPanel_(timerPanel) {}

void ClockTimeStart::FormShow() {
    if (!form_.clockTimeMode) return;
    // Each click runs to its end; an error in the first skips the second.
    form_.btTimerOff1.click();
    form_.btPrefTime2.click();
}

std::string ClockTimeStart::targetTimeCaption() {
    // The time from the command line, as long as the countdown still aims at
    // it (a preset clicked later aims elsewhere).
    const bool aimsAtArgument =
        IsClockTimeArgument(firstArgument_) &&
        (form_.targetClockTime.empty() || form_.targetClockTime == firstArgument_);
    if (aimsAtArgument) return "um " + firstArgument_ + " Uhr";
    // The minutes field stands still while the countdown runs; only the
    // remaining ticks keep naming the moment it really ends at, and after it
    // stopped (a pause, a refused action) the moment it last aimed at. With
    // the panel in view the minutes lead, as in the panel's target line.
    if (form_.tmCountDown.enabled()) countdownEnd_ = timerPanel_.CountdownEndText();
    if (form_.seShutMinutes.visible() || countdownEnd_.empty()) return "um " + timerPanel_.TargetTimeText() + " Uhr";
    return "um " + countdownEnd_ + " Uhr";
}

void ClockTimeStart::FormPaint() {
    if (!form_.clockTimeMode) return;
    form_.btNewStart.setCaption("Computer wird genau");
    form_.btPwrOff.setCaption(targetTimeCaption());
    form_.btHibernate.setCaption("runter gefahren");
    form_.btNewStart.setHint("Achtung, Button für Neustrat ist noch aktiv!");
    form_.btPwrOff.setHint("Achtung, Button für PowerOff ist noch aktiv!");
    form_.btHibernate.setHint("Achtung, Button für Tiefschlaf ist noch aktiv!");
    for (ui::Button* button : {&form_.btTimerOff1, &form_.btTimerOff2, &form_.btLogOff, &form_.btLock})
        button->setEnabled(false);
    // Cleared before the pause: a paint handled during it must not pause again.
    if (form_.firstPaintPause) {
        form_.firstPaintPause = false;
        PauseWithMessages(app_, firstPaintPauseMs);
    }
}

}  // namespace tovik::app
