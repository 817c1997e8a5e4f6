// The grace countdown as the user watches it: the countdown line, the
// taskbar text, the window caption and the two gauges, tick by tick, and
// what the window looks like when the countdown reaches zero.
#include <algorithm>
#include <cstdio>
#include <regex>

#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

std::string secondsText(int ticks, const char* separator) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d%s%d", ticks / 10, separator, ticks % 10);
    return buffer;
}

// Expects the lines to count down one tick at a time, about every 100 ms.
void expectSteadyTicks(const std::vector<SeenLine>& lines, const std::string& history) {
    ASSERT_GE(lines.size(), 2u) << history;
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].line.ticks, lines[i - 1].line.ticks - 1)
            << "after \"" << lines[i - 1].text << "\" came \"" << lines[i].text << "\"\n" << history;
    }
    const double perTick = (lines.back().time - lines.front().time) /
                           double(lines.front().line.ticks - lines.back().line.ticks);
    EXPECT_GT(perTick, 0.085) << history;
    EXPECT_LT(perTick, 0.130) << history;
}

class Countdown : public TovikTest {
protected:
    // Starts Tovik and records the countdown line, the taskbar text and the
    // caption until the line shows at most stopAtTicks in the seconds form,
    // then ends Tovik (before any power action could start).
    void watch(std::wstring_view arguments, int stopAtTicks) {
        watchUntil(arguments, [&](const std::string& text) {
            const auto parsed = parseSecondsLine(text);
            return parsed && parsed->ticks <= stopAtTicks;
        });
    }

    void watchUntil(std::wstring_view arguments, const std::function<bool(const std::string&)>& enough) {
        ASSERT_TRUE(start(arguments, [&](const Window& created) {
            line.start(created.child(ids::stSeconds));
            taskbar.start(created.owner());
            caption.start(created);
        }));
        const std::string last = waitForText(control(ids::stSeconds), enough, 20s);
        line.stop();
        taskbar.stop();
        caption.stop();
        tovik.kill();
        ASSERT_TRUE(enough(last)) << "the countdown line did not get there:\n" << line.describe();
    }

    std::vector<std::string> texts(const TextTimeline& timeline) const {
        std::vector<std::string> out;
        for (const auto& e : timeline.entries()) out.push_back(e.text);
        return out;
    }

    TextTimeline line, taskbar, caption;
};

bool contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The ticks named by those texts that match the pattern (seconds in group 1,
// tenths in group 2), in the order they were seen.
std::vector<int> ticksIn(const std::vector<std::string>& texts, const std::regex& pattern) {
    std::vector<int> out;
    for (const auto& t : texts) {
        std::smatch m;
        if (std::regex_match(t, m, pattern)) out.push_back(std::stoi(m[1].str()) * 10 + std::stoi(m[2].str()));
    }
    return out;
}

void expectOneTickSteps(const std::vector<int>& ticks, const std::string& history) {
    ASSERT_GE(ticks.size(), 2u) << history;
    for (size_t i = 1; i < ticks.size(); ++i) EXPECT_EQ(ticks[i], ticks[i - 1] - 1) << history;
}

TEST_F(Countdown, DefaultStartCountsDownFromFivePointFourInTenths) {
    watch(L"", 30);
    const auto lines = secondsLines(line.entries());
    ASSERT_FALSE(lines.empty()) << line.describe();
    EXPECT_EQ(lines.front().text, "Noch 5,4s bis Feierabend ") << line.describe();
    for (const auto& l : lines) {
        EXPECT_EQ(l.text, "Noch " + secondsText(l.line.ticks, ",") + "s bis Feierabend ");
    }
    expectSteadyTicks(lines, line.describe());

    // Nothing else ever stands in the line once the countdown runs.
    const auto all = line.entries();
    for (size_t i = 0; i < all.size(); ++i) {
        if (parseSecondsLine(all[i].text)) {
            EXPECT_EQ(all.size() - i, lines.size()) << line.describe();
            break;
        }
    }
}

TEST_F(Countdown, DefaultStartWritesSecondsIntoTaskbarTextAndCaption) {
    watch(L"", 40);
    const auto taskbarTexts = texts(taskbar);
    EXPECT_TRUE(contains(taskbarTexts, "5,4 Sekunden")) << taskbar.describe();
    const auto taskbarTicks = ticksIn(taskbarTexts, std::regex(R"(^(\d+),(\d) Sekunden$)"));
    expectOneTickSteps(taskbarTicks, taskbar.describe());
    EXPECT_LE(taskbarTicks.back(), 42) << taskbar.describe();

    const auto captions = texts(caption);
    EXPECT_TRUE(contains(captions, "Noch 5,4 Sekunden bis Feierabend ")) << caption.describe();
    const auto captionTicks = ticksIn(captions, std::regex(R"(^Noch (\d+),(\d) Sekunden bis Feierabend $)"));
    expectOneTickSteps(captionTicks, caption.describe());
    EXPECT_LE(captionTicks.back(), 42) << caption.describe();
}

TEST_F(Countdown, OwnerNameAppearsFirstWordInLineWholeInCaption) {
    reg::setString(HKEY_CURRENT_USER, reg::settingsKey, L"DisplayedOwner", "Büro Nord");
    watch(L"", 50);
    EXPECT_TRUE(contains(texts(line), "Noch 5,4s bis Feierabend Büro")) << line.describe();
    EXPECT_TRUE(contains(texts(caption), "Noch 5,4 Sekunden bis Feierabend Büro Nord")) << caption.describe();
    EXPECT_TRUE(contains(texts(taskbar), "5,4 Sekunden")) << taskbar.describe();
}

TEST_F(Countdown, OwnerNameFallsBackToTheMachineWhenTheUserHasNone) {
    reg::setString(HKEY_CURRENT_USER, reg::settingsKey, L"DisplayedOwner", "");
    reg::setString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion", L"DisplayedOwner",
                   "Zentrale Süd");
    watch(L"", 50);
    EXPECT_TRUE(contains(texts(line), "Noch 5,4s bis Feierabend Zentrale")) << line.describe();
    EXPECT_TRUE(contains(texts(caption), "Noch 5,4 Sekunden bis Feierabend Zentrale Süd")) << caption.describe();
}

