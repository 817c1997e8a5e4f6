// The tool tips of the window's controls: one tool tip window with a tool
// per control that has a hint, scaled to the window's DPI.
#pragma once
#include <windows.h>

#include "ui/Control.h"
#include "ui/Scaling.h"

namespace tovik::win32 {

class Tooltips {
public:
    Tooltips() = default;
    ~Tooltips();
    Tooltips(const Tooltips&) = delete;
    Tooltips& operator=(const Tooltips&) = delete;

    // Makes the tool tip window for the controls of `window`.
    void create(HINSTANCE instance, HWND window, int dpi);
    // The tool of a control's child window follows the control's hint: none
    // without a hint or with tool tips off for the control.
    void update(const ui::Control& control, HWND child);
    // Width and font for a new DPI.
    void setDpi(int dpi);
    // The tool tips' colours; `classic` draws them without the theme, which
    // would ignore the colours.
    void setColors(COLORREF back, COLORREF text, bool classic);
    // How long a tool tip stays.
    void setHidePause(int ms);

private:
    void scale();

    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    HFONT font_ = nullptr;
    int dpi_ = ui::designDpi;
};

}  // namespace tovik::win32
