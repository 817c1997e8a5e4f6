// Every press of a push button is one click, however fast the next follows:
// the second press of a double click is a click of its own, on the buttons
// the window draws itself as on the system's own.
#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

class QuickClicks : public TovikTest {};

TEST_F(QuickClicks, DoubleClickOnOopsPausesAndResumes) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(waitForTicksAtMost(50, 5s));

    doubleClick(control(ids::btOops));
    const std::string caption =
        waitForText(control(ids::btOops), [](const std::string& t) { return t == "Oder etwa nicht?"; }, 2s);
    EXPECT_EQ(caption, "Oder etwa nicht?") << "the second click did not resume the countdown";
    EXPECT_TRUE(waitUntil([&] { return counter(L"OopsResumeCounter") == std::optional<DWORD>(1); }, 2s));
    EXPECT_EQ(counter(L"OopsCounter"), std::optional<DWORD>(1));
    EXPECT_EQ(counter(L"OopsResumeCounter"), std::optional<DWORD>(1));

    // Resumed: the countdown goes on and the program is still there after the
    // time at which the watchdog would have ended a paused one.
    const auto before = parseSecondsLine(control(ids::stSeconds).text());
    ASSERT_TRUE(before);
    ASSERT_TRUE(waitForTicksAtMost(before->ticks - 5, 2s)) << "no tick after the resume";
    tovik.kill();
}

TEST_F(QuickClicks, DoubleClickOnPowerOffAnnouncesOnceAndCountsOnce) {
    openDevEnvironment();
    ASSERT_TRUE(start());
    ASSERT_TRUE(waitForTicksAtMost(140, 10s));

    doubleClick(control(ids::btPwrOff));
    const MessageBoxView box = tovik.waitForMessageBox(5s);
    ASSERT_TRUE(box) << "no announcement";
    // The second press found the button disabled by the first click.
    sleepFor(500ms);
    int boxes = 0;
    for (const Window& w : topLevelWindows(tovik.id()))
        if (w.className() == "#32770" && w.visible()) ++boxes;
    EXPECT_EQ(boxes, 1) << "more than one announcement";
    EXPECT_FALSE(control(ids::btPwrOff).enabled());
    EXPECT_EQ(counter(L"PwrOffCounter"), std::optional<DWORD>(1));
    tovik.kill();
}

}  // namespace
}  // namespace tovik::e2e
