// The minutes field's own behaviour beyond a plain edit: its keys (the
// typed-character filter, Up and Down, write-back on leaving) and its arrows.
#pragma once
#include <windows.h>

#include <memory>

#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/win32/SpinArrows.h"

namespace tovik::win32 {

class MinutesField {
public:
    // `field` is the edit child of `window` that shows `spin`.
    MinutesField(HINSTANCE instance, HWND window, HWND field, ui::SpinEdit& spin, ui::Application& app, int dpi,
                 GdiResources& resources);
    MinutesField(const MinutesField&) = delete;
    MinutesField& operator=(const MinutesField&) = delete;

    // The arrows inside the field's right edge, after the field has its
    // place and size for a DPI.
    void fitArrows(int dpi);
    const SpinArrows& arrows() const { return *arrows_; }

private:
    static LRESULT CALLBACK FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self);
    LRESULT fieldMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The arrows' place in the field's client area, and the text's margin.
    RECT arrowsPlace(int dpi) const;

    HWND window_;
    HWND field_;
    ui::SpinEdit& spin_;
    ui::Application& app_;
    std::unique_ptr<SpinArrows> arrows_;
};

}  // namespace tovik::win32
