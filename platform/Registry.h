#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tovik::platform {

// The two hives the program uses.
enum class RegistryHive { CurrentUser, LocalMachine };

// Registry data types, by their system codes.
namespace regtype {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t Sz = 1;
constexpr std::uint32_t ExpandSz = 2;
constexpr std::uint32_t Binary = 3;
constexpr std::uint32_t Dword = 4;
constexpr std::uint32_t MultiSz = 7;
constexpr std::uint32_t Qword = 11;

// Types whose data is text.
constexpr bool isText(std::uint32_t type) { return type == Sz || type == ExpandSz || type == MultiSz; }
}  // namespace regtype

// Access masks for opening keys, by their system codes.
namespace keyaccess {
constexpr std::uint32_t QueryValue = 0x0001;
constexpr std::uint32_t SetValue = 0x0002;
constexpr std::uint32_t Read = 0x20019;
// Read without the right to enumerate sub keys.
constexpr std::uint32_t ReadNoEnumerate = 0x20009;
constexpr std::uint32_t AllAccess = 0xF003F;
}  // namespace keyaccess

// One value as stored: its data type and its raw data. The data of the text
// types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) travels as UTF-8, zero
// characters and terminator included, exactly as many as are stored; the
// backend converts to and from what the system keeps. All other data is
// passed on byte for byte.
struct RegistryValue {
    std::uint32_t type = regtype::None;
    std::string data;

    bool operator==(const RegistryValue&) const = default;
};

// An open key; 0 is no key.
using RegistryKey = std::uintptr_t;
constexpr RegistryKey noRegistryKey = 0;

// The raw registry: keys of two hives and typed values. It knows nothing of
// the program's value kinds; those rules live in the settings store. Paths
// are relative to the hive and start without a backslash, such as
// "Software\Zeb\Tovik". Names and paths are UTF-8.
class Registry {
public:
    virtual ~Registry() = default;

    // Opens the key with full access, creating it and any missing parent
    // keys as non-volatile keys. noRegistryKey when that fails.
    virtual RegistryKey createKey(RegistryHive hive, const std::string& path) = 0;
    // Opens an existing key with the given access mask. noRegistryKey when
    // that fails; nothing is created.
    virtual RegistryKey openKey(RegistryHive hive, const std::string& path, std::uint32_t access) = 0;
    // Whether the value's type and size can be queried in the key.
    virtual bool valueExists(RegistryKey key, const std::string& name) = 0;
    // The value's type and whole data; nothing when it cannot be queried.
    virtual std::optional<RegistryValue> queryValue(RegistryKey key, const std::string& name) = 0;
    // Creates or replaces the value; false when the system refuses.
    virtual bool setValue(RegistryKey key, const std::string& name, const RegistryValue& value) = 0;
    virtual void closeKey(RegistryKey key) = 0;
};

}  // namespace tovik::platform
