#include "app/CountdownAcrossSleep.h"

#include <algorithm>

#include "timer/TargetTime.h"

namespace tovik::app {

CountdownAcrossSleep::CountdownAcrossSleep(ui::TForm1& form, const platform::InterruptClocks& interruptClocks,
                                           const platform::Clock& clock, const platform::Locale& locale,
                                           platform::SystemAwake& awake, engine::GraceCountdown& countdown,
                                           timer::TimerPanel& timerPanel)
    : form_(form),
      uptime_(interruptClocks),
      clock_(clock),
      locale_(locale),
      awake_(awake),
      countdown_(countdown),
      timerPanel_(timerPanel),
      asleepSeen_(uptime_.asleep()),
      lastTickAt_(uptime_.milliseconds()) {}

void CountdownAcrossSleep::countdownRunning(bool running) {
    if (running) {
        // A sleep while no countdown ran is none of this countdown's business.
        lastTickAt_ = uptime_.milliseconds();
        seeAsleep(uptime_.asleep());
        setOut();
    } else {
        moment_.reset();
        awake_.release();
    }
}

void CountdownAcrossSleep::goStarted() {
    startedByGo_ = true;
    // "Go!" over a running countdown leaves the timer enabled: the moment is
    // the new one all the same.
    if (form_.tmCountDown.enabled()) setOut();
}

void CountdownAcrossSleep::setOut() {
    moment_ = uptime_.milliseconds() + static_cast<std::uint64_t>(std::max(form_.remainingTicks, 0)) * msPerTick;
    awake_.hold(awakeReason());
}

bool CountdownAcrossSleep::beforeTick() {
    const std::uint64_t now = uptime_.milliseconds();
    const std::uint64_t asleep = uptime_.asleep();
    // Windows 10 and later count the time asleep; where they do not (Windows 7,
    // Wine), a tick that comes a second late after the suspend message tells
    // it. Modern Standby may pause the program without a message and without
    // counting the time as asleep: a program that stood still a minute never
    // acts at a moment nobody chose, whatever stopped it.
    const bool afterSuspend = suspendedAt_ && lastTickAt_ <= *suspendedAt_ + suspendLapsesAfterMs;
    const bool slept = asleepGrew(asleep) || (afterSuspend && now >= lastTickAt_ + sleepNoticedFromMs) ||
                       now >= lastTickAt_ + standstillIsWakeFromMs;
    lastTickAt_ = now;
    seeAsleep(asleep);
    if (slept) woke();
    return form_.tmCountDown.enabled();
}

void CountdownAcrossSleep::systemSuspending() {
    suspendedAt_ = uptime_.milliseconds();
    suspendSeen_ = true;
}

void CountdownAcrossSleep::systemResumed() {
    // Windows sends two messages for most wakes, and a late tick may have
    // handled the wake before either.
    if (wakeHandled_ && !suspendedAt_ && !asleepGrew(uptime_.asleep())) return;
    woke();
}

void CountdownAcrossSleep::systemResumedByUser() {
    // Windows sends it only to programs that had the suspend message: without
    // one, the computer slept before this program started.
    if (suspendSeen_) systemResumed();
}

void CountdownAcrossSleep::woke() {
    const std::uint64_t now = uptime_.milliseconds();
    suspendedAt_.reset();
    wakeHandled_ = true;
    seeAsleep(uptime_.asleep());
    lastTickAt_ = now;
    if (!form_.tmCountDown.enabled() || !moment_) return;

    if (*moment_ < now + missedWithinMs) {
        // Nothing acts right after waking: the computer may have been woken
        // for something else, or by somebody who did not expect it.
        if (startedByGo_)
            timerPanel_.ShowMissed();
        else
            countdown_.pauseUnanswered();
    } else {
        // The ticks the sleep swallowed are not replayed: the count is the
        // time left to the same moment, and marks passed asleep stay unshown.
        // The overdue tick that comes with the wake takes one at once and
        // brings the gauges along.
        form_.remainingTicks = static_cast<int>((*moment_ - now + msPerTick - 1) / msPerTick + 1);
        // Set again after every resume.
        awake_.hold(awakeReason());
    }
    // Whoever woke the computer sees what it will still do, or what it missed.
    form_.showWindow(ui::ShowCommand::Restore);
    form_.stSeconds.announce();
}

void CountdownAcrossSleep::programEnds() { awake_.release(); }

std::string CountdownAcrossSleep::awakeReason() const {
    const std::uint64_t now = uptime_.milliseconds();
    const long long left = moment_ && *moment_ > now ? static_cast<long long>(*moment_ - now) : 0;
    const std::string when = "um " + timer::MomentText(locale_, clock_.now(), left);
    if (form_.restartMode) return "Tovik startet den Computer " + when + " neu";
    if (form_.cbHibernateForPwrOff.enabled() && form_.cbHibernateForPwrOff.checked())
        return "Tovik legt den Computer " + when + " schlafen";
    return "Tovik schaltet den Computer " + when + " aus";
}

}  // namespace tovik::app
