#pragma once
#include <optional>

#include "engine/PowerAction.h"
#include "platform/PowerApi.h"
#include "ui/MainWindow.h"

namespace tovik::engine {

// Carries out every power action of the program: the end of the countdown
// and the five immediate-action buttons come here.
class PowerActions {
public:
    PowerActions(ui::TForm1& form, platform::PowerApi& power) : form_(form), power_(power) {}

    // Stops the countdown, arms the exit watchdog, enables the shutdown right
    // and disables the action buttons. The requests to the system itself
    // arrive with the power-actions work; until then nothing more happens.
    void PwrOff(PowerAction action);

    // The action the last PwrOff started, if any.
    std::optional<PowerAction> actionUnderWay() const { return underWay_; }

private:
    std::optional<PowerAction> underWay_;
    ui::TForm1& form_;
    platform::PowerApi& power_;
};

}  // namespace tovik::engine
