#include <gtest/gtest.h>

#include <climits>

#include "settings/SettingsStore.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using namespace tovik::test;
using platform::RegistryValue;
using settings::SettingsStore;
namespace regtype = platform::regtype;
namespace keyaccess = platform::keyaccess;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string data;
    for (int v : values) data.push_back(static_cast<char>(v));
    return data;
}

struct StoreTest : ::testing::Test {
    MemoryRegistry registry;

    // Plants a value in the settings key and reads it through an open store.
    template <class Read>
    auto readPlanted(const RegistryValue& value, Read read) {
        registry.plantValue(HKCU, tovikKey, "V", value);
        SettingsStore store(registry);
        EXPECT_TRUE(store.openForReading(HKCU, settings::settingsKeyPath));
        return read(store);
    }
    std::string textOf(const RegistryValue& value) {
        return readPlanted(value, [](SettingsStore& s) { return s.readText("V"); });
    }
    std::string textFailure(const RegistryValue& value) {
        return readPlanted(value, [](SettingsStore& s) { return failureOf([&] { s.readText("V"); }); });
    }
    std::string integerFailure(const RegistryValue& value) {
        return readPlanted(value, [](SettingsStore& s) { return failureOf([&] { s.readInteger("V"); }); });
    }
    std::int32_t integerOf(const RegistryValue& value) {
        return readPlanted(value, [](SettingsStore& s) { return s.readInteger("V"); });
    }
};

}  // namespace

TEST_F(StoreTest, TextReadsSzAndExpandSzUpToTheFirstZeroWithoutExpanding) {
    EXPECT_EQ(textOf({regtype::Sz, std::string("00:45\0", 6)}), "00:45");
    EXPECT_EQ(textOf({regtype::ExpandSz, std::string("%WINDIR%\\x\0", 11)}), "%WINDIR%\\x");
    EXPECT_EQ(textOf({regtype::Sz, std::string("vorne\0hinten\0", 13)}), "vorne");
    EXPECT_EQ(textOf({regtype::Sz, "ohne Ende"}), "ohne Ende");
    EXPECT_EQ(textOf({regtype::Sz, std::string("\0", 1)}), "");
    EXPECT_EQ(textOf({regtype::Sz, "Jörg Müßig"}), "Jörg Müßig");
}

TEST_F(StoreTest, TextWithoutDataOrMissingIsEmptyWhateverTheType) {
    EXPECT_EQ(textOf({regtype::Sz, ""}), "");
    EXPECT_EQ(textOf({regtype::Dword, ""}), "");
    SettingsStore store(registry);
    store.openForWriting(HKCU, settings::settingsKeyPath, true);
    EXPECT_EQ(store.readText("Fehlt"), "");
}

TEST_F(StoreTest, TextOfAnotherTypeIsRejected) {
    EXPECT_EQ(textFailure({regtype::Dword, bytes({1, 0, 0, 0})}), "Ungültiger Datentyp für 'V'");
    EXPECT_EQ(textFailure({regtype::MultiSz, std::string("a\0\0", 3)}), "Ungültiger Datentyp für 'V'");
    EXPECT_EQ(textFailure({regtype::Binary, "x"}), "Ungültiger Datentyp für 'V'");
}

TEST_F(StoreTest, LongTextIsReadWhole) {
    std::string owner;
    for (int i = 0; owner.size() < 65536; ++i) owner += "Ä" + std::to_string(i) + " ";
    owner.resize(65536);
    owner.back() = 'Z';
    EXPECT_EQ(textOf({regtype::Sz, owner + std::string(1, '\0')}), owner);
}

TEST_F(StoreTest, IntegerIsLittleEndianSigned) {
    EXPECT_EQ(integerOf({regtype::Dword, bytes({0x2A, 0, 0, 0})}), 42);
    EXPECT_EQ(integerOf({regtype::Dword, bytes({0xFF, 0xFF, 0xFF, 0xFF})}), -1);
    EXPECT_EQ(integerOf({regtype::Dword, bytes({0, 0, 0, 0x80})}), INT_MIN);
    EXPECT_EQ(integerOf({regtype::Dword, bytes({0x34, 0x12, 0, 0})}), 0x1234);
    // Shorter data fills the low bytes only.
    EXPECT_EQ(integerOf({regtype::Dword, bytes({0x01, 0x02})}), 0x0201);
}

