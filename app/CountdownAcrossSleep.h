#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/GraceCountdown.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/SystemAwake.h"
#include "platform/UptimeClock.h"
#include "timer/TimerPanel.h"
#include "ui/MainWindow.h"

namespace tovik::app {

// A running countdown and the computer's sleep. While the countdown runs the
// system is asked to stay awake. Each countdown keeps the moment it set out
// for: "Go!" the target time the panel showed, the grace countdown the end
// counted from its start or its last resume. A sleep never moves that moment:
// after waking, a moment at least a minute ahead is counted to as before; a
// moment passed, or less than a minute ahead, is missed, and nothing acts.
// A wake is known from the power messages, from the clocks (the time spent
// asleep), from a tick a second late after the suspend message, and from a
// tick a minute late, whatever held the program up; whichever comes first
// after a sleep is the one that counts. A thread that stood still for less
// than a minute without a sleep still stretches the countdown.
class CountdownAcrossSleep {
public:
    CountdownAcrossSleep(ui::TForm1& form, const platform::InterruptClocks& interruptClocks, const platform::Clock& clock,
                         const platform::Locale& locale, platform::SystemAwake& awake,
                         engine::GraceCountdown& countdown, timer::TimerPanel& timerPanel);

    // tmCountDown was enabled (a countdown sets out) or disabled (it paused,
    // stopped, acts).
    void countdownRunning(bool running);
    // "Go!" set a countdown out, also over one that was running.
    void goStarted();
    // Before every tick: a tick that finds the computer just woke handles the
    // wake first. False when the tick must not run.
    bool beforeTick();
    void systemSuspending();
    void systemResumed();
    // The resume message that follows once somebody is at the computer.
    void systemResumedByUser();
    // The program ends: the system may sleep again.
    void programEnds();

    // A moment that lies less than this ahead at waking is missed.
    static constexpr std::uint64_t missedWithinMs = 60 * 1000;
    // Time asleep, or a silent stretch after the suspend message, from which
    // on a sleep is taken to have happened.
    static constexpr std::uint64_t sleepNoticedFromMs = 1000;
    // A silent stretch from which on the program is taken to have been
    // asleep, with or without a word from Windows.
    static constexpr std::uint64_t standstillIsWakeFromMs = 60 * 1000;
    // Windows lets programs run on for a moment after the suspend message;
    // ticks that go on longer than this after it saw no sleep begin.
    static constexpr std::uint64_t suspendLapsesAfterMs = 5000;
    static constexpr std::uint64_t msPerTick = 100;

private:
    void setOut();
    void woke();
    // The clocks count a second or more asleep since the last tick or wake; a
    // reading below that one is a tick's wobble of the clocks, no sleep.
    bool asleepGrew(std::uint64_t asleep) const {
        return asleep >= asleepSeen_ + sleepNoticedFromMs * platform::UptimeClock::perMs;
    }
    // A reading may fall short of the time asleep, never exceed it: the
    // largest one seen is the truest.
    void seeAsleep(std::uint64_t asleep) { asleepSeen_ = std::max(asleepSeen_, asleep); }
    // What the system shows as the reason it stays awake: the action and its time.
    std::string awakeReason() const;

    ui::TForm1& form_;
    const platform::UptimeClock uptime_;
    const platform::Clock& clock_;
    const platform::Locale& locale_;
    platform::SystemAwake& awake_;
    engine::GraceCountdown& countdown_;
    timer::TimerPanel& timerPanel_;

    // On the uptime clock, which goes on while the computer sleeps.
    std::optional<std::uint64_t> moment_;
    bool startedByGo_ = false;
    // When the last suspend message came, until a wake is handled.
    std::optional<std::uint64_t> suspendedAt_;
    bool suspendSeen_ = false;
    // A wake was handled (no suspend message came since, no time asleep):
    // the other resume message of the same wake is no new wake.
    bool wakeHandled_ = false;
    // The largest time asleep read so far, in 100 ns units.
    std::uint64_t asleepSeen_ = 0;
    std::uint64_t lastTickAt_ = 0;
};

}  // namespace tovik::app
