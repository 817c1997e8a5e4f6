#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace tovik::test {

// An in-memory registry of two hives for the unit tests. Values hold raw
// typed data, so a test can plant anything the real registry could hold (a
// text where an integer is expected, 8-byte DWORD data, REG_EXPAND_SZ,
// embedded zeros). Key paths and value names compare case-insensitively, as
// in the system; a path with a leading backslash or an empty component does
// not open, as the system refuses it too. Every call is logged in order,
// and failures can be injected per key and per value.
class MemoryRegistry : public platform::Registry {
public:
    enum class Call { CreateKey, OpenKey, ValueExists, QueryValue, SetValue, CloseKey };

    struct Entry {
        Call call;
        platform::RegistryHive hive;
        std::string path;     // the key the call concerns, as opened
        std::string name;     // value name, empty for key calls
        std::uint32_t access = 0;           // OpenKey: requested access
        platform::RegistryValue value;      // SetValue: what was written
        bool succeeded = false;
    };

    // --- planting and inspecting ---
    void plantKey(platform::RegistryHive hive, const std::string& path);
    // Plants the value, creating its key.
    void plantValue(platform::RegistryHive hive, const std::string& path, const std::string& name,
                    platform::RegistryValue value);
    // A REG_SZ with one terminating zero.
    void plantText(platform::RegistryHive hive, const std::string& path, const std::string& name,
                   const std::string& text);
    void plantDword(platform::RegistryHive hive, const std::string& path, const std::string& name,
                    std::int32_t value);

    bool keyExists(platform::RegistryHive hive, const std::string& path) const;
    std::optional<platform::RegistryValue> value(platform::RegistryHive hive, const std::string& path,
                                                 const std::string& name) const;
    // The value as a REG_DWORD of 4 bytes; nothing when missing or of another shape.
    std::optional<std::int32_t> dword(platform::RegistryHive hive, const std::string& path,
                                      const std::string& name) const;
    // The data of a REG_SZ up to its terminator; nothing when missing or of another type.
    std::optional<std::string> text(platform::RegistryHive hive, const std::string& path,
                                    const std::string& name) const;

    // --- injected failures ---
    // The key does not open, neither by createKey nor by openKey.
    void failOpen(platform::RegistryHive hive, const std::string& path);
    // openKey of the key with exactly this access mask fails.
    void denyAccess(platform::RegistryHive hive, const std::string& path, std::uint32_t access);
    // Every write of this value name, in any key, is refused.
    void refuseWrite(const std::string& name);

    // --- the log ---
    const std::vector<Entry>& log() const { return log_; }
    void clearLog() { log_.clear(); }
    // The successful writes in order, as "name=type:rendering" (for example
    // "ForcePwrOff=dword:1", "PrefTime1=sz:00:45\\0" with the zero shown as \\0).
    std::vector<std::string> writes() const;
    // Keys still open; every routine is expected to close what it opened.
    std::size_t openKeyCount() const { return open_.size(); }

    // platform::Registry
    platform::RegistryKey createKey(platform::RegistryHive hive, const std::string& path) override;
    platform::RegistryKey openKey(platform::RegistryHive hive, const std::string& path,
                                  std::uint32_t access) override;
    bool valueExists(platform::RegistryKey key, const std::string& name) override;
    std::optional<platform::RegistryValue> queryValue(platform::RegistryKey key, const std::string& name) override;
    bool setValue(platform::RegistryKey key, const std::string& name, const platform::RegistryValue& value) override;
    void closeKey(platform::RegistryKey key) override;

    // Renders a value for writes() and for failure messages.
    static std::string render(const platform::RegistryValue& value);

private:
    using KeyId = std::pair<platform::RegistryHive, std::string>;  // path in lower case
    struct StoredValue {
        std::string name;  // as first written
        platform::RegistryValue value;
    };
    struct Key {
        std::map<std::string, StoredValue> values;  // by lower-case name
    };
    struct OpenKey {
        KeyId id;
        std::string path;  // as opened
        platform::RegistryHive hive;
        std::uint32_t access;
    };

    static std::optional<std::string> normalise(const std::string& path);
    Key* find(const KeyId& id);
    const Key* find(const KeyId& id) const;
    const OpenKey* opened(platform::RegistryKey key) const;
    platform::RegistryKey open(platform::RegistryHive hive, const std::string& path, std::uint32_t access,
                               bool create);
    void record(Entry entry) { log_.push_back(std::move(entry)); }

    std::map<KeyId, Key> keys_;
    std::map<platform::RegistryKey, OpenKey> open_;
    platform::RegistryKey nextHandle_ = 0x100;
    std::set<KeyId> failOpen_;
    std::set<std::pair<KeyId, std::uint32_t>> denied_;
    std::set<std::string> refusedWrites_;  // lower-case names
    std::vector<Entry> log_;
};

}  // namespace tovik::test
