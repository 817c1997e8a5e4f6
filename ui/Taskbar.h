#pragma once

#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::ui {

// Minimises the main window onto its own taskbar entry (newer systems):
// show it, let pending messages (a pending paint among them) run, minimise.
void AppMinimize(TForm1& form, Application& app);

}  // namespace tovik::ui
