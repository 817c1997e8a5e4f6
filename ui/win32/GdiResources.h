// The fonts and brushes the window draws with, made once for the window's
// DPI and kept until the DPI changes or the window goes.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "ui/Geometry.h"
#include "ui/Scaling.h"

namespace tovik::win32 {

// The colour a model colour stands for; a system colour is read now.
COLORREF ColorRefOf(ui::Color color);

class GdiResources {
public:
    GdiResources() = default;
    ~GdiResources();
    GdiResources(const GdiResources&) = delete;
    GdiResources& operator=(const GdiResources&) = delete;

    // A new DPI: fonts are made afresh for it. The old ones stay until
    // releaseRetiredFonts, as controls use them until they have the new ones.
    void setDpi(int dpi);
    void releaseRetiredFonts();

    // The font of the design at the window's DPI.
    HFONT font(const ui::Font& design);
    HBRUSH brush(ui::Color color);

private:
    int dpi_ = ui::designDpi;
    std::map<std::string, HFONT> fonts_;
    std::vector<HFONT> retiredFonts_;
    std::map<ui::Color, HBRUSH> brushes_;
};

}  // namespace tovik::win32
