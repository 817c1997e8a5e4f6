#pragma once
#include <span>

#include "ui/Geometry.h"

namespace tovik::ui {

// Layout positions, sizes, font heights and window heights are 96-DPI pixels
// everywhere in the program and in the registry. These functions turn them
// into device pixels for a window's DPI and back; only the Windows side of
// the toolkit calls them.
constexpr int designDpi = 96;

// A length at the given DPI, rounded to the nearest pixel, halves away from
// zero (as MulDiv rounds).
int ScaleToDpi(int value, int dpi);
// A device length back in 96-DPI pixels, rounded the same way. For every DPI
// of 96 and above, ScaleFromDpi(ScaleToDpi(v, dpi), dpi) == v.
int ScaleFromDpi(int pixels, int dpi);

// A control's place at the given DPI: each edge is scaled on its own, so
// controls that touch or line up at 96 DPI still do.
Rect ScaleRect(const Rect& place, int dpi);

// A font of the layout at the given DPI: the height scaled, the rest kept.
Font ScaleFont(const Font& font, int dpi);

// The line width of the gauges' frames: one pixel at 96 DPI, in proportion
// above (never thinner than one pixel).
int FrameWidth(int dpi);

// The outer window height (caption and frame included) in 96-DPI pixels and
// in device pixels. The client part scales with the DPI; caption and frame
// are what the system draws at each DPI. `frameAtDesign` and `frameAtDpi`
// are the height of caption and frame together at 96 DPI and at the window's
// DPI. Both directions use the same two figures, so a height converted to
// device pixels and back is the height it was.
struct WindowFrame {
    int atDesignDpi = 0;
    int atDpi = 0;
};
int OuterHeightToDevice(int height, int dpi, WindowFrame frame);
int OuterHeightFromDevice(int pixels, int dpi, WindowFrame frame);

// Button pictures exist in a few sizes (the design size 32 and larger ones);
// a window shows the largest that is no larger than 32 pixels at its DPI,
// so a picture is never stretched.
constexpr int designPictureSize = 32;
constexpr int pictureSizes[] = {32, 40, 48, 64};
int PictureSizeFor(int dpi, std::span<const int> available = pictureSizes);

}  // namespace tovik::ui
