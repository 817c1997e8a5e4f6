#pragma once

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/SystemInfo.h"
// The entry point takes the power requests from here too.
#include "platform/win32/Win32Power.h"

namespace tovik::win32 {

class Win32SystemInfo : public platform::SystemInfo {
public:
    int majorVersion() const override;
    std::optional<std::string> findDevEnvironmentWindow() const override;
    bool hibernateAllowed() const override;
    bool suspendAllowed() const override;
    std::string executablePath() const override;
};

class Win32Clock : public platform::Clock {
public:
    platform::LocalDateTime now() const override;
};

// The performance counter, in milliseconds.
class Win32MonotonicClock : public platform::MonotonicClock {
public:
    std::uint64_t milliseconds() const override;
};

// The user's regional settings, read afresh each time so a change in the
// control panel shows at once.
class Win32Locale : public platform::Locale {
public:
    std::string decimalSeparator() const override;
    std::string timeSeparator() const override;
    std::string formatShortDate(const platform::LocalDateTime& when) const override;
    std::string formatLongTime(const platform::LocalDateTime& when) const override;
};

}  // namespace tovik::win32
