// The dots per inch a window is shown at, on every Windows the program runs on.
#pragma once

#include <windows.h>

// The system DPI: the one the stock fonts are made for and that Windows 7 uses everywhere.
int SystemDpi();
// The window's DPI: its monitor's for a per-monitor aware program where the system can tell
// (Windows 10 1607 and later), otherwise the system DPI.
int WindowDpi(HWND window);
