// What follows Windows' dark app mode beyond the palette's colours: the
// caption bar (through DWM) and the children that the theme would draw light.
#pragma once
#include <windows.h>

#include <vector>

#include "ui/win32/GdiResources.h"
#include "ui/win32/Tooltips.h"

namespace tovik::win32 {

// DWM's window attributes. The real one calls DwmSetWindowAttribute of
// dwmapi from the system folder, looked up at run time; tests put a double
// in its place.
class DwmWindowAttributes {
public:
    virtual ~DwmWindowAttributes() = default;
    // E_NOTIMPL where dwmapi or the function is missing.
    virtual HRESULT set(HWND window, DWORD attribute, const void* value, DWORD size);
};

// DWMWA_USE_IMMERSIVE_DARK_MODE, and the number Windows 10 knew it by
// before build 18985.
constexpr DWORD darkModeAttribute = 20;
constexpr DWORD darkModeAttributeBefore18985 = 19;

// The caption bar dark or light: the attribute of current systems, and
// where the system refuses it, the older number. False when neither is known.
bool ShowCaptionDark(DwmWindowAttributes& attributes, HWND window, bool dark);

// Makes the window's caption and its themed children follow the look: the
// caption dark, the check boxes and tool tips classic (the theme ignores
// their colours) with the palette's colours, and back again. Does nothing
// while the look stays light, so a light window is exactly as before; where
// the system refuses the dark caption, the palette stays light.
class DarkLook {
public:
    explicit DarkLook(DwmWindowAttributes* attributes) : attributes_(attributes ? *attributes : systemAttributes_) {}

    // Called once the children exist, and after each renewal of the palette.
    void follow(HWND window, const std::vector<HWND>& drawnClassicInDark, Tooltips& tooltips,
                GdiResources& resources);

private:
    DwmWindowAttributes systemAttributes_;
    DwmWindowAttributes& attributes_;
    bool dark_ = false;
    bool tipColorsSet_ = false;
};

}  // namespace tovik::win32
