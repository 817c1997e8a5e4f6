// The window's key preview: key downs, characters and key ups go to the
// form's key handlers first; Tab moves the focus along the tab order.
#include "ui/win32/KeyPreview.h"

namespace tovik::win32 {

namespace {

// Whether the keyboard layout types characters with AltGr (Ctrl+Alt), as
// the German one does; on layouts without it the right Alt key is plain Alt
// and Ctrl with it is Ctrl+Alt. Looked up once per layout.
bool layoutHasAltGr() {
    static HKL known = nullptr;
    static bool hasAltGr = false;
    const HKL layout = GetKeyboardLayout(0);
    if (layout == known) return hasAltGr;
    known = layout;
    hasAltGr = false;
    const auto typedWithCtrlAlt = [layout](wchar_t character) {
        const SHORT key = VkKeyScanExW(character, layout);
        return key != -1 && ((key >> 8) & 6) == 6;
    };
    for (wchar_t character = L'!'; character <= L'\x024F' && !hasAltGr; ++character)
        hasAltGr = typedWithCtrlAlt(character);
    if (!hasAltGr) hasAltGr = typedWithCtrlAlt(L'\x20AC');  // the euro sign
    return hasAltGr;
}

unsigned currentShiftState() {
    const bool rightAltDown = GetKeyState(VK_RMENU) < 0;
    return ui::ShiftStateOf(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0, GetKeyState(VK_CONTROL) < 0,
                            rightAltDown && layoutHasAltGr());
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
                // Moving with the keyboard shows the focus, as dialogs do.
                SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
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
