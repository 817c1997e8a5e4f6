// The theme (visual style) the owner-drawn parts are drawn with, and whether
// high contrast or the dark app mode is on; read again after the system says
// they changed.
#pragma once
#include <windows.h>
#include <uxtheme.h>

namespace tovik::win32 {

// Whether the user has switched high contrast on (SPI_GETHIGHCONTRAST).
bool HighContrastOn();
// Whether Windows' app mode is dark, read from the current user's registry.
bool DarkAppModeOn();

// Draws a window without the visual style from now on (`without`), or with
// the application's again. Themed check boxes and tool tips ignore the
// colours their parent gives them; the classic ones paint them.
void DrawWithoutTheme(HWND window, bool without);

// The system's look changed (WM_THEMECHANGED, WM_SYSCOLORCHANGE,
// WM_SETTINGCHANGE): every ThemeHandle closes its theme data and opens it
// again at its next use, and whether to draw themed is asked again.
void RenewVisualStyle();

// The theme data of one window class ("BUTTON", "SPIN") for drawing a
// window at a DPI. Null when the parts are drawn the classic way: the
// application is not themed, high contrast is on, or uxtheme is missing
// (it is loaded at run time, from the system folder only).
class ThemeHandle {
public:
    explicit ThemeHandle(const wchar_t* classList) : classList_(classList) {}
    ~ThemeHandle() { close(); }
    ThemeHandle(const ThemeHandle&) = delete;
    ThemeHandle& operator=(const ThemeHandle&) = delete;

    // Opened at the first use, and again after a renewal or at another DPI
    // (OpenThemeDataForDpi where the system has it).
    HTHEME get(HWND window, int dpi);

    // Draws a part in a state: the parent's background first where the
    // part is partly transparent, then the part.
    static void drawPart(HTHEME theme, HWND window, HDC dc, int part, int state, const RECT& area);

private:
    void close();

    const wchar_t* classList_;
    HTHEME theme_ = nullptr;
    int dpi_ = 0;
    unsigned generation_ = 0;
};

}  // namespace tovik::win32
