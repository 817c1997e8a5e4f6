#include "platform/win32/Win32InterruptClocks.h"

#include <windows.h>

#include "platform/win32/SystemLibrary.h"

namespace tovik::win32 {

namespace {

SystemProcedure<VOID(WINAPI*)(PULONGLONG)> queryInterruptTime{L"kernel32.dll", "QueryInterruptTime"};
SystemProcedure<BOOL(WINAPI*)(PULONGLONG)> queryUnbiasedInterruptTime{L"kernel32.dll", "QueryUnbiasedInterruptTime"};

}  // namespace

std::optional<std::uint64_t> Win32InterruptClocks::interruptTime() const {
    const auto query = queryInterruptTime.get();
    if (!query) return std::nullopt;
    ULONGLONG time = 0;
    query(&time);
    return time;
}

std::optional<std::uint64_t> Win32InterruptClocks::unbiasedInterruptTime() const {
    ULONGLONG time = 0;
    if (const auto query = queryUnbiasedInterruptTime.get(); query && query(&time)) return time;
    return std::nullopt;
}

std::uint64_t Win32InterruptClocks::tickCount64() const { return GetTickCount64(); }

}  // namespace tovik::win32
