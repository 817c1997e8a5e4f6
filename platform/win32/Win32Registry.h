#pragma once
#include "platform/Registry.h"

namespace tovik::platform::win32 {

// The registry on the wide (W) functions of advapi32. Names, paths and text
// data are converted between UTF-8 and UTF-16 here, so umlauts survive every
// code page.
class Win32Registry : public Registry {
public:
    RegistryKey createKey(RegistryHive hive, const std::string& path) override;
    RegistryKey openKey(RegistryHive hive, const std::string& path, std::uint32_t access) override;
    bool valueExists(RegistryKey key, const std::string& name) override;
    std::optional<RegistryValue> queryValue(RegistryKey key, const std::string& name) override;
    bool setValue(RegistryKey key, const std::string& name, const RegistryValue& value) override;
    void closeKey(RegistryKey key) override;
};

}  // namespace tovik::platform::win32
