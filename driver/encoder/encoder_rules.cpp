// The encoder record's rules.
#include "driver/encoder/encoder_rules.h"

#include <algorithm>
#include <cstring>

#include "driver/channel/commands.h"
#include "driver/settings/record_sizes.h"

namespace qf {
namespace {

constexpr size_t kDelimiterTextChars = kDelimiterChars - 1;

TrackSettings Track(uint8_t mode, uint8_t density) { return TrackSettings{mode, density, 65, 90, 7, 0, 0}; }

// The length of a delimiter's text: up to its zero, or the whole field without one.
size_t FieldLength(const char (&field)[kDelimiterChars]) {
    const void* zero = std::memchr(field, 0, kDelimiterChars);
    return zero ? static_cast<size_t>(static_cast<const char*>(zero) - field) : kDelimiterChars;
}

void CopyDelimiter(const char (&from)[kDelimiterChars], char (&to)[kDelimiterChars]) {
    std::memcpy(to, from, std::min<size_t>(FieldLength(from) + 1, kDelimiterChars));
}

int Highest(int value, int last) { return std::min(value, last); }

}  // namespace

EncoderSettings BuiltInEncoderDefaults() {
    EncoderSettings settings{};
    settings.macroEnabled = 1;
    SetDelimiter(settings.startOfData, "${");
    SetDelimiter(settings.endOfData, "}$");
    settings.coercivity = kCoercivityNoChange;
    settings.encoderPosition = kEncoderNormal;
    settings.encoderType = kEncoderIsoJis;
    settings.currentTrack = 0;
    settings.tracks[0] = Track(kTrackIso1, kDensity210);
    settings.tracks[1] = Track(kTrackIso2, kDensity75);
    settings.tracks[2] = Track(kTrackIso3, kDensity210);
    return settings;
}

void CopyEncoderPart(EncoderPart part, const EncoderSettings& from, EncoderSettings& to) {
    if (part == EncoderPart::kGeneral) {
        to.macroEnabled = from.macroEnabled;
        CopyDelimiter(from.startOfData, to.startOfData);
        CopyDelimiter(from.endOfData, to.endOfData);
        to.coercivity = from.coercivity;
        to.encoderPosition = from.encoderPosition;
        to.encoderType = from.encoderType;
        return;
    }
    to.currentTrack = from.currentTrack;
    std::memcpy(to.tracks, from.tracks, sizeof to.tracks);
}

void RestoreEncoderDefaults(EncoderPart part, const uint8_t* block, EncoderSettings& target) {
    EncoderSettings defaults = BuiltInEncoderDefaults();
    if (block) std::memcpy(&defaults, block + offsetof(PrivateSettings, encoderSettings), sizeof defaults);
    CopyEncoderPart(part, defaults, target);
}

std::string DelimiterText(const char (&field)[kDelimiterChars]) {
    return std::string(field, std::min(FieldLength(field), kDelimiterTextChars));
}

void SetDelimiter(char (&field)[kDelimiterChars], std::string_view text) {
    std::memset(field, 0, kDelimiterChars);
    std::memcpy(field, text.data(), std::min(text.size(), kDelimiterTextChars));
}

bool HasNoReversedPosition(std::string_view model) { return model.find("796") != std::string_view::npos; }

bool HasNoThirdTrack(std::string_view model) {
    return model.find("511") != std::string_view::npos || model.find("513") != std::string_view::npos;
}

int ShownCoercivity(const EncoderSettings& settings) { return Highest(settings.coercivity, kCoercivityNoChange); }
int ShownPosition(const EncoderSettings& settings) {
    return settings.encoderPosition == kEncoderNormal ? kEncoderNormal : kEncoderReversed;
}
int ShownType(const EncoderSettings& settings) {
    return settings.encoderType <= kEncoderAamva ? settings.encoderType : kEncoderIsoJis;
}
int ShownMode(const TrackSettings& track) { return track.mode <= kTrack7Bit ? track.mode : kNoChoice; }
int ShownDensity(const TrackSettings& track) { return track.density == kDensity210 ? kDensity210 : kDensity75; }
int ShownParity(uint8_t parity) { return Highest(parity, 2); }

EncoderView EncoderDialogView(EncoderSettings& edit, bool noReversedPosition) {
    if (noReversedPosition) edit.encoderPosition = kEncoderNormal;
    EncoderView view;
    view.macroEnabled = edit.macroEnabled != 0;
    view.startOfData = DelimiterText(edit.startOfData);
    view.endOfData = DelimiterText(edit.endOfData);
    view.coercivity = ShownCoercivity(edit);
    view.position = ShownPosition(edit);
    view.type = ShownType(edit);
    const bool jis2 = view.type == kEncoderJis2;
    view.reversedEnabled = !jis2 && !noReversedPosition;
    view.normalEnabled = !jis2;
    view.advancedEnabled = view.type != kEncoderAamva;
    return view;
}

int ShownTrack(const EncoderSettings& edit, bool noThirdTrack) {
    const int track = Highest(edit.currentTrack, kTrackCount - 1);
    return noThirdTrack && track == kTrackCount - 1 ? 0 : track;
}

bool IsFreeFormatMode(int mode) { return mode >= kTrack3Bit && mode <= kTrack7Bit; }

AdvancedView AdvancedDialogView(EncoderSettings& edit, bool noThirdTrack) {
    if (noThirdTrack && edit.currentTrack == kTrackCount - 1) edit.currentTrack = 0;
    AdvancedView view;
    view.track = ShownTrack(edit, noThirdTrack);
    const TrackSettings& track = edit.tracks[view.track];
    const bool jis2 = ShownType(edit) == kEncoderJis2;
    view.track2Enabled = !jis2;
    view.track3Enabled = !jis2 && !noThirdTrack;
    view.mode = ShownMode(track);
    view.density = ShownDensity(track);
    view.startChar = track.startChar;
    view.stopChar = track.stopChar;
    view.startPositionMm = track.startPositionMm;
    view.charParity = ShownParity(track.charParity);
    view.lrcParity = ShownParity(track.lrcParity);
    view.freeFormatEnabled = IsFreeFormatMode(view.mode);
    return view;
}

}  // namespace qf