TEST_F(StoreTest, IntegerMustExistFitFourBytesAndBeADword) {
    const std::string get = "Fehler beim Holen der Daten für 'V'";
    const std::string type = "Ungültiger Datentyp für 'V'";
    EXPECT_EQ(integerFailure({regtype::Dword, bytes({1, 0, 0, 0, 0, 0, 0, 0})}), get);
    EXPECT_EQ(integerFailure({regtype::Qword, bytes({1, 0, 0, 0, 0, 0, 0, 0})}), get);
    // The size is looked at before the type: a short text is of the wrong
    // type, a longer one does not fit.
    EXPECT_EQ(integerFailure({regtype::Sz, std::string("1\0", 2)}), type);
    EXPECT_EQ(integerFailure({regtype::Sz, std::string("abc\0", 4)}), type);
    EXPECT_EQ(integerFailure({regtype::Sz, std::string("abcd\0", 5)}), get);
    EXPECT_EQ(integerFailure({regtype::Binary, bytes({1, 0, 0, 0})}), type);

    SettingsStore store(registry);
    store.openForWriting(HKCU, settings::settingsKeyPath, true);
    EXPECT_EQ(failureOf([&] { store.readInteger("Fehlt"); }), "Fehler beim Holen der Daten für 'Fehlt'");
    EXPECT_EQ(failureOf([&] { store.readBoolean("Fehlt"); }), "Fehler beim Holen der Daten für 'Fehlt'");
}

TEST_F(StoreTest, BooleanIsAnyNonZeroInteger) {
    registry.plantDword(HKCU, tovikKey, "Zwei", 2);
    registry.plantDword(HKCU, tovikKey, "Minus", -1);
    registry.plantDword(HKCU, tovikKey, "Null", 0);
    registry.plantValue(HKCU, tovikKey, "Hoch", {regtype::Dword, bytes({0, 0, 0, 1})});
    registry.plantValue(HKCU, tovikKey, "Text", {regtype::Sz, std::string("1\0", 2)});
    SettingsStore store(registry);
    store.openForReading(HKCU, settings::settingsKeyPath);
    EXPECT_TRUE(store.readBoolean("Zwei"));
    EXPECT_TRUE(store.readBoolean("Minus"));
    EXPECT_TRUE(store.readBoolean("Hoch"));
    EXPECT_FALSE(store.readBoolean("Null"));
    EXPECT_EQ(failureOf([&] { store.readBoolean("Text"); }), "Ungültiger Datentyp für 'Text'");
}

TEST_F(StoreTest, WritesStoreTheirRegistryTypes) {
    SettingsStore store(registry);
    ASSERT_TRUE(store.openForWriting(HKCU, settings::settingsKeyPath, true));
    store.writeText("T", "Grüße");
    store.writeText("Leer", "");
    store.writeInteger("I", -2);
    store.writeInteger("Max", INT_MAX);
    store.writeBoolean("B1", true);
    store.writeBoolean("B0", false);
    store.close();
    EXPECT_EQ(registry.value(HKCU, tovikKey, "T"), (RegistryValue{regtype::Sz, std::string("Grüße\0", 8)}));
    EXPECT_EQ(registry.value(HKCU, tovikKey, "Leer"), (RegistryValue{regtype::Sz, std::string(1, '\0')}));
    EXPECT_EQ(registry.value(HKCU, tovikKey, "I"), (RegistryValue{regtype::Dword, bytes({0xFE, 0xFF, 0xFF, 0xFF})}));
    EXPECT_EQ(registry.value(HKCU, tovikKey, "Max"), (RegistryValue{regtype::Dword, bytes({0xFF, 0xFF, 0xFF, 0x7F})}));
    EXPECT_EQ(registry.dword(HKCU, tovikKey, "B1"), 1);
    EXPECT_EQ(registry.dword(HKCU, tovikKey, "B0"), 0);

    // What was written reads back.
    store.openForReading(HKCU, settings::settingsKeyPath);
    EXPECT_EQ(store.readText("T"), "Grüße");
    EXPECT_EQ(store.readInteger("I"), -2);
    EXPECT_TRUE(store.readBoolean("B1"));
}

TEST_F(StoreTest, WritesWithoutAnOpenKeyOrRefusedFail) {
    SettingsStore store(registry);
    EXPECT_EQ(failureOf([&] { store.writeText("T", "x"); }), "Fehler beim Setzen der Daten für 'T'");
    EXPECT_EQ(failureOf([&] { store.writeBoolean("B", true); }), "Fehler beim Setzen der Daten für 'B'");

    // A key opened for reading only does not take writes.
    registry.plantKey(HKCU, tovikKey);
    store.openForReading(HKCU, settings::settingsKeyPath);
    EXPECT_EQ(failureOf([&] { store.writeInteger("I", 1); }), "Fehler beim Setzen der Daten für 'I'");

    registry.refuseWrite("Gesperrt");
    store.openForWriting(HKCU, settings::settingsKeyPath, true);
    EXPECT_EQ(failureOf([&] { store.writeText("Gesperrt", "x"); }), "Fehler beim Setzen der Daten für 'Gesperrt'");
    // A value name is never a format.
    EXPECT_EQ(failureOf([&] { store.writeText("%s%n%d", "x"); }), "(none)");
    registry.refuseWrite("%s%n%d");
    EXPECT_EQ(failureOf([&] { store.writeText("%s%n%d", "x"); }), "Fehler beim Setzen der Daten für '%s%n%d'");
}

