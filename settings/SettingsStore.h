#pragma once
#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace tovik::settings {

using platform::RegistryHive;

// The keys of the program, written as the program names them: from the root
// of the hive with a leading backslash, which the store drops before handing
// the path to the registry.
inline constexpr const char* settingsKeyPath = "\\Software\\Zeb\\Tovik";
inline constexpr const char* diagnosticKeyPath = "\\Software\\Zeb\\Zeb_Diagnostic";
inline constexpr const char* windowsNtKeyPath = "\\Software\\Microsoft\\Windows NT\\CurrentVersion";

// A handle on one key at a time with typed access to its values. Three kinds
// of value: text (REG_SZ), integer (REG_DWORD, signed 32-bit) and boolean
// (an integer, 1 or 0; any non-zero reads as true). Failed reads and writes
// throw UserError with the text shown to the user; a key that does not open
// is not reported by itself. The destructor closes a key left open.
class SettingsStore {
public:
    explicit SettingsStore(platform::Registry& registry) : registry_(registry) {}
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Opens the key with full access; with create, the key and its missing
    // parents are created. A key already open in this handle is closed first;
    // a failed open leaves no key open.
    bool openForWriting(RegistryHive hive, const std::string& path, bool create);
    // Opens an existing key for reading, trying ever smaller access rights.
    // Never creates anything.
    bool openForReading(RegistryHive hive, const std::string& path);
    bool isOpen() const { return key_ != platform::noRegistryKey; }
    void close();

    // Whether the value's type and size can be queried; false with no key open.
    bool valueExists(const std::string& name) const;

    // A missing value, or one without data, reads as the empty text; REG_SZ
    // and REG_EXPAND_SZ are taken unexpanded, up to the first zero character.
    std::string readText(const std::string& name) const;
    // REG_DWORD only; the value must exist and hold at most 4 bytes.
    std::int32_t readInteger(const std::string& name) const;
    bool readBoolean(const std::string& name) const;

    void writeText(const std::string& name, const std::string& text);
    void writeInteger(const std::string& name, std::int32_t value);
    void writeBoolean(const std::string& name, bool value);

private:
    void write(const std::string& name, const platform::RegistryValue& value);

    platform::Registry& registry_;
    platform::RegistryKey key_ = platform::noRegistryKey;
};

// Writes one text value into the diagnostic key of the current user, creating
// the key when missing; the result of the open is not checked, so a key that
// cannot be opened fails with the write error.
void WriteDiagnosticText(platform::Registry& registry, const std::string& name, const std::string& text);

}  // namespace tovik::settings
