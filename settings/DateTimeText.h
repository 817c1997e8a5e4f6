#pragma once
#include <string>

#include "platform/DateTime.h"
#include "platform/Locale.h"

namespace tovik::settings {

// The date in the user's short date format, a blank and the time in the
// user's long time format; at midnight (hours, minutes and seconds all 0)
// the blank and the time are left out.
std::string DateTimeText(const platform::LocalDateTime& when, const platform::Locale& locale);

}  // namespace tovik::settings
