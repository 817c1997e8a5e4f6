#include "ui/Timer.h"

#include <utility>

namespace tovik::ui {

Timer::Timer(std::string name, int intervalMs, bool enabled)
    : name_(std::move(name)), interval_(intervalMs), enabled_(enabled) {}

void Timer::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    if (host_) {
        if (on) host_->startTimer(*this);
        else host_->stopTimer(*this);
    }
    if (onEnabledChange) onEnabledChange(on);
}

void Timer::setInterval(int ms) {
    if (interval_ == ms) return;
    interval_ = ms;
    if (host_ && enabled_) host_->startTimer(*this);
}

void Timer::attachHost(TimerHost* host) {
    host_ = host;
    if (host_ && enabled_) host_->startTimer(*this);
}

void Timer::fire() {
    if (enabled_ && onTimer) onTimer();
}

}  // namespace tovik::ui
