#pragma once

#include "platform/platform.h"
#include "platform/dpi_scale.h"

#include <windows.h>

// The DPI of windows and the metrics for it. The per-window calls came with Windows 10
// (1607); they are looked up at run time, and on older systems the system DPI, which a
// system-aware program has for all of its windows, stands in for them.

namespace tessaly {

int systemDpi();
int windowDpi(HWND hwnd);
int metricForDpi(int index, int dpi);
// The outer rectangle around a client rectangle, for a window of that style at `dpi`.
void adjustRectForDpi(RECT& r, DWORD style, bool menu, DWORD exStyle, int dpi);
// The program's rectangle in pixels at `dpi`: its edges are scaled, so that neighbours
// stay neighbours.
RECT scaledRect(Rect r, int dpi);

} // namespace tessaly
