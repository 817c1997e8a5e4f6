#include "platform/win32/Win32NamedLock.h"

#include <windows.h>

#include "platform/win32/Utf16.h"

namespace tovik::win32 {

platform::NamedLockResult Win32NamedLocks::createOrOpen(const std::string& name) {
    // Initial ownership is asked for; it is granted only to the creator.
    // The answer whether the name was in use comes right after the call.
    SetLastError(ERROR_SUCCESS);
    HANDLE mutex = CreateMutexW(nullptr, TRUE, Widen(name).c_str());
    const DWORD error = GetLastError();
    platform::NamedLockResult result;
    result.handle = reinterpret_cast<platform::LockHandle>(mutex);
    result.existedBefore = error == ERROR_ALREADY_EXISTS;
    return result;
}

void Win32NamedLocks::close(platform::LockHandle handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

}  // namespace tovik::win32
