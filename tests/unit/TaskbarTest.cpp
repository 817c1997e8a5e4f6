#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/SystemInfo.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/VirtualLoop.h"
#include "ui/Taskbar.h"

using namespace tovik;
using ui::SystemCommandRoute;
using ui::WMSysCommandRoute;
namespace syscmd = ui::syscmd;
namespace exstyle = ui::exstyle;

namespace {

// Counts how often the version is asked.
class CountingSystemInfo : public test::FakeSystemInfo {
public:
    mutable int asked = 0;
    int majorVersion() const override {
        ++asked;
        return major;
    }
};

}  // namespace

TEST(IsNewerWindows, MajorVersionAboveFiveIsNewer) {
    CountingSystemInfo system;
    for (auto [major, newer] : {std::pair{4, false}, {5, false}, {6, true}, {10, true}, {0, false}}) {
        system.major = major;
        EXPECT_EQ(platform::IsNewerWindows(system), newer) << "major version " << major;
    }
}

TEST(IsNewerWindows, AsksTheSystemAfreshAtEachCall) {
    CountingSystemInfo system;
    system.major = 10;
    EXPECT_TRUE(platform::IsNewerWindows(system));
    system.major = 5;
    EXPECT_FALSE(platform::IsNewerWindows(system));
    EXPECT_FALSE(platform::IsNewerWindows(system));
    EXPECT_EQ(system.asked, 3);
}

TEST(TaskbarStyles, NewerSystemsMoveTheEntryToTheMainWindow) {
    const std::uint32_t topmost = 0x8, clientEdge = 0x200;
    EXPECT_EQ(ui::ApplicationWindowExStyle(0, true), exstyle::toolWindow);
    EXPECT_EQ(ui::ApplicationWindowExStyle(clientEdge, true), clientEdge | exstyle::toolWindow);
    EXPECT_EQ(ui::MainWindowExStyle(topmost, true), topmost | exstyle::appWindow);
    // A tool-window bit the toolkit put in is taken out again.
    EXPECT_EQ(ui::MainWindowExStyle(topmost | exstyle::toolWindow, true), topmost | exstyle::appWindow);
}

TEST(TaskbarStyles, OlderSystemsKeepTheToolkitsStyles) {
    for (std::uint32_t style : {0u, 0x8u, 0x8u | exstyle::toolWindow, exstyle::appWindow}) {
        EXPECT_EQ(ui::ApplicationWindowExStyle(style, false), style);
        EXPECT_EQ(ui::MainWindowExStyle(style, false), style);
    }
}

TEST(WMSysCommand, NewerSystemsMinimiseMaximiseAndRestoreTheMainWindowItself) {
    for (unsigned command : {syscmd::minimize, syscmd::maximize, syscmd::restore}) {
        for (unsigned low : {0x0u, 0x2u, 0xFu}) {
            EXPECT_EQ(WMSysCommandRoute(command | low, true), SystemCommandRoute::OwnWindowThenHideOwner)
                << std::hex << (command | low);
        }
    }
}

TEST(WMSysCommand, OlderSystemsMinimiseTheApplicationAsAWhole) {
    for (unsigned low : {0x0u, 0x1u, 0x2u, 0xFu})
        EXPECT_EQ(WMSysCommandRoute(syscmd::minimize | low, false), SystemCommandRoute::MinimizeApplication)
            << std::hex << (syscmd::minimize | low);
    EXPECT_EQ(WMSysCommandRoute(syscmd::maximize, false), SystemCommandRoute::DefaultProcedure);
    EXPECT_EQ(WMSysCommandRoute(syscmd::restore, false), SystemCommandRoute::DefaultProcedure);
    EXPECT_EQ(WMSysCommandRoute(syscmd::restore | 0x2, false), SystemCommandRoute::DefaultProcedure);
}

TEST(WMSysCommand, EveryOtherCommandTakesTheDefaultProcedureOnBothSystems) {
    const unsigned size = 0xF000, keyMenu = 0xF100, screenSave = 0xF140, nextWindow = 0xF040;
    for (bool newer : {false, true}) {
        for (unsigned command : {syscmd::close, syscmd::move, syscmd::move | 0x2u, size | 0x8u, keyMenu, screenSave,
                                 nextWindow, 0u}) {
            EXPECT_EQ(WMSysCommandRoute(command, newer), SystemCommandRoute::DefaultProcedure)
                << std::hex << command << (newer ? " newer" : " older");
        }
    }
}

namespace {

// Records the main window's show commands, and what ran in between.
class RecordingWindow : public ui::WindowPeer {
public:
    std::vector<std::string>& log;
    explicit RecordingWindow(std::vector<std::string>& into) : log(into) {}
    void captionChanged() override {}
    void heightChanged() override {}
    void showWindow(ui::ShowCommand command) override {
        log.push_back(command == ui::ShowCommand::Show       ? "show"
                      : command == ui::ShowCommand::Minimize ? "minimize"
                                                             : "other");
    }
};

}  // namespace

TEST(AppMinimize, ShowsRunsPendingMessagesThenMinimises) {
    test::VirtualLoop loop;
    ui::TForm1 form;
    std::vector<std::string> log;
    RecordingWindow window(log);
    form.attachPeer(&window);
    // A message pending when AppMinimize starts (the timer has fallen due),
    // and one that is not due yet.
    ui::Timer pending("pending", 100, true), later("later", 500, true);
    pending.onTimer = [&] { log.push_back("pending"); };
    later.onTimer = [&] { log.push_back("later"); };
    pending.attachHost(&loop);
    later.attachHost(&loop);
    ASSERT_TRUE(loop.waitForMessage(200));

    ui::AppMinimize(form, loop);
    EXPECT_EQ(log, (std::vector<std::string>{"show", "pending", "minimize"}));
    EXPECT_EQ(form.lastShowCommand(), ui::ShowCommand::Minimize);
    EXPECT_EQ(loop.minimizeCount(), 0);  // the application itself is not minimised
    form.attachPeer(nullptr);
}

TEST(AppMinimize, RunsWhenTheApplicationIsMinimisedOnNewerSystemsOnly) {
    for (int major : {5, 6, 10}) {
        test::ProgramHarness harness;
        harness.system.major = major;
        ui::TForm1& form = harness.start("300");
        std::vector<std::string> log;
        RecordingWindow window(log);
        form.attachPeer(&window);
        harness.loop.user([&] { harness.loop.minimize(); });
        if (major > 5)
            EXPECT_EQ(log, (std::vector<std::string>{"show", "minimize"})) << "major version " << major;
        else
            EXPECT_TRUE(log.empty()) << "major version " << major;
        form.attachPeer(nullptr);
    }
}
