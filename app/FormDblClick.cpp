#include "app/FormDblClick.h"

namespace tovik::app {

void FormDblClick(ui::TForm1& form, timer::TimerPanel& timerPanel, settings::StatisticsView& statistics,
                  const void* sender) {
    timerPanel.CommonStart();
    if (sender == &form.btTimerOff1)
        timerPanel.TimerBranch();
    else if (sender == &form)
        statistics.StatisticsBranch();
}

}  // namespace tovik::app
