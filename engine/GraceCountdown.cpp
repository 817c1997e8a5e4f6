#include "engine/GraceCountdown.h"

#include "engine/CountdownText.h"

namespace tovik::engine {

namespace {

// From two minutes left on, the texts count minutes.
constexpr int minutesFormFrom = 1200;
constexpr int shortWatchdogUpTo = 600;

bool isRestoreMark(int ticks) {
    // 10 minutes, 3 minutes, 2 minutes, 1 minute and 10 seconds left.
    return ticks == 6000 || ticks == 1800 || ticks == 1200 || ticks == 600 || ticks == 100;
}

}  // namespace

GraceCountdown::GraceCountdown(ui::TForm1& form, ui::Application& app, const platform::SystemInfo& system,
                               const platform::Locale& locale, settings::Counters& counters, PowerActions& power)
    : form_(form), app_(app), system_(system), locale_(locale), counters_(counters), power_(power) {}

std::string GraceCountdown::goalWord() const { return form_.restartMode ? "Neustart" : "Feierabend"; }

std::string GraceCountdown::clockPrefix() const {
    // Without a valid time (a refused argument) there is nothing to name.
    return form_.clockTimeMode && !form_.targetClockTime.empty() ? "um " + form_.targetClockTime + " " : std::string();
}

std::string GraceCountdown::remainingTitle(const std::string& separator) const {
    if (form_.remainingTicks >= minutesFormFrom) return MinutesText(form_.remainingTicks, separator) + " Minuten ";
    return SecondsText(form_.remainingTicks, separator) + " Sekunden";
}

void GraceCountdown::tmCountDownTimer() {
    // A clock-time start gets its length only when the window is shown; until
    // then the ticks wait instead of counting below zero.
    if (form_.remainingTicks <= 0) return;
    --form_.remainingTicks;
    const int ticks = form_.remainingTicks;

    form_.Gauge1.setProgress(ticks);
    form_.Gauge2.setProgress(ticks);
    app_.taskbarProgress.showGauge(ui::ProgressState::Normal, form_.Gauge1);

    const std::string prefix = clockPrefix();
    const std::string goal = goalWord();
    const std::string separator = locale_.decimalSeparator();
    if (ticks >= minutesFormFrom) {
        // The clock time alone, without "um": at most six characters from the third on.
        const std::string clock = prefix.size() > 2 ? prefix.substr(2, 6) : std::string();
        form_.stSeconds.setCaption("Noch " + MinutesText(ticks, separator) + " Minuten bis..." + clock);
    } else {
        form_.stSeconds.setCaption("Noch " + SecondsText(ticks, separator) + "s bis " + goal + " " + prefix +
                                   FirstWord(form_.displayedOwner));
    }
    app_.setTitle(remainingTitle(separator));

    if (platform::IsNewerWindows(system_))
        form_.setCaption("Noch " + app_.title() + " bis " + goal + " " + prefix + form_.displayedOwner);

    // Every tick starts the watchdog's period afresh, so it only fires once
    // ticks have stopped.
    form_.tmExitDelay.setEnabled(false);
    form_.tmExitDelay.setInterval(ticks <= shortWatchdogUpTo ? shortWatchdogMs : longWatchdogMs);
    form_.tmExitDelay.setEnabled(true);

    if (isRestoreMark(ticks)) {
        form_.showWindow(ui::ShowCommand::Restore);
        // Screen readers read the line at the marks, not at each tick.
        form_.stSeconds.announce();
    }

    if (ticks == 0) {
        for (ui::Button* button :
             {&form_.btOops, &form_.btNewStart, &form_.btPwrOff, &form_.btLogOff, &form_.btLock, &form_.btHibernate})
            button->setEnabled(false);
        // Only the enabled and checked states count, not the visibility: a
        // hidden but checked box still turns the end into hibernate or suspend.
        if (form_.restartMode)
            power_.PwrOff(PowerAction::Restart);
        else if (form_.cbHibernateForPwrOff.enabled() && form_.cbHibernateForPwrOff.checked())
            power_.PwrOff(PowerAction::Hibernate);
        else
            power_.PwrOff(PowerAction::PowerOff);
    }
}

void GraceCountdown::btOopsClick() {
    const std::string goal = goalWord();
    form_.tmCountDown.setEnabled(!form_.tmCountDown.enabled());
    // The taskbar button shows the pause in yellow where the bar stopped.
    app_.taskbarProgress.showGauge(form_.tmCountDown.enabled() ? ui::ProgressState::Normal : ui::ProgressState::Paused,
                                   form_.Gauge1);
    if (!form_.tmCountDown.enabled()) {
        // Paused: the watchdog keeps running from the last tick, so an
        // unanswered pause ends the program.
        showPause(goal, /*counted=*/true);
    } else {
        form_.btOops.setCaption("Oder etwa nicht?");
        form_.stSeconds.setColor(ui::clSkyBlue);
        counters_.BumpCounter(settings::CounterKind::OopsResumeCounter);
        // The caption names the time that is left again, as the next tick will.
        form_.setCaption("Noch " + remainingTitle(locale_.decimalSeparator()) + " bis " + goal + " " +
                         form_.displayedOwner);
    }
}

void GraceCountdown::showPause(const std::string& goal, bool counted) {
    form_.stSeconds.setFocus();
    form_.btOops.setCaption("Oder vielleicht doch?");
    form_.stSeconds.setColor(ui::clBlue);
    if (counted) counters_.BumpCounter(settings::CounterKind::OopsCounter);
    app_.setTitle("Doch kein " + goal + " " + form_.displayedOwner);
    form_.setCaption(app_.title());
}

void GraceCountdown::pauseUnanswered() {
    form_.tmCountDown.setEnabled(false);
    app_.taskbarProgress.showGauge(ui::ProgressState::Paused, form_.Gauge1);
    showPause(goalWord(), /*counted=*/false);
    // The watchdog's period starts now, as at the last tick, so whoever woke
    // the computer sees the pause before the program ends.
    form_.tmExitDelay.setEnabled(false);
    form_.tmExitDelay.setInterval(form_.remainingTicks <= shortWatchdogUpTo ? shortWatchdogMs : longWatchdogMs);
    form_.tmExitDelay.setEnabled(true);
}

void GraceCountdown::tmExitDelayTimer() {
    // While the countdown runs, a watchdog that fires can only mean the ticks
    // were held up (the computer slept, the thread stood still) and both
    // timers fell due together: the next tick re-arms it and the countdown
    // goes on. Paused, acting or stopped, it ends the program.
    if (form_.tmCountDown.enabled()) return;
    app_.terminate();
}

}  // namespace tovik::engine
