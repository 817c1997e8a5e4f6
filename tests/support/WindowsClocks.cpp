#include "tests/support/WindowsClocks.h"

namespace tovik::test {

namespace {
constexpr std::uint64_t perMs = 10000;
}

WindowsClocks::WindowsClocks(const VirtualLoop& loop, Kind kind, std::uint32_t seed)
    : loop_(loop), kind_(kind), seed_(seed), random_(seed) {
    step_ = kind.raisedResolution ? perMs : clockTick;
    // Hours since the system started, at no whole millisecond.
    started_ = (3 * 3600 * 1000 + random_() % 3600000) * perMs + random_() % perMs;
    interruptPhase_ = random_() % step_;
    tickPhase_ = random_() % clockTick;
    biasBeforeStart_ = kind.sleptBeforeStart ? (40 * 60 * 1000 + random_() % 600000) * perMs + 1 + random_() % (perMs - 1) : 0;
}

std::uint64_t WindowsClocks::readingInstant() const {
    const std::uint64_t ms = loop_.now();
    if (ms != lastMs_) {
        lastMs_ = ms;
        withinMs_ = random_() % (perMs / 2);
    }
    // Two readings in a row are some microseconds apart.
    withinMs_ = std::min(withinMs_ + 5 + random_() % 400, perMs - 1);
    return started_ + ms * perMs + withinMs_;
}

std::uint64_t WindowsClocks::stepped(std::uint64_t instant) const {
    return (instant - interruptPhase_) / step_ * step_ + interruptPhase_;
}

std::uint64_t WindowsClocks::bias() const {
    std::uint64_t bias = biasBeforeStart_;
    std::uint32_t n = 0;
    for (const VirtualLoop::Sleep& sleep : loop_.sleeps()) {
        // The last reading before the sleep may lie anywhere in its millisecond.
        const std::uint64_t from = started_ + sleep.from * perMs + perMs - 1;
        const std::uint64_t to = started_ + (sleep.from + sleep.ms) * perMs;
        const std::uint64_t awakeAtWake = 1 + (seed_ * 7919u + ++n * 104729u) % (perMs - 1);
        const std::uint64_t steps = to > from ? stepped(to) - stepped(from) : 0;
        bias += steps > awakeAtWake ? steps - awakeAtWake : 0;
    }
    return bias;
}

std::optional<std::uint64_t> WindowsClocks::interruptTime() const {
    if (kind_.windows7) return std::nullopt;
    return stepped(readingInstant()) + biasBeforeStart_;
}

std::optional<std::uint64_t> WindowsClocks::unbiasedInterruptTime() const {
    return stepped(readingInstant()) + biasBeforeStart_ - bias();
}

std::uint64_t WindowsClocks::tickCount64() const {
    const std::uint64_t instant = readingInstant() + biasBeforeStart_;
    return (instant - tickPhase_) / clockTick * clockTick / perMs;
}

std::string WindowsClocks::describe() const {
    return std::string(kind_.windows7 ? "Windows 7 clocks" : "Windows 10 clocks") +
           (kind_.raisedResolution ? ", 1 ms resolution" : ", default resolution") +
           (kind_.sleptBeforeStart ? ", slept before the start" : "");
}

}  // namespace tovik::test
