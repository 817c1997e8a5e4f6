// Where the program's DLLs come from: the system folder only, so that a file
// of the same name beside Tovik.exe or in the current directory is never
// loaded in place of a system DLL.
#pragma once
#include <string>

namespace tovik::platform {

// The loader's switches that start-up uses.
class DllLoader {
public:
    virtual ~DllLoader() = default;
    // Later loads search the system folder alone; false where the system
    // cannot (Windows 7 without its loader update).
    virtual bool searchSystemFolderOnly() = 0;
    // Takes the current directory out of the search, and nothing more.
    virtual void leaveOutCurrentDirectory() = 0;
    // Loads the DLL of that name ("uxtheme.dll") by its full path in the
    // system folder; later loads by name take the loaded one.
    virtual void loadFromSystemFolder(const std::string& name) = 0;
};

// First thing at start: the search is restricted where the system can;
// elsewhere the DLLs that system DLLs load by name are loaded from the
// system folder now, before anything asks for them.
void RestrictDllSearch(DllLoader& loader);

}  // namespace tovik::platform
