#include "timer/ClockPresets.h"

#include "timer/ClockTime.h"

namespace tovik::timer {

ClockPresets::ClockPresets(ui::TForm1& form, const platform::Clock& clock, const platform::Locale& locale,
                           settings::Settings& settings)
    : form_(form), clock_(clock), locale_(locale), settings_(settings) {}

int ClockPresets::MinutesUntilClockTime(const std::string& clockText) const {
    return timer::MinutesUntilClockTime(clock_.now(), clockText, locale_.timeSeparator());
}

void ClockPresets::cbOffByTimeChange() {
    // A typed text is no choice: it converts as the empty text and fails.
    const std::string time = form_.cbOffByTime.selectedText();
    form_.seShutMinutes.setValue(MinutesUntilClockTime(time));
    form_.btPrefTime1.setCaption(time);
}

void ClockPresets::presetClick(const ui::Button& preset, const std::string& valueName) {
    // The countdown's words name the new time only once nothing can fail
    // before it starts: after a time that is none, or a refused write, a
    // running countdown still names the time it aims at. It is set before
    // "Go!", whose first paint may hold the window while the countdown ticks.
    const std::string time = preset.caption();
    form_.seShutMinutes.setValue(MinutesUntilClockTime(time));
    settings_.StorePresetTime(valueName, time);
    form_.clockTimeMode = true;
    form_.targetClockTime = time;
    form_.btRestart.click();
}

}  // namespace tovik::timer
