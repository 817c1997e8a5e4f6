// The five immediate-action buttons. In simulation mode (a "TAppBuilder"
// window exists) each action is announced in a message box, counted in the
// registry and shown in the window; the program then ends by its exit
// watchdog, which also closes a box nobody answered. Outside simulation mode
// only the requests that leave the Wine session alone run here: the lock
// (which Wine refuses, so the warning box shows) and hibernation. The real
// power off ends every process of the prefix, so it runs from outside Wine
// (real_power_off.sh).
#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

struct ActionButton {
    const char* name;
    int id;
    const wchar_t* counter;
    const char* status;  // nullptr for the lock: line and title stay as they are
};

const ActionButton pwrOff{"btPwrOff", ids::btPwrOff, L"PwrOffCounter", "und tschüss......"};
const ActionButton newStart{"btNewStart", ids::btNewStart, L"RestartCounter", "Es wird neu gestartet..."};
const ActionButton logOff{"btLogOff", ids::btLogOff, L"LogOffCounter", "Melde mich ab..."};
const ActionButton hibernate{"btHibernate", ids::btHibernate, L"HibernateCounter", "Gehe schlafen..."};
const ActionButton lock{"btLock", ids::btLock, L"LockCounter", nullptr};

class PowerActionTest : public TovikTest {
protected:
    bool allActionButtonsDisabled() const {
        for (const auto& b : actionButtons)
            if (control(b.id).enabled()) return false;
        return true;
    }

    void expectAllActionButtonsDisabled() {
        EXPECT_TRUE(waitUntil([&] { return allActionButtonsDisabled(); }, 1s));
        for (const auto& b : actionButtons) {
            SCOPED_TRACE(b.name);
            EXPECT_FALSE(control(b.id).enabled());
        }
    }

    // Waits for the end of the program while watching the box; returns the
    // last time the box was seen open.
    double waitForExitWatchingBox(const MessageBoxView& box, Millis timeout) {
        double lastSeen = now();
        waitUntil(
            [&] {
                if (box.window()) lastSeen = now();
                return !tovik.running();
            },
            timeout, 10ms);
        EXPECT_TRUE(tovik.waitForExit(1s)) << "the program did not end";
        return lastSeen;
    }

    std::optional<std::string> lastShutDown() const {
        return reg::getString(HKEY_CURRENT_USER, reg::diagnosticKey, L"LastShutDown");
    }

    // Starts Tovik, lets the countdown run for a few ticks and clicks the
    // button. Returns the time of the last tick before the click.
    double startAndClickAfterSomeTicks(const ActionButton& button, TextTimeline& line) {
        if (!start()) {
            ADD_FAILURE() << "no main window";
            return 0;
        }
        line.start(control(ids::stSeconds));
        if (!waitForTicksAtMost(140, 10s)) ADD_FAILURE() << "the countdown did not run:\n" << line.describe();
        click(control(button.id));
        const auto ticks = secondsLines(line.entries());
        return ticks.empty() ? 0 : ticks.back().time;
    }

    // In simulation mode: clicks the button after some ticks, checks the
    // announcement, the window, the counter and the registry, and leaves the
    // box open until the watchdog ends the program 3 s after the last tick.
    void expectAnnounced(const ActionButton& button, const std::string& announcement) {
        TextTimeline line;
        startAndClickAfterSomeTicks(button, line);
        const MessageBoxView box = tovik.waitForMessageBox(5s);
        ASSERT_TRUE(box) << "no announcement for " << button.name;
        const std::string taskbarText = owner().text();
        line.stop();

        EXPECT_EQ(box.text(), announcement);
        EXPECT_EQ(box.buttonTexts(), std::vector<std::string>{"OK"});
        EXPECT_EQ(box.icon(), IconKind::None) << toString(box.icon());
        const auto ticks = secondsLines(line.entries());
        ASSERT_FALSE(ticks.empty()) << line.describe();
        const double lastTick = ticks.back().time;
        if (button.status) {
            EXPECT_EQ(control(ids::stSeconds).text(), button.status);
            EXPECT_EQ(taskbarText, button.status) << "taskbar text";
            EXPECT_EQ(box.caption(), button.status);
        } else {
            // Locking leaves the line and the taskbar text of the last tick.
            EXPECT_EQ(control(ids::stSeconds).text(), ticks.back().text);
            const auto seconds = ticks.back().line;
            EXPECT_EQ(taskbarText, std::to_string(seconds.ticks / 10) + "," + std::to_string(seconds.ticks % 10) +
                                       " Sekunden");
            EXPECT_EQ(box.caption(), taskbarText);
        }
        expectAllActionButtonsDisabled();
        EXPECT_EQ(counter(button.counter), std::optional<DWORD>(1));
        EXPECT_FALSE(lastShutDown()) << "a simulated action noted a shutdown";

        const double lastSeen = waitForExitWatchingBox(box, 10s);
        EXPECT_EQ(tovik.exitCode(), 0u);
        EXPECT_GT(tovik.exitTime() - lastTick, 2.6) << line.describe();
        EXPECT_LT(tovik.exitTime() - lastTick, 3.6) << line.describe();
        EXPECT_GT(lastSeen, tovik.exitTime() - 0.3) << "the box closed before the program ended";
    }
};

