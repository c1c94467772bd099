// The track data check: one table per track.
#include "driver/encoder/track_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace qf {
namespace {

struct Case {
    std::u16string text;
    TrackCheck outcome;
    size_t keep;
};

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

void Walk(int track, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const TrackCheckResult result = CheckTrackText(track, c.text);
        EXPECT_EQ(static_cast<int>(result.outcome), static_cast<int>(c.outcome))
            << "track " << track << " \"" << Narrow(c.text) << "\"";
        EXPECT_EQ(result.keep, c.keep) << "track " << track << " \"" << Narrow(c.text) << "\"";
    }
}

TEST(TrackRules, Limits) {
    EXPECT_EQ(TrackMaxChars(1), 76u);
    EXPECT_EQ(TrackMaxChars(2), 37u);
    EXPECT_EQ(TrackMaxChars(3), 104u);
    EXPECT_EQ(TrackMaxChars(0), 0u);
    EXPECT_EQ(TrackMaxChars(4), 0u);
}

TEST(TrackRules, Track1) {
    Walk(1, {
        {u"", TrackCheck::kAccepted, 0},
        {u"ABC 123 $()-./^", TrackCheck::kAccepted, 15},
        {u"A\tB\r\n\v\f", TrackCheck::kAccepted, 7},
        {u"ABc", TrackCheck::kInvalidCharacter, 2},       // lower case is refused
        {u"a", TrackCheck::kInvalidCharacter, 0},
        {u"AB=12", TrackCheck::kInvalidCharacter, 2},
        {u"12%34", TrackCheck::kInvalidCharacter, 2},
        {u"Z\u00C4", TrackCheck::kInvalidCharacter, 1},   // only the default locale's letters
        // ASCII only: letters, digits and spaces that a wide classification would also
        // take cannot be written to a magnetic stripe.
        {u"A\uFF21", TrackCheck::kInvalidCharacter, 1},   // fullwidth A
        {u"12\u0663", TrackCheck::kInvalidCharacter, 2},  // Arabic-Indic digit three
        {u"1\uFF12", TrackCheck::kInvalidCharacter, 1},   // fullwidth 2
        {u"A\u00A0B", TrackCheck::kInvalidCharacter, 1},  // no-break space
        {u"A\u3000B", TrackCheck::kInvalidCharacter, 1},  // ideographic space
        {u"\u2028", TrackCheck::kInvalidCharacter, 0},     // line separator
        {std::u16string(76, u'A'), TrackCheck::kAccepted, 76},
        {std::u16string(77, u'A'), TrackCheck::kTooLong, 76},
        {std::u16string(77, u'a'), TrackCheck::kTooLong, 76},  // the length is looked at first
    });
}

TEST(TrackRules, Track2) {
    Walk(2, {
        {u"1234=5678", TrackCheck::kAccepted, 9},
        {u"12A34", TrackCheck::kInvalidCharacter, 2},
        {u" 1", TrackCheck::kInvalidCharacter, 0},
        {u"12-3", TrackCheck::kInvalidCharacter, 2},
        {u"12\uFF13", TrackCheck::kInvalidCharacter, 2},  // fullwidth 3
        {u"\u0661=", TrackCheck::kInvalidCharacter, 0},    // Arabic-Indic digit one
        {std::u16string(37, u'1'), TrackCheck::kAccepted, 37},
        {std::u16string(38, u'1'), TrackCheck::kTooLong, 37},
    });
}

TEST(TrackRules, Track3) {
    Walk(3, {
        {u"=0=9=", TrackCheck::kAccepted, 5},
        {u"99x", TrackCheck::kInvalidCharacter, 2},
        {u"A", TrackCheck::kInvalidCharacter, 0},
        {u"9\u0969", TrackCheck::kInvalidCharacter, 1},    // Devanagari digit three
        {std::u16string(104, u'9'), TrackCheck::kAccepted, 104},
        {std::u16string(105, u'9'), TrackCheck::kTooLong, 104},
    });
}

TEST(TrackRules, OtherTracksAreLeftAlone) {
    for (int track : {0, 4, -1}) {
        const TrackCheckResult result = CheckTrackText(track, u"abc");
        EXPECT_EQ(result.outcome, TrackCheck::kAccepted) << track;
        EXPECT_EQ(result.keep, 3u) << track;
        EXPECT_FALSE(IsTrackCharacter(track, u'1')) << track;
    }
}

}  // namespace
}  // namespace qf
