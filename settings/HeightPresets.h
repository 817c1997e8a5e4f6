#pragma once
#include "settings/Settings.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::settings {

// The four flat buttons of the statistics view: "F+" and "F-" change the
// window's height by 1 pixel (5 while Shift was held at the last key-down),
// the two store buttons keep the current height for the next start.
class HeightPresets {
public:
    HeightPresets(ui::TForm1& form, ui::Application& app, Settings& settings)
        : form_(form), app_(app), settings_(settings) {}

    // One handler for the four buttons, told apart by their names.
    void btFormMinusClick(const ui::Control& sender);
    // Any key released in the window ends the coarse steps.
    void FormKeyUp() { form_.shiftDown = false; }

    static constexpr int step = 1;
    static constexpr int shiftStep = 5;

private:
    ui::TForm1& form_;
    ui::Application& app_;
    Settings& settings_;
};

}  // namespace tovik::settings
