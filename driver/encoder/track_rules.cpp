// The track data rules.
#include "driver/encoder/track_rules.h"

namespace qf {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsUpper(char16_t c) { return c >= u'A' && c <= u'Z'; }
// White space as the default locale classifies it: space, TAB, LF, VT, FF, CR.
bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

size_t TrackMaxChars(int track) {
    switch (track) {
    case 1: return 76;
    case 2: return 37;
    case 3: return 104;
    default: return 0;
    }
}

bool IsTrackCharacter(int track, char16_t c) {
    switch (track) {
    case 1:
        return IsDigit(c) || IsUpper(c) || IsSpace(c) || std::u16string_view(u"$()-./^").find(c) != std::u16string_view::npos;
    case 2:
    case 3:
        return IsDigit(c) || c == u'=';
    default:
        return false;
    }
}

TrackCheckResult CheckTrackText(int track, std::u16string_view text) {
    const size_t max = TrackMaxChars(track);
    if (max == 0 || text.empty()) return {TrackCheck::kAccepted, text.size()};
    if (text.size() > max) return {TrackCheck::kTooLong, text.size() - 1};
    for (size_t i = 0; i < text.size(); ++i)
        if (!IsTrackCharacter(track, text[i])) return {TrackCheck::kInvalidCharacter, i};
    return {TrackCheck::kAccepted, text.size()};
}

}  // namespace qf
