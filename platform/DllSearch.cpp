#include "platform/DllSearch.h"

namespace tovik::platform {

namespace {

// The common controls load the theme DLL, and it loads the image helpers, by
// name even where the search is restricted (Wine's delayed imports).
constexpr const char* alwaysLoaded[] = {"uxtheme.dll", "msimg32.dll"};

// Without the restriction, system DLLs that Tovik uses load these helpers by
// name through a search that starts in the program's folder: the caption
// and accessibility, COM's class store, the property store, cryptography,
// version and profile helpers, the compatibility layer, device setup.
constexpr const char* loadedByNameElsewhere[] = {"dwmapi.dll",   "oleacc.dll",  "clbcatq.dll", "propsys.dll",
                                                 "cryptbase.dll", "version.dll", "userenv.dll", "apphelp.dll",
                                                 "setupapi.dll"};

}  // namespace

void RestrictDllSearch(DllLoader& loader) {
    const bool restricted = loader.knowsSearchFlags() && loader.searchSystemFolderOnly();
    if (!restricted) {
        loader.leaveOutCurrentDirectory();
        for (const char* name : loadedByNameElsewhere) LoadFromSystemFolder(loader, name);
    }
    for (const char* name : alwaysLoaded) LoadFromSystemFolder(loader, name);
}

void* LoadFromSystemFolder(DllLoader& loader, const std::string& name) {
    return loader.knowsSearchFlags() ? loader.loadWithSearchFlag(name) : loader.loadByFullPath(name);
}

}  // namespace tovik::platform
