#pragma once
#include <string>

#include "platform/Registry.h"
#include "ui/Application.h"

namespace tovik::settings {

// The usage counters, by the code that callers pass.
enum class CounterKind : int {
    RunCounter = 1,
    RestartCounter = 2,
    PwrOffCounter = 3,
    OopsCounter = 4,
    OopsResumeCounter = 5,
    LogOffCounter = 6,
    TimerOffCounter = 7,
    HibernateCounter = 8,
    LockCounter = 9,
};
inline constexpr int counterKindCount = static_cast<int>(CounterKind::LockCounter);

// The registry value that counts the kind; throws std::invalid_argument for a
// code outside 1 to 9.
std::string CounterValueName(CounterKind kind);

// Counts how often the program was started and each action was taken. The
// counts live in the settings key only: signed 32-bit integers, created by
// their first count or by a reset.
class Counters {
public:
    Counters(platform::Registry& registry, ui::Application& application)
        : registry_(registry), application_(application) {}

    // Adds one to the counter of that kind (the largest value is followed by
    // the smallest); a missing counter becomes 1.
    void BumpCounter(CounterKind kind);
    // Writes all nine counters as 0, then lets the window process its pending
    // messages once.
    void ResetCounters();

private:
    platform::Registry& registry_;
    ui::Application& application_;
};

}  // namespace tovik::settings
