// The two arrows inside the right edge of a numeric field, stepping once
// per press and repeating while held.
#pragma once
#include <windows.h>

#include <functional>

#include "ui/win32/GdiResources.h"
#include "ui/win32/VisualStyle.h"

namespace tovik::win32 {

// The two arrows inside the right edge of a numeric field. A press on the
// upper or lower arrow steps once; held down, the step repeats after 400 ms
// and then every 100 ms until the mouse button is released.
class SpinArrows {
public:
    // Creates the arrows as a child of `field` at `place` (in the field's
    // client coordinates); `step` receives +1 or -1 for each step. The
    // colours come from the palette of `resources`.
    SpinArrows(HINSTANCE instance, HWND field, int id, RECT place, std::function<void(int)> step,
               GdiResources& resources);
    ~SpinArrows();
    SpinArrows(const SpinArrows&) = delete;
    SpinArrows& operator=(const SpinArrows&) = delete;

    HWND handle() const { return window_; }
    // The upper and the lower arrow as windows of their own, for screen
    // readers only: they neither paint nor take the mouse, the arrows'
    // window does both beneath them.
    HWND upperPart() const { return upper_; }
    HWND lowerPart() const { return lower_; }
    // Moves the arrows to `place` in the field's client coordinates (the
    // field has changed its size for another DPI).
    void moveTo(RECT place);

    static constexpr UINT firstRepeatMs = 400;
    static constexpr UINT repeatMs = 100;

private:
    template <typename Owner>
    friend LRESULT CALLBACK ObjectWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void press(int direction);
    void release();
    // Drawn with the theme's up-down arrows where the application is themed,
    // in the palette's dark faces in the dark look.
    void paint(HDC dc);
    void paintDark(HDC dc, const RECT& upper, const RECT& lower);
    void placeParts();
    // The arrow under the mouse (+1, -1, 0 none), drawn hot in the theme.
    void trackHot(int arrow);

    HWND window_ = nullptr;
    HWND field_ = nullptr;
    HWND upper_ = nullptr;
    HWND lower_ = nullptr;
    std::function<void(int)> step_;
    GdiResources& resources_;
    int pressed_ = 0;  // +1 upper arrow, -1 lower arrow, 0 none
    int hot_ = 0;
    ThemeHandle theme_{L"SPIN"};
};

}  // namespace tovik::win32
