#pragma once
#include <string>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "settings/Settings.h"
#include "ui/MainWindow.h"

namespace tovik::timer {

// The clock-time presets: a choice in the combo box prepares the first
// preset button and the minutes; a click on a preset button (or on "genau",
// which clicks the second) stores its time and starts the countdown to it.
class ClockPresets {
public:
    ClockPresets(ui::TForm1& form, const platform::Clock& clock, const platform::Locale& locale,
                 settings::Settings& settings);

    void cbOffByTimeChange();
    void btPrefTime1Click() { presetClick(form_.btPrefTime1, "PrefTime1"); }
    // Also the click of btTimerOff2, whose own caption is not read.
    void btPrefTime2Click() { presetClick(form_.btPrefTime2, "PrefTime2"); }

    // The minutes from now to the clock text, 1..1440.
    int MinutesUntilClockTime(const std::string& clockText) const;

private:
    void presetClick(const ui::Button& preset, const std::string& valueName);

    ui::TForm1& form_;
    const platform::Clock& clock_;
    const platform::Locale& locale_;
    settings::Settings& settings_;
};

}  // namespace tovik::timer
