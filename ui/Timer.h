#pragma once
#include <functional>
#include <string>

namespace tovik::ui {

class Timer;

// Where timers run: the Windows message loop or the virtual-time loop of the tests.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    // Starts the timer's period afresh with its current interval.
    virtual void startTimer(Timer& timer) = 0;
    virtual void stopTimer(Timer& timer) = 0;
};

// A window timer. Enabling it, or changing its interval while it is enabled,
// starts its period afresh; enabling an enabled timer leaves its period alone.
class Timer {
public:
    Timer(std::string name, int intervalMs, bool enabled);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    int interval() const { return interval_; }
    void setInterval(int ms);

    std::function<void()> onTimer;
    // Told whenever the timer is enabled or disabled.
    std::function<void(bool enabled)> onEnabledChange;

    // Connects the timer to its host; an enabled timer starts there now.
    void attachHost(TimerHost* host);
    // Called by the host when a period has run out.
    void fire();

private:
    std::string name_;
    int interval_;
    bool enabled_;
    TimerHost* host_ = nullptr;
};

}  // namespace tovik::ui
