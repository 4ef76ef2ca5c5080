// The system colour dialog in one call.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <array>
#include <cstdint>

#include "base/Color.h"

// Shows the colour dialog of `dialogType` (see ColorDialogFlags) owned by `owner`, starting on
// `initial`, offering and keeping the caller's 16 custom colours in place. Returns the accepted
// colour, or kColorDialogCancelled (-1) when the user cancels or the dialog fails. Returns only
// after the dialog has closed; the dialog runs its own message loop, so timers keep running.
std::int32_t ShowColorDialog(HWND owner, ColorValue initial, std::array<COLORREF, 16>& customColors,
                             std::int16_t dialogType);

// The record ShowColorDialog hands to the system dialog.
CHOOSECOLORW ColorDialogRecord(HWND owner, ColorValue initial, std::array<COLORREF, 16>& customColors,
                               std::int16_t dialogType);
