#include "ui/Palette.h"

#include "ui/Control.h"

namespace tovik::ui {

namespace {

// The light look: the system's colours, which high contrast shares.
Color systemColor(Role role) {
    switch (role) {
        case Role::Face:
        case Role::ButtonFace:
        case Role::ButtonHotFace:
        case Role::ButtonPressedFace:
            return clBtnFace;
        case Role::GaugeFrame:
            return clWindowFrame;
        case Role::ButtonBorder:
            // The heavier frame of the focused classic button.
            return clBlack;
        case Role::ButtonText:
            return clBtnText;
        case Role::ButtonDisabledText:
            return clGrayText;
        case Role::ButtonEmboss:
            return clBtnHighlight;
        case Role::FieldBack:
            return clWindow;
        case Role::FieldText:
            return clWindowText;
        case Role::TipBack:
            return clInfoBk;
        case Role::TipText:
            return clInfoText;
    }
    return clBtnFace;
}

Color darkColor(Role role) {
    switch (role) {
        case Role::Face:
            return dark::face;
        case Role::GaugeFrame:
            return dark::frame;
        case Role::ButtonFace:
            return dark::buttonFace;
        case Role::ButtonHotFace:
            return dark::buttonHotFace;
        case Role::ButtonPressedFace:
            return dark::buttonPressedFace;
        case Role::ButtonBorder:
            return dark::buttonBorder;
        case Role::ButtonDisabledText:
            return dark::disabledText;
        case Role::ButtonEmboss:
            return dark::buttonFace;
        case Role::FieldBack:
            return dark::fieldBack;
        case Role::TipBack:
            return dark::tipBack;
        case Role::ButtonText:
        case Role::FieldText:
        case Role::TipText:
            return dark::text;
    }
    return dark::face;
}

// The dark shade of a coloured background of the model.
Color darkBack(Color back) {
    switch (back) {
        case clSkyBlue:
            return dark::skyBlue;
        case clBlue:
            return dark::pausedBlue;
        case clRed:
            return dark::red;
        default:
            return dark::face;
    }
}

}  // namespace

Role ButtonFaceFor(bool flat, bool hot, bool pressed, bool disabled) {
    if (!disabled && pressed) return Role::ButtonPressedFace;
    if (!disabled && hot) return Role::ButtonHotFace;
    return flat ? Role::Face : Role::ButtonFace;
}

Look Palette::look() {
    if (!known_) {
        if (highContrastNow_ && highContrastNow_())
            look_ = Look::HighContrast;
        else
            look_ = !darkRefused_ && darkAppModeNow_ && darkAppModeNow_() ? Look::Dark : Look::Light;
        known_ = true;
    }
    return look_;
}

Color Palette::color(Role role) {
    return look() == Look::Dark ? darkColor(role) : systemColor(role);
}

TextColors Palette::text(Color back) {
    switch (look()) {
        case Look::Light:
            return {back, clWindowText};
        case Look::Dark:
            return {darkBack(back), dark::text};
        case Look::HighContrast:
            break;
    }
    if (back == clBtnFace) return {clBtnFace, clBtnText};
    return {clWindow, clWindowText};
}

GaugeColors Palette::gauge(const Gauge& gauge) {
    switch (look()) {
        case Look::Light:
            return {gauge.backColor(), gauge.barColor(), false};
        case Look::Dark:
            return {darkBack(gauge.backColor()), gauge.barColor() == clBlue ? dark::bar : darkBack(gauge.barColor()),
                    false};
        case Look::HighContrast:
            break;
    }
    const Color back = gauge.backColor() == clBtnFace ? clBtnFace : clWindow;
    return {back, clHighlight, gauge.backColor() == clRed};
}

}  // namespace tovik::ui
