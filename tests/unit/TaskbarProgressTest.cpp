#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using tovik::test::ProgramHarness;
using ui::ProgressState;

namespace {

constexpr int full = ui::TaskbarProgress::steps;

// The taskbar button: records every change that reaches it.
class RecordingTaskbar : public ui::TaskbarProgressPeer {
public:
    explicit RecordingTaskbar(const ui::TaskbarProgress& progress) : progress_(progress) {}
    std::vector<std::pair<ProgressState, int>> changes;
    void progressChanged() override { changes.emplace_back(progress_.state(), progress_.value()); }
    std::pair<ProgressState, int> last() const {
        return changes.empty() ? std::pair{ProgressState::None, 0} : changes.back();
    }

private:
    const ui::TaskbarProgress& progress_;
};

// The whole program with a recording taskbar button attached from the start.
struct TaskbarWorld {
    ProgramHarness h;
    RecordingTaskbar taskbar{h.loop.taskbarProgress};
    TaskbarWorld() { h.loop.taskbarProgress.attachPeer(&taskbar); }
    ~TaskbarWorld() { h.loop.taskbarProgress.attachPeer(nullptr); }
    ui::TForm1& form() { return h.form(); }
};

// The filled steps for `ticks` left of `total`.
int stepsFor(int ticks, int total) { return ticks * full / total; }

}  // namespace

// ---------------------------------------------------------------- the bar itself

TEST(TaskbarProgress, OnlyAChangeOfStateOrFilledStepsReachesTheButton) {
    ui::TaskbarProgress progress;
    RecordingTaskbar taskbar(progress);
    progress.attachPeer(&taskbar);

    progress.show(ProgressState::Normal, 9000, 9000);
    EXPECT_EQ(taskbar.last(), (std::pair{ProgressState::Normal, full}));
    // 9000 ticks on 256 steps: about 35 ticks per step. The first tick takes
    // a step away (the bar is only full while nothing is done), the next 34
    // leave the bar as it is.
    progress.show(ProgressState::Normal, 8999, 9000);
    EXPECT_EQ(taskbar.last(), (std::pair{ProgressState::Normal, 255}));
    for (int done = 8998; done >= 8965; --done) progress.show(ProgressState::Normal, done, 9000);
    EXPECT_EQ(taskbar.changes.size(), 2u);
    progress.show(ProgressState::Normal, 8964, 9000);
    EXPECT_EQ(taskbar.last(), (std::pair{ProgressState::Normal, 254}));

    // The same filled steps in another state is a change.
    progress.show(ProgressState::Paused, 8964, 9000);
    EXPECT_EQ(taskbar.last(), (std::pair{ProgressState::Paused, 254}));
    progress.show(ProgressState::Paused, 8964, 9000);
    EXPECT_EQ(taskbar.changes.size(), 4u);

    // Clearing forgets the value; clearing again changes nothing.
    progress.clear();
    progress.clear();
    EXPECT_EQ(taskbar.changes.size(), 5u);
    EXPECT_EQ(taskbar.last(), (std::pair{ProgressState::None, 0}));
    progress.attachPeer(nullptr);
}

TEST(TaskbarProgress, ValuesOutsideTheBarAndAnEmptyRangeAreClamped) {
    ui::TaskbarProgress progress;
    progress.show(ProgressState::Normal, 120, 100);
    EXPECT_EQ(progress.value(), full);
    progress.show(ProgressState::Normal, -3, 100);
    EXPECT_EQ(progress.value(), 0);
    progress.show(ProgressState::Error, 5, 0);
    EXPECT_EQ(progress.value(), 0);
    EXPECT_EQ(progress.state(), ProgressState::Error);
    // A range far beyond 32 bits does not overflow.
    progress.show(ProgressState::Normal, 1999999LL * 600, 1999999LL * 600);
    EXPECT_EQ(progress.value(), full);
}

// ---------------------------------------------------------------- the countdown on the button

