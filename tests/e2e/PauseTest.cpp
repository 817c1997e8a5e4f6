// The abort button: Esc or a click pauses the countdown, the program ends by
// itself a few seconds after the last tick unless the user resumes, and a
// resume goes on from the value where it stopped.
#include "tests/e2e/TovikTest.h"
#include "ui/win32/Win32Application.h"

namespace tovik::e2e {
namespace {

constexpr COLORREF skyBlue = RGB(0xA6, 0xCA, 0xF0);
constexpr COLORREF pureBlue = RGB(0, 0, 255);

class Pause : public TovikTest {
protected:
    // The line is repainted some time after its colour changed.
    bool waitForLineBackground(COLORREF colour) {
        return waitUntil([&] { return secondsLineBackground() == colour; }, 1s);
    }

    bool waitForOopsCaption(const std::string& caption) {
        const Window oops = control(ids::btOops);
        return waitForText(oops, [&](const std::string& t) { return t == caption; }, 2s) == caption;
    }
};

TEST_F(Pause, EscPausesAndTheProgramEndsThreeSecondsAfterTheLastTick) {
    ASSERT_TRUE(start());
    TextTimeline line;
    line.start(control(ids::stSeconds));
    ASSERT_TRUE(waitForTicksAtMost(45, 5s));
    EXPECT_TRUE(waitForLineBackground(skyBlue)) << std::hex << secondsLineBackground();

    const double pressed = now();
    pressKeyInTovik(VK_ESCAPE);
    ASSERT_TRUE(waitForOopsCaption("Oder vielleicht doch?")) << control(ids::btOops).text();
    EXPECT_EQ(owner().text(), "Doch kein Feierabend ") << "taskbar text while paused";
    EXPECT_EQ(main.text(), "Doch kein Feierabend ") << "caption while paused";
    EXPECT_TRUE(waitForLineBackground(pureBlue))
        << "the line does not turn blue while paused: " << std::hex << secondsLineBackground();

    ASSERT_TRUE(tovik.waitForExit(6s)) << "the paused program did not end:\n" << line.describe();
    line.stop();
    EXPECT_EQ(tovik.exitCode(), 0u);

    const auto lines = secondsLines(line.entries());
    ASSERT_FALSE(lines.empty());
    const double lastTick = lines.back().time;
    EXPECT_LT(lastTick, pressed + 0.3) << "ticks went on after Esc:\n" << line.describe();
    EXPECT_GT(tovik.exitTime() - lastTick, 2.6) << line.describe();
    EXPECT_LT(tovik.exitTime() - lastTick, 3.5) << line.describe();
    EXPECT_LT(tovik.exitTime() - pressed, 3.5);
    EXPECT_GT(tovik.exitTime() - pressed, 2.3);

    EXPECT_EQ(counter(L"OopsCounter"), std::optional<DWORD>(1));
    EXPECT_EQ(counter(L"OopsResumeCounter"), std::nullopt);
}

TEST_F(Pause, ClickPausesAndEscResumesFromTheSameValue) {
    ASSERT_TRUE(start());
    TextTimeline line;
    line.start(control(ids::stSeconds));
    ASSERT_TRUE(waitForTicksAtMost(50, 5s));

    click(control(ids::btOops));
    ASSERT_TRUE(waitForOopsCaption("Oder vielleicht doch?")) << control(ids::btOops).text();
    const auto paused = parseSecondsLine(control(ids::stSeconds).text());
    ASSERT_TRUE(paused);
    sleepFor(1200ms);
    const auto stillPaused = parseSecondsLine(control(ids::stSeconds).text());
    ASSERT_TRUE(stillPaused);
    EXPECT_EQ(stillPaused->ticks, paused->ticks) << "the countdown went on during the pause";
    EXPECT_TRUE(tovik.running());

    const double resumed = now();
    pressKeyInTovik(VK_ESCAPE);
    ASSERT_TRUE(waitForOopsCaption("Oder etwa nicht?")) << control(ids::btOops).text();
    const auto next = waitForTicksAtMost(paused->ticks - 3, 2s);
    ASSERT_TRUE(next) << line.describe();
    EXPECT_TRUE(waitForLineBackground(skyBlue))
        << "the line stays blue after the resume: " << std::hex << secondsLineBackground();
    // The countdown still runs past the time the watchdog would have ended it.
    sleepFor(Millis(std::max(0, int((resumed + 3.5 - now()) * 1000))));
    EXPECT_TRUE(tovik.running()) << "the program ended although the countdown was resumed";
    tovik.kill();
    line.stop();

    // The first tick after the resume continues from the paused value.
    const auto lines = secondsLines(line.entries());
    bool found = false;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].line.ticks == paused->ticks) {
            EXPECT_EQ(lines[i + 1].line.ticks, paused->ticks - 1) << line.describe();
            EXPECT_GT(lines[i + 1].time, resumed) << line.describe();
            found = true;
        }
    }
    EXPECT_TRUE(found) << line.describe();

    EXPECT_EQ(counter(L"OopsCounter"), std::optional<DWORD>(1));
    EXPECT_EQ(counter(L"OopsResumeCounter"), std::optional<DWORD>(1));
}

// The wait inside a handler's message-processing pause, on the application
// window of this driver: a message that a look at the queue has already seen
// but nobody has taken out still ends the wait at once.
TEST(MessageProcessingPause, WaitEndsForAMessageAlreadySeenInTheQueue) {
    win32::Win32Application application(GetModuleHandleW(nullptr));
    PostMessageW(application.handle(), WM_NULL, 0, 0);
    MSG seen;
    ASSERT_TRUE(PeekMessageW(&seen, nullptr, 0, 0, PM_NOREMOVE));
    const double before = now();
    EXPECT_TRUE(application.waitForMessage(3000));
    EXPECT_LT(now() - before, 1.0);
}

}  // namespace
}  // namespace tovik::e2e
