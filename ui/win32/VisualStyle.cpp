// The theme (visual style) the owner-drawn parts are drawn with, and whether
// high contrast or the dark app mode is on; read again after changes.
#include "ui/win32/VisualStyle.h"

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Registry.h"
#include "ui/AppMode.h"

namespace tovik::win32 {

namespace {

// Raised by each renewal; a handle opened in an older one is stale. Starts
// at 1, so a handle never opened (0) is stale too.
unsigned lookGeneration = 1;
// Whether the parts are drawn themed, as read in the current generation.
unsigned themedKnownIn = 0;
bool themed = false;

SystemProcedure<decltype(&OpenThemeData)> openThemeData{L"uxtheme.dll", "OpenThemeData"};
SystemProcedure<decltype(&OpenThemeDataForDpi)> openThemeDataForDpi{L"uxtheme.dll", "OpenThemeDataForDpi"};
SystemProcedure<decltype(&CloseThemeData)> closeThemeData{L"uxtheme.dll", "CloseThemeData"};
SystemProcedure<decltype(&IsAppThemed)> isAppThemed{L"uxtheme.dll", "IsAppThemed"};
SystemProcedure<decltype(&IsThemeActive)> isThemeActive{L"uxtheme.dll", "IsThemeActive"};
SystemProcedure<decltype(&DrawThemeBackground)> drawThemeBackground{L"uxtheme.dll", "DrawThemeBackground"};
SystemProcedure<decltype(&IsThemeBackgroundPartiallyTransparent)> isPartiallyTransparent{
    L"uxtheme.dll", "IsThemeBackgroundPartiallyTransparent"};
SystemProcedure<decltype(&SetWindowTheme)> setWindowTheme{L"uxtheme.dll", "SetWindowTheme"};
SystemProcedure<decltype(&DrawThemeParentBackground)> drawThemeParentBackground{L"uxtheme.dll",
                                                                                  "DrawThemeParentBackground"};

bool drawnThemed() {
    if (themedKnownIn != lookGeneration) {
        const auto appThemed = isAppThemed.get();
        const auto active = isThemeActive.get();
        themed = appThemed && active && drawThemeBackground.get() && appThemed() && active() && !HighContrastOn();
        themedKnownIn = lookGeneration;
    }
    return themed;
}

}  // namespace

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool DarkAppModeOn() {
    Win32Registry registry;
    return ui::DarkAppMode(registry);
}

void RenewVisualStyle() { ++lookGeneration; }

void DrawWithoutTheme(HWND window, bool without) {
    // Empty names match no theme class: the window is drawn classic. Null
    // names give it the application's theme back.
    if (const auto setTheme = setWindowTheme.get())
        setTheme(window, without ? L"" : nullptr, without ? L"" : nullptr);
}

HTHEME ThemeHandle::get(HWND window, int dpi) {
    if (generation_ == lookGeneration && dpi_ == dpi) return theme_;
    close();
    generation_ = lookGeneration;
    dpi_ = dpi;
    if (!drawnThemed()) return nullptr;
    if (const auto forDpi = openThemeDataForDpi.get())
        theme_ = forDpi(window, classList_, static_cast<UINT>(dpi));
    else if (const auto open = openThemeData.get())
        theme_ = open(window, classList_);
    return theme_;
}

void ThemeHandle::close() {
    if (theme_)
        if (const auto closeTheme = closeThemeData.get()) closeTheme(theme_);
    theme_ = nullptr;
}

void ThemeHandle::drawPart(HTHEME theme, HWND window, HDC dc, int part, int state, const RECT& area) {
    const auto transparent = isPartiallyTransparent.get();
    const auto parentBackground = drawThemeParentBackground.get();
    RECT parentArea = area;
    if (transparent && parentBackground && transparent(theme, part, state)) parentBackground(window, dc, &parentArea);
    drawThemeBackground.get()(theme, dc, part, state, &area, nullptr);
}

}  // namespace tovik::win32
