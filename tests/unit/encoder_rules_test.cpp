// The encoder record's defaults, parts, model rules and shown choices.
#include "driver/encoder/encoder_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "driver/channel/commands.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"

namespace qf {
namespace {

std::vector<uint8_t> Bytes(const EncoderSettings& settings) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&settings);
    return std::vector<uint8_t>(bytes, bytes + sizeof settings);
}

EncoderSettings Filled(uint8_t value) {
    EncoderSettings settings;
    std::memset(&settings, value, sizeof settings);
    return settings;
}

TEST(EncoderRules, BuiltInDefaults) {
    const EncoderSettings d = BuiltInEncoderDefaults();
    EXPECT_EQ(+d.encoderPresent, 0);
    EXPECT_EQ(+d.macroEnabled, 1);
    EXPECT_EQ(std::string(d.startOfData), "${");
    EXPECT_EQ(std::string(d.endOfData), "}$");
    EXPECT_EQ(+d.coercivity, 2);
    EXPECT_EQ(+d.encoderPosition, 1);
    EXPECT_EQ(+d.encoderType, 0);
    EXPECT_EQ(+d.currentTrack, 0);
    const uint8_t tracks[3][7] = {{0, 1, 65, 90, 7, 0, 0}, {1, 0, 65, 90, 7, 0, 0}, {2, 1, 65, 90, 7, 0, 0}};
    for (int t = 0; t < 3; ++t)
        EXPECT_EQ(std::memcmp(&d.tracks[t], tracks[t], 7), 0) << "track " << t + 1;
    EXPECT_EQ(+d.reserved25, 0);
    EXPECT_EQ(+d.reserved51, 0);
}

