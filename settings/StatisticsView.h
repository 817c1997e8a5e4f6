#pragma once
#include <functional>

#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "settings/Counters.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::settings {

// The statistics view: the nine usage counts written onto the window's own
// buttons and blue line, the executable's path in the caption, the timer and
// height controls shown. A double-click on the blue line then offers to set
// every count back to zero.
class StatisticsView {
public:
    StatisticsView(ui::TForm1& form, ui::Application& app, platform::Registry& registry,
                   const platform::SystemInfo& system, Counters& counters);

    // The statistics branch of the window's double-click, after the common start.
    void StatisticsBranch();
    // Only while Gauge1 is hidden: asks, and on Yes resets every count and
    // shows the view again through `showStatistics` (the whole double-click).
    void stSecondsDblClick(const std::function<void()>& showStatistics);

private:
    ui::TForm1& form_;
    ui::Application& app_;
    platform::Registry& registry_;
    const platform::SystemInfo& system_;
    Counters& counters_;
};

}  // namespace tovik::settings
