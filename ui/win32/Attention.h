// The foreground rule: a window that a restore leaves behind another
// program's draws the eye with its taskbar button instead of taking the keys.
#pragma once
#include <windows.h>

namespace tovik::win32 {

// Windows gives the keyboard to a program's window only when that program
// may take the foreground; a restore from the background leaves another
// window in front. Then the taskbar button flashes until the user activates
// the window.
class Attention {
public:
    virtual ~Attention() = default;
    // Right after `window` was restored.
    void afterRestore(HWND window);

protected:
    // What Windows answers; a test double answers as the foreground rule would.
    virtual HWND foregroundWindow() const { return GetForegroundWindow(); }
    virtual void flash(FLASHWINFO& info) { FlashWindowEx(&info); }
};

}  // namespace tovik::win32