TEST(TaskbarProgress, NothingBeforeTheFirstTickThenEveryTickOfTheGraceCountdown) {
    TaskbarWorld w;
    ui::TForm1& f = w.h.start();
    EXPECT_TRUE(w.taskbar.changes.empty());
    EXPECT_EQ(w.h.loop.taskbarProgress.state(), ProgressState::None);

    w.h.loop.advance(100);
    EXPECT_EQ(w.taskbar.last(), (std::pair{ProgressState::Normal, stepsFor(54, 55)}));
    // 55 ticks on 256 steps: every tick moves the bar, and shrinks it.
    w.h.loop.advance(5300);
    ASSERT_EQ(f.remainingTicks, 1);
    ASSERT_EQ(w.taskbar.changes.size(), 54u);
    for (size_t i = 0; i < w.taskbar.changes.size(); ++i) {
        EXPECT_EQ(w.taskbar.changes[i].first, ProgressState::Normal);
        EXPECT_EQ(w.taskbar.changes[i].second, stepsFor(54 - static_cast<int>(i), 55));
    }

    // The last tick empties the bar, the power off turns it red and full.
    w.h.loop.advance(100);
    ASSERT_EQ(w.taskbar.changes.size(), 56u);
    EXPECT_EQ(w.taskbar.changes[54], (std::pair{ProgressState::Normal, 0}));
    EXPECT_EQ(w.taskbar.changes[55], (std::pair{ProgressState::Error, full}));
    w.h.loop.advance(10000);
    EXPECT_EQ(w.taskbar.changes.size(), 56u);
}

TEST(TaskbarProgress, ALongCountdownUpdatesTheButtonOncePerVisibleStep) {
    TaskbarWorld w;
    ui::TForm1& f = w.h.start("3600");
    const int total = 36000;
    w.h.loop.advance(600 * 1000);
    ASSERT_EQ(f.remainingTicks, total - 6000);
    // The first tick shows the bar one step short of full; from then on one
    // change per step the bar loses, never more.
    ASSERT_EQ(w.taskbar.changes.size(), static_cast<size_t>(full - stepsFor(total - 6000, total)));
    EXPECT_EQ(w.taskbar.changes[0], (std::pair{ProgressState::Normal, full - 1}));
    for (size_t i = 1; i < w.taskbar.changes.size(); ++i)
        EXPECT_EQ(w.taskbar.changes[i].second, w.taskbar.changes[i - 1].second - 1);
    EXPECT_EQ(w.taskbar.last(), (std::pair{ProgressState::Normal, stepsFor(total - 6000, total)}));
}

TEST(TaskbarProgress, OopsPausesWhereTheBarStoppedAndResumesIt) {
    TaskbarWorld w;
    ui::TForm1& f = w.h.start();
    w.h.loop.advance(2000);
    const int shown = stepsFor(35, 55);
    ASSERT_EQ(w.taskbar.last(), (std::pair{ProgressState::Normal, shown}));
    const size_t before = w.taskbar.changes.size();

    w.h.loop.user([&] { f.btOops.click(); });
    EXPECT_EQ(w.taskbar.last(), (std::pair{ProgressState::Paused, shown}));
    // Paused, no tick: nothing more reaches the button.
    w.h.loop.advance(2000);
    EXPECT_EQ(w.taskbar.changes.size(), before + 1);

    // Resumed at once, before the next tick, at the same place.
    w.h.loop.user([&] { f.btOops.click(); });
    EXPECT_EQ(w.taskbar.last(), (std::pair{ProgressState::Normal, shown}));
    w.h.loop.advance(100);
    EXPECT_EQ(w.taskbar.last(), (std::pair{ProgressState::Normal, stepsFor(34, 55)}));
    EXPECT_EQ(w.taskbar.changes.size(), before + 3);
}

