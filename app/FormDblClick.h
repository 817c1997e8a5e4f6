#pragma once
#include "settings/StatisticsView.h"
#include "timer/TimerPanel.h"
#include "ui/MainWindow.h"

namespace tovik::app {

// The one handler behind a double-click on the window and the click of
// "Timer aus,": the common start for every sender, then by sender the timer
// panel (btTimerOff1) or the statistics view (the window itself); any other
// sender ends after the common start.
void FormDblClick(ui::TForm1& form, timer::TimerPanel& timerPanel, settings::StatisticsView& statistics,
                  const void* sender);

}  // namespace tovik::app
