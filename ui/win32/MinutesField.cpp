// The minutes field's own keys (filter, Up and Down, write-back when the
// focus moves on) and the arrows inside its right edge.
#include "ui/win32/MinutesField.h"

#include <commctrl.h>

#include "ui/ControlIds.h"
#include "ui/Scaling.h"

namespace tovik::win32 {

namespace {

constexpr int spinArrowsWidth = 17;

}  // namespace

MinutesField::MinutesField(HINSTANCE instance, HWND window, HWND field, ui::SpinEdit& spin, ui::Application& app,
                           int dpi, GdiResources& resources)
    : window_(window), field_(field), spin_(spin), app_(app) {
    // The arrows sit inside the field's right edge, so the field keeps its
    // whole place; the text stops short of them.
    ui::SpinEdit* stepped = &spin_;
    arrows_ = std::make_unique<SpinArrows>(instance, field_, ui::ids::seShutMinutesArrows, arrowsPlace(dpi),
                                           [this, stepped](int delta) {
                                               app_.dispatch([stepped, delta] { stepped->step(delta); });
                                           },
                                           resources);
    SendMessageW(field_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, ui::ScaleToDpi(spinArrowsWidth, dpi) + 1));
    SetWindowSubclass(field_, FieldProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

RECT MinutesField::arrowsPlace(int dpi) const {
    RECT inside;
    GetClientRect(field_, &inside);
    return RECT{inside.right - ui::ScaleToDpi(spinArrowsWidth, dpi), 0, inside.right, inside.bottom};
}

void MinutesField::fitArrows(int dpi) {
    arrows_->moveTo(arrowsPlace(dpi));
    SendMessageW(field_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, ui::ScaleToDpi(spinArrowsWidth, dpi) + 1));
}

LRESULT CALLBACK MinutesField::FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(field, FieldProcedure, 0);
        return DefSubclassProc(field, message, wParam, lParam);
    }
    return reinterpret_cast<MinutesField*>(self)->fieldMessage(message, wParam, lParam);
}

LRESULT MinutesField::fieldMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    ui::SpinEdit* spin = &spin_;
    switch (message) {
        case WM_CHAR: {
            // The window's key preview has seen the character already.
            bool taken = false;
            char key = 0;
            if (wParam < 0x80) {
                key = static_cast<char>(wParam);
                app_.dispatch([&] { taken = spin->typeCharacter(key); });
            }
            if (!taken) {
                MessageBeep(0);
                return 0;
            }
            if (key == 0) return 0;
            return DefSubclassProc(field_, message, static_cast<unsigned char>(key), lParam);
        }
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) {
                const int delta = wParam == VK_UP ? 1 : -1;
                app_.dispatch([spin, delta] { spin->step(delta); });
                return 0;
            }
            break;
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(field_, message, wParam, lParam);
            // Only a move to another control of the window leaves the field,
            // not a switch to another program.
            const HWND next = reinterpret_cast<HWND>(wParam);
            if (next && (next == window_ || IsChild(window_, next)) && !IsChild(field_, next))
                app_.dispatch([spin] { spin->leave(); });
            return result;
        }
        default:
            break;
    }
    return DefSubclassProc(field_, message, wParam, lParam);
}

}  // namespace tovik::win32
