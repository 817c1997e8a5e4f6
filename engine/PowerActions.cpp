#include "engine/PowerActions.h"

#include <iterator>

#include "settings/DateTimeText.h"
#include "settings/SettingsStore.h"

namespace tovik::engine {

namespace {

using settings::CounterKind;

struct ActionFacts {
    CounterKind counter;
    const char* status;        // the line and title while the action runs; none for lock
    const char* announcement;  // simulation mode; power off names its flags itself
    const char* refused;       // the warning when the system refuses the request
};

// Codes 1 to 5 in order.
constexpr ActionFacts actionFacts[] = {
    {CounterKind::PwrOffCounter, "und tschüss......", nullptr, "System nicht erfolgreich ausgeschaltet!"},
    {CounterKind::RestartCounter, "Es wird neu gestartet...",
     "Jetzt würde die ExitWindowsEx Prozedur EWX_REBOOT ausgeführt!", "System nicht erfolgreich neu gestartet!"},
    {CounterKind::LogOffCounter, "Melde mich ab...", "Jetzt würde die ExitWindowsEx Prozedur EWX_LOGOFF ausgeführt!",
     "System nicht erfolgreich abgemeldet!"},
    {CounterKind::HibernateCounter, "Gehe schlafen...", "Jetzt würde die SetSuspendState Prozedur ausgeführt!",
     "System nicht erfolgreich in den Tiefschlafzustand versetzt!"},
    {CounterKind::LockCounter, nullptr, "Jetzt würde die LockWorkStation Prozedur ausgeführt!",
     "System nicht erfolgreich gesperrt!"},
};

// The sleep asked for is suspend where the system offers nothing else; its
// refusal names it.
constexpr const char* refusedSuspend = "System nicht erfolgreich in den Suspendmodus versetzt!";

const ActionFacts* factsOf(PowerAction action) {
    const auto code = static_cast<unsigned>(action);
    if (code < 1 || code > std::size(actionFacts)) return nullptr;
    return &actionFacts[code - 1];
}

}  // namespace

PowerActions::PowerActions(ui::TForm1& form, ui::Application& app, const platform::SystemInfo& system,
                           const platform::Clock& clock, const platform::Locale& locale,
                           platform::Registry& registry, settings::Counters& counters, platform::PowerApi& power)
    : form_(form),
      app_(app),
      system_(system),
      clock_(clock),
      locale_(locale),
      registry_(registry),
      counters_(counters),
      power_(power) {}

void PowerActions::PwrOff(PowerAction action) {
    form_.tmCountDown.setEnabled(false);
    // From here on the taskbar button shows a full red bar.
    app_.taskbarProgress.show(ui::ProgressState::Error, 1, 1);
    // An enabled watchdog keeps its running period; a stopped one starts now
    // with the interval it holds.
    form_.tmExitDelay.setEnabled(true);
    power_.enableShutdownPrivilege();
    for (ui::Button* button : {&form_.btOops, &form_.btPwrOff, &form_.btNewStart, &form_.btLogOff, &form_.btLock,
                               &form_.btTimerOff1, &form_.btTimerOff2, &form_.btHibernate})
        button->setEnabled(false);

    const ActionFacts* facts = factsOf(action);
    if (!facts) return;

    // A count that fails ends the action here, before anything is requested.
    counters_.BumpCounter(facts->counter);

    if (action == PowerAction::Lock) {
        // Locking leaves the gauges, the line and the title as they are.
        if (form_.simulationMode) {
            app_.showMessage(facts->announcement);
        } else if (!power_.lockWorkStation()) {
            refused(facts->refused);
        }
        return;
    }

    resetGauges();
    showStatus(facts->status);

    if (form_.simulationMode) {
        if (action == PowerAction::PowerOff)
            app_.showMessage(form_.cbForcePwrOff.checked()
                                 ? "Jetzt würde die ExitWindowsEx Prozedur EWX_POWEROFF+EWX_FORCE ausgeführt und "
                                   "LastShutDown notiert!"
                                 : "Jetzt würde die ExitWindowsEx Prozedur EWX_POWEROFF ausgeführt und "
                                   "LastShutDown notiert!");
        else
            app_.showMessage(facts->announcement);
        return;
    }
    const bool suspendInstead = action == PowerAction::Hibernate && !hibernateRather();
    if (!request(action, suspendInstead)) refused(suspendInstead ? refusedSuspend : facts->refused);
}

void PowerActions::refused(const char* warning) {
    // The system refused: the watchdog must not end the program behind the
    // user's back, so the window and the warning stay.
    form_.tmExitDelay.setEnabled(false);
    app_.showWarning(warning);
}

void PowerActions::resetGauges() {
    // With an empty bar the upper gauge is a red frame around the status
    // line, and the frame around the abort button is gone.
    form_.Gauge1.setProgress(0);
    form_.Gauge1.setBackColor(ui::clRed);
    form_.Gauge2.setProgress(0);
    form_.Gauge2.setBackColor(ui::clBtnFace);
    form_.Gauge2.setVisible(false);
}

void PowerActions::showStatus(const char* text) {
    form_.stSeconds.setCaption(text);
    form_.stSeconds.announce();
    app_.setTitle(form_.stSeconds.caption());
}

bool PowerActions::request(PowerAction action, bool suspendInstead) {
    namespace flags = platform::exitflags;
    switch (action) {
    case PowerAction::PowerOff: {
        // A failed write ends the action before the session is ended.
        NoteLastShutDown();
        const unsigned force = form_.cbForcePwrOff.checked() ? flags::Force : 0u;
        return power_.exitWindows(flags::PowerOff | force);
    }
    case PowerAction::Restart:
        return power_.exitWindows(flags::Reboot);
    case PowerAction::LogOff:
        return power_.exitWindows(flags::LogOff);
    case PowerAction::Hibernate:
        return power_.setSuspendState(!suspendInstead, false, false);
    case PowerAction::Lock:
        break;
    }
    return true;
}

bool PowerActions::hibernateRather() const {
    // Start-up names the button "In den Suspendmodus" on a system that allows
    // suspend but not hibernation; the request follows that promise. With
    // neither allowed, hibernation is asked for and the system decides.
    return system_.hibernateAllowed() || !system_.suspendAllowed();
}

void PowerActions::NoteLastShutDown() {
    settings::WriteDiagnosticText(registry_, "LastShutDown", settings::DateTimeText(clock_.now(), locale_));
}

}  // namespace tovik::engine
