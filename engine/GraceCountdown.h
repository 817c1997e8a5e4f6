#pragma once
#include <string>

#include "engine/PowerActions.h"
#include "platform/Locale.h"
#include "platform/SystemInfo.h"
#include "settings/Counters.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::engine {

// The grace countdown: one tick every 100 ms lowers remainingTicks, rewrites
// the texts and gauges and re-arms the exit watchdog; at zero exactly one
// power action starts. The abort button pauses and resumes it.
class GraceCountdown {
public:
    GraceCountdown(ui::TForm1& form, ui::Application& app, const platform::SystemInfo& system,
                   const platform::Locale& locale, settings::Counters& counters, PowerActions& power);

    void tmCountDownTimer();
    void btOopsClick();
    void tmExitDelayTimer();
    // The countdown stops as a pause that nobody answered: the texts and
    // colours of the pause, nothing counted, and the watchdog ends the
    // program unless the user resumes.
    void pauseUnanswered();

    // Watchdog intervals: a tick re-arms the watchdog with the short one when
    // a minute or less is left.
    static constexpr int shortWatchdogMs = 3000;
    static constexpr int longWatchdogMs = 5000;

private:
    std::string goalWord() const;
    // The pause's button caption, colour, title and caption; `counted` bumps
    // the abort counter between the colour and the title.
    void showPause(const std::string& goal, bool counted);
    std::string clockPrefix() const;
    // The remaining time as the taskbar shows it: "5,4 Sekunden" or "15,00 Minuten ".
    std::string remainingTitle(const std::string& separator) const;

    ui::TForm1& form_;
    ui::Application& app_;
    const platform::SystemInfo& system_;
    const platform::Locale& locale_;
    settings::Counters& counters_;
    PowerActions& power_;
};

}  // namespace tovik::engine
