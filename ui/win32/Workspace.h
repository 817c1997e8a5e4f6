// Workspace coordinates: where Windows keeps a window's restored place.
#pragma once
#include <windows.h>

namespace tovik::win32 {

// WINDOWPLACEMENT's rcNormalPosition is read in workspace coordinates, which
// start at the top left of the work area of the window's monitor, for every
// top-level window but a tool window; a taskbar at the top or left moves
// them against the screen's by its size. `screen` in screen coordinates, as
// the placement of a window with `exStyle`; `monitor` is the one `screen`
// lies on.
RECT ScreenToWorkspace(const RECT& screen, const MONITORINFO& monitor, DWORD exStyle);

}  // namespace tovik::win32
