// Plays one of the program's voice clips, by resource number, to its end.
#pragma once

// Plays the "WAVE" resource `id` (102..121) of the program's own module and returns when it has
// finished. Returns at once, silently, when there is no sound device or no such clip.
void PlayWave(int id);
