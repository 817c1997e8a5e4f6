#pragma once
#include <windows.h>

#include <string>

#include "platform/Clock.h"
#include "platform/SystemAwake.h"

namespace tovik::win32 {

// A system-required power request with its reason (Windows 7 and later);
// where the power-request functions are missing, the thread's execution
// state asks for the same. Released when it goes, at the latest.
class Win32SystemAwake : public platform::SystemAwake {
public:
    Win32SystemAwake() = default;
    Win32SystemAwake(const Win32SystemAwake&) = delete;
    Win32SystemAwake& operator=(const Win32SystemAwake&) = delete;
    ~Win32SystemAwake() override { release(); }

    void hold(const std::string& reason) override;
    void release() override;

private:
    HANDLE request_ = nullptr;
    bool executionStateHeld_ = false;
};

// The interrupt-time clocks: biased (QueryInterruptTime on Windows 10, else
// the tick count, which also counts sleep) and unbiased (Windows 7 and later;
// where it is missing no sleep is counted).
class Win32UptimeClock : public platform::UptimeClock {
public:
    std::uint64_t milliseconds() const override;
    std::uint64_t awakeMilliseconds() const override;
};

}  // namespace tovik::win32
