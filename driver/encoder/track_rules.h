// What may be written on the three magnetic tracks: the characters each track takes,
// how many, and what the check of a typed track text decides.
#pragma once

#include <cstddef>
#include <string_view>

namespace qf {

constexpr int kTrackTextReadChars = 127;  // the most characters of an edit the check reads

// The most characters track 1..3 holds (76, 37, 104); 0 for any other track.
size_t TrackMaxChars(int track);

// Whether `c` may be written on track 1..3. Track 1: digits, upper-case letters, white
// space (space and TAB..CR) and "$()-./^"; tracks 2 and 3: digits and "=". Nothing is
// allowed on any other track.
bool IsTrackCharacter(int track, char16_t c);

enum class TrackCheck {
    kAccepted,          // the text stays as it is
    kTooLong,           // one character too many: the last one goes (message "Exceeding number ...")
    kInvalidCharacter,  // cut before the first character outside the set ("Invalid Character ...")
};

struct TrackCheckResult {
    TrackCheck outcome;
    size_t keep;  // how many leading characters the repaired text keeps
};

// The decision for the text of track 1..3 as it stands after one keystroke. A text longer
// than the track's maximum loses its last character (the edit reports again, so a text
// still too long loses one more, one message each time); otherwise the text is cut
// before its first refused character. An empty text, or a track outside 1..3, is
// accepted unchanged.
TrackCheckResult CheckTrackText(int track, std::u16string_view text);

}  // namespace qf
