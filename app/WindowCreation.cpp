#include "app/WindowCreation.h"

#include <algorithm>

#include "app/CommandLine.h"
#include "ui/Taskbar.h"

namespace tovik::app {

namespace {

constexpr int minSeconds = 2;
constexpr int maxSeconds = 3600;
// A seconds argument that is no number counts as this many seconds.
constexpr int fallbackSeconds = 5;

}  // namespace

WindowCreation::WindowCreation(ui::TForm1& form, ui::Application& app, const platform::SystemInfo& system,
                               settings::Settings& settings, settings::Counters& counters)
    : form_(form), app_(app), system_(system), settings_(settings), counters_(counters) {}

bool WindowCreation::IsDevEnvironmentRunning() const { return system_.findDevEnvironmentWindow().has_value(); }

void WindowCreation::FormCreate(const std::string& firstArgument) {
    form_.clockTimeMode = false;
    form_.restartMode = false;

    settings_.LoadSettings(form_);

    std::string argument = firstArgument;

    if (argument == "d" || argument == "D") {
        // The argument keeps its text, so it later reads as no number.
        if (const auto devEnvironment = system_.findDevEnvironmentWindow()) {
            app_.showMessage(*devEnvironment + " is running. Parameter D ist nicht mehr unterstützt");
        } else {
            app_.showMessage("Parameter D ist nicht mehr unterstützt. Prgramm wird beendet.");
            app_.terminate();
        }
    }

    if (argument == "r" || argument == "R") {
        argument = "20";
        form_.restartMode = true;
    }

    if (argument.empty()) {
        form_.remainingTicks = defaultTicks;
        form_.tmExitDelay.setInterval(watchdogPresetMs);
    } else if (IsClockTimeArgument(argument)) {
        // The show handler starts the countdown towards that time.
        form_.clockTimeMode = true;
        form_.firstPaintPause = true;
        form_.btPrefTime2.setCaption(argument);
        form_.btTimerOff2.setCaption("genau " + form_.btPrefTime2.caption());
    } else {
        const int seconds = std::clamp(ParseRuntimeInteger(argument).value_or(fallbackSeconds), minSeconds, maxSeconds);
        form_.remainingTicks = seconds * 10;
        form_.tmExitDelay.setInterval(watchdogPresetMs);
    }

    if (IsDevEnvironmentRunning()) {
        form_.simulationMode = true;
        form_.remainingTicks = simulationTicks;
        form_.tmExitDelay.setInterval(simulationWatchdogPresetMs);
    } else {
        form_.simulationMode = false;
    }

    if (platform::IsNewerWindows(system_)) app_.onMinimize = [this] { ui::AppMinimize(form_, app_); };

    form_.displayedOwner = settings_.ReadOwnDisplayedOwner();
    if (form_.displayedOwner.empty())
        form_.displayedOwner = settings_.ReadWindowsNtValue("DisplayedOwner", settings::Hive::LocalMachine);

    settings_.LoadFormHeights(form_);
    form_.setHeight(form_.smallFormHeight);

    for (ui::Gauge* gauge : {&form_.Gauge1, &form_.Gauge2}) {
        gauge->setMinValue(0);
        gauge->setMaxValue(form_.remainingTicks);
        gauge->setProgress(form_.remainingTicks);
    }

    counters_.BumpCounter(settings::CounterKind::RunCounter);
    form_.targetTimeTracking = false;
    app_.setHintHidePause(hintHidePauseMs);
    nameHibernateAction();

    for (ui::Button* heightButton : {&form_.btFormMinus, &form_.btFormPlus, &form_.btFormHeight1Store, &form_.btFormHeight2Store})
        heightButton->setVisible(false);

    form_.tmCountDown.setEnabled(true);
}

void WindowCreation::nameHibernateAction() {
    if (system_.hibernateAllowed()) {
        form_.btHibernate.setCaption("In den Tiefschlafzustand");
        form_.cbHibernateForPwrOff.setCaption("In den Tiefschlafzustand bei CountDown");
    } else if (system_.suspendAllowed()) {
        form_.btHibernate.setCaption("In den Suspendmodus");
        form_.cbHibernateForPwrOff.setCaption("In den Suspendmodus bei CountDown");
    } else {
        form_.btHibernate.setCaption("*****");
        form_.cbHibernateForPwrOff.setCaption("*****");
        form_.cbHibernateForPwrOff.setEnabled(false);
    }
}

}  // namespace tovik::app
