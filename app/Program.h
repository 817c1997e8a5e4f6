#pragma once
#include <string>

#include "app/ClockTimeStart.h"
#include "app/CountdownAcrossSleep.h"
#include "app/WindowCreation.h"
#include "engine/GraceCountdown.h"
#include "engine/PowerActions.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/PowerApi.h"
#include "platform/Registry.h"
#include "platform/SystemAwake.h"
#include "platform/SystemInfo.h"
#include "settings/Counters.h"
#include "settings/HeightPresets.h"
#include "settings/Settings.h"
#include "settings/StatisticsView.h"
#include "timer/ClockPresets.h"
#include "timer/TimerPanel.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/Timer.h"

namespace tovik::app {

// What the program takes from the system.
struct Platform {
    platform::SystemInfo& system;
    platform::Clock& clock;
    platform::Locale& locale;
    platform::PowerApi& power;
    platform::Registry& registry;
    const platform::InterruptClocks& interruptClocks;
    platform::SystemAwake& awake;
};

// The composition root: creates the main window's model and every handler
// object, and binds each control event to its handler.
class Program {
public:
    Program(ui::Application& app, Platform platform);
    ~Program() { acrossSleep.programEnds(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Connects the three timers to the loop that runs them.
    void attachTimers(ui::TimerHost& host);
    // The creation handler of the main window, with the first command-line argument.
    void FormCreate(const std::string& firstArgument) {
        clockTimeStart.setFirstArgument(firstArgument);
        creation.FormCreate(firstArgument);
    }

    ui::TForm1 Form1;
    ui::Application& app;
    Platform platform;
    settings::Settings settings;
    settings::Counters counters;
    engine::PowerActions power;
    engine::GraceCountdown countdown;
    timer::TimerPanel timerPanel;
    timer::ClockPresets presets;
    settings::StatisticsView statistics;
    settings::HeightPresets heights;
    WindowCreation creation;
    ClockTimeStart clockTimeStart;
    CountdownAcrossSleep acrossSleep;

private:
    void bindEvents();
    // The window's double-click, with the sender that tells its branches apart.
    void FormDblClick(const void* sender);
};

}  // namespace tovik::app
