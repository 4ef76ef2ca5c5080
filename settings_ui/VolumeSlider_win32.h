// The settings dialog's volume slider: Settings.Volume from silent to full in steps.
#pragma once

#include <windows.h>

#include <cstdint>

// Range 0..100 with a tick at each step; the arrow keys and Page Up/Down move it a step at a time.
void SetUpVolumeSlider(HWND slider, std::int32_t volume);

// A WM_HSCROLL from the dialog's Slider1 (from anything else it is let be), with its request
// `code` (TB_...): the position, held to a step, is stored in Settings.Volume. True when the user
// has just let go of the slider (the mouse button, or the keys that moved it), which is when the
// new level is to be heard.
bool OnVolumeSliderScroll(HWND slider, int code);
