#include "tests/support/MemoryRegistry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace tovik::test {

namespace regtype = platform::regtype;
namespace keyaccess = platform::keyaccess;
using platform::RegistryHive;
using platform::RegistryKey;
using platform::RegistryValue;

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

std::optional<std::string> MemoryRegistry::normalise(const std::string& path) {
    if (path.empty()) return std::string();
    // No leading or trailing backslash, no empty component.
    if (path.front() == '\\' || path.back() == '\\' || path.find("\\\\") != std::string::npos) return std::nullopt;
    return lower(path);
}

MemoryRegistry::Key* MemoryRegistry::find(const KeyId& id) {
    const auto it = keys_.find(id);
    return it == keys_.end() ? nullptr : &it->second;
}

const MemoryRegistry::Key* MemoryRegistry::find(const KeyId& id) const {
    const auto it = keys_.find(id);
    return it == keys_.end() ? nullptr : &it->second;
}

const MemoryRegistry::OpenKey* MemoryRegistry::opened(RegistryKey key) const {
    const auto it = open_.find(key);
    return it == open_.end() ? nullptr : &it->second;
}

void MemoryRegistry::plantKey(RegistryHive hive, const std::string& path) {
    const auto normal = normalise(path);
    if (!normal) throw std::invalid_argument("MemoryRegistry: bad key path " + path);
    // Parents come into existence with their children.
    std::string::size_type pos = 0;
    while ((pos = normal->find('\\', pos)) != std::string::npos) keys_[{hive, normal->substr(0, pos++)}];
    keys_[{hive, *normal}];
}

void MemoryRegistry::plantValue(RegistryHive hive, const std::string& path, const std::string& name,
                                RegistryValue value) {
    plantKey(hive, path);
    auto& slot = keys_[{hive, *normalise(path)}].values[lower(name)];
    if (slot.name.empty()) slot.name = name;
    slot.value = std::move(value);
}

void MemoryRegistry::plantText(RegistryHive hive, const std::string& path, const std::string& name,
                               const std::string& text) {
    plantValue(hive, path, name, {regtype::Sz, text + std::string(1, '\0')});
}

