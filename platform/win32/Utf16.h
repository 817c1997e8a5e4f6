#pragma once
#include <string>

// Conversions between the program's UTF-8 text and the UTF-16 of the wide
// Windows functions.
namespace tovik::win32 {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const wchar_t* utf16, int length);
inline std::string Narrow(const std::wstring& utf16) { return Narrow(utf16.data(), static_cast<int>(utf16.size())); }

}  // namespace tovik::win32
