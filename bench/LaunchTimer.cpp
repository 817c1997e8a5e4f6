// Launch timer: starts a Windows program and measures the time until the
// new process has a visible top-level window; then, with --settle, lets it
// run that long and reads its peak working set and peak private bytes; with
// --cpu, lets it run that long and reads the CPU time it used meanwhile.
// Terminates the process and prints on stdout, separated by blanks:
//   start-to-window ms, peak working set KiB, peak private KiB, CPU seconds
//
//   LaunchTimer.exe [--timeout MS] [--settle MS] [--cpu MS] PROGRAM.exe [ARGUMENTS...]
//
// The window is noticed through an out-of-context WinEvent hook on
// EVENT_OBJECT_SHOW; the loop also checks the process' windows whenever it
// wakes (at the latest every 2 ms), because not every Windows implementation
// delivers the show event for another process' windows.
// Exit code 0: measured; 1: usage or start error; 2: the program exited or
// timed out before a window became visible.
#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

DWORD g_pid = 0;
bool g_shown = false;

BOOL CALLBACK findVisibleWindow(HWND hwnd, LPARAM found) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == g_pid && IsWindowVisible(hwnd)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

bool processHasVisibleWindow() {
  bool found = false;
  EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

void CALLBACK onShow(HWINEVENTHOOK, DWORD, HWND hwnd, LONG idObject, LONG, DWORD, DWORD) {
  if (idObject != OBJID_WINDOW || !hwnd) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == g_pid && GetAncestor(hwnd, GA_PARENT) == GetDesktopWindow() && IsWindowVisible(hwnd))
    g_shown = true;
}

// Quotes one argument the way CommandLineToArgvW reads it back.
std::wstring quoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
    } else {
      if (c == L'"') out.append(backslashes + 1, L'\\');
      backslashes = 0;
    }
    out += c;
  }
  out.append(backslashes, L'\\');
  out += L'"';
  return out;
}

// Keeps the launcher's own messages flowing while the program runs.
void pumpFor(DWORD ms, HANDLE process) {
  const DWORD end = GetTickCount() + ms;
  for (;;) {
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(end - now) <= 0) return;
    if (MsgWaitForMultipleObjects(1, &process, FALSE, end - now, QS_ALLINPUT) == WAIT_OBJECT_0) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

double cpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  auto value = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(value(kernel) + value(user)) / 1e7;
}

double millisecondsSince(LARGE_INTEGER start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  DWORD timeoutMs = 30000, settleMs = 0, cpuMs = 0;
  int first = 1;
  while (first + 1 < argc && std::wcsncmp(argv[first], L"--", 2) == 0) {
    const DWORD value = static_cast<DWORD>(std::wcstoul(argv[first + 1], nullptr, 10));
    if (std::wcscmp(argv[first], L"--timeout") == 0) timeoutMs = value;
    else if (std::wcscmp(argv[first], L"--settle") == 0) settleMs = value;
    else if (std::wcscmp(argv[first], L"--cpu") == 0) cpuMs = value;
    first += 2;
  }
  if (first >= argc) {
    std::fwprintf(stderr, L"usage: LaunchTimer.exe [--timeout MS] [--settle MS] [--cpu MS] PROGRAM.exe [ARGUMENTS...]\n");
    return 1;
  }
  std::wstring commandLine;
  for (int i = first; i < argc; ++i) {
    if (i > first) commandLine += L' ';
    commandLine += quoteArgument(argv[i]);
  }

  // Sleep and wait time-outs at 1 ms resolution instead of the 15.6 ms tick.
  timeBeginPeriod(1);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, onShow, 0, 0,
                                       WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(argv[first], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    std::fwprintf(stderr, L"LaunchTimer: cannot start %ls (error %lu)\n", argv[first],
                  GetLastError());
    return 1;
  }
  g_pid = process.dwProcessId;

  int result = 2;
  double elapsed = 0;
  for (;;) {
    if (g_shown || processHasVisibleWindow()) {
      elapsed = millisecondsSince(start);
      result = 0;
      break;
    }
    const double waited = millisecondsSince(start);
    if (waited >= timeoutMs) {
      std::fwprintf(stderr, L"LaunchTimer: no visible window after %lu ms\n", timeoutMs);
      break;
    }
    DWORD wake = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 2, QS_ALLINPUT);
    if (wake == WAIT_OBJECT_0) {
      std::fwprintf(stderr, L"LaunchTimer: %ls exited before showing a window\n", argv[first]);
      break;
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  double cpu = 0;
  if (result == 0) {
    pumpFor(settleMs, process.hProcess);
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    if (cpuMs > 0) {
      const double before = cpuSeconds(process.hProcess);
      pumpFor(cpuMs, process.hProcess);
      cpu = cpuSeconds(process.hProcess) - before;
    }
  }

  if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (hook) UnhookWinEvent(hook);
  timeEndPeriod(1);
  if (result == 0)
    std::wprintf(L"%.1f %llu %llu %.3f\n", elapsed, static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024),
                 static_cast<unsigned long long>(memory.PeakPagefileUsage / 1024), cpu);
  return result;
}