TEST_F(Countdown, LongCountdownShowsMinutesUntilTwoMinutesAreLeft) {
    // 3600 seconds: the first tick leaves 35999 ticks, 59.998 minutes.
    watchUntil(L"3600", [](const std::string& text) { return text.rfind("Noch ", 0) == 0; });
    EXPECT_TRUE(contains(texts(line), "Noch 60,00 Minuten bis...")) << line.describe();
    EXPECT_TRUE(contains(texts(taskbar), "60,00 Minuten ")) << taskbar.describe();
    EXPECT_TRUE(contains(texts(caption), "Noch 60,00 Minuten  bis Feierabend ")) << caption.describe();
}

class SimulatedCountdown : public TovikTest {
protected:
    void SetUp() override {
        TovikTest::SetUp();
        openDevEnvironment();
    }
};

// The last tick turns the line into the power-off status at once: "Noch 0,0s"
// is written and replaced within the same tick.
TEST_F(SimulatedCountdown, EndAnnouncesThePowerOffDisablesTheActionsAndEndsThreeSecondsLater) {
    TextTimeline line;
    ASSERT_TRUE(start(L"", [&](const Window& created) { line.start(created.child(ids::stSeconds)); }));
    const std::string status = "und tschüss......";
    const std::string shown =
        waitForText(control(ids::stSeconds), [&](const std::string& t) { return t == status; }, 25s);
    const double ended = now();
    ASSERT_EQ(shown, status) << line.describe();

    waitUntil(
        [&] {
            for (const auto& b : actionButtons)
                if (control(b.id).enabled()) return false;
            return true;
        },
        1s);
    for (const auto& b : actionButtons) {
        SCOPED_TRACE(b.name);
        EXPECT_FALSE(control(b.id).enabled());
    }
    EXPECT_EQ(owner().text(), status) << "taskbar text";

    // Gauge1 turns into a red frame around the status line, Gauge2 is gone.
    const RECT gauge2 = {3, 2, 3 + 562, 2 + 59}, oops = {8, 8, 8 + 553, 8 + 49};
    const RECT gauge1 = {8, 232, 8 + 553, 232 + 49}, seconds = {24, 240, 24 + 521, 240 + 33};
    GaugeScan lower, upper;
    waitUntil(
        [&] {
            lower = scanGauge(main, gauge1, seconds);
            upper = scanGauge(main, gauge2, oops);
            return lower.red == lower.total && !upper.shown();
        },
        1s);
    EXPECT_EQ(lower.red, lower.total) << "Gauge1: " << lower.describe();
    EXPECT_GT(lower.total, 540) << "Gauge1: " << lower.describe();
    EXPECT_FALSE(upper.shown()) << "Gauge2: " << upper.describe();
    EXPECT_EQ(upper.bar, 0) << "Gauge2: " << upper.describe();

    // Simulation: the power-off is only announced.
    const MessageBoxView box = tovik.waitForMessageBox(2s);
    ASSERT_TRUE(box) << "no announcement";
    EXPECT_EQ(box.caption(), status);
    EXPECT_EQ(box.text(),
              "Jetzt würde die ExitWindowsEx Prozedur EWX_POWEROFF+EWX_FORCE ausgeführt und LastShutDown notiert!");
    EXPECT_EQ(box.buttonTexts(), std::vector<std::string>{"OK"});
    EXPECT_EQ(box.icon(), IconKind::None) << toString(box.icon());

    // Nobody answers: the watchdog closes the box and ends the program.
    ASSERT_TRUE(tovik.waitForExit(10s)) << "the program did not end after the countdown";
    line.stop();
    EXPECT_EQ(tovik.exitCode(), 0u);
    EXPECT_GT(tovik.exitTime() - ended, 2.5);
    EXPECT_LT(tovik.exitTime() - ended, 3.5);

    const auto lines = secondsLines(line.entries());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().text, "Noch 14,9s bis Feierabend ") << line.describe();
    EXPECT_EQ(lines.back().line.ticks, 1) << line.describe();
    expectSteadyTicks(lines, line.describe());
    // The end came with the next tick after the one that left 0,1 s (seen
    // a little later: the status shows once the tick's handler is through).
    EXPECT_GT(ended - lines.back().time, 0.05) << line.describe();
    EXPECT_LT(ended - lines.back().time, 0.35) << line.describe();

    EXPECT_EQ(counter(L"PwrOffCounter"), std::optional<DWORD>(1));
    EXPECT_FALSE(reg::get(HKEY_CURRENT_USER, reg::diagnosticKey, L"LastShutDown"))
        << "a simulated power-off noted a shutdown";
}

