// The window's key preview: its key handlers see every key of the window
// and its controls before the control with the focus does.
#pragma once
#include <windows.h>

#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/win32/ChildControls.h"

namespace tovik::win32 {

class KeyPreview {
public:
    KeyPreview(ui::TForm1& form, ui::Application& app, const ChildControls& controls)
        : form_(form), app_(app), controls_(controls) {}

    // A queued message of the loop, before it is dispatched: true when the
    // key handlers consumed it. `window` is the main window.
    bool preview(HWND window, MSG& message);

private:
    ui::TForm1& form_;
    ui::Application& app_;
    const ChildControls& controls_;
};

}  // namespace tovik::win32
