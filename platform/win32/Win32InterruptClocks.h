#pragma once
#include "platform/Clock.h"

namespace tovik::win32 {

// QueryInterruptTime (Windows 10 and later), QueryUnbiasedInterruptTime
// (Windows 7 and later) and GetTickCount64, the first two looked up at run
// time so that an older system still starts.
class Win32InterruptClocks : public platform::InterruptClocks {
public:
    std::optional<std::uint64_t> interruptTime() const override;
    std::optional<std::uint64_t> unbiasedInterruptTime() const override;
    std::uint64_t tickCount64() const override;
};

}  // namespace tovik::win32