void MemoryRegistry::plantDword(RegistryHive hive, const std::string& path, const std::string& name,
                                std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[static_cast<std::size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    plantValue(hive, path, name, {regtype::Dword, data});
}

bool MemoryRegistry::keyExists(RegistryHive hive, const std::string& path) const {
    const auto normal = normalise(path);
    return normal && find({hive, *normal}) != nullptr;
}

std::optional<RegistryValue> MemoryRegistry::value(RegistryHive hive, const std::string& path,
                                                   const std::string& name) const {
    const auto normal = normalise(path);
    const Key* key = normal ? find({hive, *normal}) : nullptr;
    if (!key) return std::nullopt;
    const auto it = key->values.find(lower(name));
    if (it == key->values.end()) return std::nullopt;
    return it->second.value;
}

std::optional<std::int32_t> MemoryRegistry::dword(RegistryHive hive, const std::string& path,
                                                  const std::string& name) const {
    const auto stored = value(hive, path, name);
    if (!stored || stored->type != regtype::Dword || stored->data.size() != 4) return std::nullopt;
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(stored->data[i])) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

std::optional<std::string> MemoryRegistry::text(RegistryHive hive, const std::string& path,
                                                 const std::string& name) const {
    const auto stored = value(hive, path, name);
    if (!stored || stored->type != regtype::Sz) return std::nullopt;
    return stored->data.substr(0, stored->data.find('\0'));
}

void MemoryRegistry::failOpen(RegistryHive hive, const std::string& path) {
    failOpen_.insert({hive, *normalise(path)});
}

void MemoryRegistry::denyAccess(RegistryHive hive, const std::string& path, std::uint32_t access) {
    denied_.insert({{hive, *normalise(path)}, access});
}

void MemoryRegistry::refuseWrite(const std::string& name) { refusedWrites_.insert(lower(name)); }

RegistryKey MemoryRegistry::open(RegistryHive hive, const std::string& path, std::uint32_t access, bool create) {
    const auto normal = normalise(path);
    if (!normal) return platform::noRegistryKey;
    const KeyId id{hive, *normal};
    if (failOpen_.count(id) || denied_.count({id, access})) return platform::noRegistryKey;
    if (!find(id)) {
        if (!create) return platform::noRegistryKey;
        plantKey(hive, path);
    }
    const RegistryKey handle = nextHandle_++;
    open_[handle] = OpenKey{id, path, hive, access};
    return handle;
}

RegistryKey MemoryRegistry::createKey(RegistryHive hive, const std::string& path) {
    const RegistryKey key = open(hive, path, keyaccess::AllAccess, true);
    record({Call::CreateKey, hive, path, {}, keyaccess::AllAccess, {}, key != platform::noRegistryKey});
    return key;
}

RegistryKey MemoryRegistry::openKey(RegistryHive hive, const std::string& path, std::uint32_t access) {
    const RegistryKey key = open(hive, path, access, false);
    record({Call::OpenKey, hive, path, {}, access, {}, key != platform::noRegistryKey});
    return key;
}

bool MemoryRegistry::valueExists(RegistryKey key, const std::string& name) {
    const OpenKey* handle = opened(key);
    if (!handle) throw std::logic_error("MemoryRegistry: valueExists on a key that is not open");
    const bool found = (handle->access & keyaccess::QueryValue) && value(handle->hive, handle->path, name);
    record({Call::ValueExists, handle->hive, handle->path, name, 0, {}, found});
    return found;
}

std::optional<RegistryValue> MemoryRegistry::queryValue(RegistryKey key, const std::string& name) {
    const OpenKey* handle = opened(key);
    if (!handle) throw std::logic_error("MemoryRegistry: queryValue on a key that is not open");
    std::optional<RegistryValue> found;
    if (handle->access & keyaccess::QueryValue) found = value(handle->hive, handle->path, name);
    record({Call::QueryValue, handle->hive, handle->path, name, 0, {}, found.has_value()});
    return found;
}

bool MemoryRegistry::setValue(RegistryKey key, const std::string& name, const RegistryValue& newValue) {
    const OpenKey* handle = opened(key);
    if (!handle) throw std::logic_error("MemoryRegistry: setValue on a key that is not open");
    const bool allowed = (handle->access & keyaccess::SetValue) && !refusedWrites_.count(lower(name));
    if (allowed) {
        auto& slot = keys_[handle->id].values[lower(name)];
        if (slot.name.empty()) slot.name = name;
        slot.value = newValue;
    }
    record({Call::SetValue, handle->hive, handle->path, name, 0, newValue, allowed});
    return allowed;
}

void MemoryRegistry::closeKey(RegistryKey key) {
    const auto it = open_.find(key);
    if (it == open_.end()) throw std::logic_error("MemoryRegistry: closing a key that is not open");
    record({Call::CloseKey, it->second.hive, it->second.path, {}, 0, {}, true});
    open_.erase(it);
}

std::string MemoryRegistry::render(const RegistryValue& value) {
    switch (value.type) {
    case regtype::Sz:
    case regtype::ExpandSz: {
        std::string shown = value.type == regtype::Sz ? "sz:" : "expand_sz:";
        for (char c : value.data) shown += c == '\0' ? std::string("\\0") : std::string(1, c);
        return shown;
    }
    case regtype::Dword:
        if (value.data.size() == 4) {
            std::uint32_t bits = 0;
            for (std::size_t i = 0; i < 4; ++i)
                bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(value.data[i])) << (8 * i);
            return "dword:" + std::to_string(static_cast<std::int32_t>(bits));
        }
        [[fallthrough]];
    default: {
        std::string shown = "type" + std::to_string(value.type) + ":";
        char hex[4];
        for (unsigned char c : value.data) {
            std::snprintf(hex, sizeof hex, "%02x", c);
            shown += hex;
        }
        return shown;
    }
    }
}

std::vector<std::string> MemoryRegistry::writes() const {
    std::vector<std::string> result;
    for (const Entry& entry : log_)
        if (entry.call == Call::SetValue && entry.succeeded) result.push_back(entry.name + "=" + render(entry.value));
    return result;
}

}  // namespace tovik::test
