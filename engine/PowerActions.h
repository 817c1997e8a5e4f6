#pragma once

#include "engine/PowerAction.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/PowerApi.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "settings/Counters.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::engine {

// Carries out every power action of the program: the end of the countdown
// and the five immediate-action buttons come here. In simulation mode each
// action is only announced in a message box. The program does not end here:
// the exit watchdog that PwrOff arms ends it, unless the system refused the
// request: then the watchdog stops and a warning says so, for every action.
class PowerActions {
public:
    PowerActions(ui::TForm1& form, ui::Application& app, const platform::SystemInfo& system,
                 const platform::Clock& clock, const platform::Locale& locale, platform::Registry& registry,
                 settings::Counters& counters, platform::PowerApi& power);

    // Stops the countdown, arms the exit watchdog, enables the shutdown right,
    // disables the action buttons, then counts, shows and requests the action.
    // A code outside 1 to 5 stops after the buttons. A failed count or
    // LastShutDown write ends it before any request to the system.
    void PwrOff(PowerAction action);

    void btPwrOffClick() { PwrOff(PowerAction::PowerOff); }
    void btNewStartClick() { PwrOff(PowerAction::Restart); }
    void btLogOffClick() { PwrOff(PowerAction::LogOff); }
    void btHibernateClick() { PwrOff(PowerAction::Hibernate); }
    void btLockClick() { PwrOff(PowerAction::Lock); }

    // Writes the current date-time text as LastShutDown into the diagnostic key.
    void NoteLastShutDown();

private:
    void resetGauges();
    void showStatus(const char* text);
    // Codes 1 to 4: the request to the system (for a sleep, suspend rather
    // than hibernation when `suspendInstead`); false when it was refused.
    bool request(PowerAction action, bool suspendInstead);
    // Hibernate where the system allows it; a system that offers suspend
    // alone gets the suspend its button names.
    bool hibernateRather() const;
    // Stops the watchdog and warns with the refusal's text.
    void refused(const char* warning);

    ui::TForm1& form_;
    ui::Application& app_;
    const platform::SystemInfo& system_;
    const platform::Clock& clock_;
    const platform::Locale& locale_;
    platform::Registry& registry_;
    settings::Counters& counters_;
    platform::PowerApi& power_;
};

}  // namespace tovik::engine
