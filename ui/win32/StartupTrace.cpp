#include "ui/win32/StartupTrace.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tovik::win32 {

namespace {

struct Record {
    bool decided = false;
    bool on = false;
    bool written = false;
    std::wstring path;
    double startMs = 0;  // the performance counter at process creation, in ms
    std::vector<std::pair<std::string, double>> marks;
    std::vector<std::pair<std::string, double>> buckets;
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
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"TOVIK_STARTUP_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    r.on = true;
    r.path.assign(path, length);
    // How long ago the process was created, from the system clock.
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    auto value = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    r.startMs = counterMs() - static_cast<double>(value(now) - value(created)) / 10000.0;
    return true;
}

}  // namespace

void StartupTrace::mark(const char* phase) {
    if (!on() || record().written) return;
    record().marks.emplace_back(phase, counterMs() - record().startMs);
}

StartupTrace::Span::Span(const char* bucket) : bucket_(bucket), start_(0) {
    if (!on() || record().written) return;
    start_ = static_cast<long long>(counterMs() * 1000.0);
}

StartupTrace::Span::~Span() {
    if (start_ == 0) return;
    const double ms = counterMs() - static_cast<double>(start_) / 1000.0;
    for (auto& [name, total] : record().buckets)
        if (name == bucket_) {
            total += ms;
            return;
        }
    record().buckets.emplace_back(bucket_, ms);
}

bool StartupTrace::pending() { return on() && !record().written; }

void StartupTrace::finish() {
    if (!pending()) return;
    mark("paint");
    Record& r = record();
    r.written = true;
    if (FILE* file = _wfopen(r.path.c_str(), L"w")) {
        double previous = 0;
        for (const auto& [phase, at] : r.marks) {
            std::fprintf(file, "%-10s at %8.1f ms  (+%.1f)\n", phase.c_str(), at, at - previous);
            previous = at;
        }
        for (const auto& [bucket, total] : r.buckets) std::fprintf(file, "%-10s    %8.1f ms in all\n", bucket.c_str(), total);
        std::fclose(file);
    }
}

}  // namespace tovik::win32
