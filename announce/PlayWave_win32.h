// Plays one of the program's voice clips, by resource number, to its end.
#pragma once

// Plays the "WAVE" resource `id` (102..121) of the program's own module and returns when it has
// finished. Returns at once, silently, when there is no sound device, no such clip or no sound
// functions in the system.
void PlayWave(int id);

// Takes the sound functions from the system DLL `dll` instead of winmm.dll from now on: lets the
// tests take them away (a name that is not there) and give them back (L"winmm.dll").
void UseSoundLibrary(const wchar_t* dll);
