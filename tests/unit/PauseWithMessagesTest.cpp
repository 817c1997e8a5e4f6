#include <gtest/gtest.h>

#include "app/PauseWithMessages.h"
#include "tests/support/VirtualLoop.h"

using namespace tovik;

TEST(PauseWithMessages, WaitsTheWholeTimeWhileTimersKeepFiring) {
    test::VirtualLoop loop;
    ui::Timer ticker("ticker", 100, true);
    int ticks = 0;
    ticker.onTimer = [&] { ++ticks; };
    ticker.attachHost(&loop);
    app::PauseWithMessages(loop, 5000);
    EXPECT_EQ(loop.now(), 5000u);
    EXPECT_EQ(ticks, 50);
}

TEST(PauseWithMessages, IdleWaitEndsAtTheDeadlineAlsoAcrossTheTickCountWrap) {
    test::VirtualLoop loop;
    loop.tickBase = 0xFFFFFF00u;  // the tick count wraps during the wait
    ui::Timer clock("clock", 1000, true);
    clock.onTimer = [] {};
    clock.attachHost(&loop);
    app::PauseWithMessages(loop, 5000);
    EXPECT_EQ(loop.now(), 5000u);
}

TEST(PauseWithMessages, ZeroOrNegativeTimeDoesNotWait) {
    test::VirtualLoop loop;
    app::PauseWithMessages(loop, 0);
    app::PauseWithMessages(loop, -5);
    EXPECT_EQ(loop.now(), 0u);
}

TEST(PauseWithMessages, ATerminationDuringTheWaitEndsIt) {
    test::VirtualLoop loop;
    ui::Timer watchdog("watchdog", 3000, true);
    watchdog.onTimer = [&] { loop.terminate(); };
    watchdog.attachHost(&loop);
    app::PauseWithMessages(loop, 5000);
    EXPECT_TRUE(loop.terminated());
    EXPECT_LE(loop.now(), 5000u);
}
