// Where start-up time goes: the marks and spans kept in a fixed table and
// written out once the message loop first runs out of work.
#include "ui/win32/StartupTrace.h"

#include <windows.h>

#include <string>

namespace tovik::win32 {

namespace {

struct Entry {
    const char* name = nullptr;
    double ms = 0;
};

struct Record {
    bool decided = false;
    bool on = false;
    bool written = false;
    wchar_t path[MAX_PATH] = {};
    double startMs = 0;  // the performance counter at process creation, in ms
    Entry marks[16];
    int markCount = 0;
    Entry buckets[4];
    int bucketCount = 0;
};

Record& record() {
    static Record r;
    return r;
}

double counterMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool on() {
    Record& r = record();
    if (r.decided) return r.on;
    r.decided = true;
    const DWORD length = GetEnvironmentVariableW(L"TOVIK_STARTUP_TRACE", r.path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    r.on = true;
    // How long ago the process was created, from the system clock.
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    auto value = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    // The system clock may have been set back since the process started.
    const ULONGLONG age = value(now) > value(created) ? value(now) - value(created) : 0;
    r.startMs = counterMs() - static_cast<double>(age) / 10000.0;
    return true;
}

}  // namespace

void StartupTrace::mark(const char* phase) {
    Record& r = record();
    if (!on() || r.written || r.markCount == 16) return;
    r.marks[r.markCount++] = {phase, counterMs() - r.startMs};
}

StartupTrace::Span::Span(const char* bucket) : bucket_(bucket), start_(0) {
    if (!on() || record().written) return;
    start_ = static_cast<long long>(counterMs() * 1000.0);
}

StartupTrace::Span::~Span() {
    if (start_ == 0) return;
    const double ms = counterMs() - static_cast<double>(start_) / 1000.0;
    Record& r = record();
    for (int i = 0; i < r.bucketCount; ++i)
        if (r.buckets[i].name == bucket_) {
            r.buckets[i].ms += ms;
            return;
        }
    if (r.bucketCount < 4) r.buckets[r.bucketCount++] = {bucket_, ms};
}

bool StartupTrace::pending() { return on() && !record().written; }

void StartupTrace::finish() {
    if (!pending()) return;
    mark("paint");
    Record& r = record();
    r.written = true;
    // Plain Win32 formatting: the runtime's floating-point printing would add
    // tens of kilobytes to the executable for a trace nobody ships.
    std::string text;
    auto line = [&](const char* name, double ms, const char* tail) {
        char buffer[128];
        const long tenths = static_cast<long>(ms * 10.0 + 0.5);
        wsprintfA(buffer, "%-10s %6ld.%ld ms%s\r\n", name, tenths / 10, tenths % 10, tail);
        text += buffer;
    };
    double previous = 0;
    for (int i = 0; i < r.markCount; ++i) {
        line(r.marks[i].name, r.marks[i].ms - previous, "");
        previous = r.marks[i].ms;
    }
    line("in all", previous, " from the process's creation");
    for (int i = 0; i < r.bucketCount; ++i) line(r.buckets[i].name, r.buckets[i].ms, " (spread over the phases)");
    HANDLE file = CreateFileW(r.path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace tovik::win32
