#include <gtest/gtest.h>

#include <algorithm>

#include "settings/DateTimeText.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using namespace tovik::test;
using platform::RegistryValue;
namespace regtype = platform::regtype;
namespace keyaccess = platform::keyaccess;
using Call = MemoryRegistry::Call;

namespace {

struct LoadSettingsTest : ::testing::Test, SettingsWorld {
    void load() { settings.LoadSettings(form); }
    std::string loadFailure() { return failureOf([&] { load(); }); }
};

}  // namespace

TEST_F(LoadSettingsTest, FreshProfileWritesTheDefaultsInOrder) {
    system.exePath = "C:\\Programme\\Tovik\\Tovik.exe";
    clock.time = {2026, 12, 8, 18, 45, 12, 0};
    load();
    EXPECT_EQ(registry.writes(), (std::vector<std::string>{
                                     R"(InstallDir=sz:C:\Programme\Tovik\\0)",
                                     R"(InstallDate=sz:08.12.2026 18:45:12\0)",
                                     "ForcePwrOff=dword:1",
                                     "AutoMinimize=dword:1",
                                     "HibernateForPwrOff=dword:0",
                                     R"(PrefTime1=sz:00:45\0)",
                                     R"(PrefTime2=sz:18:45\0)",
                                     "cbHibernateForPwrOffAllowed=dword:0",
                                     "HibernateForPwrOff=dword:0",
                                 }));
    EXPECT_TRUE(form.cbForcePwrOff.checked());
    EXPECT_TRUE(form.cbAutoMinimize.checked());
    EXPECT_FALSE(form.cbHibernateForPwrOff.checked());
    EXPECT_FALSE(form.cbHibernateForPwrOff.visible());
    EXPECT_EQ(form.btPrefTime1.caption(), "00:45");
    EXPECT_EQ(form.btPrefTime2.caption(), "18:45");
    EXPECT_EQ(form.btTimerOff2.caption(), "genau 18:45");
    // Nothing else is touched: no counter, height, owner or diagnostic key.
    EXPECT_FALSE(registry.keyExists(HKCU, diagnosticKey));
    EXPECT_FALSE(registry.keyExists(HKLM, windowsNtKey));
}

