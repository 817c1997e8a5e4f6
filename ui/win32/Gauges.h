// The gauges, painted by the main window beneath its controls: their frame,
// background and bar, and the bar width each was last painted with.
#pragma once
#include <windows.h>

#include <map>

#include "ui/MainWindow.h"
#include "ui/win32/GdiResources.h"

namespace tovik::win32 {

class Gauges : public ui::ControlPeer {
public:
    Gauges(ui::TForm1& form, GdiResources& resources) : form_(form), resources_(resources) {}

    // Mirrors the form's gauges on `window` from now on.
    void attach(HWND window, int dpi);
    void setDpi(int dpi) { dpi_ = dpi; }
    // Paints every visible gauge (WM_PAINT).
    void paint(HDC dc);

    // ui::ControlPeer
    void propertyChanged(ui::Control& control, ui::Property what) override;
    void focusRequested(ui::Control&) override {}

private:
    // A gauge's area inside its frame, in device pixels.
    RECT inside(const ui::Gauge& gauge) const;

    ui::TForm1& form_;
    GdiResources& resources_;
    HWND window_ = nullptr;
    int dpi_ = ui::designDpi;
    // The bar width each gauge was last painted with.
    std::map<const ui::Gauge*, int> drawnBar_;
};

}  // namespace tovik::win32
