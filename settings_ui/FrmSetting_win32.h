// The settings dialog: one modeless instance, created on first use.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>

class RunRegistry;

// What the dialog asks of the main window.
struct FrmSettingHooks {
    // Take this hot key for "지금 시각 듣기" (a hot-key control value, 0 for none) in place of the
    // one held; false when the system refuses it (another program holds it), and the old one stays.
    std::function<bool(std::int32_t hotKey)> applySpeakKey;
    // The hot key the main window holds now (0 for none, also when the stored one was refused).
    std::function<std::int32_t()> heldSpeakKey;
    // The dialog has closed, however that came about: what it changed is final for now.
    std::function<void()> closed;
    // Whether Windows' high-contrast mode is on: the face then takes the system's colours, and the
    // colour row is greyed out. Asked at each opening and when the system's colours change.
    std::function<bool()> highContrast;
    // The user has let go of the volume slider at `volume`: a short beep at that level, when
    // nothing else sounds, lets them hear it.
    std::function<void(int volume)> volumeChosen;
};

// Shows the dialog, creating and loading it if it is not open; an open dialog is brought forward.
void ShowFrmSetting(HINSTANCE instance, FrmSettingHooks hooks = {});
// Closes the dialog if it is open (the main window does this first when it unloads).
void UnloadFrmSetting();
// The dialog's window, or null when it is closed.
HWND FrmSettingWindow();
// True when `msg` was a dialog-navigation message for the open dialog and has been handled.
bool FrmSettingIsDialogMessage(MSG* msg);

// The custom colours offered by every colour dialog of this run; all black at start, never saved.
extern std::array<COLORREF, 16> CustomColors;

// Where the start-with-Windows box reads and writes the Run value: the machine-wide and per-user
// Run keys unless a test puts another in place (null restores them). Takes effect at the next load.
void SetFrmSettingRunRegistry(RunRegistry* registry);
