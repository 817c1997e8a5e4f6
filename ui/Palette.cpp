#include "ui/Palette.h"

#include "ui/Control.h"

namespace tovik::ui {

bool Palette::highContrast() {
    if (!known_) {
        highContrast_ = highContrastNow_ && highContrastNow_();
        known_ = true;
    }
    return highContrast_;
}

TextColors Palette::text(Color back) {
    if (!highContrast()) return {back, clWindowText};
    if (back == clBtnFace) return {clBtnFace, clBtnText};
    return {clWindow, clWindowText};
}

GaugeColors Palette::gauge(const Gauge& gauge) {
    if (!highContrast()) return {gauge.backColor(), gauge.barColor(), false};
    const Color back = gauge.backColor() == clBtnFace ? clBtnFace : clWindow;
    return {back, clHighlight, gauge.backColor() == clRed};
}

}  // namespace tovik::ui
