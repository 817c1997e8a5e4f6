#pragma once
#include <string>

#include "platform/SystemInfo.h"
#include "settings/Counters.h"
#include "settings/Settings.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::app {

// Prepares the main window for the run mode that the first argument and the
// environment select, and starts the countdown.
class WindowCreation {
public:
    WindowCreation(ui::TForm1& form, ui::Application& app, const platform::SystemInfo& system,
                   settings::Settings& settings, settings::Counters& counters);

    // Runs once while the main window is created.
    void FormCreate(const std::string& firstArgument);

    // True while the development environment's main window exists.
    bool IsDevEnvironmentRunning() const;

    static constexpr int defaultTicks = 55;
    static constexpr int simulationTicks = 150;
    static constexpr int watchdogPresetMs = 4000;
    static constexpr int simulationWatchdogPresetMs = 8000;
    static constexpr int hintHidePauseMs = 10000;

private:
    void nameHibernateAction();

    ui::TForm1& form_;
    ui::Application& app_;
    const platform::SystemInfo& system_;
    settings::Settings& settings_;
    settings::Counters& counters_;
};

}  // namespace tovik::app
