// The check of the track data a user types into a dialog's three track edits.
#pragma once

#include <windows.h>

// Checks the text of track `track`'s edit (1..3; ids 1959..1961) of `dialog` after a
// keystroke: a text longer than the track holds loses its last character, a text with a
// refused character is cut before it; either shows its message and puts the repaired
// text back (which makes the edit report again). A track outside 1..3 does nothing.
void CheckTrackData(HWND dialog, int track);
