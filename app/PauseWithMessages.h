#pragma once
#include <cstdint>

#include "ui/Application.h"

namespace tovik::app {

// Waits the given time while the window stays responsive: timers fire, the
// countdown goes on and clicks are handled. No busy waiting: it sleeps until
// a message arrives or the time is up.
void PauseWithMessages(ui::Application& app, std::int32_t milliseconds);

}  // namespace tovik::app
