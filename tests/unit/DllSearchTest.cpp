#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DllSearch.h"

using namespace tovik;

namespace {

// The loader as Windows 7 shows it with and without its loader update: each
// switch and load in the order start-up asks for them. Without the update a
// load with the search flag fails (with a code nothing documents); the full
// path finds every DLL of the system folder.
struct RecordingLoader : platform::DllLoader {
    bool hasSearchFunctions = true;
    std::vector<std::string> steps;
    bool knowsSearchFlags() override { return hasSearchFunctions; }
    bool searchSystemFolderOnly() override {
        steps.push_back("restrict");
        return true;
    }
    void leaveOutCurrentDirectory() override { steps.push_back("no current directory"); }
    void* loadWithSearchFlag(const std::string& name) override {
        steps.push_back("flag " + name);
        return hasSearchFunctions && name != "missing.dll" ? this : nullptr;
    }
    void* loadByFullPath(const std::string& name) override {
        steps.push_back("path " + name);
        return name != "missing.dll" ? this : nullptr;
    }
};

}  // namespace

TEST(StartUpDllSearch, WithoutTheRestrictionTheHelpersOfSystemDllsComeFromTheSystemFolderFirst) {
    RecordingLoader updated;
    platform::RestrictDllSearch(updated);
    EXPECT_EQ(updated.steps, (std::vector<std::string>{"restrict", "flag uxtheme.dll", "flag msimg32.dll"}));

    RecordingLoader old;
    old.hasSearchFunctions = false;
    platform::RestrictDllSearch(old);
    // The current directory out, then nine helpers before the two of every start.
    ASSERT_EQ(old.steps.size(), 1u + 9u + 2u);
    EXPECT_EQ(old.steps[0], "no current directory");
    EXPECT_EQ(old.steps.back(), "path msimg32.dll");
}

// Whether the flag can be used is decided by kernel32's functions alone:
// without them no load ever tries it, so no error code can lose a helper
// DLL; with them a DLL missing from the system folder is not looked for
// anywhere else.
TEST(StartUpDllSearch, HelperDllsAreLoadedByTheFlagOnlyWhereKernel32HasTheSearchFunctions) {
    RecordingLoader updated, old;
    old.hasSearchFunctions = false;
    EXPECT_NE(platform::LoadFromSystemFolder(old, "dwmapi.dll"), nullptr);
    EXPECT_EQ(old.steps, (std::vector<std::string>{"path dwmapi.dll"}));
    EXPECT_NE(platform::LoadFromSystemFolder(updated, "dwmapi.dll"), nullptr);
    EXPECT_EQ(platform::LoadFromSystemFolder(updated, "missing.dll"), nullptr);
    EXPECT_EQ(updated.steps, (std::vector<std::string>{"flag dwmapi.dll", "flag missing.dll"}));
}
