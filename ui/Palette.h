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

// The three looks the window can have. High contrast wins over the dark
// app mode: its colours are the user's own choice of readable pairs.
enum class Look { Light, Dark, HighContrast };

// What the window paints, by the part it paints. The Windows layer asks for
// a role and paints the colour it gets; it reads no system colour itself.
enum class Role {
    Face,                // the window's background (labels and check boxes: text())
    GaugeFrame,          // the line around each gauge
    ButtonFace,          // owner-drawn buttons and the spin arrows
    ButtonHotFace,       // ... with the mouse over them
    ButtonPressedFace,   // ... held down
    ButtonBorder,        // their frame where the theme does not draw it
    ButtonText,          // their text and arrows
    ButtonDisabledText,  // ... while disabled
    ButtonEmboss,        // the light shadow of classic disabled text
    FieldBack,           // the minutes field, the combo box and its list
    FieldText,
    TipBack,  // tool tips
    TipText,
};

// The face of a button in its state. A flat button lies on the window until
// the mouse comes; a disabled one shows no hot or pressed face (its grey text
// reads on the plain face only). In the light look every face is the
// system's button face.
Role ButtonFaceFor(bool flat, bool hot, bool pressed, bool disabled);

// Which colours the window paints with.
//
// Light: the system's colours and the model's own coloured parts, text in
// the window text colour, exactly as the window has always looked.
//
// Dark (Windows' app mode is dark): dark faces with light text; the
// coloured parts keep their meaning in shades that light text reads on: the countdown line deep sky blue while running and a stronger blue
// while paused, the gauges a bright blue bar on deep sky blue or dark red.
//
// High contrast: the fixed colours give way to the system's pairs, which the
// user chose to be readable: the coloured lines become window text on the
// window colour, text on the button face the button text colour, the
// gauges' bars the highlight on the window colour; the red background of an
// acting gauge is hatched in the highlight, so it still differs from a
// plain one.
class Palette {
public:
    // `highContrastNow` asks the system whether high contrast is on,
    // `darkAppModeNow` whether its app mode is dark; both are asked once,
    // and again after each renewal.
    explicit Palette(std::function<bool()> highContrastNow, std::function<bool()> darkAppModeNow = nullptr)
        : highContrastNow_(std::move(highContrastNow)), darkAppModeNow_(std::move(darkAppModeNow)) {}

    // The system's colours or settings changed: read them again.
    void renew() { known_ = false; }
    // Windows cannot draw the caption dark: the dark app mode reads as light
    // from now on, so that no dark window sits under a light caption.
    void withoutDark() {
        darkRefused_ = true;
        known_ = false;
    }
    Look look();
    bool highContrast() { return look() == Look::HighContrast; }
    bool dark() { return look() == Look::Dark; }

    Color color(Role role);
    TextColors text(Color back);
    GaugeColors gauge(const Gauge& gauge);

private:
    std::function<bool()> highContrastNow_;
    std::function<bool()> darkAppModeNow_;
    bool known_ = false;
    bool darkRefused_ = false;
    Look look_ = Look::Light;
};

// The dark shades of the model's coloured parts, and the light text on them.
namespace dark {
constexpr Color face = 0x202020;
constexpr Color text = 0xF0F0F0;
constexpr Color frame = 0x8A8A8A;
constexpr Color buttonFace = 0x333333;
constexpr Color buttonHotFace = 0x454545;
constexpr Color buttonPressedFace = 0x262626;
constexpr Color buttonBorder = 0x6B6B6B;
constexpr Color disabledText = 0xA0A0A0;
constexpr Color fieldBack = 0x2B2B2B;
constexpr Color tipBack = 0x2B2B2B;
// The countdown line and the gauges' background (sky blue), the line while
// paused (blue), the gauges' bar (blue) and an acting gauge (red).
constexpr Color skyBlue = 0x6B4424;
constexpr Color pausedBlue = 0xC03C1A;
constexpr Color bar = 0xFFA05A;
constexpr Color red = 0x10108E;
}  // namespace dark

}  // namespace tovik::ui