TEST(TaskbarProgress, EveryPowerActionShowsAFullRedBar) {
    // The immediate buttons while counting, also lock (which leaves the
    // window's own gauges alone) and an announcement in simulation mode.
    struct Case {
        const char* button;
        bool simulation;
    };
    for (const Case c : {Case{"btPwrOff", false}, Case{"btLock", false}, Case{"btLogOff", true},
                         Case{"btHibernate", true}}) {
        SCOPED_TRACE(c.button);
        TaskbarWorld w;
        if (c.simulation) w.h.system.devEnvironment = "Werkbank";
        ui::TForm1& f = w.h.start();
        w.h.loop.advance(1000);
        // The announcement's box stays open for a while; the bar is red meanwhile.
        ProgressState duringBox = ProgressState::None;
        if (c.simulation) {
            w.h.loop.scriptAnswer({1, 1500});
            f.tmClock.onTimer = [&] { duringBox = w.h.loop.taskbarProgress.state(); };
        }
        for (ui::Control* control : f.controls())
            if (control->name() == c.button) w.h.loop.user([&] { control->click(); });
        EXPECT_EQ(w.h.loop.taskbarProgress.state(), ProgressState::Error);
        EXPECT_EQ(w.h.loop.taskbarProgress.value(), full);
        EXPECT_EQ(w.taskbar.changes.back(), (std::pair{ProgressState::Error, full}));
        if (c.simulation) {
            EXPECT_EQ(w.h.loop.boxes().size(), 1u);
            EXPECT_EQ(duringBox, ProgressState::Error);
        }
    }
}

TEST(TaskbarProgress, TheTimerLayoutAndTheStatisticsViewShowNoProgress) {
    {
        SCOPED_TRACE("Timer aus,");
        TaskbarWorld w;
        ui::TForm1& f = w.h.start();
        w.h.loop.advance(300);
        w.h.loop.user([&] { f.btTimerOff1.click(); });
        EXPECT_EQ(w.taskbar.last(), (std::pair{ProgressState::None, 0}));
        // "Go!": nothing until the first tick of the new countdown, then its bar.
        const size_t before = w.taskbar.changes.size();
        w.h.loop.user([&] { f.btRestart.click(); });
        EXPECT_EQ(w.taskbar.changes.size(), before);
        w.h.loop.advance(100);
        EXPECT_EQ(w.taskbar.last(), (std::pair{ProgressState::Normal, stepsFor(15 * 600 - 1, 15 * 600)}));
    }
    {
        SCOPED_TRACE("statistics after a pause");
        TaskbarWorld w;
        ui::TForm1& f = w.h.start();
        w.h.loop.advance(300);
        w.h.loop.user([&] { f.btOops.click(); });
        ASSERT_EQ(w.taskbar.last().first, ProgressState::Paused);
        w.h.loop.user([&] { f.onDblClick(); });
        EXPECT_EQ(w.taskbar.last(), (std::pair{ProgressState::None, 0}));
        // The height buttons of the view leave it so.
        w.h.loop.user([&] { f.btFormPlus.click(); });
        w.h.loop.advance(5000);
        EXPECT_EQ(w.taskbar.last(), (std::pair{ProgressState::None, 0}));
    }
}

TEST(TaskbarProgress, AClockTimeStartShowsItsCountdownFromItsFirstTick) {
    TaskbarWorld w;
    w.h.clock.time = {2026, 12, 8, 21, 59, 30, 0};
    ui::TForm1& f = w.h.start("22:00");
    // Before the window shows, the waiting ticks show nothing.
    w.h.loop.advance(500);
    EXPECT_TRUE(w.taskbar.changes.empty());
    w.h.loop.user([&] { f.onShow(); });
    EXPECT_EQ(w.h.loop.taskbarProgress.state(), ProgressState::None);
    w.h.loop.advance(100);
    EXPECT_EQ(w.h.loop.taskbarProgress.state(), ProgressState::Normal);
    EXPECT_EQ(w.h.loop.taskbarProgress.value(),
              stepsFor(f.remainingTicks, f.Gauge1.maxValue()));
    EXPECT_GT(f.remainingTicks, 0);
}
