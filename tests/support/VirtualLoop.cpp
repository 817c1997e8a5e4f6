#include "tests/support/VirtualLoop.h"

#include <algorithm>

namespace tovik::test {

std::uint64_t VirtualLoop::messageTime(std::uint64_t expiry, int period) {
    if (!windowsTimers_) return expiry;
    // Timers are looked at on each clock tick, 64 times a second; one message
    // in eight also waits for a busy thread, less than a period.
    const std::uint64_t atTick = ((expiry * 64 + 999) / 1000 * 1000 + 63) / 64;
    std::mt19937& random = *windowsTimers_;
    return random() % 8 ? atTick : std::max<std::uint64_t>(atTick, expiry + random() % std::max(period, 1));
}

void VirtualLoop::startTimer(ui::Timer& timer) {
    due_[&timer] = messageTime(now_ + static_cast<std::uint64_t>(schedule_.start(timer)), timer.interval());
    order_[&timer] = sequence_++;
}

void VirtualLoop::stopTimer(ui::Timer& timer) {
    schedule_.stop(timer);
    due_.erase(&timer);
    order_.erase(&timer);
}

bool VirtualLoop::fireNextDue(std::uint64_t limit) {
    ui::Timer* next = nullptr;
    for (const auto& [timer, due] : due_) {
        if (due > limit) continue;
        if (!next || due < due_[next] || (due == due_[next] && order_[timer] < order_[next])) next = timer;
    }
    if (!next) return false;
    now_ = static_cast<std::uint32_t>(due_[next]);
    // The next message is asked for now, before the handler runs.
    due_[next] = messageTime(now_ + static_cast<std::uint64_t>(*schedule_.next(*next)), next->interval());
    order_[next] = sequence_++;
    dispatch([next] { next->fire(); });
    return true;
}

void VirtualLoop::advance(std::uint32_t ms) {
    const std::uint64_t end = static_cast<std::uint64_t>(now_) + ms;
    while (!terminated() && fireNextDue(end)) {
    }
    if (!terminated()) now_ = static_cast<std::uint32_t>(end);
}

void VirtualLoop::stall(std::uint32_t ms, const ui::Timer* first) {
    now_ += ms;
    // A window timer that is overdue is due once, however many periods passed.
    for (auto& [timer, due] : due_)
        if (due < now_) due = now_;
    if (first && due_.count(const_cast<ui::Timer*>(first))) {
        for (auto& [timer, order] : order_) order += 1;
        order_[const_cast<ui::Timer*>(first)] = 0;
    }
    processMessages();
}

void VirtualLoop::sleep(std::uint32_t ms) {
    sleeps_.push_back({now_, ms});
    now_ += ms;
    for (auto& [timer, due] : due_)
        if (due < now_) due = now_;
}

bool VirtualLoop::advanceUntil(const std::function<bool()>& done, std::uint32_t limitMs) {
    const std::uint64_t end = static_cast<std::uint64_t>(now_) + limitMs;
    while (!done()) {
        if (terminated() || !fireNextDue(end)) return done();
    }
    return true;
}

void VirtualLoop::terminate() {
    if (!terminated()) terminatedAt_ = now_;
}

void VirtualLoop::minimize() {
    ++minimizeCount_;
    if (onMinimize) dispatch(onMinimize);
}

void VirtualLoop::processMessages() {
    while (!terminated() && fireNextDue(now_)) {
    }
}

bool VirtualLoop::waitForMessage(std::uint32_t timeoutMs) {
    const std::uint64_t end = static_cast<std::uint64_t>(now_) + timeoutMs;
    std::uint64_t earliest = end + 1;
    for (const auto& [timer, due] : due_) earliest = std::min(earliest, due);
    if (earliest <= end) {
        now_ = static_cast<std::uint32_t>(earliest);
        return true;
    }
    now_ = static_cast<std::uint32_t>(end);
    return false;
}

int VirtualLoop::runBox(ShownBox box) {
    box.openedAt = now_;
    boxes_.push_back(box);
    BoxAnswer answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    // The box's own loop keeps timers firing; a termination request closes it.
    advance(answer.afterMs);
    return terminated() ? 0 : answer.answer;
}

void VirtualLoop::showMessage(const std::string& text) {
    runBox({ShownBox::Kind::Information, text, title_, 0, 0});
}

void VirtualLoop::showWarning(const std::string& text) { runBox({ShownBox::Kind::Warning, text, "Warnung", 0, 0}); }

int VirtualLoop::askQuestion(const std::string& text, const std::string& caption, unsigned flags) {
    return runBox({ShownBox::Kind::Question, text, caption, flags, 0});
}

void VirtualLoop::showError(const std::string& text) { runBox({ShownBox::Kind::Error, text, title_, 0, 0}); }

}  // namespace tovik::test