TEST(EncoderRules, TheGeneratedDefaultsBlockHoldsTheBuiltInDefaults) {
    std::ifstream file(QF_DEFAULTS_BLOCK, std::ios::binary);
    const std::vector<uint8_t> block((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(block.size(), static_cast<size_t>(kPrivateSize));
    EncoderSettings fromBlock = Filled(0xEE);
    RestoreEncoderDefaults(EncoderPart::kGeneral, block.data(), fromBlock);
    RestoreEncoderDefaults(EncoderPart::kTracks, block.data(), fromBlock);
    EncoderSettings builtIn = Filled(0xEE);
    RestoreEncoderDefaults(EncoderPart::kGeneral, nullptr, builtIn);
    RestoreEncoderDefaults(EncoderPart::kTracks, nullptr, builtIn);
    EXPECT_EQ(Bytes(fromBlock), Bytes(builtIn));
}

// The one rule for the driver's data file, for the driver default and for Restore
// Defaults alike: exactly 3856 bytes, and the settings signature.
TEST(EncoderRules, DefaultsFileRule) {
    std::vector<uint8_t> signed_(kPrivateSize, 0), unsigned_(kPrivateSize, 0);
    signed_[0] = 0x45;  // the signature 0x5A45, little-endian, at the block's start
    signed_[1] = 0x5A;
    const struct {
        uint64_t size;
        bool signature;
        bool usable;
    } rows[] = {
        {0, true, false},    {3855, true, false},  {3856, true, true},
        {3857, true, false}, {3856ull + (1ull << 32), true, false}, {3856, false, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsUsableDefaultsFile(row.size, row.signature ? signed_.data() : unsigned_.data()), row.usable)
            << "size " << row.size << " signature " << row.signature;
}

// Which record bytes each part covers.
std::vector<bool> Covered(EncoderPart part) {
    EncoderSettings to = Filled(0x11);
    EncoderSettings from = Filled(0x22);
    CopyEncoderPart(part, from, to);
    std::vector<bool> covered;
    for (uint8_t byte : Bytes(to)) covered.push_back(byte == 0x22);
    return covered;
}

TEST(EncoderRules, ThePartsCoverTheirBytesAndNothingElse) {
    const std::vector<bool> general = Covered(EncoderPart::kGeneral);
    const std::vector<bool> tracks = Covered(EncoderPart::kTracks);
    for (size_t i = 0; i < 52; ++i) {
        const bool inGeneral = (i >= 2 && i <= 24) || (i >= 26 && i <= 28);
        const bool inTracks = i >= 29 && i <= 50;
        EXPECT_EQ(general[i], inGeneral) << "byte " << i;
        EXPECT_EQ(tracks[i], inTracks) << "byte " << i;
    }
}

TEST(EncoderRules, RestoreLeavesTheOtherPartAndThePresenceAlone) {
    std::vector<uint8_t> block(kPrivateSize, 0);
    EncoderSettings stored = Filled(0x33);
    SetDelimiter(stored.startOfData, "<<");
    std::memcpy(block.data() + offsetof(PrivateSettings, encoderSettings), &stored, sizeof stored);

    for (const uint8_t* source : {static_cast<const uint8_t*>(nullptr), static_cast<const uint8_t*>(block.data())}) {
        const EncoderSettings expected = source ? stored : BuiltInEncoderDefaults();
        EncoderSettings target = Filled(0x77);
        RestoreEncoderDefaults(EncoderPart::kGeneral, source, target);
        EXPECT_EQ(+target.encoderPresent, 0x7777) << "the presence is never restored";
        EXPECT_EQ(+target.currentTrack, 0x77);
        EXPECT_EQ(+target.tracks[2].lrcParity, 0x77);
        EXPECT_EQ(+target.macroEnabled, +expected.macroEnabled);
        EXPECT_EQ(DelimiterText(target.startOfData), DelimiterText(expected.startOfData));
        EXPECT_EQ(+target.encoderType, +expected.encoderType);

        target = Filled(0x77);
        RestoreEncoderDefaults(EncoderPart::kTracks, source, target);
        EXPECT_EQ(+target.encoderPresent, 0x7777);
        EXPECT_EQ(+target.macroEnabled, 0x7777);
        EXPECT_EQ(+target.coercivity, 0x77);
        EXPECT_EQ(+target.encoderType, 0x77);
        EXPECT_EQ(+target.currentTrack, +expected.currentTrack);
        EXPECT_EQ(std::memcmp(target.tracks, expected.tracks, sizeof target.tracks), 0);
    }
}

TEST(EncoderRules, DelimitersAreTextOfAtMostNineCharacters) {
    EncoderSettings s{};
    SetDelimiter(s.startOfData, "${");
    EXPECT_EQ(DelimiterText(s.startOfData), "${");
    SetDelimiter(s.startOfData, "0123456789AB");
    EXPECT_EQ(DelimiterText(s.startOfData), "012345678");
    EXPECT_EQ(s.startOfData[9], '\0');
    std::memset(s.endOfData, 'X', sizeof s.endOfData);  // no zero in the field
    EXPECT_EQ(DelimiterText(s.endOfData), "XXXXXXXXX");

    // A delimiter without its zero is carried byte for byte, never past its field.
    EncoderSettings to = Filled(0x44);
    CopyEncoderPart(EncoderPart::kGeneral, s, to);
    EXPECT_EQ(std::memcmp(to.endOfData, s.endOfData, sizeof s.endOfData), 0);
    EXPECT_EQ(+to.coercivity, +s.coercivity);
    EXPECT_EQ(std::string(to.startOfData), "012345678");
    // A shorter text is copied with its zero; the field's bytes after it stay as they were.
    SetDelimiter(s.startOfData, "${");
    CopyEncoderPart(EncoderPart::kGeneral, s, to);
    EXPECT_EQ(std::string(to.startOfData), "${");
    EXPECT_EQ(to.startOfData[3], '3');
}

TEST(EncoderRules, ModelRules) {
    struct Case {
        const char* model;
        bool noReversed, noThird;
    };
    const Case cases[] = {{"Vestria Q862k 1.07", false, false}, {"Q796 V2", true, false}, {"Q511", false, true},
                          {"QF513-E", false, true},              {"796/513", true, true},    {"", false, false},
                          {"79 6 51 1", false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(HasNoReversedPosition(c.model), c.noReversed) << c.model;
        EXPECT_EQ(HasNoThirdTrack(c.model), c.noThird) << c.model;
    }
}

TEST(EncoderRules, StoredValuesOutsideTheChoices) {
    EncoderSettings s{};
    struct Case {
        uint8_t value;
        int coercivity, type, mode, density, parity;
    };
    const Case cases[] = {{0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1}, {2, 2, 2, 2, 0, 2},
                          {3, 2, 0, 3, 0, 2}, {7, 2, 0, 7, 0, 2}, {8, 2, 0, kNoChoice, 0, 2}, {255, 2, 0, kNoChoice, 0, 2}};
    for (const Case& c : cases) {
        s.coercivity = s.encoderType = c.value;
        s.tracks[0].mode = s.tracks[0].density = c.value;
        EXPECT_EQ(ShownCoercivity(s), c.coercivity) << +c.value;
        EXPECT_EQ(ShownType(s), c.type) << +c.value;
        EXPECT_EQ(ShownMode(s.tracks[0]), c.mode) << +c.value;
        EXPECT_EQ(ShownDensity(s.tracks[0]), c.density) << +c.value;
        EXPECT_EQ(ShownParity(c.value), c.parity) << +c.value;
    }
    for (uint16_t position : {0, 1, 2, 0xFFFF}) {
        s.encoderPosition = position;
        EXPECT_EQ(ShownPosition(s), position == 1 ? 1 : 0) << position;
    }
}

TEST(EncoderRules, EncoderDialogView) {
    struct Case {
        uint8_t type;
        uint16_t position;
        bool noReversed;
        int shownPosition;
        bool reversed, normal, advanced;
    };
    const Case cases[] = {
        {0, 0, false, 0, true, true, true},   {1, 0, false, 0, false, false, true},
        {2, 0, false, 0, true, true, false},  {0, 0, true, 1, false, true, true},
        {1, 0, true, 1, false, false, true},  {2, 1, true, 1, false, true, false},
        {9, 5, false, 0, true, true, true},
    };
    for (const Case& c : cases) {
        EncoderSettings edit = BuiltInEncoderDefaults();
        edit.encoderType = c.type;
        edit.encoderPosition = c.position;
        const EncoderView view = EncoderDialogView(edit, c.noReversed);
        const std::string where = "type " + std::to_string(c.type) + " position " + std::to_string(c.position) +
                                  (c.noReversed ? " 796" : "");
        EXPECT_EQ(view.position, c.shownPosition) << where;
        EXPECT_EQ(view.reversedEnabled, c.reversed) << where;
        EXPECT_EQ(view.normalEnabled, c.normal) << where;
        EXPECT_EQ(view.advancedEnabled, c.advanced) << where;
        EXPECT_EQ(+edit.encoderType, +c.type) << "the stored type stays, " << where;
        EXPECT_EQ(+edit.encoderPosition, c.noReversed ? 1 : +c.position) << where;
    }
}

TEST(EncoderRules, AdvancedDialogView) {
    struct Case {
        uint8_t currentTrack, type;
        bool noThird;
        int track;
        uint8_t storedAfter;
        bool track2, track3;
    };
    const Case cases[] = {
        {0, 0, false, 0, 0, true, true},  {2, 0, false, 2, 2, true, true}, {2, 0, true, 0, 0, true, false},
        {1, 1, false, 1, 1, false, false}, {2, 2, true, 0, 0, true, false}, {7, 0, false, 2, 7, true, true},
        {7, 0, true, 0, 7, true, false},
    };
    for (const Case& c : cases) {
        EncoderSettings edit = BuiltInEncoderDefaults();
        edit.currentTrack = c.currentTrack;
        edit.encoderType = c.type;
        const AdvancedView view = AdvancedDialogView(edit, c.noThird);
        const std::string where = "track " + std::to_string(c.currentTrack) + " type " + std::to_string(c.type) +
                                  (c.noThird ? " 511" : "");
        EXPECT_EQ(view.track, c.track) << where;
        EXPECT_EQ(+edit.currentTrack, +c.storedAfter) << where;
        EXPECT_EQ(view.track2Enabled, c.track2) << where;
        EXPECT_EQ(view.track3Enabled, c.track3) << where;
    }
    EncoderSettings edit = BuiltInEncoderDefaults();
    edit.tracks[0] = TrackSettings{12, 9, 1, 2, 3, 4, 1};
    const AdvancedView view = AdvancedDialogView(edit, false);
    EXPECT_EQ(view.mode, kNoChoice);
    EXPECT_EQ(view.density, 0);
    EXPECT_EQ(view.startChar, 1);
    EXPECT_EQ(view.stopChar, 2);
    EXPECT_EQ(view.startPositionMm, 3);
    EXPECT_EQ(view.charParity, 2);
    EXPECT_EQ(view.lrcParity, 1);
    EXPECT_FALSE(view.freeFormatEnabled);
    EXPECT_EQ(+edit.tracks[0].mode, 12) << "the stored mode stays";
}

// What the advanced dialog shows for a stored mode is what Apply sends for it: a mode
// the list offers selects that entry and sends its format pair; any other byte selects
// nothing and sends nothing for that track, and the free-format fields are editable
// exactly for the bit modes.
TEST(EncoderRules, ShownModeIsWhatApplySends) {
    struct Case {
        uint8_t stored;
        int shown;
        bool freeFormat;
    };
    const Case cases[] = {{0, 0, false}, {2, 2, false}, {3, 3, true},         {7, 7, true},
                          {8, kNoChoice, false}, {12, kNoChoice, false}, {255, kNoChoice, false}};
    for (const Case& c : cases) {
        for (uint8_t track = 0; track < 3; ++track) {
            EncoderSettings edit = BuiltInEncoderDefaults();
            edit.currentTrack = track;
            edit.tracks[track].mode = c.stored;
            const AdvancedView view = AdvancedDialogView(edit, false);
            const std::string where = "mode " + std::to_string(c.stored) + " on track " + std::to_string(track + 1);
            EXPECT_EQ(view.mode, c.shown) << where;
            EXPECT_EQ(view.freeFormatEnabled, c.freeFormat) << where;
            EXPECT_EQ(IsFreeFormatMode(view.mode), c.freeFormat) << where;
            const bool sent = !TrackFormatCommand(track + 1u, c.stored, false).empty();
            EXPECT_EQ(sent, view.mode != kNoChoice) << where;
            EXPECT_EQ(+edit.tracks[track].mode, +c.stored) << where << ": the stored byte stays";
        }
    }
}

}  // namespace
}  // namespace qf
