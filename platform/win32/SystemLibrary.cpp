#include "platform/win32/SystemLibrary.h"

#include <string>

namespace tovik::win32 {

void RestrictDllSearchToSystemFolder() {
    // Looked up: Windows 7 has it only with its loader update.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const auto restrict = kernel32 ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
                                         GetProcAddress(kernel32, "SetDefaultDllDirectories")))
                                   : nullptr;
    if (!restrict || !restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
    // The common controls load the theme DLL, and it loads its own helpers,
    // by name, through a search that starts in the program's folder wherever
    // the restriction is missing (Windows 7 without the update) or not
    // applied to them (Wine's delayed imports). Loaded from the system folder
    // now, those names are taken.
    for (const wchar_t* name : {L"uxtheme.dll", L"msimg32.dll"}) LoadSystemLibrary(name);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    // A system without the flag refuses it as a bad parameter: then the full
    // path into the system folder, whose dependencies are searched there first.
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void* FindSystemProcedure(const wchar_t* library, const char* procedure) {
    const HMODULE module = LoadSystemLibrary(library);
    return module ? reinterpret_cast<void*>(GetProcAddress(module, procedure)) : nullptr;
}

}  // namespace tovik::win32
