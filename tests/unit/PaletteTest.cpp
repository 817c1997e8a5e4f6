#include "ui/Palette.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "tests/support/MemoryRegistry.h"
#include "ui/AppMode.h"
#include "ui/MainWindow.h"

namespace tovik {
namespace {

using ui::Role;

// Windows' "High Contrast Black" scheme, for the system colours the palette
// hands out in high contrast.
const std::map<ui::Color, ui::Color> highContrastBlack{
    {ui::clBtnFace, 0x000000},   {ui::clBtnText, 0xFFFFFF},     {ui::clWindow, 0x000000},
    {ui::clWindowText, 0xFFFFFF}, {ui::clHighlight, 0xFFEB1A},  {ui::clGrayText, 0x00FF00},
    {ui::clWindowFrame, 0xFFFFFF}, {ui::clInfoBk, 0x000000},    {ui::clInfoText, 0xFFFFFF}};

// The WCAG contrast ratio of two colours (0x00BBGGRR), 1 to 21.
double contrast(ui::Color a, ui::Color b) {
    const auto luminance = [](ui::Color color) {
        const auto channel = [&](int shift) {
            const double c = ((color >> shift) & 0xFF) / 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(0) + 0.7152 * channel(8) + 0.0722 * channel(16);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every pair the window paints, running, paused and acting (text on its
// background, or a gauge's bar on its background), and with disabled buttons.
struct Pair {
    std::string what;
    ui::Color front, back;
    bool bar = false;
};
std::vector<Pair> pairsOf(ui::Palette& palette) {
    ui::TForm1 form;
    std::vector<Pair> pairs;
    for (const std::string state : {"running", "paused", "acting"}) {
        if (state == "paused") form.stSeconds.setColor(ui::clBlue);
        if (state == "acting") form.Gauge1.setBackColor(ui::clRed);
        if (state == "acting") form.Gauge2.setBackColor(ui::clBtnFace);
        const ui::TextColors line = palette.text(form.stSeconds.color());
        pairs.push_back({state + " line", line.text, line.back});
        for (ui::Gauge* gauge : {&form.Gauge1, &form.Gauge2})
            pairs.push_back({state + " " + gauge->name(), palette.gauge(*gauge).bar, palette.gauge(*gauge).back, true});
    }
    pairs.push_back({"labels", palette.text(ui::clBtnFace).text, palette.text(ui::clBtnFace).back});
    for (Role face : {Role::ButtonFace, Role::ButtonHotFace, Role::ButtonPressedFace, Role::Face})
        pairs.push_back({"button", palette.color(Role::ButtonText), palette.color(face)});
    // Disabled buttons, flat ones and the disabled check box.
    for (Role face : {Role::ButtonFace, Role::Face})
        pairs.push_back({"disabled", palette.color(Role::ButtonDisabledText), palette.color(face)});
    pairs.push_back({"fields", palette.color(Role::FieldText), palette.color(Role::FieldBack)});
    pairs.push_back({"tool tips", palette.color(Role::TipText), palette.color(Role::TipBack)});
    return pairs;
}

void expectReadable(ui::Palette& palette, const std::map<ui::Color, ui::Color>& scheme, const char* look) {
    const auto resolved = [&](ui::Color color) {
        if (!ui::IsSystemColor(color)) return color;
        EXPECT_TRUE(scheme.count(color)) << look << ": system colour " << std::hex << color;
        return scheme.count(color) ? scheme.at(color) : color;
    };
    for (const Pair& pair : pairsOf(palette)) {
        const double ratio = contrast(resolved(pair.front), resolved(pair.back));
        EXPECT_GE(ratio, pair.bar ? 3.0 : 4.5) << look << ", " << pair.what << std::hex << ": " << pair.front
                                               << " on " << pair.back;
    }
}

// Dark and high contrast keep every text readable (4.5:1) and every gauge's
// bar apart from its background (3:1) in each state; light paints exactly
// the model's and the system's colours; the look is read again only after
// the system reports a change, and high contrast wins over the dark mode.
TEST(PaletteTest, DarkAndHighContrastAreReadableInEveryStateAndLightIsUnchanged) {
    bool highContrast = false;
    bool darkMode = false;
    ui::Palette palette([&] { return highContrast; }, [&] { return darkMode; });
    ui::TForm1 form;
    form.Gauge1.setBackColor(ui::clRed);

    for (ui::Color back : {ui::clSkyBlue, ui::clBlue, ui::clBtnFace})
        EXPECT_TRUE(palette.text(back).back == back && palette.text(back).text == ui::clWindowText) << back;
    for (ui::Gauge* gauge : {&form.Gauge1, &form.Gauge2}) {
        const ui::GaugeColors colors = palette.gauge(*gauge);
        EXPECT_TRUE(colors.back == gauge->backColor() && colors.bar == gauge->barColor() && !colors.hatchedBack);
    }
    const std::map<Role, ui::Color> today{
        {Role::Face, ui::clBtnFace}, {Role::GaugeFrame, ui::clWindowFrame},
        {Role::ButtonFace, ui::clBtnFace}, {Role::ButtonHotFace, ui::clBtnFace}, {Role::ButtonPressedFace, ui::clBtnFace},
        {Role::ButtonBorder, ui::clBlack}, {Role::ButtonText, ui::clBtnText}, {Role::ButtonDisabledText, ui::clGrayText},
        {Role::ButtonEmboss, ui::clBtnHighlight}, {Role::FieldBack, ui::clWindow}, {Role::FieldText, ui::clWindowText},
        {Role::TipBack, ui::clInfoBk}, {Role::TipText, ui::clInfoText}};
    for (const auto& [role, color] : today) EXPECT_EQ(palette.color(role), color) << static_cast<int>(role);

    darkMode = true;
    EXPECT_EQ(palette.look(), ui::Look::Light);  // no change reported yet
    palette.renew();
    EXPECT_EQ(palette.look(), ui::Look::Dark);
    expectReadable(palette, {}, "dark");
    // The coloured parts keep their meaning: the paused line differs from the
    // running one, an acting gauge stays red (red is its strongest channel).
    EXPECT_NE(palette.text(ui::clSkyBlue).back, palette.text(ui::clBlue).back);
    EXPECT_GT(palette.gauge(form.Gauge1).back & 0xFF, (palette.gauge(form.Gauge1).back >> 16) & 0xFF);
    EXPECT_GT(palette.gauge(form.Gauge2).bar >> 16, palette.gauge(form.Gauge2).bar & 0xFF);

    highContrast = true;
    palette.renew();
    EXPECT_EQ(palette.look(), ui::Look::HighContrast);
    expectReadable(palette, highContrastBlack, "high contrast");
    EXPECT_EQ(palette.text(ui::clBlue).back, ui::clWindow);
    EXPECT_EQ(palette.text(ui::clBtnFace).text, ui::clBtnText);
    const ui::GaugeColors contrasting = palette.gauge(form.Gauge2);
    EXPECT_EQ(contrasting.bar, ui::clHighlight);
    EXPECT_EQ(contrasting.back, ui::clWindow);
    EXPECT_FALSE(contrasting.hatchedBack);
    EXPECT_TRUE(palette.gauge(form.Gauge1).hatchedBack);
}

// The app mode is dark only for a DWORD 0 under Personalize: no key, no
// value, 1 and data of another type are light.
TEST(PaletteTest, AppModeIsDarkOnlyForAStoredZero) {
    const auto hkcu = platform::RegistryHive::CurrentUser;
    test::MemoryRegistry registry;
    EXPECT_FALSE(ui::DarkAppMode(registry));
    registry.plantKey(hkcu, ui::appModeKey);
    EXPECT_FALSE(ui::DarkAppMode(registry));
    for (const std::int32_t stored : {0, 1}) {
        registry.plantDword(hkcu, ui::appModeKey, ui::appModeValue, stored);
        EXPECT_EQ(ui::DarkAppMode(registry), stored == 0);
    }
    registry.plantText(hkcu, ui::appModeKey, ui::appModeValue, "0");
    EXPECT_FALSE(ui::DarkAppMode(registry));
}

}  // namespace
}  // namespace tovik
