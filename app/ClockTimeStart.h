#pragma once
#include <string>

#include "timer/TimerPanel.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::app {

// A run towards a clock time: started with one on the command line, the
// show handler opens the timer panel and starts the countdown through the
// second preset; in clock-time mode every paint writes the sentence
// "Computer wird genau / um ... Uhr / runter gefahren" into the left column,
// and the first paint holds the window for five seconds.
class ClockTimeStart {
public:
    ClockTimeStart(ui::TForm1& form, ui::Application& app, timer::TimerPanel& timerPanel);

    // The first command-line argument, before the window is created.
    void setFirstArgument(const std::string& argument) { firstArgument_ = argument; }

    void FormShow();
    void FormPaint();

    static constexpr int firstPaintPauseMs = 5000;

private:
    std::string targetTimeCaption();

    ui::TForm1& form_;
    ui::Application& app_;
    timer::TimerPanel& timerPanel_;
    std::string firstArgument_;
    // The moment the countdown aimed at when a paint last saw it running.
    std::string countdownEnd_;
};

}  // namespace tovik::app
