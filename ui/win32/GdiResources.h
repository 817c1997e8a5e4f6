// The fonts and brushes the window draws with (fonts for the window's DPI,
// brushes until the colours change), and the palette that picks the colours.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "ui/Geometry.h"
#include "ui/Palette.h"
#include "ui/Scaling.h"

namespace tovik::win32 {

// The colour a palette colour stands for; a system colour is read now. The
// one place that turns the palette's system colours into pixels.
COLORREF ColorRefOf(ui::Color color);

class GdiResources {
public:
    GdiResources();
    ~GdiResources();
    GdiResources(const GdiResources&) = delete;
    GdiResources& operator=(const GdiResources&) = delete;

    // A new DPI: fonts are made afresh for it. The old ones stay until
    // releaseRetiredFonts, as controls use them until they have the new ones.
    void setDpi(int dpi);
    void releaseRetiredFonts();

    // The font of the design at the window's DPI.
    HFONT font(const ui::Font& design);
    // A brush of the colour: the system's own for a system colour, else one
    // made once and kept until the colours change.
    HBRUSH brush(ui::Color color);
    // Lines of the colour, for a hatched background.
    HBRUSH hatchedBrush(ui::Color color);
    // The brush and the colour of a role in the current look.
    HBRUSH brush(ui::Role role) { return brush(palette_.color(role)); }
    COLORREF colorRef(ui::Role role) { return ColorRefOf(palette_.color(role)); }

    // The system's colours or settings changed (high contrast or the app
    // mode may have come or gone): brushes are made afresh and the palette
    // reads them again.
    void renewColors();
    ui::Palette& palette() { return palette_; }

private:
    int dpi_ = ui::designDpi;
    std::map<std::string, HFONT> fonts_;
    std::vector<HFONT> retiredFonts_;
    std::map<ui::Color, HBRUSH> brushes_;
    std::map<ui::Color, HBRUSH> hatchedBrushes_;
    ui::Palette palette_;
};

}  // namespace tovik::win32
