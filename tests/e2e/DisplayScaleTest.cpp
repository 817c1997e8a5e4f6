// At 150 % display scaling (144 DPI): the window and every control at one and
// a half times their design places, larger fonts and pictures, heights still
// shown and stored in 96-DPI pixels; and the countdown on the taskbar button
// that Wine has only in part.
#include "tests/e2e/TovikTest.h"

#include <cmath>

namespace tovik::e2e {
namespace {

constexpr int designWidth = 569;
constexpr double scale = 1.5;

// Caption and frame of Tovik's window in height at a DPI, as the system
// computes them for its style.
int frameHeight(const Window& main, UINT dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = reinterpret_cast<AdjustFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT r{0, 0, 0, 0};
    if (!adjust || !adjust(&r, DWORD(main.style()), FALSE, DWORD(main.exStyle()), dpi)) return -1;
    return r.bottom - r.top;
}

bool dark(COLORREF c) { return GetRValue(c) < 96 && GetGValue(c) < 96 && GetBValue(c) < 96; }
bool red(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110; }

// Rows of a button's inside (its frame left out) that hold text pixels.
int textHeight(const Window& button, int frame) {
    const RECT r = button.rectInParent();
    const int width = r.right - r.left, height = r.bottom - r.top;
    const auto pixels = captureClient(button, RECT{frame, frame, width - frame, height - frame});
    const int inner = width - 2 * frame;
    int first = -1, last = -1;
    for (int y = 0; y < height - 2 * frame; ++y)
        for (int x = 0; x < inner; ++x)
            if (dark(pixels[size_t(y * inner + x)])) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

// Columns of a button that hold the red of the power picture.
int redWidth(const Window& button) {
    const RECT r = button.rectInParent();
    const int width = r.right - r.left, height = r.bottom - r.top;
    const auto pixels = captureClient(button, RECT{0, 0, width, height});
    int first = -1, last = -1;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (red(pixels[size_t(y * width + x)])) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

class AtOneAndAHalfTimes : public TovikTest {
protected:
    void SetUp() override {
        TovikTest::SetUp();
        scale_.emplace(144);
    }
    void TearDown() override {
        TovikTest::TearDown();
        scale_.reset();
    }
    // Waits until the window is on the screen with its controls drawn: the
    // background in the face colour, the button's face light (the classic
    // face colour, or the theme's lighter face where a visual style is on).
    void waitUntilDrawn() {
        const Window lock = control(ids::btLock);
        const auto light = [](COLORREF c) { return GetRValue(c) >= 0xC0 && GetGValue(c) >= 0xC0 && GetBValue(c) >= 0xC0; };
        ASSERT_TRUE(waitUntil(
            [&] {
                const RECT r = lock.rectInParent();
                return light(screenPixel(main, r.left + 3, r.top + 3)) &&
                       screenPixel(main, 2, 2) == GetSysColor(COLOR_BTNFACE);
            },
            5s));
    }
    // A design length at 144 DPI, as exactly as the device can have it.
    static double scaled(int length) { return length * scale; }

    std::optional<DisplayScale> scale_;
};

TEST_F(AtOneAndAHalfTimes, ClientAreaAndEveryControlLieAtOneAndAHalfTimesTheirDesignPlaces) {
    ASSERT_TRUE(start(L"300"));
    const int frame96 = frameHeight(main, 96);
    ASSERT_GT(frame96, 0) << "the system has no frames for a DPI";
    ASSERT_GT(frameHeight(main, 144), frame96) << "the caption does not grow at 144 DPI";

    RECT client{};
    GetClientRect(main.handle(), &client);
    EXPECT_NEAR(client.right, scaled(designWidth), 1.0);
    // The compact window: 315 design pixels high, caption and frame included.
    EXPECT_NEAR(client.bottom, scaled(315 - frame96), 1.0);
    EXPECT_EQ(main.outerHeight() - client.bottom, frameHeight(main, 144));

    for (const auto& c : designedControls) {
        SCOPED_TRACE(c.name);
        const Window w = control(c.id);
        ASSERT_TRUE(w);
        const RECT r = coveredArea(main, c.id);
        EXPECT_NEAR(r.left, scaled(c.place.left), 1.0);
        EXPECT_NEAR(r.top, scaled(c.place.top), 1.0);
        EXPECT_NEAR(r.right, scaled(c.place.right), 1.0);
        EXPECT_NEAR(r.bottom, scaled(c.place.bottom), 1.0);
    }

    // The lower gauge's frame is two pixels wide now (one at 96 DPI); the
    // full bar starts right after it. The row lies between the gauge's top
    // (232) and the blue line's (240).
    waitUntilDrawn();
    const int row = int(scaled(236));
    EXPECT_TRUE(waitUntil([&] { return screenPixel(main, 14, row) == gaugeBar; }, 2s)) << "the gauge is not drawn";
    const COLORREF face = screenPixel(main, 11, row), outer = screenPixel(main, 12, row),
                   inner = screenPixel(main, 13, row), bar = screenPixel(main, 14, row);
    EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE)) << std::hex << face;
    EXPECT_EQ(outer, inner) << std::hex << outer << " " << inner;
    EXPECT_NE(outer, face) << std::hex << outer;
    EXPECT_NE(outer, gaugeBar) << std::hex << outer;
    EXPECT_EQ(bar, gaugeBar) << std::hex << bar;
}

TEST_F(AtOneAndAHalfTimes, TextsAndPicturesAreDrawnLarger) {
    // The same window at 100 % first.
    scale_.reset();
    // Both drawn: a few rows of text and the picture's red.
    int text = 0, picture = 0;
    const auto measureWhenDrawn = [&](int frame) {
        waitUntilDrawn();
        return waitUntil(
            [&] {
                text = textHeight(control(ids::btLock), frame);
                picture = redWidth(control(ids::btPwrOff));
                return text > 4 && picture > 16;
            },
            2s);
    };
    ASSERT_TRUE(start(L"300"));
    ASSERT_TRUE(measureWhenDrawn(4)) << text << " rows of text, " << picture << " columns of red";
    const int text96 = text, picture96 = picture;
    tovik.reset();

    scale_.emplace(144);
    ASSERT_TRUE(start(L"300"));
    ASSERT_TRUE(measureWhenDrawn(6)) << text << " rows of text, " << picture << " columns of red";
    const int text144 = text, picture144 = picture;
    EXPECT_NEAR(double(text144) / text96, scale, 0.25) << text96 << " -> " << text144 << " rows of text";
    // The 48-pixel picture, not the 32-pixel one beside a larger text.
    EXPECT_NEAR(double(picture144) / picture96, scale, 0.1) << picture96 << " -> " << picture144 << " columns";
}

TEST_F(AtOneAndAHalfTimes, HeightsAreShownAndStoredInDesignPixels) {
    ASSERT_TRUE(start(L"300"));
    const int frame96 = frameHeight(main, 96);
    ASSERT_GT(frame96, 0);
    // A double-click on the window's background beside the blue line.
    doubleClickAt(main, int(scaled(14)), int(scaled(260)));
    ASSERT_EQ(waitForText(main, [](const std::string& t) { return t.rfind("Tovik - Statistics - ", 0) == 0; }, 3s)
                  .rfind("Tovik - Statistics - ", 0),
              0u)
        << main.text();

    click(control(ids::btFormHeight1Store));
    MessageBoxView box = tovik.waitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text(), "Wert FormHeight1 = 315 für kleines Formular gespeichert.");
    box.answer(IDOK);
    ASSERT_TRUE(waitUntil([&] { return !findMessageBox(tovik.id()); }, 3s));
    EXPECT_EQ(reg::getDword(HKEY_CURRENT_USER, reg::settingsKey, L"FormHeight1"), std::optional<DWORD>(315));
    EXPECT_EQ(control(ids::btTimerOff1).text(), "315");

