#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"
#include "ui/Scaling.h"

using namespace tovik;
using tovik::test::ProgramHarness;

namespace {

constexpr int dpis[] = {96, 120, 144, 192};

// Caption and frame of the fixed window at each DPI, as a themed system
// draws them: not exactly in proportion to the DPI.
ui::WindowFrame frameAt(int dpi) {
    switch (dpi) {
        case 120: return {31, 37};
        case 144: return {31, 45};
        case 192: return {31, 58};
        default: return {31, 31};
    }
}

// The window on a screen of the given DPI, as the Windows side converts:
// it takes the model's height in device pixels, keeps a captioned window at
// least `minimum` device pixels high, and reports what it took.
class ScaledWindow : public ui::WindowPeer {
public:
    ScaledWindow(ui::TForm1& form, int dpi, int minimum) : form_(form), dpi_(dpi), minimum_(minimum) {}
    int device = 0;
    void captionChanged() override {}
    void heightChanged() override {
        device = std::max(ui::OuterHeightToDevice(form_.height(), dpi_, frameAt(dpi_)), minimum_);
        form_.noteHeight(ui::OuterHeightFromDevice(device, dpi_, frameAt(dpi_)));
    }
    void showWindow(ui::ShowCommand) override {}

private:
    ui::TForm1& form_;
    int dpi_;
    int minimum_;
};

}  // namespace

// ---------------------------------------------------------------- lengths and places

TEST(Scaling, LengthsScaleWithTheDpiAndRoundHalvesAwayFromZero) {
    EXPECT_EQ(ui::ScaleToDpi(569, 96), 569);
    EXPECT_EQ(ui::ScaleToDpi(569, 120), 711);   // 711.25
    EXPECT_EQ(ui::ScaleToDpi(569, 144), 854);   // 853.5
    EXPECT_EQ(ui::ScaleToDpi(569, 192), 1138);
    EXPECT_EQ(ui::ScaleToDpi(-11, 144), -17);   // -16.5
    EXPECT_EQ(ui::ScaleToDpi(1, 120), 1);       // 1.25
    EXPECT_EQ(ui::ScaleFromDpi(854, 144), 569);  // 569.33
    EXPECT_EQ(ui::ScaleFromDpi(-17, 144), -11);
    // A DPI the system did not report leaves lengths alone.
    EXPECT_EQ(ui::ScaleToDpi(569, 0), 569);
    EXPECT_EQ(ui::ScaleFromDpi(569, 0), 569);
}

TEST(Scaling, EveryControlLiesAtItsDesignPlaceTimesTheScaleAndNeighboursStayNeighbours) {
    ui::TForm1 form;
    for (const int dpi : dpis) {
        SCOPED_TRACE("DPI " + std::to_string(dpi));
        const double scale = dpi / 96.0;
        for (const ui::Control* control : form.controls()) {
            SCOPED_TRACE(control->name());
            const ui::Rect design = control->bounds();
            const ui::Rect r = ui::ScaleRect(design, dpi);
            EXPECT_LE(std::abs(r.left - design.left * scale), 0.5);
            EXPECT_LE(std::abs(r.top - design.top * scale), 0.5);
            EXPECT_LE(std::abs(r.left + r.width - (design.left + design.width) * scale), 0.5);
            EXPECT_LE(std::abs(r.top + r.height - (design.top + design.height) * scale), 0.5);
            if (dpi == 96) {
                EXPECT_EQ(r, design);
            }
        }
        // Controls that line up at 96 DPI (the right edge at 561 of btOops,
        // btLock, btTimerOff2 and Gauge1) line up at every DPI.
        std::vector<int> rightEdges;
        for (const ui::Control* control : form.controls()) {
            const ui::Rect r = ui::ScaleRect(control->bounds(), dpi);
            if (control->bounds().left + control->bounds().width == 561) rightEdges.push_back(r.left + r.width);
        }
        ASSERT_GE(rightEdges.size(), 4u);
        EXPECT_TRUE(std::all_of(rightEdges.begin(), rightEdges.end(), [&](int e) { return e == rightEdges[0]; }));
    }
}

TEST(Scaling, FontsGrowWithTheDpiAndGaugeFramesKeepTheirProportion) {
    const ui::Font verdana{"Verdana", -14, true, false};
    const int expected[] = {-14, -18, -21, -28};
    const int frames[] = {1, 1, 2, 2};
    for (size_t i = 0; i < std::size(dpis); ++i) {
        SCOPED_TRACE("DPI " + std::to_string(dpis[i]));
        const ui::Font scaled = ui::ScaleFont(verdana, dpis[i]);
        EXPECT_EQ(scaled.height, expected[i]);
        EXPECT_EQ(scaled.face, "Verdana");
        EXPECT_TRUE(scaled.bold);
        EXPECT_EQ(ui::FrameWidth(dpis[i]), frames[i]);
    }
    EXPECT_EQ(ui::ScaleFont({"MS Sans Serif", -11, false, false}, 120).height, -14);  // -13.75
}

