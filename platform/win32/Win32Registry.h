#pragma once
#include "platform/Registry.h"

namespace tovik::win32 {

// The registry on the wide (W) functions of advapi32. Names, paths and text
// data are converted between UTF-8 and UTF-16 here, so umlauts survive every
// code page.
class Win32Registry : public platform::Registry {
public:
    platform::RegistryKey createKey(platform::RegistryHive hive, const std::string& path) override;
    platform::RegistryKey openKey(platform::RegistryHive hive, const std::string& path, std::uint32_t access) override;
    bool valueExists(platform::RegistryKey key, const std::string& name) override;
    std::optional<platform::RegistryValue> queryValue(platform::RegistryKey key, const std::string& name) override;
    bool setValue(platform::RegistryKey key, const std::string& name, const platform::RegistryValue& value) override;
    void closeKey(platform::RegistryKey key) override;
};

}  // namespace tovik::win32
