#include "settings/SettingsStore.h"

#include "platform/UserError.h"

namespace tovik::settings {

namespace {

namespace regtype = platform::regtype;
namespace keyaccess = platform::keyaccess;

// The key name handed to the registry: the program's path without its
// leading backslash.
std::string keyName(const std::string& path) {
    std::string::size_type start = 0;
    while (start < path.size() && path[start] == '\\') ++start;
    return path.substr(start);
}

// The error texts name the value by string concatenation: a value name never
// becomes a format.
[[noreturn]] void failSet(const std::string& name) {
    throw UserError("Fehler beim Setzen der Daten für '" + name + "'");
}
[[noreturn]] void failGet(const std::string& name) {
    throw UserError("Fehler beim Holen der Daten für '" + name + "'");
}
[[noreturn]] void failType(const std::string& name) {
    throw UserError("Ungültiger Datentyp für '" + name + "'");
}

// An integer is read into a buffer of this size.
constexpr std::size_t integerSize = 4;

}  // namespace

SettingsStore::~SettingsStore() { close(); }

bool SettingsStore::openForWriting(RegistryHive hive, const std::string& path, bool create) {
    close();
    const std::string name = keyName(path);
    key_ = create ? registry_.createKey(hive, name) : registry_.openKey(hive, name, keyaccess::AllAccess);
    return isOpen();
}

bool SettingsStore::openForReading(RegistryHive hive, const std::string& path) {
    close();
    const std::string name = keyName(path);
    for (std::uint32_t access : {keyaccess::Read, keyaccess::ReadNoEnumerate, keyaccess::QueryValue}) {
        key_ = registry_.openKey(hive, name, access);
        if (isOpen()) return true;
    }
    return false;
}

void SettingsStore::close() {
    if (!isOpen()) return;
    registry_.closeKey(key_);
    key_ = platform::noRegistryKey;
}

bool SettingsStore::valueExists(const std::string& name) const {
    return isOpen() && registry_.valueExists(key_, name);
}

std::string SettingsStore::readText(const std::string& name) const {
    if (!isOpen()) return {};
    const auto value = registry_.queryValue(key_, name);
    // Without data the value reads as empty whatever its type.
    if (!value || value->data.empty()) return {};
    if (value->type != regtype::Sz && value->type != regtype::ExpandSz) failType(name);
    const auto end = value->data.find('\0');
    return end == std::string::npos ? value->data : value->data.substr(0, end);
}

std::int32_t SettingsStore::readInteger(const std::string& name) const {
    if (!isOpen()) failGet(name);
    const auto value = registry_.queryValue(key_, name);
    // The data must fit the 4-byte buffer before its type is looked at.
    if (!value || value->data.size() > integerSize) failGet(name);
    if (value->type != regtype::Dword) failType(name);
    // Little-endian; shorter data leaves the upper bytes zero.
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < value->data.size(); ++i)
        bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(value->data[i])) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

bool SettingsStore::readBoolean(const std::string& name) const { return readInteger(name) != 0; }

void SettingsStore::writeText(const std::string& name, const std::string& text) {
    // The text and one terminating zero.
    std::string data = text;
    data.push_back('\0');
    write(name, {regtype::Sz, std::move(data)});
}

void SettingsStore::writeInteger(const std::string& name, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    std::string data(integerSize, '\0');
    for (std::size_t i = 0; i < integerSize; ++i) data[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    write(name, {regtype::Dword, std::move(data)});
}

void SettingsStore::writeBoolean(const std::string& name, bool value) { writeInteger(name, value ? 1 : 0); }

void SettingsStore::write(const std::string& name, const platform::RegistryValue& value) {
    if (!isOpen() || !registry_.setValue(key_, name, value)) failSet(name);
}

void WriteDiagnosticText(platform::Registry& registry, const std::string& name, const std::string& text) {
    SettingsStore store(registry);
    store.openForWriting(RegistryHive::CurrentUser, diagnosticKeyPath, true);
    store.writeText(name, text);
    store.close();
}

}  // namespace tovik::settings
