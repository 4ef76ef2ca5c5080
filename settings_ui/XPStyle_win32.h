// XPStyle: the settings dialog's invisible helper that prepares the common controls before any
// other control of the dialog exists and holds the shell library while the dialog lives.
#pragma once

#include <windows.h>

inline constexpr wchar_t kXPStyleClass[] = L"XPStyle";
// 810 twips square at the dialog's DPI (54 pixels at 96), whatever size anyone asks for
inline constexpr int kXPStyleTwips = 810;

// Creates the control as a child of `parent`. It is never shown: at its place it would lie over
// captions of the dialog and take their clicks, and it has nothing to show.
// Its DPI is the parent's until SetXPStyleDpi says otherwise.
HWND CreateXPStyle(HWND parent, int left, int top, int width, int height, int id);
// Gives the control its fixed size at `dpi`, for a dialog that moves to another DPI.
void SetXPStyleDpi(HWND xpstyle, int dpi);
