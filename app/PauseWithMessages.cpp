#include "app/PauseWithMessages.h"

namespace tovik::app {

void PauseWithMessages(ui::Application& app, std::int32_t milliseconds) {
    const std::uint32_t deadline = app.tickCount() + static_cast<std::uint32_t>(milliseconds);
    std::int32_t remaining = milliseconds;
    while (remaining > 0) {
        if (!app.waitForMessage(static_cast<std::uint32_t>(remaining))) break;
        app.processMessages();
        // Wrap-around arithmetic: the tick count may pass 2^32 during the wait.
        remaining = static_cast<std::int32_t>(deadline - app.tickCount());
    }
}

}  // namespace tovik::app
