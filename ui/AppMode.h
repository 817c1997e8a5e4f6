#pragma once
#include "platform/Registry.h"

namespace tovik::ui {

// Where Windows 10 and 11 keep the app mode the user chose under
// Personalisation, Colours ("Choose your app mode").
inline constexpr const char* appModeKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
inline constexpr const char* appModeValue = "AppsUseLightTheme";

// Whether the apps are to be dark: AppsUseLightTheme is a DWORD 0. A missing
// key or value (older systems), or any other value, means light.
bool DarkAppMode(platform::Registry& registry);

}  // namespace tovik::ui
