#include "ui/Palette.h"

#include <gtest/gtest.h>

#include "ui/MainWindow.h"

namespace tovik {
namespace {

// The colours stay the model's until the system reports a change; after a
// switch to high contrast and the renewal, the system's pairs are painted.
TEST(PaletteTest, RenewalAfterColourChangeSwitchesToTheSystemPairs) {
    bool highContrast = false;
    ui::Palette palette([&] { return highContrast; });
    ui::TForm1 form;
    form.Gauge1.setBackColor(ui::clRed);

    EXPECT_EQ(palette.text(ui::clSkyBlue).back, ui::clSkyBlue);
    EXPECT_EQ(palette.text(ui::clBtnFace).text, ui::clWindowText);
    const ui::GaugeColors plain = palette.gauge(form.Gauge2);
    EXPECT_EQ(plain.bar, ui::clBlue);
    EXPECT_EQ(plain.back, ui::clSkyBlue);
    EXPECT_FALSE(palette.gauge(form.Gauge1).hatchedBack);

    highContrast = true;
    EXPECT_EQ(palette.text(ui::clBlue).back, ui::clBlue);  // no change reported yet
    palette.renew();
    EXPECT_EQ(palette.text(ui::clBlue).back, ui::clWindow);
    EXPECT_EQ(palette.text(ui::clSkyBlue).text, ui::clWindowText);
    EXPECT_EQ(palette.text(ui::clBtnFace).back, ui::clBtnFace);
    EXPECT_EQ(palette.text(ui::clBtnFace).text, ui::clBtnText);
    const ui::GaugeColors contrast = palette.gauge(form.Gauge2);
    EXPECT_EQ(contrast.bar, ui::clHighlight);
    EXPECT_EQ(contrast.back, ui::clWindow);
    EXPECT_FALSE(contrast.hatchedBack);
    EXPECT_TRUE(palette.gauge(form.Gauge1).hatchedBack);
}

}  // namespace
}  // namespace tovik
