#include "app/Program.h"

#include "app/FormDblClick.h"

namespace tovik::app {

Program::Program(ui::Application& application, Platform services)
    : app(application),
      platform(services),
      settings(services.registry, services.system, services.clock, services.locale, application),
      counters(services.registry, application),
      power(Form1, application, services.system, services.clock, services.locale, services.registry, counters,
            services.power),
      countdown(Form1, application, services.system, services.locale, counters, power),
      timerPanel(Form1, application, services.system, services.clock, services.locale, counters),
      presets(Form1, services.clock, services.locale, settings),
      statistics(Form1, application, services.registry, services.system, counters),
      heights(Form1, application, settings),
      creation(Form1, application, services.system, settings, counters),
      clockTimeStart(Form1, application, timerPanel),
      acrossSleep(Form1, services.interruptClocks, services.clock, services.locale, services.awake, countdown, timerPanel) {
    bindEvents();
}

void Program::FormDblClick(const void* sender) { app::FormDblClick(Form1, timerPanel, statistics, sender); }

void Program::attachTimers(ui::TimerHost& host) {
    for (ui::Timer* timer : Form1.timers) timer->attachHost(&host);
}

// Every event of the window and its controls is bound here and nowhere else.
void Program::bindEvents() {
    ui::TForm1& f = Form1;

    // A tick that finds the computer just woke lets the wake rules go first.
    f.tmCountDown.onTimer = [this] {
        if (acrossSleep.beforeTick()) countdown.tmCountDownTimer();
    };
    f.tmCountDown.onEnabledChange = [this](bool running) { acrossSleep.countdownRunning(running); };
    f.onSuspend = [this] { acrossSleep.systemSuspending(); };
    f.onResume = [this] { acrossSleep.systemResumed(); };
    f.onResumeByUser = [this] { acrossSleep.systemResumedByUser(); };
    f.tmExitDelay.onTimer = [this] { countdown.tmExitDelayTimer(); };
    f.btOops.onClick = [this] { countdown.btOopsClick(); };

    // Options are written through the moment they are clicked; Ctrl+Alt offers
    // the permission dialog of the hibernate option.
    f.cbForcePwrOff.onClick = [this] { settings.cbForcePwrOffClick(Form1.cbForcePwrOff); };
    f.cbAutoMinimize.onClick = [this] { settings.cbAutoMinimizeClick(Form1.cbAutoMinimize); };
    f.cbHibernateForPwrOff.onClick = [this] { settings.cbHibernateForPwrOffClick(Form1.cbHibernateForPwrOff); };
    f.onKeyDown = [this](int key, unsigned shift) { settings.FormKeyDown(Form1, key, shift); };

    f.btPwrOff.onClick = [this] { power.btPwrOffClick(); };
    f.btNewStart.onClick = [this] { power.btNewStartClick(); };
    f.btLogOff.onClick = [this] { power.btLogOffClick(); };
    f.btHibernate.onClick = [this] { power.btHibernateClick(); };
    f.btLock.onClick = [this] { power.btLockClick(); };

    // "Timer aus," and a double-click on the window share one handler: the
    // timer panel and the statistics view.
    f.onDblClick = [this] { FormDblClick(&Form1); };
    f.btTimerOff1.onClick = [this] { FormDblClick(&Form1.btTimerOff1); };
    f.btRestart.onClick = [this] {
        timerPanel.btRestartClick();
        acrossSleep.goStarted();
    };
    f.seShutMinutes.onChange = [this] { timerPanel.seShutMinutesChange(); };
    f.seShutMinutes.onKeyPress = [this](char& key) { timerPanel.seShutMinutesKeyPress(key); };
    f.seShutMinutes.decimalSeparator = [this] { return platform.locale.decimalSeparator(); };
    f.tmClock.onTimer = [this] { timerPanel.tmClockTimer(); };
    f.btPlusHour.onClick = [this] { timerPanel.btPlusHourClick(); };
    f.btMinusHour.onClick = [this] { timerPanel.btMinusHourClick(); };
    f.btPlusDay.onClick = [this] { timerPanel.btPlusDayClick(); };
    f.btMinusDay.onClick = [this] { timerPanel.btMinusDayClick(); };
    f.stSeconds.onClick = [this] { timerPanel.stSecondsClick(); };
    f.onKeyPress = [this](char& key) { timerPanel.FormKeyPress(key); };

    // Clock-time presets: "genau" does what the second preset button does.
    f.cbOffByTime.onChange = [this] { presets.cbOffByTimeChange(); };
    f.btPrefTime1.onClick = [this] { presets.btPrefTime1Click(); };
    f.btPrefTime2.onClick = [this] { presets.btPrefTime2Click(); };
    f.btTimerOff2.onClick = [this] { presets.btPrefTime2Click(); };
    // The window's show and paint handlers act in clock-time mode only.
    f.onShow = [this] { clockTimeStart.FormShow(); };
    f.onPaint = [this] { clockTimeStart.FormPaint(); };

    // Statistics view: a double-click on the blue line offers the counter reset.
    f.stSeconds.onDblClick = [this] { statistics.stSecondsDblClick([this] { FormDblClick(&Form1); }); };
    // Window height presets: the four flat buttons share one handler; every
    // key released ends the coarse steps that Shift began.
    for (ui::Button* flat : {&f.btFormPlus, &f.btFormMinus, &f.btFormHeight1Store, &f.btFormHeight2Store})
        flat->onClick = [this, flat] { heights.btFormMinusClick(*flat); };
    f.onKeyUp = [this](int, unsigned) { heights.FormKeyUp(); };
    // Button1 ("Hilfe") has no handler.
}

}  // namespace tovik::app