TEST_F(LoadSettingsTest, EachOfTheSevenStepsOpensTheSettingsKeyAfreshAndClosesIt) {
    load();
    std::vector<std::string> keyCalls;
    for (const auto& entry : registry.log()) {
        if (entry.call == Call::CreateKey) keyCalls.push_back("create");
        if (entry.call == Call::OpenKey) keyCalls.push_back(entry.access == keyaccess::AllAccess ? "open" : "open?");
        if (entry.call == Call::CloseKey) keyCalls.push_back("close");
        if (entry.call == Call::CreateKey || entry.call == Call::OpenKey) {
            EXPECT_EQ(entry.hive, HKCU);
            EXPECT_EQ(entry.path, tovikKey);
        }
    }
    // The preset times open without create: the first step made the key.
    EXPECT_EQ(keyCalls, (std::vector<std::string>{"create", "close", "create", "close", "create", "close", "create",
                                                  "close", "open", "close", "open", "close", "create", "close"}));
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST_F(LoadSettingsTest, LaterStartsReadBackWhatIsStoredAndKeepTheInstallDate) {
    registry.plantText(HKCU, tovikKey, "InstallDate", "01.02.2020 10:00:00");
    registry.plantText(HKCU, tovikKey, "InstallDir", "D:\\Alt\\");
    registry.plantDword(HKCU, tovikKey, "ForcePwrOff", 2);
    registry.plantDword(HKCU, tovikKey, "AutoMinimize", 0);
    registry.plantDword(HKCU, tovikKey, "HibernateForPwrOff", 1);
    registry.plantText(HKCU, tovikKey, "PrefTime1", "");
    registry.plantValue(HKCU, tovikKey, "PrefTime2", {regtype::ExpandSz, std::string("07:30\0", 6)});
    registry.plantDword(HKCU, tovikKey, "cbHibernateForPwrOffAllowed", 1);
    system.exePath = "E:\\Neu\\Tovik.exe";
    load();
    // Only the install directory follows the executable.
    EXPECT_EQ(writtenNames(registry), (std::vector<std::string>{"InstallDir"}));
    EXPECT_EQ(registry.text(HKCU, tovikKey, "InstallDir"), "E:\\Neu\\");
    EXPECT_EQ(registry.text(HKCU, tovikKey, "InstallDate"), "01.02.2020 10:00:00");
    EXPECT_TRUE(form.cbForcePwrOff.checked());
    EXPECT_FALSE(form.cbAutoMinimize.checked());
    EXPECT_TRUE(form.cbHibernateForPwrOff.checked());
    EXPECT_TRUE(form.cbHibernateForPwrOff.visible());
    EXPECT_EQ(form.btPrefTime1.caption(), "");
    EXPECT_EQ(form.btPrefTime2.caption(), "07:30");
    EXPECT_EQ(form.btTimerOff2.caption(), "genau 07:30");
}

TEST_F(LoadSettingsTest, AllowedHibernateWithoutItsOptionShowsTheBoxUnchecked) {
    registry.plantDword(HKCU, tovikKey, "cbHibernateForPwrOffAllowed", 1);
    registry.plantText(HKCU, tovikKey, "PrefTime2", "");
    form.cbHibernateForPwrOff.setChecked(true);
    form.cbHibernateForPwrOff.setVisible(false);
    load();
    EXPECT_EQ(registry.dword(HKCU, tovikKey, "HibernateForPwrOff"), 0);
    const auto names = writtenNames(registry);
    EXPECT_EQ(std::count(names.begin(), names.end(), "HibernateForPwrOff"), 1);
    EXPECT_FALSE(form.cbHibernateForPwrOff.checked());
    EXPECT_TRUE(form.cbHibernateForPwrOff.visible());
    EXPECT_EQ(form.btTimerOff2.caption(), "genau ");
}

// A wrong stored value ends the start-up pass at its step: the failing call
// is the last one before that step's key is closed, and no later step runs.
TEST_F(LoadSettingsTest, AWrongValueEndsThePassAtItsStep) {
    struct Case {
        const char* name;
        RegistryValue planted;
        const char* error;
        std::vector<std::string> writtenBefore;
    };
    const std::vector<std::string> steps1 = {"InstallDir", "InstallDate"};
    const Case cases[] = {
        {"ForcePwrOff", {regtype::Sz, std::string("1\0", 2)}, "Ungültiger Datentyp für 'ForcePwrOff'", steps1},
        {"AutoMinimize", {regtype::Dword, std::string(8, '\1')}, "Fehler beim Holen der Daten für 'AutoMinimize'",
         {"InstallDir", "InstallDate", "ForcePwrOff"}},
        {"HibernateForPwrOff", {regtype::Binary, std::string(4, '\0')},
         "Ungültiger Datentyp für 'HibernateForPwrOff'", {"InstallDir", "InstallDate", "ForcePwrOff", "AutoMinimize"}},
        {"PrefTime1", {regtype::Dword, std::string(4, '\0')}, "Ungültiger Datentyp für 'PrefTime1'",
         {"InstallDir", "InstallDate", "ForcePwrOff", "AutoMinimize", "HibernateForPwrOff"}},
        {"PrefTime2", {regtype::MultiSz, std::string("18:45\0\0", 7)}, "Ungültiger Datentyp für 'PrefTime2'",
         {"InstallDir", "InstallDate", "ForcePwrOff", "AutoMinimize", "HibernateForPwrOff", "PrefTime1"}},
        {"cbHibernateForPwrOffAllowed", {regtype::Sz, std::string("ja bitte\0", 9)},
         "Fehler beim Holen der Daten für 'cbHibernateForPwrOffAllowed'",
         {"InstallDir", "InstallDate", "ForcePwrOff", "AutoMinimize", "HibernateForPwrOff", "PrefTime1", "PrefTime2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsWorld w;
        w.registry.plantValue(HKCU, tovikKey, c.name, c.planted);
        EXPECT_EQ(failureOf([&] { w.settings.LoadSettings(w.form); }), c.error);
        EXPECT_EQ(writtenNames(w.registry), c.writtenBefore);
        const auto& log = w.registry.log();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log.back().call, Call::CloseKey);
        EXPECT_EQ(log[log.size() - 2].call, Call::QueryValue);
        EXPECT_EQ(log[log.size() - 2].name, c.name);
        EXPECT_EQ(w.registry.openKeyCount(), 0u);
        // The pass stopped before step 7 could hide the hibernate box.
        EXPECT_TRUE(w.form.cbHibernateForPwrOff.visible());
    }
}

TEST_F(LoadSettingsTest, AStoppedPassLeavesTheLaterControlsAsTheyWere) {
    registry.plantValue(HKCU, tovikKey, "ForcePwrOff", {regtype::Sz, std::string("1\0", 2)});
    form.cbAutoMinimize.setChecked(false);
    EXPECT_EQ(loadFailure(), "Ungültiger Datentyp für 'ForcePwrOff'");
    EXPECT_FALSE(form.cbAutoMinimize.checked());
    EXPECT_EQ(form.btPrefTime1.caption(), "00:00");
    EXPECT_EQ(form.btTimerOff2.caption(), "genau 00:00");
    EXPECT_FALSE(registry.value(HKCU, tovikKey, "AutoMinimize"));
}

TEST_F(LoadSettingsTest, RefusedWritesAndAMissingKeyFailWithTheWriteError) {
    registry.refuseWrite("PrefTime1");
    EXPECT_EQ(loadFailure(), "Fehler beim Setzen der Daten für 'PrefTime1'");
    EXPECT_EQ(form.btPrefTime1.caption(), "00:00");
    EXPECT_EQ(registry.openKeyCount(), 0u);

    SettingsWorld w;
    w.registry.failOpen(HKCU, tovikKey);
    EXPECT_EQ(failureOf([&] { w.settings.LoadSettings(w.form); }), "Fehler beim Setzen der Daten für 'InstallDir'");
    EXPECT_TRUE(writtenNames(w.registry).empty());
}

TEST_F(LoadSettingsTest, InstallDateIsTheDateAloneAtMidnight) {
    clock.time = {2027, 1, 2, 0, 0, 0, 0};
    load();
    EXPECT_EQ(registry.text(HKCU, tovikKey, "InstallDate"), "02.01.2027");
}

TEST(DateTimeText, DateBlankLongTimeUnlessMidnight) {
    FakeLocale locale;
    EXPECT_EQ(settings::DateTimeText({2026, 12, 8, 18, 45, 12, 0}, locale), "08.12.2026 18:45:12");
    EXPECT_EQ(settings::DateTimeText({2026, 12, 8, 0, 0, 1, 0}, locale), "08.12.2026 00:00:01");
    EXPECT_EQ(settings::DateTimeText({2026, 12, 8, 0, 1, 0, 0}, locale), "08.12.2026 00:01:00");
    EXPECT_EQ(settings::DateTimeText({2026, 12, 8, 1, 0, 0, 0}, locale), "08.12.2026 01:00:00");
    EXPECT_EQ(settings::DateTimeText({2026, 12, 8, 0, 0, 0, 0}, locale), "08.12.2026");
    EXPECT_EQ(settings::DateTimeText({2026, 12, 8, 0, 0, 0, 999}, locale), "08.12.2026");
}

TEST(InstallDir, DirectoryOfTheExecutableWithOneTrailingBackslash) {
    using settings::ExecutableDirectory;
    EXPECT_EQ(ExecutableDirectory("C:\\Programme\\Tovik\\Tovik.exe"), "C:\\Programme\\Tovik\\");
    EXPECT_EQ(ExecutableDirectory("C:\\Tovik.exe"), "C:\\");
    EXPECT_EQ(ExecutableDirectory("C:Tovik.exe"), "C:\\");
    EXPECT_EQ(ExecutableDirectory("C:\\Werkzeuge\\\\Tovik.exe"), "C:\\Werkzeuge\\");
    EXPECT_EQ(ExecutableDirectory("\\\\server\\share\\Tovik.exe"), "\\\\server\\share\\");
    EXPECT_EQ(ExecutableDirectory("C:\\Übung\\Tovik.exe"), "C:\\Übung\\");
    // Forward slashes are no separators.
    EXPECT_EQ(ExecutableDirectory("C:/Programme/Tovik/Tovik.exe"), "C:\\");
    EXPECT_EQ(ExecutableDirectory("D:\\a/b\\c/Tovik.exe"), "D:\\a/b\\");
}

TEST(InstallDir, OnlyTheFirst255CharactersOfThePathCount) {
    using settings::ExecutableDirectory;
    // A directory that ends at character 250, then a long file name.
    const std::string dir = "C:\\" + std::string(246, 'd') + "\\";
    ASSERT_EQ(dir.size(), 250u);
    EXPECT_EQ(ExecutableDirectory(dir + "Tovik.exe"), dir);
    // A backslash as the 255th character still counts; as the 256th it does not.
    const std::string at255 = "C:\\" + std::string(251, 'e') + "\\";
    ASSERT_EQ(at255.size(), 255u);
    EXPECT_EQ(ExecutableDirectory(at255 + "x.exe"), at255);
    EXPECT_EQ(ExecutableDirectory(dir + "xxxxx\\Tovik.exe"), dir);
    // Characters, not bytes: an umlaut is one character.
    const std::string umlauts = "C:\\" + [] { std::string s; for (int i = 0; i < 251; ++i) s += "ä"; return s; }() + "\\";
    EXPECT_EQ(ExecutableDirectory(umlauts + "x.exe"), umlauts);
}

TEST_F(LoadSettingsTest, FormHeightsDefaultByOsVersionOrComeFromTheStore) {
    settings.LoadFormHeights(form);
    EXPECT_EQ(form.smallFormHeight, 315);
    EXPECT_EQ(form.bigFormHeight, 430);
    system.major = 5;
    settings.LoadFormHeights(form);
    EXPECT_EQ(form.smallFormHeight, 320);
    EXPECT_EQ(form.bigFormHeight, 430);
    // Reading never creates the key.
    EXPECT_FALSE(registry.keyExists(HKCU, tovikKey));

    // Stored heights are taken without any range check.
    registry.plantDword(HKCU, tovikKey, "FormHeight1", 0);
    settings.LoadFormHeights(form);
    EXPECT_EQ(form.smallFormHeight, 0);
    EXPECT_EQ(form.bigFormHeight, 430);
    registry.plantDword(HKCU, tovikKey, "FormHeight1", -17);
    registry.plantDword(HKCU, tovikKey, "FormHeight2", 99999);
    settings.LoadFormHeights(form);
    EXPECT_EQ(form.smallFormHeight, -17);
    EXPECT_EQ(form.bigFormHeight, 99999);
    EXPECT_TRUE(writtenNames(registry).empty());
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST_F(LoadSettingsTest, FormHeightsAreReadThroughARestrictedKey) {
    registry.plantDword(HKCU, tovikKey, "FormHeight2", 512);
    registry.denyAccess(HKCU, tovikKey, 0x20019);
    registry.denyAccess(HKCU, tovikKey, 0x20009);
    settings.LoadFormHeights(form);
    EXPECT_EQ(form.bigFormHeight, 512);

    registry.plantValue(HKCU, tovikKey, "FormHeight1", {regtype::Sz, std::string("9\0", 2)});
    EXPECT_EQ(failureOf([&] { settings.LoadFormHeights(form); }), "Ungültiger Datentyp für 'FormHeight1'");
    EXPECT_EQ(form.smallFormHeight, 315);
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST_F(LoadSettingsTest, OwnerComesFromTheSettingsKeyElseFromTheSystemKey) {
    EXPECT_EQ(settings.ReadOwnDisplayedOwner(), "");
    EXPECT_EQ(settings.ReadWindowsNtValue("DisplayedOwner", settings::Hive::LocalMachine), "");
    // Reading never creates a key.
    EXPECT_FALSE(registry.keyExists(HKCU, tovikKey));
    EXPECT_FALSE(registry.keyExists(HKLM, windowsNtKey));

    registry.plantText(HKCU, tovikKey, "DisplayedOwner", "");
    registry.plantText(HKLM, windowsNtKey, "DisplayedOwner", "Jürgen Maschine");
    registry.plantText(HKCU, windowsNtKey, "DisplayedOwner", "Benutzer");
    EXPECT_EQ(settings.ReadOwnDisplayedOwner(), "");
    EXPECT_EQ(settings.ReadWindowsNtValue("DisplayedOwner", settings::Hive::LocalMachine), "Jürgen Maschine");
    EXPECT_EQ(settings.ReadWindowsNtValue("DisplayedOwner", settings::Hive::CurrentUser), "Benutzer");

    registry.plantText(HKCU, tovikKey, "DisplayedOwner", "Anna Beispiel");
    EXPECT_EQ(settings.ReadOwnDisplayedOwner(), "Anna Beispiel");

    // The system key is usually closed to writing: reading must not ask for more.
    registry.denyAccess(HKLM, windowsNtKey, 0x20019);
    EXPECT_EQ(settings.ReadWindowsNtValue("DisplayedOwner", settings::Hive::LocalMachine), "Jürgen Maschine");
    for (const auto& entry : registry.log()) EXPECT_NE(entry.call, Call::CreateKey);
    EXPECT_TRUE(writtenNames(registry).empty());
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST_F(LoadSettingsTest, AVeryLongOwnerIsReadWhole) {
    std::string owner(65536, 'x');
    for (std::size_t i = 0; i < owner.size(); i += 7) owner[i] = static_cast<char>('A' + i % 26);
    registry.plantText(HKCU, tovikKey, "DisplayedOwner", owner);
    EXPECT_EQ(settings.ReadOwnDisplayedOwner(), owner);
    registry.plantValue(HKCU, tovikKey, "DisplayedOwner", {regtype::Dword, std::string(4, '\0')});
    EXPECT_EQ(failureOf([&] { settings.ReadOwnDisplayedOwner(); }), "Ungültiger Datentyp für 'DisplayedOwner'");
    EXPECT_EQ(registry.openKeyCount(), 0u);
}
