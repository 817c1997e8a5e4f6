#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/SingleInstanceGuard.h"
#include "tests/support/MemoryNamedLock.h"

using namespace tovik;
using app::GuardState;
using app::InstanceName;
using app::SingleInstanceGuard;

TEST(InstanceName, IsTheFileNameWithoutDirectoryAndExtension) {
    EXPECT_EQ(InstanceName("C:\\Programme\\Tovik\\Tovik.exe"), "Tovik");
    EXPECT_EQ(InstanceName("D:\\Tovik.exe"), "Tovik");
    EXPECT_EQ(InstanceName("\\\\server\\share\\tools\\Tovik.exe"), "Tovik");
    EXPECT_EQ(InstanceName("Tovik.exe"), "Tovik");
    EXPECT_EQ(InstanceName("C:\\Werkzeuge\\Tovik2.exe"), "Tovik2");
}

TEST(InstanceName, OnlyTheLastDotOfTheFileNameStartsTheExtension) {
    EXPECT_EQ(InstanceName("C:\\Werkzeuge\\my.tool.exe"), "my.tool");
    EXPECT_EQ(InstanceName("C:\\Werkzeuge\\Tovik"), "Tovik");
    // A dot in a directory name is gone with the directory.
    EXPECT_EQ(InstanceName("C:\\my.tools\\Tovik"), "Tovik");
    EXPECT_EQ(InstanceName("C:\\Werkzeuge\\Tovik."), "Tovik");
    EXPECT_EQ(InstanceName("C:\\Werkzeuge\\.exe"), "");
}

TEST(InstanceName, KeepsLetterCaseAndEveryOtherCharacter) {
    EXPECT_EQ(InstanceName("C:\\TOOLS\\TOVIK.EXE"), "TOVIK");
    EXPECT_EQ(InstanceName("C:\\tools\\tovik.exe"), "tovik");
    EXPECT_NE(InstanceName("C:\\tools\\tovik.exe"), InstanceName("C:\\tools\\Tovik.exe"));
    EXPECT_EQ(InstanceName("C:\\Büro\\Tovik für Jörg (alt) v1.exe"), "Tovik für Jörg (alt) v1");
}

TEST(InstanceName, ColonSeparatesForwardSlashDoesNot) {
    EXPECT_EQ(InstanceName("C:Tovik.exe"), "Tovik");
    EXPECT_EQ(InstanceName("C:/Programme/Tovik.exe"), "/Programme/Tovik");
    EXPECT_EQ(InstanceName("Z:\\home/jan/Tovik.exe"), "home/jan/Tovik");
    EXPECT_EQ(InstanceName("tools/bin/Tovik.exe"), "tools/bin/Tovik");
    // Whichever of the two comes last counts.
    EXPECT_EQ(InstanceName("C:\\a\\b:Tovik.exe"), "Tovik");
    EXPECT_EQ(InstanceName("\\\\?\\C:\\a\\Tovik.exe"), "Tovik");
}

namespace {

// A path of exactly `length` characters ending in `fileName`.
std::string pathOfLength(std::size_t length, const std::string& fileName) {
    const std::string head = "C:\\";
    return head + std::string(length - head.size() - 1 - fileName.size(), 'd') + "\\" + fileName;
}

}  // namespace

TEST(InstanceName, ComesFromTheFirst255CharactersOfALongerPath) {
    // 300 characters: the cut falls on the directory, whose tail becomes the name.
    const std::string longPath = pathOfLength(300, "Tovik.exe");
    ASSERT_EQ(longPath.size(), 300u);
    EXPECT_EQ(InstanceName(longPath), std::string(255 - 3, 'd'));

    // The cut falls inside the extension or the file name.
    EXPECT_EQ(InstanceName(pathOfLength(256, "Tovik.exe")), "Tovik");  // ...\Tovik.ex
    EXPECT_EQ(InstanceName(pathOfLength(257, "Tovik.exe")), "Tovik");  // ...\Tovik.e
    EXPECT_EQ(InstanceName(pathOfLength(258, "Tovik.exe")), "Tovik");  // ...\Tovik.
    EXPECT_EQ(InstanceName(pathOfLength(260, "Tovik.exe")), "Tovi");
    EXPECT_EQ(InstanceName(pathOfLength(257, "my.tool.exe")), "my.tool");  // ...\my.tool.e
    EXPECT_EQ(InstanceName(pathOfLength(259, "my.tool.exe")), "my");       // ...\my.tool
    // Exactly 255 characters are taken whole.
    EXPECT_EQ(InstanceName(pathOfLength(255, "Tovik.exe")), "Tovik");
}

