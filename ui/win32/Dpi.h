// The window's DPI as the system tells it, and lengths and places of the
// 96-DPI design converted to device pixels for a DPI.
#pragma once
#include <windows.h>

#include "ui/Control.h"
#include "ui/Scaling.h"

namespace tovik::win32 {

// What the system tells about DPI, asked through functions that Windows 10
// brought (per-window DPI, frames and metrics for a DPI). They are looked up
// at run time: Windows 7 and 8 and some Wine versions lack them, and then the
// system DPI and the system metrics (which are for the system DPI) serve.

// The DPI of the window: of its monitor for a per-monitor aware program.
int WindowDpi(HWND window);

// Caption and frame of a window with that style, in height, at 96 DPI and at
// the given one.
ui::WindowFrame FrameHeights(DWORD style, DWORD exStyle, int dpi);

// The outer size of a window with that style around a client area of the
// given size in device pixels at the given DPI.
SIZE OuterSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

// A system metric (SM_CXICON and the like) at that DPI.
int SystemMetricAt(int index, int dpi);

// The font the system gives tool tips (the status font) at that DPI.
LOGFONTW TooltipFont(int dpi);

// A control's place at a DPI, in device pixels of the window's client area.
RECT DevicePlace(const ui::Control& control, int dpi);

}  // namespace tovik::win32
