// The minutes field: any text reads as its signed 32-bit number or as 1;
// leaving writes back the clamped value only when the reading is outside the
// range; every write clamps and shows plain digits.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/ReferenceReadings.h"
#include "ui/Control.h"

using namespace tovik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ui::SpinEdit field(1, "seShutMinutes", {}, 15, 1, 1999999, {});
    int changes = 0;
    field.onChange = [&] { ++changes; };
    field.setTextByUser(text);
    fuzz::check(changes == (text == "15" ? 0 : 1), fuzz::quoted(text) + ": change events");
    const long long read = test::ReferenceMinutesReading(text);
    fuzz::check(field.value() == read, fuzz::quoted(text) + ": read " + std::to_string(field.value()));

    field.leave();
    const bool outside = read < 1 || read > 1999999;
    const std::string left = outside ? std::to_string(std::clamp(read, 1LL, 1999999LL)) : text;
    fuzz::check(field.text() == left, fuzz::quoted(text) + ": left as " + fuzz::quoted(field.text()));

    field.step(static_cast<int>(read % 3000) - 1500);
    const long long stepped = std::clamp(static_cast<long long>(field.value()), 1LL, 1999999LL);
    fuzz::check(field.text() == std::to_string(stepped), fuzz::quoted(text) + ": stepped to " + field.text());
    return 0;
}
