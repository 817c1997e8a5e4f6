#include "settings/DateTimeText.h"

namespace tovik::settings {

std::string DateTimeText(const platform::LocalDateTime& when, const platform::Locale& locale) {
    std::string text = locale.formatShortDate(when);
    if (when.hour != 0 || when.minute != 0 || when.second != 0) {
        text += ' ';
        text += locale.formatLongTime(when);
    }
    return text;
}

}  // namespace tovik::settings
