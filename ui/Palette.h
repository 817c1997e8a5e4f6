#pragma once
#include <functional>
#include <utility>

#include "ui/Geometry.h"

namespace tovik::ui {

class Gauge;

// The colours a static text is painted with.
struct TextColors {
    Color back = clBtnFace;
    Color text = clWindowText;
};

// The colours a gauge is painted with. A hatched background is drawn as
// lines of the bar colour on the background colour.
struct GaugeColors {
    Color back = clBtnFace;
    Color bar = clBtnFace;
    bool hatchedBack = false;
};

// Which colours the window paints with. Normally the model's own colours,
// text in the window text colour. In high contrast the fixed colours give
// way to the system's pairs, which the user chose to be readable: the
// coloured lines become window text on the window colour, text on the
// button face the button text colour, the gauges' bars the highlight on
// the window colour; the red background of an acting gauge is hatched in
// the highlight, so it still differs from a plain one.
class Palette {
public:
    // `highContrastNow` asks the system whether high contrast is on; it is
    // asked once, and again after each renewal.
    explicit Palette(std::function<bool()> highContrastNow) : highContrastNow_(std::move(highContrastNow)) {}

    // The system's colours or settings changed: read them again.
    void renew() { known_ = false; }
    bool highContrast();

    TextColors text(Color back);
    GaugeColors gauge(const Gauge& gauge);

private:
    std::function<bool()> highContrastNow_;
    bool known_ = false;
    bool highContrast_ = false;
};

}  // namespace tovik::ui
