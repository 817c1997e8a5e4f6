#include "engine/PowerActions.h"

namespace tovik::engine {

void PowerActions::PwrOff(PowerAction action) {
    underWay_ = action;
    form_.tmCountDown.setEnabled(false);
    // An enabled watchdog keeps its running period; a stopped one starts now
    // with the interval it holds.
    form_.tmExitDelay.setEnabled(true);
    power_.enableShutdownPrivilege();
    for (ui::Button* button : {&form_.btOops, &form_.btPwrOff, &form_.btNewStart, &form_.btLogOff, &form_.btLock,
                               &form_.btTimerOff1, &form_.btTimerOff2, &form_.btHibernate})
        button->setEnabled(false);
}

}  // namespace tovik::engine
