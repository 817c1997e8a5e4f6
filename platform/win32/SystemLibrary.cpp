#include "platform/win32/SystemLibrary.h"

#include <string>

#include "platform/DllSearch.h"

namespace tovik::win32 {

namespace {

class SystemDllLoader : public platform::DllLoader {
public:
    bool searchSystemFolderOnly() override {
        // Looked up: Windows 7 has it only with its loader update.
        using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
        const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
        const auto restrict = kernel32 ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
                                             GetProcAddress(kernel32, "SetDefaultDllDirectories")))
                                       : nullptr;
        return restrict && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    void leaveOutCurrentDirectory() override { SetDllDirectoryW(L""); }
    void loadFromSystemFolder(const std::string& name) override {
        LoadSystemLibrary(std::wstring(name.begin(), name.end()).c_str());
    }
};

}  // namespace

void RestrictDllSearchToSystemFolder() {
    SystemDllLoader loader;
    platform::RestrictDllSearch(loader);
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