    // One design pixel more is one and a half device pixels more.
    click(control(ids::btFormPlus));
    EXPECT_EQ(waitForText(control(ids::btTimerOff1), [](const std::string& t) { return t == "316"; }, 2s), "316");
    RECT client{};
    GetClientRect(main.handle(), &client);
    EXPECT_NEAR(client.bottom, scaled(316 - frame96), 1.0);
}

// Wine's shell never announces a taskbar button; the driver does it as the
// shell would, so that Tovik asks the system for the taskbar interface.
class TaskbarButtonAtOneAndAHalfTimes : public AtOneAndAHalfTimes {
protected:
    // A twenty-second countdown that goes on, pauses and resumes as always.
    void expectANormalCountdown() {
        TextTimeline line;
        line.start(control(ids::stSeconds));
        announceTaskbarButton(main);
        ASSERT_TRUE(waitForTicksAtMost(185, 5s)) << line.describe();
        // The shell restarts and announces the button again.
        announceTaskbarButton(main);
        ASSERT_TRUE(waitForTicksAtMost(175, 3s)) << line.describe();

        click(control(ids::btOops));
        EXPECT_EQ(waitForText(control(ids::btOops), [](const std::string& t) { return t == "Oder vielleicht doch?"; },
                              2s),
                  "Oder vielleicht doch?");
        const std::string paused = control(ids::stSeconds).text();
        sleepFor(500ms);
        EXPECT_EQ(control(ids::stSeconds).text(), paused) << "ticks went on while paused";
        click(control(ids::btOops));
        const auto stopped = parseSecondsLine(paused);
        ASSERT_TRUE(stopped) << paused;
        EXPECT_TRUE(waitForTicksAtMost(stopped->ticks - 5, 3s)) << line.describe();
        EXPECT_TRUE(tovik.running());
        EXPECT_FALSE(findMessageBox(tovik.id())) << findMessageBox(tovik.id()).text();
    }
};

TEST_F(TaskbarButtonAtOneAndAHalfTimes, CountsDownNormallyWhereTheTaskbarInterfaceIsMissing) {
    MissingDll noTaskbarList(L"explorerframe");
    ASSERT_TRUE(start(L"20"));
    expectANormalCountdown();
}

TEST_F(TaskbarButtonAtOneAndAHalfTimes, CountsDownNormallyWithWinesTaskbarInterface) {
    ASSERT_TRUE(start(L"20"));
    expectANormalCountdown();
}

}  // namespace
}  // namespace tovik::e2e
