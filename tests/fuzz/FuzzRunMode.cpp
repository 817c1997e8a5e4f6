// The first command-line argument: every argument ends in exactly the run
// mode that the rules give.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/ReferenceReadings.h"

using namespace tovik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64) return 0;  // longer arguments add nothing the rules could tell apart
    const std::string argument(reinterpret_cast<const char*>(data), size);
    test::ProgramHarness h;
    ui::TForm1& f = h.start(argument);
    const test::ReferenceRunMode expected = test::ReferenceRunModeOf(argument);
    const std::string which = "argument " + fuzz::quoted(argument);
    fuzz::check(f.remainingTicks == expected.ticks, which + ": ticks " + std::to_string(f.remainingTicks));
    fuzz::check(f.restartMode == expected.restart, which + ": restart mode");
    fuzz::check(f.clockTimeMode == expected.clockTime, which + ": clock-time mode");
    fuzz::check(h.loop.terminated() == expected.refused, which + ": refused");
    fuzz::check(h.loop.boxes().size() == (expected.refused ? 1u : 0u), which + ": boxes");
    fuzz::check(f.tmCountDown.enabled(), which + ": countdown not started");
    return 0;
}
