#include "platform/win32/Win32Registry.h"

#include "platform/win32/Utf16.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace tovik::win32 {

using platform::RegistryHive;
using platform::RegistryKey;
using platform::RegistryValue;
using platform::noRegistryKey;
namespace regtype = platform::regtype;

namespace {

HKEY rootOf(RegistryHive hive) {
    return hive == RegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HKEY handleOf(RegistryKey key) { return reinterpret_cast<HKEY>(key); }

RegistryKey keyOf(HKEY handle) { return reinterpret_cast<RegistryKey>(handle); }

}  // namespace

RegistryKey Win32Registry::createKey(RegistryHive hive, const std::string& path) {
    HKEY handle = nullptr;
    const LONG result = RegCreateKeyExW(rootOf(hive), Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    return result == ERROR_SUCCESS ? keyOf(handle) : noRegistryKey;
}

RegistryKey Win32Registry::openKey(RegistryHive hive, const std::string& path, std::uint32_t access) {
    HKEY handle = nullptr;
    const LONG result = RegOpenKeyExW(rootOf(hive), Widen(path).c_str(), 0, static_cast<REGSAM>(access), &handle);
    return result == ERROR_SUCCESS ? keyOf(handle) : noRegistryKey;
}

bool Win32Registry::valueExists(RegistryKey key, const std::string& name) {
    DWORD type = 0;
    DWORD size = 0;
    return RegQueryValueExW(handleOf(key), Widen(name).c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

std::optional<RegistryValue> Win32Registry::queryValue(RegistryKey key, const std::string& name) {
    const std::wstring wideName = Widen(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(handleOf(key), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    // The value may grow between the queries: ask again with a larger buffer
    // until the whole data fits, however long it is. The buffer is never
    // empty, so a value that was empty at first is still read.
    std::vector<BYTE> data(static_cast<std::size_t>(size) + 1);
    for (;;) {
        DWORD got = static_cast<DWORD>(data.size());
        const LONG result = RegQueryValueExW(handleOf(key), wideName.c_str(), nullptr, &type, data.data(), &got);
        if (result == ERROR_SUCCESS) {
            data.resize(got);
            break;
        }
        if (result != ERROR_MORE_DATA) return std::nullopt;
        data.resize(std::max<std::size_t>(got, data.size() * 2));
    }

    RegistryValue value;
    value.type = type;
    if (regtype::isText(type)) {
        // UTF-16 code units; an odd last byte is no character.
        std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
        if (!wide.empty()) std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
        value.data = Narrow(wide);
    } else {
        value.data.assign(reinterpret_cast<const char*>(data.data()), data.size());
    }
    return value;
}

bool Win32Registry::setValue(RegistryKey key, const std::string& name, const RegistryValue& value) {
    const BYTE* data = reinterpret_cast<const BYTE*>(value.data.data());
    DWORD size = static_cast<DWORD>(value.data.size());
    std::wstring wide;
    if (regtype::isText(value.type)) {
        wide = Widen(value.data);
        data = reinterpret_cast<const BYTE*>(wide.data());
        size = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    }
    return RegSetValueExW(handleOf(key), Widen(name).c_str(), 0, value.type, data, size) == ERROR_SUCCESS;
}

void Win32Registry::closeKey(RegistryKey key) { RegCloseKey(handleOf(key)); }

}  // namespace tovik::win32
