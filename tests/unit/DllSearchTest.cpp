#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DllSearch.h"

using namespace tovik;

namespace {

// The loader as Windows 7 shows it with and without its loader update: each
// switch and load in the order start-up asks for them.
struct RecordingLoader : platform::DllLoader {
    bool canRestrict = true;
    std::vector<std::string> steps;
    bool searchSystemFolderOnly() override {
        steps.push_back("restrict");
        return canRestrict;
    }
    void leaveOutCurrentDirectory() override { steps.push_back("no current directory"); }
    void loadFromSystemFolder(const std::string& name) override { steps.push_back(name); }
};

}  // namespace

TEST(StartUpDllSearch, WithoutTheRestrictionTheHelpersOfSystemDllsComeFromTheSystemFolderFirst) {
    RecordingLoader updated;
    platform::RestrictDllSearch(updated);
    EXPECT_EQ(updated.steps, (std::vector<std::string>{"restrict", "uxtheme.dll", "msimg32.dll"}));

    RecordingLoader old;
    old.canRestrict = false;
    platform::RestrictDllSearch(old);
    // The current directory out, then nine helpers before the two of every start.
    ASSERT_EQ(old.steps.size(), 2u + 9u + 2u);
    EXPECT_EQ(old.steps[1], "no current directory");
    EXPECT_EQ(old.steps.back(), "msimg32.dll");
}
