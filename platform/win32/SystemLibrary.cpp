// DLLs from the system folder through the loader of kernel32, which the
// search decisions of platform/DllSearch drive.
#include "platform/win32/SystemLibrary.h"

#include <string>

#include "platform/DllSearch.h"
#include "platform/win32/Utf16.h"

namespace tovik::win32 {

namespace {

// The loader as kernel32 offers it.
class SystemDllLoader : public platform::DllLoader {
public:
    bool knowsSearchFlags() override {
        return kernel32Procedure("SetDefaultDllDirectories") && kernel32Procedure("AddDllDirectory");
    }
    bool searchSystemFolderOnly() override {
        using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
        const auto restrict =
            reinterpret_cast<SetDefaultDllDirectoriesFunction>(kernel32Procedure("SetDefaultDllDirectories"));
        return restrict && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    void leaveOutCurrentDirectory() override { SetDllDirectoryW(L""); }
    void* loadWithSearchFlag(const std::string& name) override {
        return LoadLibraryExW(Widen(name).c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    void* loadByFullPath(const std::string& name) override {
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return nullptr;
        const std::wstring path = std::wstring(folder, length) + L"\\" + Widen(name);
        return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }

private:
    static void* kernel32Procedure(const char* name) {
        const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
        return kernel32 ? reinterpret_cast<void*>(GetProcAddress(kernel32, name)) : nullptr;
    }
};

}  // namespace

void RestrictDllSearchToSystemFolder() {
    SystemDllLoader loader;
    platform::RestrictDllSearch(loader);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    SystemDllLoader loader;
    return static_cast<HMODULE>(platform::LoadFromSystemFolder(loader, Narrow(name)));
}

void* FindSystemProcedure(const wchar_t* library, const char* procedure) {
    const HMODULE module = LoadSystemLibrary(library);
    return module ? reinterpret_cast<void*>(GetProcAddress(module, procedure)) : nullptr;
}

}  // namespace tovik::win32
