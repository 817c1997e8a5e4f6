#include "timer/TimerPanel.h"

#include "timer/TargetTime.h"
#include "ui/Taskbar.h"

namespace tovik::timer {

TimerPanel::TimerPanel(ui::TForm1& form, ui::Application& app, const platform::SystemInfo& system,
                       const platform::Clock& clock, const platform::Locale& locale, settings::Counters& counters)
    : form_(form), app_(app), system_(system), clock_(clock), locale_(locale), counters_(counters) {}

void TimerPanel::CommonStart() {
    // The countdown stops where it is; remainingTicks keeps its value.
    form_.tmCountDown.setEnabled(false);
    form_.tmExitDelay.setEnabled(false);
    app_.taskbarProgress.clear();
    form_.btOops.setImageLayout(ui::ImageLayout::Left);
    form_.btOops.setEnabled(false);
    for (ui::Button* button : {&form_.btLogOff, &form_.btLock, &form_.btTimerOff1, &form_.btTimerOff2, &form_.btHibernate})
        button->setEnabled(false);
    form_.Gauge1.setVisible(false);
    form_.Gauge2.setVisible(false);
}

void TimerPanel::TimerBranch() {
    // The panel's controls are visible from the start; the height alone
    // brings them into view.
    form_.setHeight(form_.bigFormHeight);
    form_.setCaption(timerCaption);
    seShutMinutesChange();
    counters_.BumpCounter(settings::CounterKind::TimerOffCounter);
    if (!platform::IsNewerWindows(system_)) app_.setTitle(form_.caption());
}

void TimerPanel::btRestartClick() {
    form_.seShutMinutes.leave();
    // An emptied field reads as the minimum and stays empty.
    const int minutes = form_.seShutMinutes.value();
    form_.remainingTicks = minutes * ticksPerMinute;
    startedTargetText_ = targetLine();

    for (ui::Gauge* gauge : {&form_.Gauge1, &form_.Gauge2}) {
        gauge->setMinValue(0);
        gauge->setMaxValue(form_.remainingTicks);
        gauge->setProgress(form_.remainingTicks);
    }
    form_.stRestartTime.setVisible(false);
    form_.seShutMinutes.setVisible(false);
    form_.tmCountDown.setEnabled(true);
    form_.setHeight(form_.smallFormHeight);
    form_.setCaption(goCaption);

    form_.btOops.setImageLayout(ui::ImageLayout::Left);
    form_.btOops.setCaption("Oops! Das wollte ich noch nicht!");
    form_.btOops.setEnabled(true);
    for (ui::Button* button : {&form_.btLogOff, &form_.btLock, &form_.btTimerOff1, &form_.btTimerOff2, &form_.btHibernate})
        button->setCaption("");
    for (ui::Button* button :
         {&form_.btNewStart, &form_.btPwrOff, &form_.btLogOff, &form_.btLock, &form_.btTimerOff1, &form_.btHibernate})
        button->removeImage();
    form_.Gauge1.setVisible(true);
    form_.Gauge2.setVisible(true);
    form_.btOops.setFocus();
    form_.targetTimeTracking = true;

    if (form_.cbAutoMinimize.checked()) {
        if (platform::IsNewerWindows(system_))
            ui::AppMinimize(form_, app_);
        else
            app_.minimize();
    }
}

void TimerPanel::seShutMinutesChange() {
    form_.targetTimeTracking = true;
    // While the field reads 0 or less the target text stays as it was.
    if (form_.seShutMinutes.value() > 0) ShowTargetTime();
}

void TimerPanel::tmClockTimer() {
    form_.stWatch.setCaption(locale_.formatLongTime(clock_.now()));
    if (form_.targetTimeTracking && !form_.tmCountDown.enabled()) ShowTargetTime();
}

std::string TimerPanel::TargetTimeText() const {
    return MomentText(locale_, clock_.now(), form_.seShutMinutes.value() * msPerMinute);
}

std::string TimerPanel::CountdownEndText() const {
    return MomentText(locale_, clock_.now(), form_.remainingTicks * 100LL);
}

std::string TimerPanel::targetLine() const { return "Power Off um " + TargetTimeText(); }

void TimerPanel::ShowTargetTime() { form_.stSeconds.setCaption(targetLine()); }

void TimerPanel::ShowMissed() {
    CommonStart();
    for (ui::Control* panel : {static_cast<ui::Control*>(&form_.btRestart), static_cast<ui::Control*>(&form_.seShutMinutes),
                               static_cast<ui::Control*>(&form_.stRestartTime), static_cast<ui::Control*>(&form_.stWatch)})
        panel->setVisible(true);
    form_.setHeight(form_.bigFormHeight);
    form_.setCaption(timerCaption);
    if (!platform::IsNewerWindows(system_)) app_.setTitle(form_.caption());
    // The clock must not write the live target over the missed one; a change
    // of the minutes brings it back.
    form_.targetTimeTracking = false;
    form_.stSeconds.setCaption("Verpasst: " + startedTargetText_);
    form_.stSeconds.announce();
}

void TimerPanel::stSecondsClick() {
    // Only the time of day is copied; whole days of the minutes are lost.
    const platform::LocalDateTime target = PlusMinutes(clock_.now(), form_.seShutMinutes.value());
    form_.btPrefTime2.setCaption(ClockText(target));
    form_.btTimerOff2.setCaption("genau " + form_.btPrefTime2.caption());
}

void TimerPanel::FormKeyPress(char& key) {
    if (key != '\r' || form_.focusedControl() != &form_.seShutMinutes) return;
    key = 0;
    form_.btRestart.click();
}

}  // namespace tovik::timer
