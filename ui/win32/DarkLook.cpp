// The caption bar through DWM's dark-mode attribute, and the children drawn
// classic in the palette's colours while the look is dark.
#include "ui/win32/DarkLook.h"

#include "platform/win32/SystemLibrary.h"
#include "ui/win32/VisualStyle.h"

namespace tovik::win32 {

namespace {

using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
SystemProcedure<SetAttribute> dwmSetWindowAttribute{L"dwmapi.dll", "DwmSetWindowAttribute"};

}  // namespace

HRESULT DwmWindowAttributes::set(HWND window, DWORD attribute, const void* value, DWORD size) {
    const SetAttribute setAttribute = dwmSetWindowAttribute.get();
    return setAttribute ? setAttribute(window, attribute, value, size) : E_NOTIMPL;
}

bool ShowCaptionDark(DwmWindowAttributes& attributes, HWND window, bool dark) {
    const BOOL value = dark ? TRUE : FALSE;
    if (SUCCEEDED(attributes.set(window, darkModeAttribute, &value, sizeof value))) return true;
    return SUCCEEDED(attributes.set(window, darkModeAttributeBefore18985, &value, sizeof value));
}

void DarkLook::follow(HWND window, const std::vector<HWND>& drawnClassicInDark, Tooltips& tooltips,
                      GdiResources& resources) {
    ui::Palette& palette = resources.palette();
    const bool dark = palette.dark();
    if (dark != dark_) {
        if (ShowCaptionDark(attributes_, window, dark) || !dark) {
            dark_ = dark;
            for (HWND child : drawnClassicInDark) DrawWithoutTheme(child, dark);
        } else {
            // Windows 10 before the builds that know either attribute: the
            // window stays light under its light caption.
            palette.withoutDark();
        }
    }
    // Colours once given to the tool tips no longer follow the system by
    // themselves: from the first dark look on, every renewal sets them.
    if (dark_ || tipColorsSet_) {
        tooltips.setColors(resources.colorRef(ui::Role::TipBack), resources.colorRef(ui::Role::TipText), dark_);
        tipColorsSet_ = true;
    }
}

}  // namespace tovik::win32
