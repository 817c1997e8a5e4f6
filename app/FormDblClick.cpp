#include "app/FormDblClick.h"

namespace tovik::app {

void FormDblClick(ui::TForm1& form, timer::TimerPanel& timerPanel, const void* sender) {
    timerPanel.CommonStart();
    if (sender == &form.btTimerOff1) {
        timerPanel.TimerBranch();
    } else if (sender == &form) {
        // Statistics branch: the statistics view is not built yet; the window's
        // double-click ends here after the common start.
    }
}

}  // namespace tovik::app
