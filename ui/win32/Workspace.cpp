// Workspace coordinates: a place on the screen turned into the coordinates
// in which Windows keeps a window's restored place.
#include "ui/win32/Workspace.h"

namespace tovik::win32 {

RECT ScreenToWorkspace(const RECT& screen, const MONITORINFO& monitor, DWORD exStyle) {
    if (exStyle & WS_EX_TOOLWINDOW) return screen;
    RECT workspace = screen;
    OffsetRect(&workspace, monitor.rcMonitor.left - monitor.rcWork.left, monitor.rcMonitor.top - monitor.rcWork.top);
    return workspace;
}

}  // namespace tovik::win32
