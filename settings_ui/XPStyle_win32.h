// XPStyle: the settings dialog's invisible helper that prepares the common controls before any
// other control of the dialog exists and holds the shell library while the dialog lives.
#pragma once

#include <windows.h>

inline constexpr wchar_t kXPStyleClass[] = L"XPStyle";
// 810 twips square, whatever size anyone asks for
inline constexpr int kXPStyleSize = 54;

// Creates the control as a child of `parent`. It is never shown: at its place it would lie over
// captions of the dialog and take their clicks, and it has nothing to show.
HWND CreateXPStyle(HWND parent, int left, int top, int width, int height, int id);
