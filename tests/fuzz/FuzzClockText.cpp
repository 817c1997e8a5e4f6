// A clock text: 1..1440 minutes within a minute of the target, or exactly the
// conversion error holding the text verbatim.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/UserError.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/ReferenceReadings.h"
#include "timer/ClockTime.h"

using namespace tovik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    // The first four bytes: the time of day of now, in milliseconds.
    const std::uint32_t nowMs =
        (data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24) % 86400000u;
    const std::string text(reinterpret_cast<const char*>(data + 4), size - 4);
    // Texts reach the conversion from controls, the registry and the command
    // line, none of which can hold a zero character.
    if (text.find('\0') != std::string::npos) return 0;
    const platform::LocalDateTime now{2026, 12, 8, int(nowMs / 3600000), int(nowMs / 60000 % 60),
                                      int(nowMs / 1000 % 60), int(nowMs % 1000)};
    const auto minuteOfDay = test::ReferenceClockMinuteOfDay(text);
    try {
        const int k = timer::MinutesUntilClockTime(now, text, ":");
        fuzz::check(minuteOfDay.has_value(), fuzz::quoted(text) + " converted");
        fuzz::check(k >= 1 && k <= 1440, fuzz::quoted(text) + ": " + std::to_string(k) + " minutes");
        auto span = [&](long long steps) {
            return std::llabs(*minuteOfDay * 60000LL - (nowMs + steps * 60000LL) % 86400000LL);
        };
        fuzz::check(span(k) <= 60000, fuzz::quoted(text) + ": not within a minute");
        for (int earlier = 1; earlier < k; ++earlier)
            fuzz::check(span(earlier) > 60000, fuzz::quoted(text) + ": an earlier step was within a minute");
    } catch (const UserError& error) {
        fuzz::check(!minuteOfDay.has_value(), fuzz::quoted(text) + " refused");
        fuzz::check(error.what() == "'" + text + ":00' ist keine gültige Uhrzeit",
                    fuzz::quoted(text) + ": error text " + error.what());
    }
    return 0;
}
