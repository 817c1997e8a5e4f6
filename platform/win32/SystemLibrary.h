#pragma once
// DLLs that Windows does not always take from its own folder (everything but
// its KnownDLLs) are loaded here, from the system folder only: a file of the
// same name beside Tovik.exe or in the current directory is never loaded.

#include <windows.h>

#include "platform/FoundOnce.h"

namespace tovik::win32 {

// Makes the system folder the only place that later loads search, with the
// system's own loader (platform/DllSearch.h). Called first thing in the
// entry point.
void RestrictDllSearchToSystemFolder();

// The DLL of that name ("powrprof.dll") from the system folder, loaded now
// unless it already is; it stays loaded until the process ends. Null when the
// system has no such DLL.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The address of a procedure of a DLL from the system folder; null when the
// DLL or the procedure is not there.
void* FindSystemProcedure(const wchar_t* library, const char* procedure);

// A procedure of a DLL from the system folder, looked up at its first use and
// kept for the whole process. A lookup that finds nothing is not asked again,
// unless `lookAgainWhenMissing`: then the next use looks again.
//   static SystemProcedure<decltype(&OpenThemeData)> openTheme{L"uxtheme.dll", "OpenThemeData"};
//   if (auto open = openTheme.get()) theme = open(window, L"BUTTON");
template <class Function>
class SystemProcedure {
public:
    SystemProcedure(const wchar_t* library, const char* name, bool lookAgainWhenMissing = false)
        : library_(library), name_(name), lookAgainWhenMissing_(lookAgainWhenMissing) {}

    // The procedure, or null when it is not there.
    Function get() {
        return found_.get([this]() -> Function {
            if (gaveUp_) return nullptr;
            gaveUp_ = !lookAgainWhenMissing_;
            return reinterpret_cast<Function>(FindSystemProcedure(library_, name_));
        });
    }

private:
    const wchar_t* library_;
    const char* name_;
    bool lookAgainWhenMissing_;
    bool gaveUp_ = false;
    platform::FoundOnce<Function> found_;
};

}  // namespace tovik::win32
