#pragma once

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

// Counts how often the program was started and each action was taken.
class Counters {
public:
    // Adds one to the counter of that kind.
    void BumpCounter(CounterKind kind);
};

}  // namespace tovik::settings
