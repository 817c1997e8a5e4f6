// The start counter when the registry holds it in the wrong form: the count
// fails with the store's error box and start-up stops there, after the
// settings have been loaded and before the countdown starts. (Counting one
// run per start is checked with the settings a start writes; the pause and
// resume counters with the pause itself.)
//
// Runs in simulation mode, so a countdown that started all the same could not
// end the Wine session.
#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

class Counters : public TovikTest {
protected:
    void SetUp() override {
        TovikTest::SetUp();
        openDevEnvironment();
    }
};

TEST_F(Counters, RunCounterStoredAsTextStopsTheStartWithAnErrorBoxAndNoCountdown) {
    reg::setString(HKEY_CURRENT_USER, reg::settingsKey, L"RunCounter", "5");
    tovik.start();
    const MessageBoxView box = expectErrorBox("Ungültiger Datentyp für 'RunCounter'");
    ASSERT_TRUE(box);
    box.answer(IDOK);

    main = tovik.waitForMainWindow(5s);
    ASSERT_TRUE(main) << "the window does not show after the error";
    // The settings were loaded before the count.
    EXPECT_TRUE(control(ids::cbForcePwrOff).checked());
    EXPECT_EQ(control(ids::btPrefTime2).text(), "18:45");
    EXPECT_EQ(control(ids::btTimerOff2).text(), "genau 18:45");
    // The countdown never started.
    const Window line = control(ids::stSeconds);
    EXPECT_EQ(line.text(), "X");
    sleepFor(1000ms);
    EXPECT_EQ(line.text(), "X");
    EXPECT_TRUE(tovik.running());
    // The counter keeps its text.
    const auto value = reg::get(HKEY_CURRENT_USER, reg::settingsKey, L"RunCounter");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, DWORD(REG_SZ));
    EXPECT_EQ(reg::getString(HKEY_CURRENT_USER, reg::settingsKey, L"RunCounter"), std::optional<std::string>("5"));
}

}  // namespace
}  // namespace tovik::e2e
