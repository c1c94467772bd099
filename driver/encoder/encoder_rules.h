// The rules of the printer-wide encoder record: its built-in defaults, the two parts the
// encoder and track dialogs edit, the defaults block it is restored from, how the
// printer's model limits it, and how stored values are shown when they are not ones the
// dialogs offer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "driver/settings/private_settings.h"

namespace qf {

// The encoder record's two parts. The general part is the macro switch, the two
// delimiters, coercivity, position and type; the track part is `currentTrack` and the
// three track formats (record bytes 29..50). `encoderPresent` belongs to neither.
enum class EncoderPart { kGeneral, kTracks };

// The values the encoder record takes when the defaults block cannot be read: macros on
// with "${" and "}$", no change of coercivity, normal position, ISO/JIS, track 1 shown;
// tracks ISO1 210 bpi, ISO2 75 bpi, ISO3 210 bpi, each with start 65, stop 90, 7 mm and
// no parities. `encoderPresent` is 0.
EncoderSettings BuiltInEncoderDefaults();

// Copies one part of `from` into `to`; the rest of `to`, `encoderPresent` included, stays
// as it is. Delimiters are copied as text: the bytes up to and including the first zero
// within the field (all ten bytes when the field holds none).
void CopyEncoderPart(EncoderPart part, const EncoderSettings& from, EncoderSettings& to);

// The defaults for one part: from the defaults block `block` (3856 bytes) when it was
// read, from the built-in defaults when `block` is null.
void RestoreEncoderDefaults(EncoderPart part, const uint8_t* block, EncoderSettings& target);

// A delimiter as the dialog shows it: the field's text up to its zero, cut at 9
// characters when the field holds no zero (never read past the field's 10 bytes).
std::string DelimiterText(const char (&field)[kDelimiterChars]);
// Stores an edit's text as a delimiter: at most 9 characters, the rest of the field zero.
void SetDelimiter(char (&field)[kDelimiterChars], std::string_view text);

// What the printer's model text (its answer to the model query) says about the encoder.
bool HasNoReversedPosition(std::string_view model);  // "796" in the text
bool HasNoThirdTrack(std::string_view model);        // "511" or "513" in the text

// The choice shown for a stored value that a dialog offers as a list or a radio group.
// A value outside the choices shows the choice the printer commands read it as:
// coercivity above 2 sends nothing, as "No Change"; a position other than 1 is sent as
// reversed; a type above 2 is handled as ISO/JIS; a density other than 1 is sent as
// 75 bpi; a mode above 7 gets no format commands, so no mode is shown (kNoChoice) and
// the track's free-format fields stay disabled, as for a mode without them. Values no
// command reads show the nearest choice: a track above 3 as Track 3, a parity above 2
// as odd. The stored bytes stay as they are until the user picks a choice.
constexpr int kNoChoice = -1;
int ShownCoercivity(const EncoderSettings& settings);
int ShownPosition(const EncoderSettings& settings);
int ShownType(const EncoderSettings& settings);
int ShownMode(const TrackSettings& track);
int ShownDensity(const TrackSettings& track);
int ShownParity(uint8_t parity);

// The encoder settings dialog's controls for its working copy, on a printer with or
// without the reversed position.
struct EncoderView {
    bool macroEnabled;
    std::string startOfData, endOfData;
    int coercivity;  // 0 High, 1 Low, 2 No Change
    int position;    // 0 Reversed, 1 Normal
    int type;        // 0 ISO/JIS, 1 JIS2, 2 AAMVA
    bool reversedEnabled, normalEnabled;  // the position radios; both off for JIS2
    bool advancedEnabled;                 // "Advanced settings": not for AAMVA
};
// On a printer without the reversed position the working copy's position becomes
// Normal first; that is the only change the view makes to `edit`.
EncoderView EncoderDialogView(EncoderSettings& edit, bool noReversedPosition);

// The advanced track dialog's controls for its working copy.
struct AdvancedView {
    int track;                           // 0..2, the track shown and edited
    bool track2Enabled, track3Enabled;   // off for JIS2; track 3 off without a third track
    int mode;                            // kNoChoice: the stored mode is none of the list's
    int density;
    uint8_t startChar, stopChar, startPositionMm;
    int charParity, lrcParity;
    bool freeFormatEnabled;              // start/stop, position and parities: bit modes only
};
// Without a third track a `currentTrack` of 2 becomes 0 in `edit`; that is the only
// change the view makes.
AdvancedView AdvancedDialogView(EncoderSettings& edit, bool noThirdTrack);
// The track the advanced dialog shows and edits for `edit`: `currentTrack`, never past
// track 3, and never track 3 without a third track.
int ShownTrack(const EncoderSettings& edit, bool noThirdTrack);
// The start/stop, position and parity fields can be edited only in the bit modes "3 bit"
// to "7 bit"; not for kNoChoice.
bool IsFreeFormatMode(int mode);

}  // namespace qf
