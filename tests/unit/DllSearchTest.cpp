#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DllSearch.h"

using namespace tovik;

namespace {

// The loader as Windows 7 shows it with and without its loader update (then
// kernel32 lacks the search functions and a load with the flag fails, with a
// code nothing documents): each switch and load in the order start-up asks.
struct RecordingLoader : platform::DllLoader {
    bool canRestrict = true;
    std::vector<std::string> steps;
    bool knowsSearchFlags() override { return canRestrict; }
    bool searchSystemFolderOnly() override {
        steps.push_back("restrict");
        return canRestrict;
    }
    void leaveOutCurrentDirectory() override { steps.push_back("no current directory"); }
    void* loadWithSearchFlag(const std::string& name) override {
        steps.push_back("flag " + name);
        return canRestrict ? this : nullptr;
    }
    void* loadByFullPath(const std::string& name) override {
        steps.push_back("path " + name);
        return this;
    }
};

}  // namespace

TEST(StartUpDllSearch, WithoutTheRestrictionTheHelpersOfSystemDllsComeFromTheSystemFolderFirst) {
    RecordingLoader updated;
    platform::RestrictDllSearch(updated);
    EXPECT_EQ(updated.steps, (std::vector<std::string>{"restrict", "flag uxtheme.dll", "flag msimg32.dll"}));

    // The current directory out, then nine helpers before the two of every
    // start, and any later one, by full path: no load tries the flag, so no
    // error code can lose a helper DLL.
    RecordingLoader old;
    old.canRestrict = false;
    platform::RestrictDllSearch(old);
    EXPECT_NE(platform::LoadFromSystemFolder(old, "dwmapi.dll"), nullptr);
    ASSERT_EQ(old.steps.size(), 1u + 9u + 2u + 1u);
    EXPECT_EQ(old.steps[0], "no current directory");
    EXPECT_EQ(old.steps.back(), "path dwmapi.dll");
}