TEST(InstanceName, CountsCharactersNotBytes) {
    // 255 characters but more than 255 bytes: nothing is cut.
    std::string path = "C:\\" + std::string(183, 'd');
    for (int i = 0; i < 60; ++i) path += "ä";
    path += "\\Jörg.exe";
    ASSERT_EQ(path.size(), 3u + 183u + 120u + 10u);
    EXPECT_EQ(InstanceName(path), "Jörg");

    // The 255th character is a two-byte one: it stays whole.
    const std::string dir = "C:\\" + std::string(246, 'd') + "\\";  // 250 characters
    EXPECT_EQ(InstanceName(dir + "Tovä.exe"), "Tovä");  // cut after "Tovä."
    EXPECT_EQ(InstanceName(dir + "Tovik.exe"), "Tovik");
    EXPECT_EQ(InstanceName(dir + "Toäöü.exe"), "Toäöü");
    EXPECT_EQ(InstanceName(dir + "Toäöüß"), "Toäöü");
}

// Copies of the program in one logon session: every guard on the same
// MemoryNamedLocks stands for one process.
class Guard : public ::testing::Test {
protected:
    test::MemoryNamedLocks session;
    const std::string tovik = "C:\\Programme\\Tovik\\Tovik.exe";
};

TEST_F(Guard, FirstCopyHoldsTheLockUnderTheInstanceName) {
    SingleInstanceGuard first(session, tovik);
    EXPECT_EQ(first.state(), GuardState::Held);
    EXPECT_FALSE(first.refused());
    EXPECT_EQ(first.instanceName(), "Tovik");
    EXPECT_TRUE(session.exists("Tovik"));
    EXPECT_NE(first.handle(), 0u);
    EXPECT_EQ(session.createCalls(), 1);
}

TEST_F(Guard, SecondCopyIsRefusedAndGivesBackTheHandleItGot) {
    SingleInstanceGuard first(session, tovik);
    {
        // Another directory, same file name.
        SingleInstanceGuard second(session, "D:\\Kopie\\Tovik.exe");
        EXPECT_EQ(second.state(), GuardState::Refused);
        EXPECT_TRUE(second.refused());
        EXPECT_EQ(session.openHandles(), 2);
    }
    // The first copy goes on undisturbed.
    EXPECT_EQ(session.openHandles(), 1);
    EXPECT_TRUE(session.exists("Tovik"));
    EXPECT_EQ(first.state(), GuardState::Held);
    EXPECT_TRUE(session.badCloses().empty());
}

TEST_F(Guard, OtherFileNamesAndOtherLetterCaseRunSideBySide) {
    SingleInstanceGuard first(session, tovik);
    SingleInstanceGuard renamed(session, "C:\\Programme\\Tovik\\Tovik2.exe");
    SingleInstanceGuard upper(session, "C:\\Programme\\Tovik\\TOVIK.EXE");
    SingleInstanceGuard lower(session, "C:\\Programme\\Tovik\\tovik.exe");
    EXPECT_EQ(renamed.state(), GuardState::Held);
    EXPECT_EQ(upper.state(), GuardState::Held);
    EXPECT_EQ(lower.state(), GuardState::Held);
    SingleInstanceGuard again(session, "E:\\tovik.exe");
    EXPECT_TRUE(again.refused());
}

TEST_F(Guard, NextStartRunsOnceTheFirstCopyHasEnded) {
    std::optional<SingleInstanceGuard> first(std::in_place, session, tovik);
    std::optional<SingleInstanceGuard> refused(std::in_place, session, tovik);
    ASSERT_TRUE(refused->refused());
    refused.reset();
    first.reset();
    EXPECT_FALSE(session.exists("Tovik"));
    SingleInstanceGuard next(session, tovik);
    EXPECT_EQ(next.state(), GuardState::Held);
}

TEST_F(Guard, RunsUnguardedWhenTheLockCannotBeMade) {
    session.foreignObjects.insert("Tovik");
    {
        SingleInstanceGuard guard(session, tovik);
        EXPECT_EQ(guard.state(), GuardState::Unguarded);
        EXPECT_FALSE(guard.refused());
        EXPECT_EQ(guard.handle(), 0u);
        // A second unguarded copy is not refused either.
        SingleInstanceGuard second(session, tovik);
        EXPECT_EQ(second.state(), GuardState::Unguarded);
    }
    // Nothing to give back: a handle of 0 is never closed.
    EXPECT_TRUE(session.badCloses().empty());
    EXPECT_EQ(session.openHandles(), 0);
}

TEST_F(Guard, ClosingEarlyGivesTheHandleBackOnce) {
    {
        SingleInstanceGuard guard(session, tovik);
        guard.close();
        EXPECT_EQ(guard.handle(), 0u);
        EXPECT_FALSE(session.exists("Tovik"));
        guard.close();
    }
    EXPECT_TRUE(session.badCloses().empty());
    EXPECT_EQ(session.openHandles(), 0);
}
