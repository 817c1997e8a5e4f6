// The gauges: painting frame, background and bar, and repainting only the
// strip of a bar that changed by a pixel or more.
#include "ui/win32/Gauges.h"

#include <algorithm>

#include "ui/win32/Dpi.h"

namespace tovik::win32 {

void Gauges::attach(HWND window, int dpi) {
    window_ = window;
    dpi_ = dpi;
    for (ui::Control* control : form_.controls())
        if (dynamic_cast<ui::Gauge*>(control)) control->attachPeer(this);
}

RECT Gauges::inside(const ui::Gauge& gauge) const {
    RECT area = DevicePlace(gauge, dpi_);
    // The frame is as thick as one pixel is at 96 DPI.
    const int frame = ui::FrameWidth(dpi_);
    InflateRect(&area, -frame, -frame);
    return area;
}

void Gauges::paint(HDC dc) {
    for (ui::Gauge* gauge : {&form_.Gauge2, &form_.Gauge1}) {
        if (!gauge->visible()) continue;
        RECT area = DevicePlace(*gauge, dpi_);
        for (int line = ui::FrameWidth(dpi_); line > 0; --line) {
            FrameRect(dc, &area, resources_.brush(ui::Role::GaugeFrame));
            InflateRect(&area, -1, -1);
        }
        const ui::GaugeColors colors = resources_.palette().gauge(*gauge);
        FillRect(dc, &area, resources_.brush(colors.back));
        if (colors.hatchedBack) {
            SetBkColor(dc, ColorRefOf(colors.back));
            FillRect(dc, &area, resources_.hatchedBrush(colors.bar));
        }
        RECT bar = area;
        bar.right = bar.left + gauge->barWidth(area.right - area.left);
        drawnBar_[gauge] = bar.right - bar.left;
        if (bar.right > bar.left) FillRect(dc, &bar, resources_.brush(colors.bar));
    }
}

void Gauges::propertyChanged(ui::Control& control, ui::Property what) {
    auto* gauge = dynamic_cast<ui::Gauge*>(&control);
    if (!gauge) return;
    RECT area = DevicePlace(*gauge, dpi_);
    if (what == ui::Property::Value) {
        // A tick moves the bar by a fraction of a pixel mostly: only a
        // change that shows is repainted, and only the strip that changed.
        const RECT inner = inside(*gauge);
        const int drawn = drawnBar_[gauge];
        const int now = gauge->barWidth(inner.right - inner.left);
        if (now == drawn) return;
        area = inner;
        area.left = inner.left + std::min(drawn, now);
        area.right = inner.left + std::max(drawn, now);
        drawnBar_[gauge] = now;
        InvalidateRect(window_, &area, FALSE);
        return;
    }
    drawnBar_.erase(gauge);
    InvalidateRect(window_, &area, TRUE);
}

}  // namespace tovik::win32
