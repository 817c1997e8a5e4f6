#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "tests/support/SettingsWorld.h"

using namespace tovik;
using namespace tovik::test;
using settings::CounterKind;
using platform::RegistryValue;
namespace regtype = platform::regtype;
using Call = MemoryRegistry::Call;

namespace {

struct CountersTest : ::testing::Test, SettingsWorld {
    std::optional<std::int32_t> count(const std::string& name) const { return registry.dword(HKCU, tovikKey, name); }
};

const std::vector<std::string> allCounters = {"RunCounter",       "RestartCounter",  "PwrOffCounter",
                                              "OopsCounter",      "OopsResumeCounter", "LogOffCounter",
                                              "TimerOffCounter",  "HibernateCounter", "LockCounter"};

}  // namespace

TEST_F(CountersTest, FirstCountCreatesKeyAndValueWithOne) {
    counters.BumpCounter(CounterKind::RunCounter);
    EXPECT_EQ(registry.writes(), (std::vector<std::string>{"RunCounter=dword:1"}));
    EXPECT_EQ(registry.log().front().call, Call::CreateKey);
    EXPECT_EQ(registry.log().front().path, tovikKey);
    EXPECT_EQ(registry.openKeyCount(), 0u);
    counters.BumpCounter(CounterKind::RunCounter);
    EXPECT_EQ(count("RunCounter"), 2);
}

TEST_F(CountersTest, EachCodeCountsItsOwnValue) {
    for (int code = 1; code <= 9; ++code) counters.BumpCounter(static_cast<CounterKind>(code));
    counters.BumpCounter(CounterKind::OopsCounter);
    EXPECT_EQ(writtenNames(registry).size(), 10u);
    for (std::size_t i = 0; i < allCounters.size(); ++i) {
        EXPECT_EQ(writtenNames(registry)[i], allCounters[i]);
        EXPECT_EQ(count(allCounters[i]), allCounters[i] == "OopsCounter" ? 2 : 1) << allCounters[i];
    }
}

TEST_F(CountersTest, CountingAddsOneAndWrapsAtTheSigned32BitLimit) {
    const std::pair<std::int32_t, std::int32_t> steps[] = {
        {41, 42}, {-1, 0}, {0, 1}, {INT_MAX - 1, INT_MAX}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MIN + 1}};
    for (const auto& [stored, expected] : steps) {
        registry.plantDword(HKCU, tovikKey, "LockCounter", stored);
        counters.BumpCounter(CounterKind::LockCounter);
        EXPECT_EQ(count("LockCounter"), expected) << stored;
    }
}

TEST_F(CountersTest, CodesOutsideOneToNineAreRejectedBeforeAnyAccess) {
    EXPECT_THROW(counters.BumpCounter(static_cast<CounterKind>(0)), std::invalid_argument);
    EXPECT_THROW(counters.BumpCounter(static_cast<CounterKind>(10)), std::invalid_argument);
    EXPECT_THROW(counters.BumpCounter(static_cast<CounterKind>(-1)), std::invalid_argument);
    EXPECT_TRUE(registry.log().empty());
}

TEST_F(CountersTest, AWronglyStoredCounterFailsEveryCountUntilAReset) {
    registry.plantValue(HKCU, tovikKey, "PwrOffCounter", {regtype::Sz, std::string("12\0", 3)});
    registry.plantValue(HKCU, tovikKey, "OopsCounter", {regtype::Dword, std::string("\1\0\0\0\0\0\0\0", 8)});
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(failureOf([&] { counters.BumpCounter(CounterKind::PwrOffCounter); }),
                  "Ungültiger Datentyp für 'PwrOffCounter'");
        EXPECT_EQ(failureOf([&] { counters.BumpCounter(CounterKind::OopsCounter); }),
                  "Fehler beim Holen der Daten für 'OopsCounter'");
    }
    EXPECT_TRUE(writtenNames(registry).empty());
    EXPECT_EQ(registry.openKeyCount(), 0u);

    counters.ResetCounters();
    EXPECT_EQ(count("PwrOffCounter"), 0);
    EXPECT_EQ(count("OopsCounter"), 0);
    counters.BumpCounter(CounterKind::PwrOffCounter);
    EXPECT_EQ(count("PwrOffCounter"), 1);
}

TEST_F(CountersTest, ARefusedCountIsReported) {
    registry.refuseWrite("HibernateCounter");
    EXPECT_EQ(failureOf([&] { counters.BumpCounter(CounterKind::HibernateCounter); }),
              "Fehler beim Setzen der Daten für 'HibernateCounter'");
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST_F(CountersTest, ResetWritesAllNineAsZeroInOrderThenLetsMessagesRun) {
    registry.plantDword(HKCU, tovikKey, "RunCounter", 77);
    counters.ResetCounters();
    std::vector<std::string> expected;
    for (const auto& name : allCounters) expected.push_back(name + "=dword:0");
    EXPECT_EQ(registry.writes(), expected);
    for (const auto& name : allCounters) EXPECT_EQ(count(name), 0) << name;
    EXPECT_EQ(registry.openKeyCount(), 0u);
    // Pending messages run once, after the key is closed.
    EXPECT_EQ(loop.processed, 1);
    EXPECT_EQ(loop.logSizeAtLastProcess, registry.log().size());
    EXPECT_EQ(registry.log().back().call, Call::CloseKey);
}

TEST_F(CountersTest, ResetWritesNothingWhenTheKeyDoesNotOpen) {
    registry.failOpen(HKCU, tovikKey);
    counters.ResetCounters();
    EXPECT_TRUE(writtenNames(registry).empty());
    EXPECT_EQ(loop.processed, 1);
    EXPECT_EQ(registry.openKeyCount(), 0u);
}
