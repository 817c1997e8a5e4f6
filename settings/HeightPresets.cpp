#include "settings/HeightPresets.h"

#include <string>

namespace tovik::settings {

void HeightPresets::btFormMinusClick(const ui::Control& sender) {
    form_.Gauge1.setVisible(true);
    // Still hidden, but the end of a countdown reads its enabled state.
    form_.cbHibernateForPwrOff.setEnabled(true);
    const int by = form_.shiftDown ? shiftStep : step;
    if (sender.name() == "btFormPlus") form_.setHeight(form_.height() + by);
    if (sender.name() == "btFormMinus") form_.setHeight(form_.height() - by);
    // The height the window really took.
    const int height = form_.height();
    form_.btTimerOff1.setCaption(std::to_string(height));
    if (sender.name() == "btFormHeight1Store") {
        settings_.StoreFormHeight("FormHeight1", height);
        app_.showMessage("Wert FormHeight1 = " + std::to_string(height) + " für kleines Formular gespeichert.");
    }
    if (sender.name() == "btFormHeight2Store") {
        settings_.StoreFormHeight("FormHeight2", height);
        app_.showMessage("Wert FormHeight2 = " + std::to_string(height) + " für grosses Formular gespeichert.");
    }
}

}  // namespace tovik::settings
