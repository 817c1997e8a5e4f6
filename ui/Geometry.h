#pragma once
#include <cstdint>
#include <string>

namespace tovik::ui {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// Fonts are given as pixel height; a negative height is the character height.
struct Font {
    std::string face = "MS Sans Serif";
    int height = -11;
    bool bold = false;
    bool fixedPitch = false;
    bool operator==(const Font&) const = default;
};

// Colours in the 0x00BBGGRR form; 0x80000000 + n refers to system colour n.
using Color = std::uint32_t;
constexpr Color clSkyBlue = 0xF0CAA6;
constexpr Color clBlue = 0xFF0000;
constexpr Color clRed = 0x0000FF;
constexpr Color clBtnFace = 0x8000000F;
constexpr Color clWindowText = 0x80000008;
constexpr Color clWindow = 0x80000005;
constexpr Color clHighlight = 0x8000000D;
constexpr Color clBtnText = 0x80000012;
constexpr Color clWindowFrame = 0x80000006;
constexpr Color clGrayText = 0x80000011;
constexpr Color clBtnHighlight = 0x80000014;
constexpr Color clInfoText = 0x80000017;
constexpr Color clInfoBk = 0x80000018;
constexpr Color clBlack = 0x000000;
constexpr bool IsSystemColor(Color color) { return (color & 0x80000000u) != 0; }

}  // namespace tovik::ui