TEST(Scaling, PicturesComeInTheLargestMadeSizeThatIsNotStretched) {
    EXPECT_EQ(ui::PictureSizeFor(96), 32);
    EXPECT_EQ(ui::PictureSizeFor(120), 40);
    EXPECT_EQ(ui::PictureSizeFor(144), 48);
    EXPECT_EQ(ui::PictureSizeFor(168), 48);   // 175 %: 56 wanted
    EXPECT_EQ(ui::PictureSizeFor(192), 64);
    EXPECT_EQ(ui::PictureSizeFor(288), 64);   // 300 %
    EXPECT_EQ(ui::PictureSizeFor(72), 32);    // below the design size: the smallest
}

// ---------------------------------------------------------------- window heights

TEST(Scaling, OuterHeightsScaleTheClientPartAndKeepTheSystemsFrame) {
    // 315 = 284 client + 31 frame at 96 DPI; at 144 DPI 426 client + 45 frame.
    EXPECT_EQ(ui::OuterHeightToDevice(315, 144, frameAt(144)), 471);
    EXPECT_EQ(ui::OuterHeightToDevice(430, 120, frameAt(120)), 536);  // 399 x 1.25 = 498.75
    EXPECT_EQ(ui::OuterHeightToDevice(320, 192, frameAt(192)), 636);
    EXPECT_EQ(ui::OuterHeightFromDevice(471, 144, frameAt(144)), 315);
    // At 96 DPI the conversion is no conversion, whatever the frame.
    for (const int h : {-5, 0, 1, 27, 315, 534, 2000})
        EXPECT_EQ(ui::OuterHeightToDevice(h, 96, {31, 31}), h);
}

TEST(Scaling, EveryHeightComesBackFromTheDeviceAsItWas) {
    for (const int dpi : dpis) {
        SCOPED_TRACE("DPI " + std::to_string(dpi));
        for (int h = -50; h <= 3000; ++h) {
            const int device = ui::OuterHeightToDevice(h, dpi, frameAt(dpi));
            ASSERT_EQ(ui::OuterHeightFromDevice(device, dpi, frameAt(dpi)), h) << "height " << h;
        }
    }
}

TEST(Scaling, DefaultHeightsAndTheHeightButtonsWorkInDesignPixelsAtEveryDpi) {
    for (const int dpi : dpis) {
        SCOPED_TRACE("DPI " + std::to_string(dpi));
        ProgramHarness h;
        ui::TForm1& f = h.create();
        ScaledWindow window(f, dpi, ui::ScaleToDpi(27, dpi));
        f.attachPeer(&window);
        h.start("300");
        EXPECT_EQ(f.height(), 315);
        EXPECT_EQ(window.device, ui::OuterHeightToDevice(315, dpi, frameAt(dpi)));

        // The statistics view: F+ three times, F- once with Shift (5), stored.
        h.loop.user([&] { f.onDblClick(); });
        for (int i = 0; i < 3; ++i) h.loop.user([&] { f.btFormPlus.click(); });
        EXPECT_EQ(f.btTimerOff1.caption(), "318");
        f.shiftDown = true;
        h.loop.user([&] { f.btFormMinus.click(); });
        EXPECT_EQ(f.btTimerOff1.caption(), "313");
        h.loop.user([&] { f.btFormHeight1Store.click(); });
        EXPECT_EQ(h.registry.dword(test::HKCU, test::tovikKey, "FormHeight1"), 313);
        EXPECT_EQ(window.device, ui::OuterHeightToDevice(313, dpi, frameAt(dpi)));

        // "Timer aus," takes the big default, 430 design pixels.
        f.shiftDown = false;
        h.loop.user([&] { f.btTimerOff1.click(); });
        EXPECT_EQ(f.height(), 430);
        h.loop.user([&] { f.btFormHeight2Store.click(); });
        EXPECT_EQ(h.registry.dword(test::HKCU, test::tovikKey, "FormHeight2"), 430);
        f.attachPeer(nullptr);
    }
}

TEST(Scaling, AStoredHeightBelowTheSystemsMinimumReadsBackAsTheMinimumInDesignPixels) {
    for (const int dpi : dpis) {
        SCOPED_TRACE("DPI " + std::to_string(dpi));
        ProgramHarness h;
        h.registry.plantDword(test::HKCU, test::tovikKey, "FormHeight1", 1);
        ui::TForm1& f = h.create();
        ScaledWindow window(f, dpi, ui::ScaleToDpi(27, dpi));
        f.attachPeer(&window);
        h.start("300");
        EXPECT_EQ(window.device, ui::ScaleToDpi(27, dpi));
        EXPECT_EQ(f.height(), ui::OuterHeightFromDevice(ui::ScaleToDpi(27, dpi), dpi, frameAt(dpi)));
        // The stored value itself stays as it was.
        EXPECT_EQ(h.registry.dword(test::HKCU, test::tovikKey, "FormHeight1"), 1);
        f.attachPeer(nullptr);
    }
}
