#pragma once
#include <windows.h>

#include <string>

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

}  // namespace tovik::win32
