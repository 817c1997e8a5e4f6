#include <gtest/gtest.h>

#include <vector>

#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using tovik::test::ProgramHarness;

namespace {

// The window on screen: records every height it is asked for and, like the
// system, keeps a captioned window at least `minimum` high.
class HeightRecordingWindow : public ui::WindowPeer {
public:
    HeightRecordingWindow(ui::TForm1& form, int minimum) : form_(form), minimum_(minimum) {}
    std::vector<int> asked;
    void captionChanged() override {}
    void heightChanged() override {
        asked.push_back(form_.height());
        form_.noteHeight(std::max(form_.height(), minimum_));
    }
    void showWindow(ui::ShowCommand) override {}

private:
    ui::TForm1& form_;
    int minimum_;
};

}  // namespace

TEST(WindowHeight, EveryStoredCompactHeightReachesTheWindow) {
    struct Case {
        std::optional<int> stored;
        int asked;
        int taken;
    };
    const Case cases[] = {{0, 0, 27}, {-5, -5, 27}, {1, 1, 27}, {200, 200, 200}, {std::nullopt, 315, 315}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? std::to_string(*c.stored) : "missing");
        ProgramHarness h;
        if (c.stored) h.registry.plantDword(test::HKCU, test::tovikKey, "FormHeight1", *c.stored);
        ui::TForm1& f = h.create();
        HeightRecordingWindow window(f, 27);
        f.attachPeer(&window);
        h.start("300");
        EXPECT_EQ(window.asked, std::vector<int>{c.asked});
        EXPECT_EQ(f.height(), c.taken);
        EXPECT_EQ(f.smallFormHeight, c.asked);
        f.attachPeer(nullptr);
    }
}

TEST(WindowHeight, ReadsTheWindowsHeightWhenStartUpStopsBeforeTheHeightsAreLoaded) {
    ProgramHarness h;
    // A failing option read ends the creation handler long before the heights.
    h.registry.plantText(test::HKCU, test::tovikKey, "ForcePwrOff", "1");
    ui::TForm1& f = h.start("300");
    ASSERT_EQ(h.loop.boxes().size(), 1u);
    EXPECT_EQ(f.smallFormHeight, 0);
    EXPECT_EQ(f.height(), ui::TForm1::designOuterHeight);
    EXPECT_GT(f.height(), ui::TForm1::clientHeight);
}