TEST_F(StoreTest, WritingWithCreateMakesTheKeyAndItsParents) {
    SettingsStore store(registry);
    EXPECT_TRUE(store.openForWriting(HKCU, settings::settingsKeyPath, true));
    store.close();
    EXPECT_TRUE(registry.keyExists(HKCU, "Software\\Zeb"));
    EXPECT_TRUE(registry.keyExists(HKCU, tovikKey));
    // The leading backslash is not part of the name handed to the registry.
    ASSERT_FALSE(registry.log().empty());
    EXPECT_EQ(registry.log().front().path, tovikKey);
    EXPECT_EQ(registry.log().front().call, MemoryRegistry::Call::CreateKey);
}

TEST_F(StoreTest, WritingWithoutCreateOpensOnlyAnExistingKeyWithFullAccess) {
    SettingsStore store(registry);
    EXPECT_FALSE(store.openForWriting(HKCU, settings::settingsKeyPath, false));
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(registry.keyExists(HKCU, tovikKey));

    registry.plantKey(HKCU, tovikKey);
    EXPECT_TRUE(store.openForWriting(HKCU, settings::settingsKeyPath, false));
    EXPECT_EQ(registry.log().back().access, keyaccess::AllAccess);
    store.writeInteger("I", 1);
    EXPECT_EQ(registry.dword(HKCU, tovikKey, "I"), 1);
}

TEST_F(StoreTest, ReadingFallsBackToSmallerAccessAndNeverCreates) {
    SettingsStore store(registry);
    EXPECT_FALSE(store.openForReading(HKCU, settings::settingsKeyPath));
    EXPECT_FALSE(registry.keyExists(HKCU, tovikKey));
    std::vector<std::uint32_t> tried;
    for (const auto& entry : registry.log()) tried.push_back(entry.access);
    EXPECT_EQ(tried, (std::vector<std::uint32_t>{0x20019, 0x20009, 0x1}));

    registry.plantDword(HKCU, tovikKey, "I", 7);
    registry.denyAccess(HKCU, tovikKey, 0x20019);
    registry.clearLog();
    EXPECT_TRUE(store.openForReading(HKCU, settings::settingsKeyPath));
    EXPECT_EQ(registry.log().back().access, 0x20009u);

    registry.denyAccess(HKCU, tovikKey, 0x20009);
    registry.clearLog();
    EXPECT_TRUE(store.openForReading(HKCU, settings::settingsKeyPath));
    EXPECT_EQ(registry.log().size(), 4u);  // the close of the earlier key, then three tries
    EXPECT_EQ(registry.log().back().access, 0x1u);
    EXPECT_TRUE(store.valueExists("I"));
    EXPECT_EQ(store.readInteger("I"), 7);
}

TEST_F(StoreTest, OneKeyAtATimeAndNothingLeftOpen) {
    registry.plantKey(HKCU, tovikKey);
    registry.failOpen(HKCU, diagnosticKey);
    {
        SettingsStore store(registry);
        EXPECT_FALSE(store.valueExists("I"));
        store.openForWriting(HKCU, settings::settingsKeyPath, true);
        store.writeInteger("I", 3);
        EXPECT_TRUE(store.valueExists("I"));
        // Opening another key closes the first; a failed open leaves none open.
        EXPECT_FALSE(store.openForWriting(HKCU, settings::diagnosticKeyPath, true));
        EXPECT_EQ(registry.openKeyCount(), 0u);
        EXPECT_FALSE(store.valueExists("I"));
        store.openForReading(HKCU, settings::settingsKeyPath);
        EXPECT_EQ(registry.openKeyCount(), 1u);
    }
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST_F(StoreTest, DiagnosticTextGoesToItsOwnKey) {
    settings::WriteDiagnosticText(registry, "LastShutDown", "08.12.2026 18:45:12");
    EXPECT_EQ(registry.text(HKCU, diagnosticKey, "LastShutDown"), "08.12.2026 18:45:12");
    EXPECT_FALSE(registry.value(HKCU, tovikKey, "LastShutDown"));
    EXPECT_EQ(registry.openKeyCount(), 0u);

    registry.failOpen(HKCU, diagnosticKey);
    EXPECT_EQ(failureOf([&] { settings::WriteDiagnosticText(registry, "LastShutDown", "x"); }),
              "Fehler beim Setzen der Daten für 'LastShutDown'");
    EXPECT_EQ(registry.openKeyCount(), 0u);
}