class SimulatedPowerAction : public PowerActionTest {
protected:
    void SetUp() override {
        PowerActionTest::SetUp();
        openDevEnvironment();
    }
};

TEST_F(SimulatedPowerAction, PowerOffAnnouncesTheForcedPowerOffAndNotesNothing) {
    expectAnnounced(
        pwrOff, "Jetzt würde die ExitWindowsEx Prozedur EWX_POWEROFF+EWX_FORCE ausgeführt und LastShutDown notiert!");
}

TEST_F(SimulatedPowerAction, PowerOffWithoutForceOptionAnnouncesThePlainPowerOff) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(waitForTicksAtMost(145, 10s));
    const Window force = control(ids::cbForcePwrOff);
    ASSERT_TRUE(force.checked());
    click(force);
    ASSERT_TRUE(waitUntil([&] { return !force.checked(); }, 2s));
    click(control(ids::btPwrOff));
    const MessageBoxView box = tovik.waitForMessageBox(5s);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text(), "Jetzt würde die ExitWindowsEx Prozedur EWX_POWEROFF ausgeführt und LastShutDown notiert!");
    EXPECT_EQ(box.caption(), "und tschüss......");
    // Answered, the box goes; the watchdog still ends the program.
    box.answer(IDOK);
    EXPECT_TRUE(waitUntil([&] { return !box.window() || !tovik.running(); }, 2s));
    EXPECT_TRUE(tovik.waitForExit(5s));
    EXPECT_EQ(counter(L"PwrOffCounter"), std::optional<DWORD>(1));
    EXPECT_FALSE(lastShutDown());
}

TEST_F(SimulatedPowerAction, RestartIsAnnounced) {
    expectAnnounced(newStart, "Jetzt würde die ExitWindowsEx Prozedur EWX_REBOOT ausgeführt!");
}

TEST_F(SimulatedPowerAction, LogOffIsAnnounced) {
    expectAnnounced(logOff, "Jetzt würde die ExitWindowsEx Prozedur EWX_LOGOFF ausgeführt!");
}

TEST_F(SimulatedPowerAction, HibernateIsAnnounced) {
    expectAnnounced(hibernate, "Jetzt würde die SetSuspendState Prozedur ausgeführt!");
}

TEST_F(SimulatedPowerAction, LockIsAnnouncedAndLeavesLineAndTaskbarText) {
    expectAnnounced(lock, "Jetzt würde die LockWorkStation Prozedur ausgeführt!");
}

TEST_F(SimulatedPowerAction, ActionBeforeTheFirstTickEndsTheProgramAfterTheEightSecondPreset) {
    // The click goes in as a posted BM_CLICK as soon as the window exists,
    // and runs when the program first reads its queue, once the window shows:
    // posted messages come before timer messages, so it runs before the first
    // tick unless the driver is more than 100 ms late with it. Which case
    // happened shows in the line, which the lock leaves alone.
    bool beforeFirstTick = false;
    for (int attempt = 0; attempt < 3 && !beforeFirstTick; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt + 1));
        tovik.reset();
        reg::freshProfile();
        double clicked = 0;
        ASSERT_TRUE(start(L"", [&](const Window& created) {
            clicked = now();
            PostMessageW(created.child(ids::btLock).handle(), BM_CLICK, 0, 0);
        }));
        const MessageBoxView box = tovik.waitForMessageBox(5s);
        ASSERT_TRUE(box) << "no announcement";
        // The watchdog starts with the click, between posting and the box.
        const double announced = now();
        EXPECT_EQ(box.text(), "Jetzt würde die LockWorkStation Prozedur ausgeführt!");
        const auto ticked = parseSecondsLine(control(ids::stSeconds).text());
        beforeFirstTick = !ticked;
        const double lastSeen = waitForExitWatchingBox(box, 12s);
        EXPECT_GT(lastSeen, tovik.exitTime() - 0.3) << "the box closed before the program ended";
        EXPECT_EQ(tovik.exitCode(), 0u);
        if (beforeFirstTick) {
            EXPECT_GT(tovik.exitTime() - clicked, 7.6);
            EXPECT_LT(tovik.exitTime() - announced, 8.8);
        } else {
            // A tick came first: its 3-second period runs out instead.
            EXPECT_LT(tovik.exitTime() - clicked, 3.8) << "after " << ticked->ticks << " ticks left";
        }
    }
    EXPECT_TRUE(beforeFirstTick) << "no click landed before the first tick";
}

