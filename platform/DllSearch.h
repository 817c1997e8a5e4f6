// Where the program's DLLs come from: the system folder only, so that a file
// of the same name beside Tovik.exe or in the current directory is never
// loaded in place of a system DLL.
#pragma once
#include <string>

namespace tovik::platform {

// The loader's switches and loads that start-up and each helper DLL use.
class DllLoader {
public:
    virtual ~DllLoader() = default;
    // Whether the loader knows the safe search flags: kernel32 has
    // SetDefaultDllDirectories and AddDllDirectory (Windows 8 on, Windows 7
    // with its loader update). The one documented test; the error code of a
    // call with an unknown flag says nothing.
    virtual bool knowsSearchFlags() = 0;
    // Later loads search the system folder alone; false where that failed.
    virtual bool searchSystemFolderOnly() = 0;
    // Takes the current directory out of the search, and nothing more.
    virtual void leaveOutCurrentDirectory() = 0;
    // The DLL of that name ("uxtheme.dll") searched for in the system folder
    // alone, by the flag; null when it is not there.
    virtual void* loadWithSearchFlag(const std::string& name) = 0;
    // The DLL by its full path in the system folder, the DLLs it loads by
    // name searched there first; null when it is not there.
    virtual void* loadByFullPath(const std::string& name) = 0;
};

// First thing at start: the search is restricted where the system can;
// elsewhere the DLLs that system DLLs load by name are loaded from the
// system folder now, before anything asks for them.
void RestrictDllSearch(DllLoader& loader);

// The DLL of that name from the system folder (later loads by name take the
// loaded one): by the flag where the loader knows it, else by full path.
void* LoadFromSystemFolder(DllLoader& loader, const std::string& name);

}  // namespace tovik::platform
