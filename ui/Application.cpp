#include "ui/Application.h"

#include "platform/UserError.h"

namespace tovik::ui {

void Application::dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const UserError& failure) {
        showError(failure.what());
    } catch (const std::exception& failure) {
        // Not expected; still shown rather than ending the program.
        showError(failure.what());
    }
}

}  // namespace tovik::ui