TEST_F(SimulatedPowerAction, ActionWhilePausedEndsTheProgramThreeSecondsAfterTheLastTick) {
    ASSERT_TRUE(start());
    TextTimeline line;
    line.start(control(ids::stSeconds));
    ASSERT_TRUE(waitForTicksAtMost(140, 10s));
    pressKeyInTovik(VK_ESCAPE);
    ASSERT_TRUE(waitUntil([&] { return control(ids::btOops).text() == "Oder vielleicht doch?"; }, 2s));
    sleepFor(1500ms);
    const double clicked = now();
    click(control(ids::btLogOff));
    const MessageBoxView box = tovik.waitForMessageBox(3s);
    ASSERT_TRUE(box) << "no announcement";
    EXPECT_EQ(box.text(), "Jetzt würde die ExitWindowsEx Prozedur EWX_LOGOFF ausgeführt!");
    waitForExitWatchingBox(box, 10s);
    line.stop();
    const auto ticks = secondsLines(line.entries());
    ASSERT_FALSE(ticks.empty());
    // The action did not restart the watchdog: it ran out from the last tick.
    EXPECT_LT(ticks.back().time, clicked - 1.0) << line.describe();
    EXPECT_GT(tovik.exitTime() - ticks.back().time, 2.6) << line.describe();
    EXPECT_LT(tovik.exitTime() - ticks.back().time, 3.6) << line.describe();
    EXPECT_EQ(counter(L"LogOffCounter"), std::optional<DWORD>(1));
    EXPECT_EQ(counter(L"OopsCounter"), std::optional<DWORD>(1));
}

// Outside simulation mode: requests that do not end the Wine session.
class RealPowerAction : public PowerActionTest {};

TEST_F(RealPowerAction, FailedLockShowsTheWarningAndKeepsTheProgramOpen) {
    TextTimeline line;
    startAndClickAfterSomeTicks(lock, line);
    const MessageBoxView box = tovik.waitForMessageBox(5s);
    ASSERT_TRUE(box) << "no warning: did the lock succeed?";
    line.stop();
    EXPECT_EQ(box.caption(), "Warnung");
    EXPECT_EQ(box.text(), "System nicht erfolgreich gesperrt!");
    EXPECT_EQ(box.buttonTexts(), std::vector<std::string>{"OK"});
    EXPECT_EQ(box.icon(), IconKind::Warning) << toString(box.icon());
    EXPECT_TRUE(parseSecondsLine(control(ids::stSeconds).text())) << "the lock changed the line";
    expectAllActionButtonsDisabled();
    EXPECT_EQ(counter(L"LockCounter"), std::optional<DWORD>(1));

    // The watchdog stopped: well past its period the warning is still there.
    sleepFor(6s);
    EXPECT_TRUE(tovik.running());
    EXPECT_TRUE(IsWindow(box.window().handle())) << "the warning was closed";
}

TEST_F(RealPowerAction, HibernateAsksTheSystemAndTheWatchdogEndsTheProgram) {
    TextTimeline line;
    const double lastTick = startAndClickAfterSomeTicks(hibernate, line);
    EXPECT_EQ(waitForText(control(ids::stSeconds), [](const std::string& t) { return t == hibernate.status; }, 2s),
              hibernate.status);
    EXPECT_EQ(owner().text(), hibernate.status);
    expectAllActionButtonsDisabled();
    EXPECT_EQ(counter(L"HibernateCounter"), std::optional<DWORD>(1));
    // The request goes unreported, whatever the system answered.
    bool boxSeen = false;
    waitUntil(
        [&] {
            boxSeen = boxSeen || findMessageBox(tovik.id());
            return !tovik.running();
        },
        10s, 10ms);
    ASSERT_TRUE(tovik.waitForExit(1s));
    line.stop();
    EXPECT_FALSE(boxSeen);
    EXPECT_EQ(tovik.exitCode(), 0u) << "the program did not end by its watchdog";
    EXPECT_GT(tovik.exitTime() - lastTick, 2.6) << line.describe();
    EXPECT_LT(tovik.exitTime() - lastTick, 3.6) << line.describe();
    EXPECT_FALSE(lastShutDown());
}

}  // namespace
}  // namespace tovik::e2e
