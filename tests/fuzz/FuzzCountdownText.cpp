// The countdown's numbers over the whole 32-bit tick range, with either
// separator: five significant digits, rounded half up, lost decimals as zeros.
#include <cstddef>
#include <cstdint>

#include "engine/CountdownText.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/ReferenceReadings.h"

using namespace tovik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    const std::int32_t ticks = static_cast<std::int32_t>(
        (data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24) & 0x7FFFFFFFu);
    const std::string separator = data[4] & 1 ? "," : ".";
    const std::string which = std::to_string(ticks) + " ticks";
    fuzz::check(engine::SecondsText(ticks, separator) == test::ReferenceFixed(ticks, 10, 1, separator),
                which + ": seconds " + engine::SecondsText(ticks, separator));
    fuzz::check(engine::MinutesText(ticks, separator) == test::ReferenceFixed(ticks, 600, 2, separator),
                which + ": minutes " + engine::MinutesText(ticks, separator));
    return 0;
}
