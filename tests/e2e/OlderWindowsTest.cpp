// The same program on an older Windows (major version 5, as Wine reports
// for "winxp"): the taskbar entry belongs to the application window, the
// window caption keeps its design text while the countdown runs, and the
// compact window is 320 pixels high.
#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

class OlderWindows : public TovikTest {
protected:
    void SetUp() override {
        TovikTest::SetUp();
        useWindowsVersion(L"winxp");
    }
};

TEST_F(OlderWindows, CaptionStaysWhileTheTaskbarTextCountsDown) {
    TextTimeline caption, taskbar;
    ASSERT_TRUE(start(L"", [&](const Window& created) {
        caption.start(created);
        taskbar.start(created.owner());
    }));
    const auto reached = waitForTicksAtMost(40, 5s);
    tovik.kill();
    caption.stop();
    taskbar.stop();
    ASSERT_TRUE(reached);

    for (const auto& e : caption.entries()) EXPECT_EQ(e.text, "Computer mit einem Click ausschalten");
    bool counted = false, counting = false;
    for (const auto& e : taskbar.entries()) {
        counted = counted || e.text == "5,4 Sekunden";
        counting = counting || e.text == "4,5 Sekunden";
    }
    EXPECT_TRUE(counted && counting) << taskbar.describe();
}

TEST_F(OlderWindows, CompactWindowIs320HighAndTheApplicationWindowKeepsTheTaskbarEntry) {
    ASSERT_TRUE(start(L"300"));
    EXPECT_EQ(main.outerHeight(), 320);
    EXPECT_FALSE(main.hasExStyle(WS_EX_APPWINDOW));
    EXPECT_FALSE(owner().hasExStyle(WS_EX_TOOLWINDOW));
}

TEST_F(OlderWindows, PauseStillWritesTheCaption) {
    ASSERT_TRUE(start(L"100"));
    ASSERT_TRUE(waitForTicksAtMost(995, 5s));
    pressKeyInTovik(VK_ESCAPE);
    const std::string caption =
        waitForText(main, [](const std::string& t) { return t == "Doch kein Feierabend "; }, 2s);
    EXPECT_EQ(caption, "Doch kein Feierabend ");
    EXPECT_EQ(owner().text(), "Doch kein Feierabend ");
}

}  // namespace
}  // namespace tovik::e2e
