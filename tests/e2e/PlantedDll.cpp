// A DLL planted beside a copy of Tovik.exe under the names of the DLLs that
// Tovik uses or might use. Once loaded it leaves "<its name>.loaded" beside
// itself. It exports what Tovik once imported, so an import binds to it.
#define NOGDI  // its own TransparentBlt, not gdi's declaration
#include <windows.h>

#include <string>

extern "C" {
__declspec(dllexport) BOOLEAN WINAPI IsPwrHibernateAllowed() { return FALSE; }
__declspec(dllexport) BOOLEAN WINAPI IsPwrSuspendAllowed() { return FALSE; }
__declspec(dllexport) BOOLEAN WINAPI SetSuspendState(BOOLEAN, BOOLEAN, BOOLEAN) { return FALSE; }
__declspec(dllexport) BOOL WINAPI TransparentBlt(HDC, int, int, int, int, HDC, int, int, int, int, UINT) { return FALSE; }
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    const std::wstring marker = std::wstring(path, length) + L".loaded";
    CloseHandle(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return TRUE;
}
