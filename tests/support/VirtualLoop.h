#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/Timer.h"
#include "ui/TimerSchedule.h"

namespace tovik::test {

// One modal box the program opened.
struct ShownBox {
    enum class Kind { Information, Warning, Question, Error };
    Kind kind;
    std::string text;
    std::string caption;
    unsigned flags = 0;
    std::uint32_t openedAt = 0;  // virtual milliseconds
};

// How the next box is answered: after `afterMs` of virtual time (timers keep
// firing meanwhile) with `answer`, unless the program terminates first.
struct BoxAnswer {
    int answer = 1;  // IDOK
    std::uint32_t afterMs = 0;
};

// The headless toolkit's loop on virtual time: a test advances time and the
// timers fire in order; message boxes are answered by a script. Like the
// window, it asks for each timer's messages by the timer schedule.
class VirtualLoop : public ui::Application,
                    public ui::TimerHost,
                    public platform::MonotonicClock {
public:
    // Advances virtual time by `ms`, firing every timer that falls due, in
    // order; stops early when the application terminates.
    void advance(std::uint32_t ms);
    // The whole machine stands still for `ms` (sleep, a debugger, a stall):
    // no timer fires meanwhile; then each overdue timer fires once, `first`
    // before the others, as the message loop finds them when it wakes.
    void stall(std::uint32_t ms, const ui::Timer* first = nullptr);
    // The computer sleeps for `ms`: no timer fires, the clocks go on, the
    // time counts as asleep; afterwards each overdue timer is due once.
    void sleep(std::uint32_t ms);
    // Advances until `done` holds or `limitMs` have passed; true when it held.
    bool advanceUntil(const std::function<bool()>& done, std::uint32_t limitMs);
    std::uint32_t now() const { return now_; }
    std::uint64_t milliseconds() const override { return now_; }
    // Every sleep so far: when it began and how long it lasted, in virtual ms.
    struct Sleep {
        std::uint64_t from;
        std::uint32_t ms;
    };
    const std::vector<Sleep>& sleeps() const { return sleeps_; }
    // From now on timer messages come late as on Windows (up to a clock tick,
    // now and then up to a period); the next period starts from the message.
    void useWindowsTimers(std::uint32_t seed) { windowsTimers_.emplace(seed); }
    // Virtual time of the termination request, when there was one.
    std::int64_t terminatedAt() const { return terminatedAt_; }

    void scriptAnswer(BoxAnswer answer) { answers_.push_back(answer); }
    void clearAnswers() { answers_.clear(); }
    const std::vector<ShownBox>& boxes() const { return boxes_; }
    int minimizeCount() const { return minimizeCount_; }

    // The toolkit's dispatch point for a user action, as the message loop would run it.
    void user(const std::function<void()>& action) { dispatch(action); }

    // ui::TimerHost
    void startTimer(ui::Timer& timer) override;
    void stopTimer(ui::Timer& timer) override;
    bool running(const ui::Timer& timer) const { return due_.count(const_cast<ui::Timer*>(&timer)) != 0; }

    // ui::Application
    std::string title() const override { return title_; }
    void setTitle(const std::string& text) override { title_ = text; }
    void terminate() override;
    bool terminated() const override { return terminatedAt_ >= 0; }
    void minimize() override;
    void processMessages() override;
    bool waitForMessage(std::uint32_t timeoutMs) override;
    std::uint32_t tickCount() const override { return now_ + tickBase; }
    void showMessage(const std::string& text) override;
    void showWarning(const std::string& text) override;
    int askQuestion(const std::string& text, const std::string& caption, unsigned flags) override;
    void showError(const std::string& text) override;
    void setHintHidePause(int ms) override { hintHidePause_ = ms; }
    int hintHidePause() const override { return hintHidePause_; }

    // The tick count starts here, so waits across the 32-bit wrap get tested.
    std::uint32_t tickBase = 0;

private:
    int runBox(ShownBox box);
    // Fires the earliest timer due at or before `limit`; false when none is.
    bool fireNextDue(std::uint64_t limit);
    // When the message of a timer that runs out at `expiry` comes.
    std::uint64_t messageTime(std::uint64_t expiry, int period);

    std::uint32_t now_ = 0;
    std::vector<Sleep> sleeps_;
    std::int64_t terminatedAt_ = -1;
    std::map<ui::Timer*, std::uint64_t> due_;
    std::uint64_t sequence_ = 0;
    std::map<ui::Timer*, std::uint64_t> order_;
    std::deque<BoxAnswer> answers_;
    std::vector<ShownBox> boxes_;
    std::string title_ = "Tovik";
    int hintHidePause_ = 2500;
    int minimizeCount_ = 0;
    std::optional<std::mt19937> windowsTimers_;
    ui::TimerSchedule schedule_{*this};
};

}  // namespace tovik::test
