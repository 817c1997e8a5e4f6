#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <vector>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Utf16.h"

namespace tovik::win32 {

namespace {

SYSTEMTIME toSystemTime(const platform::LocalDateTime& when) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(when.year);
    time.wMonth = static_cast<WORD>(when.month);
    time.wDay = static_cast<WORD>(when.day);
    time.wHour = static_cast<WORD>(when.hour);
    time.wMinute = static_cast<WORD>(when.minute);
    time.wSecond = static_cast<WORD>(when.second);
    time.wMilliseconds = static_cast<WORD>(when.millisecond);
    return time;
}

}  // namespace

int Win32SystemInfo::majorVersion() const {
    // The record is the ANSI one with its 148-byte size; newer systems may
    // report a compatibility version, which is what the program follows.
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    static_assert(sizeof(OSVERSIONINFOA) == 148);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    if (!GetVersionExA(&info)) return 0;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return static_cast<int>(info.dwMajorVersion);
}

std::optional<std::string> Win32SystemInfo::findDevEnvironmentWindow() const {
    HWND window = FindWindowW(L"TAppBuilder", nullptr);
    if (!window) return std::nullopt;
    wchar_t text[512];
    int length = GetWindowTextW(window, text, 512);
    if (length <= 0) length = GetClassNameW(window, text, 512);
    return Narrow(text, length);
}

// BOOLEAN IsPwrHibernateAllowed(void) and IsPwrSuspendAllowed(void) of powrprof.dll,
// which is loaded at run time from the system folder; without them neither is allowed.
using PowerAllowedFunction = BOOLEAN(WINAPI*)();

bool Win32SystemInfo::hibernateAllowed() const {
    static SystemProcedure<PowerAllowedFunction> allowed{L"powrprof.dll", "IsPwrHibernateAllowed"};
    const auto ask = allowed.get();
    return ask && ask() != FALSE;
}

bool Win32SystemInfo::suspendAllowed() const {
    static SystemProcedure<PowerAllowedFunction> allowed{L"powrprof.dll", "IsPwrSuspendAllowed"};
    const auto ask = allowed.get();
    return ask && ask() != FALSE;
}

std::string Win32SystemInfo::executablePath() const {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return Narrow(path.data(), static_cast<int>(length));
        path.resize(path.size() * 2);
    }
}

platform::LocalDateTime Win32Clock::now() const {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
}

std::uint64_t Win32MonotonicClock::milliseconds() const {
    // The counter's frequency is fixed at system start.
    static const auto perSecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<std::uint64_t>(frequency.QuadPart);
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    const auto ticks = static_cast<std::uint64_t>(count.QuadPart);
    return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

std::string Win32Locale::decimalSeparator() const {
    wchar_t text[8];
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 8);
    return length > 1 ? Narrow(text, length - 1) : std::string(",");
}

std::string Win32Locale::timeSeparator() const {
    wchar_t text[8];
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, text, 8);
    return length > 1 ? Narrow(text, length - 1) : std::string(":");
}

std::string Win32Locale::formatShortDate(const platform::LocalDateTime& when) const {
    const SYSTEMTIME time = toSystemTime(when);
    wchar_t text[128];
    const int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 128);
    return length > 1 ? Narrow(text, length - 1) : std::string();
}

std::string Win32Locale::formatLongTime(const platform::LocalDateTime& when) const {
    // Only the time of day shows; a day far outside the system's calendar
    // (a target thousands of years away) must not make the call fail.
    SYSTEMTIME time = toSystemTime({2000, 1, 1, when.hour, when.minute, when.second, when.millisecond});
    wchar_t text[128];
    const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, 128);
    return length > 1 ? Narrow(text, length - 1) : std::string();
}

}  // namespace tovik::win32
