// The size, in pixels, at which the shell shows a notification-area icon.
#pragma once

// The small-icon size at the taskbar's DPI (16 at 96, 20 at 120, 24 at 144, 32 at 192). Uses the
// per-DPI metrics where the system has them (Windows 10 1607 on) and the system-wide small-icon
// size before that, or when there is no taskbar to ask.
int TrayIconSize();
