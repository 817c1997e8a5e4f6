#include "ui/AppMode.h"

namespace tovik::ui {

bool DarkAppMode(platform::Registry& registry) {
    const platform::RegistryKey key =
        registry.openKey(platform::RegistryHive::CurrentUser, appModeKey, platform::keyaccess::QueryValue);
    if (key == platform::noRegistryKey) return false;
    const auto value = registry.queryValue(key, appModeValue);
    registry.closeKey(key);
    // A DWORD is four bytes, lowest first.
    return value && value->type == platform::regtype::Dword && value->data == std::string(4, '\0');
}

}  // namespace tovik::ui