TEST_F(SimulatedCountdown, GaugesAreFullAtStartAndShrinkWithTheTicks) {
    ASSERT_TRUE(start());
    const RECT gauge2 = {3, 2, 3 + 562, 2 + 59}, oops = {8, 8, 8 + 553, 8 + 49};
    const RECT gauge1 = {8, 232, 8 + 553, 232 + 49}, seconds = {24, 240, 24 + 521, 240 + 33};

    // Samples the line, both gauges and the line again, so that the ticks
    // left while the pixels were read are known within one tick.
    struct Sample {
        int ticksBefore, ticksAfter;
        GaugeScan upper, lower;
    };
    auto sample = [&]() -> std::optional<Sample> {
        const auto before = parseSecondsLine(control(ids::stSeconds).text());
        Sample s{0, 0, scanGauge(main, gauge2, oops), scanGauge(main, gauge1, seconds)};
        const auto after = parseSecondsLine(control(ids::stSeconds).text());
        if (!before || !after) return std::nullopt;
        s.ticksBefore = before->ticks;
        s.ticksAfter = after->ticks;
        return s;
    };
    auto expectShare = [](const GaugeScan& scan, const Sample& s, const char* which) {
        SCOPED_TRACE(which);
        ASSERT_TRUE(scan.shown()) << scan.describe();
        // From the left: bar, then background.
        EXPECT_EQ(scan.bar + scan.background, scan.total) << scan.describe();
        const double low = (s.ticksAfter - 1) / 150.0, high = (s.ticksBefore + 1) / 150.0;
        EXPECT_GE(scan.barShare(), low - 0.01) << scan.describe();
        EXPECT_LE(scan.barShare(), high + 0.01) << scan.describe();
    };

    ASSERT_TRUE(waitForTicksAtMost(148, 5s));
    auto early = sample();
    ASSERT_TRUE(early);
    expectShare(early->upper, *early, "Gauge2 early");
    expectShare(early->lower, *early, "Gauge1 early");
    EXPECT_GT(early->upper.barShare(), 0.95);

    ASSERT_TRUE(waitForTicksAtMost(75, 12s));
    auto half = sample();
    ASSERT_TRUE(half);
    expectShare(half->upper, *half, "Gauge2 half way");
    expectShare(half->lower, *half, "Gauge1 half way");
}

}  // namespace
}  // namespace tovik::e2e
