// The window's key preview: key downs, characters and key ups go to the
// form's key handlers first; Tab moves the focus along the tab order.
#include "ui/win32/KeyPreview.h"

namespace tovik::win32 {

namespace {

unsigned currentShiftState() {
    return ui::ShiftStateOf(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0, GetKeyState(VK_CONTROL) < 0,
                            GetKeyState(VK_RMENU) < 0);
}

}  // namespace

bool KeyPreview::preview(HWND window, MSG& message) {
    if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const int key = static_cast<int>(message.wParam);
            // A held Enter presses a button once: "Go!" moves the focus to the
            // abort button, which the key's repeat must not click.
            const bool repeated = (message.lParam & (1 << 30)) != 0;
            if (key == VK_RETURN && repeated) return true;
            const unsigned shift = currentShiftState();
            form_.noteFocus(controls_.controlOf(GetFocus()));
            bool consumed = false;
            app_.dispatch([&] { consumed = form_.previewKeyDown(key, shift); });
            if (!consumed && key == VK_TAB && (shift & (ui::ssAlt | ui::ssCtrl)) == 0) {
                if (ui::Control* next = form_.nextTabStop((shift & ui::ssShift) != 0)) next->setFocus();
                consumed = true;
            }
            return consumed;
        }
        case WM_CHAR: {
            if (message.wParam >= 0x80) return false;
            char key = static_cast<char>(message.wParam);
            app_.dispatch([&] { key = form_.previewKeyPress(key); });
            if (key == 0) return true;
            message.wParam = static_cast<unsigned char>(key);
            return false;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const int key = static_cast<int>(message.wParam);
            const unsigned shift = currentShiftState();
            app_.dispatch([&] { form_.previewKeyUp(key, shift); });
            return false;
        }
        default:
            return false;
    }
}

}  // namespace tovik::win32
