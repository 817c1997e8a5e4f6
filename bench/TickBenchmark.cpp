// The cost of the work the program does while it sits and counts: one
// countdown tick (texts, gauges, taskbar text, watchdog) and one clock tick
// with the live target time, on the headless window model.
#include <benchmark/benchmark.h>

#include "tests/support/ProgramHarness.h"

using namespace tovik;

namespace {

void CountdownTick(benchmark::State& state) {
    test::ProgramHarness h;
    ui::TForm1& f = h.start("3600");
    f.remainingTicks = static_cast<int>(state.range(0));
    for (auto _ : state) {
        h.program->countdown.tmCountDownTimer();
        if (f.remainingTicks < 2) f.remainingTicks = static_cast<int>(state.range(0));
    }
}
// Seconds form (under two minutes left) and minutes form.
BENCHMARK(CountdownTick)->Arg(1199)->Arg(36000);

void ClockTickWithTargetTime(benchmark::State& state) {
    test::ProgramHarness h;
    ui::TForm1& f = h.start("3600");
    h.loop.user([&] { f.btTimerOff1.click(); });
    for (auto _ : state) {
        ++h.clock.time.second %= 60;
        h.program->timerPanel.tmClockTimer();
    }
}
BENCHMARK(ClockTickWithTargetTime);

}  // namespace

BENCHMARK_MAIN();
