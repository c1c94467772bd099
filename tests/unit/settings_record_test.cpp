// The settings record: the offline ribbon mapping, the generated defaults block, the
// driver-default public part, and the field tables with their decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "driver/settings/builtin_defaults.h"
#include "driver/settings/private_settings.h"
#include "driver/settings/public_devmode.h"
#include "driver/settings/record_fields.h"
#include "driver/resources/resource.h"
#include "driver/settings/record_sizes.h"
#include "driver/settings/ribbons.h"
#include "tests/unit/string_table.h"

namespace qf {
namespace {

std::string ModuleRibbonName(uint32_t code) { return StringTableText(IDS_RIBBON_NAME_FIRST + RibbonNameIndex(code)); }

// Fields of the packed records are read as values (unary +) or through bytes: a
// reference to one would carry an alignment the field may not have.
// UTF-16 text of `chars` characters at `offset` of a record, up to its first zero.
std::u16string Text16At(const void* record, size_t offset, size_t chars) {
    std::u16string text(chars, u'\0');
    std::memcpy(&text[0], static_cast<const uint8_t*>(record) + offset, chars * sizeof(char16_t));
    return text.substr(0, text.find(u'\0'));
}

void PutText16At(void* record, size_t offset, const char16_t* text, size_t chars) {
    std::memcpy(static_cast<uint8_t*>(record) + offset, text, chars * sizeof(char16_t));
}

template <size_t N>
std::string TextOf(const char (&field)[N]) {
    return std::string(field, std::find(field, field + N, '\0'));
}

std::vector<uint8_t> ReadDefaultsBlock() {
    std::ifstream file(QF_DEFAULTS_BLOCK, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

PrivateSettings DefaultsSettings() {
    const std::vector<uint8_t> block = ReadDefaultsBlock();
    PrivateSettings settings;
    std::memset(&settings, 0, sizeof(settings));
    std::memcpy(&settings, block.data(), std::min(block.size(), sizeof(settings)));
    return settings;
}

std::vector<uint8_t> BytesOf(const void* record, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(record);
    return std::vector<uint8_t>(bytes, bytes + size);
}

TEST(RibbonFromManualIndex, OfflineListEntries) {
    const std::pair<int, int> kCases[] = {
        {-1, 1}, {0, 1}, {1, 8}, {2, 7}, {3, 0}, {4, 12}, {5, 1}, {6, 6}, {7, 5},
        {8, 2}, {9, 3}, {10, 4}, {11, 1}, {12, 1}, {1000000, 1}, {INT_MIN, 1}, {INT_MAX, 1},
    };
    for (const auto& [entry, ribbon] : kCases) {
        EXPECT_EQ(RibbonFromManualIndex(entry), ribbon) << "offline list entry " << entry;
    }
}

TEST(DefaultsBlock, IsOneSignedPrivateBlock) {
    const std::vector<uint8_t> block = ReadDefaultsBlock();
    ASSERT_EQ(block.size(), static_cast<size_t>(kPrivateSize)) << QF_DEFAULTS_BLOCK;
    EXPECT_EQ(block[0], 0x45);
    EXPECT_EQ(block[1], 0x5A);
}

// The block linked into the module is the data file's block, byte for byte.
TEST(DefaultsBlock, TheBuiltInBlockIsTheDataFile) {
    const std::vector<uint8_t> block = ReadDefaultsBlock();
    ASSERT_EQ(block.size(), sizeof kBuiltInDefaultsBlock);
    EXPECT_EQ(std::memcmp(block.data(), kBuiltInDefaultsBlock, block.size()), 0);
}

TEST(DefaultsBlock, HoldsTheSettingsOfANewPrinter) {
    const PrivateSettings s = DefaultsSettings();
    EXPECT_EQ(+s.signature, kSettingsSignature);
    EXPECT_EQ(+s.rotate180, 0);
    EXPECT_EQ(+s.printBothSides, 0);
    EXPECT_EQ(+s.ribbonType, 0) << "YMCKO";
    EXPECT_EQ(+s.monoRibbonKind, 0);
    EXPECT_EQ(+s.colorAdjustExtra, 0);
    EXPECT_EQ(+s.printModeIndex, 0);
    EXPECT_EQ(+s.printingMode, 0);
    EXPECT_EQ(+s.manualRibbon, 0);
    EXPECT_EQ(+s.modelClass, 0);

    const EncoderSettings& encoder = s.encoderSettings;
    EXPECT_EQ(+encoder.encoderPresent, 0);
    EXPECT_EQ(+encoder.macroEnabled, 1);
    EXPECT_EQ(TextOf(encoder.startOfData), "${");
    EXPECT_EQ(TextOf(encoder.endOfData), "}$");
    EXPECT_EQ(+encoder.coercivity, 2);
    EXPECT_EQ(+encoder.encoderPosition, 1);
    EXPECT_EQ(+encoder.encoderType, 0);
    EXPECT_EQ(+encoder.currentTrack, 0);
    // mode, density, startChar, stopChar, startPositionMm, charParity, lrcParity
    const std::array<int, 7> kTracks[kTrackCount] = {
        {0, 1, 65, 90, 7, 0, 0}, {1, 0, 65, 90, 7, 0, 0}, {2, 1, 65, 90, 7, 0, 0}};
    for (int track = 0; track < kTrackCount; ++track) {
        const TrackSettings& t = encoder.tracks[track];
        const std::array<int, 7> got = {t.mode, t.density, t.startChar, t.stopChar,
                                        t.startPositionMm, t.charParity, t.lrcParity};
        EXPECT_EQ(got, kTracks[track]) << "track " << track + 1;
    }

    for (int i = 0; i < kHeadSettingCount; ++i) EXPECT_EQ(+s.headSettings[i], 5) << "head setting " << i;
    for (int i = 0; i < kColorAdjustCount; ++i) EXPECT_EQ(+s.colorAdjust[i], 0) << "colour value " << i;

    EXPECT_EQ(+s.frontOverlay.overlayType, 0);
    EXPECT_EQ(+s.backOverlay.overlayType, 0);
    EXPECT_EQ(+s.hologramOverlay.region.overlayType, 0);
    for (size_t path : {offsetof(PrivateSettings, frontOverlay.bitmapPath),
                        offsetof(PrivateSettings, backOverlay.bitmapPath),
                        offsetof(PrivateSettings, hologramOverlay.region.bitmapPath)}) {
        EXPECT_EQ(Text16At(&s, path, kBitmapPathChars), u"") << "bitmap path at " << path;
    }

    // The unused areas stay zero.
    const std::vector<uint8_t> block = BytesOf(&s, sizeof(s));
    for (const RecordField& field : PrivateRecordFields()) {
        if (field.name.find("reserved") == std::string::npos) continue;
        for (uint32_t i = 0; i < field.size; ++i) {
            EXPECT_EQ(block[field.offset + i], 0) << field.name << " byte " << i;
        }
    }
}

TEST(DefaultsBlock, AreasKeepTheAreaRules) {
    const PrivateSettings s = DefaultsSettings();
    const std::pair<const char*, OverlayRegion> kAreas[] = {
        {"frontOverlay", s.frontOverlay},
        {"backOverlay", s.backOverlay},
        {"hologramOverlay.region", s.hologramOverlay.region},
    };
    for (const auto& [name, area] : kAreas) {
        const uint32_t left = area.left, top = area.top, right = area.right, bottom = area.bottom;
        SCOPED_TRACE(testing::Message() << name << ": " << left << ", " << top << " - " << right << ", "
                                        << bottom);
        EXPECT_LE(left, kAreaMaxX);
        EXPECT_LE(right, kAreaMaxX);
        EXPECT_LE(top, kAreaMaxY);
        EXPECT_LE(bottom, kAreaMaxY);
        EXPECT_LT(left, right);
        EXPECT_LT(top, bottom);
    }
}

TEST(DriverDefaultPublicPart, Values) {
    const PublicDevmode d = DriverDefaultPublicPart(kDriverRecordNames);
    EXPECT_EQ(Text16At(&d, offsetof(PublicDevmode, dmDeviceName), kDeviceNameChars),
              u"Varlo Halvard Line Printer");
    EXPECT_EQ(Text16At(&d, offsetof(PublicDevmode, dmFormName), kFormNameChars), u"86mmx54mm Card");
    const struct {
        const char* name;
        long long value;
    } kNumbers[] = {
        {"dmSpecVersion", d.dmSpecVersion},   {"dmDriverVersion", d.dmDriverVersion},
        {"dmSize", d.dmSize},                 {"dmDriverExtra", d.dmDriverExtra},
        {"dmFields", d.dmFields},             {"dmOrientation", d.dmOrientation},
        {"dmPaperSize", d.dmPaperSize},       {"dmPaperLength", d.dmPaperLength},
        {"dmPaperWidth", d.dmPaperWidth},     {"dmScale", d.dmScale},
        {"dmCopies", d.dmCopies},             {"dmDefaultSource", d.dmDefaultSource},
        {"dmPrintQuality", d.dmPrintQuality}, {"dmColor", d.dmColor},
        {"dmDuplex", d.dmDuplex},             {"dmYResolution", d.dmYResolution},
        {"dmTTOption", d.dmTTOption},         {"dmCollate", d.dmCollate},
        {"dmLogPixels", d.dmLogPixels},       {"dmBitsPerPel", d.dmBitsPerPel},
        {"dmPelsWidth", d.dmPelsWidth},       {"dmPelsHeight", d.dmPelsHeight},
        {"dmDisplayFlags", d.dmDisplayFlags}, {"dmDisplayFrequency", d.dmDisplayFrequency},
        {"dmICMMethod", d.dmICMMethod},       {"dmICMIntent", d.dmICMIntent},
        {"dmMediaType", d.dmMediaType},       {"dmDitherType", d.dmDitherType},
        {"dmReserved1", d.dmReserved1},       {"dmReserved2", d.dmReserved2},
    };
    const long long kExpected[] = {0x0401, 1, 212, 3856, 0x07805F03, 2, 258, 541, 866, 100,
                                   1, 256, 300, 2, 1, 300, 1, 1, 300, 24,
                                   640, 1024, 0, 0, 2, 2, 3, 0, 0, 0};
    static_assert(std::size(kNumbers) == std::size(kExpected), "one expected value per field");
    for (size_t i = 0; i < std::size(kNumbers); ++i) {
        EXPECT_EQ(kNumbers[i].value, kExpected[i]) << kNumbers[i].name;
    }

    // The names are zero-padded to the end of their fields.
    const std::vector<uint8_t> bytes = BytesOf(&d, sizeof(d));
    const size_t nameEnd = 2 * (std::size(u"Varlo Halvard Line Printer") - 1);
    const size_t formStart = offsetof(PublicDevmode, dmFormName);
    const size_t formEnd = formStart + 2 * (std::size(u"86mmx54mm Card") - 1);
    EXPECT_TRUE(std::all_of(bytes.begin() + nameEnd, bytes.begin() + offsetof(PublicDevmode, dmSpecVersion),
                            [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(bytes.begin() + formEnd, bytes.begin() + offsetof(PublicDevmode, dmLogPixels),
                            [](uint8_t b) { return b == 0; }));
}

// A translated name longer than its field is cut so that the field keeps its zero.
TEST(DriverDefaultPublicPart, LongNamesAreCut) {
    const std::u16string longName(40, u'x');
    const PublicDevmode d = DriverDefaultPublicPart({longName, longName});
    EXPECT_EQ(Text16At(&d, offsetof(PublicDevmode, dmDeviceName), kDeviceNameChars), longName.substr(0, 31));
    EXPECT_EQ(Text16At(&d, offsetof(PublicDevmode, dmFormName), kFormNameChars), longName.substr(0, 31));
    EXPECT_EQ(d.dmSpecVersion, 0x0401) << "the field after the device name is untouched";
}

struct Part {
    const char* name;
    bool privatePart;
    const std::vector<RecordField>& fields;
    size_t size;
};

std::vector<Part> Parts() {
    return {{"public", false, PublicRecordFields(), static_cast<size_t>(kPublicSize)},
            {"private", true, PrivateRecordFields(), static_cast<size_t>(kPrivateSize)}};
}

TEST(RecordFields, CoverTheirPartWithoutOverlap) {
    for (const Part& part : Parts()) {
        SCOPED_TRACE(part.name);
        ASSERT_FALSE(part.fields.empty());
        std::set<std::string> names;
        uint32_t end = 0;
        for (const RecordField& field : part.fields) {
            SCOPED_TRACE(field.name);
            EXPECT_EQ(field.offset, end) << "a gap or an overlap before the field";
            EXPECT_GT(field.size, 0u);
            EXPECT_LE(field.offset + field.size, part.size);
            const size_t width = NumberWidth(field.kind);
            if (width != 0) {
                EXPECT_EQ(field.size, width);
            }
            if (field.kind == FieldKind::kText16) {
                EXPECT_EQ(field.size % 2, 0u);
            }
            EXPECT_TRUE(names.insert(field.name).second) << "named twice";
            EXPECT_NE(field.meaning, nullptr);
            end = field.offset + field.size;
        }
        EXPECT_EQ(end, part.size);
    }
}

struct Member {
    const char* name;
    size_t offset;
    size_t size;
};

#define QF_PRIVATE(path) {#path, offsetof(PrivateSettings, path), sizeof(PrivateSettings::path)}
#define QF_PUBLIC(path) {#path, offsetof(PublicDevmode, path), sizeof(PublicDevmode::path)}

// Every member of the structs, and the members of one of each nested record. A member
// that is a record or an array is described by the fields under its name.
const Member kPrivateMembers[] = {
    QF_PRIVATE(signature), QF_PRIVATE(reserved2), QF_PRIVATE(rotate180), QF_PRIVATE(printBothSides),
    QF_PRIVATE(ribbonType), QF_PRIVATE(monoRibbonKind), QF_PRIVATE(colorAdjustExtra),
    QF_PRIVATE(reserved13), QF_PRIVATE(printModeIndex), QF_PRIVATE(reserved16), QF_PRIVATE(blackBitmap),
    QF_PRIVATE(monoConversion), QF_PRIVATE(blackPanel), QF_PRIVATE(reserved23), QF_PRIVATE(printingMode),
    QF_PRIVATE(manualRibbon), QF_PRIVATE(reserved28), QF_PRIVATE(reserved32), QF_PRIVATE(modelClass),
    QF_PRIVATE(reserved34), QF_PRIVATE(encoderSettings), QF_PRIVATE(frontOverlay), QF_PRIVATE(backOverlay),
    QF_PRIVATE(hologramOverlay), QF_PRIVATE(headSettings), QF_PRIVATE(reserved3235),
    QF_PRIVATE(colorAdjust), QF_PRIVATE(reserved3252), QF_PRIVATE(thirdTrackText),
    QF_PRIVATE(thirdTrackWord), QF_PRIVATE(reserved3792),
    QF_PRIVATE(encoderSettings.encoderPresent), QF_PRIVATE(encoderSettings.macroEnabled),
    QF_PRIVATE(encoderSettings.startOfData), QF_PRIVATE(encoderSettings.endOfData),
    QF_PRIVATE(encoderSettings.coercivity), QF_PRIVATE(encoderSettings.reserved25),
    QF_PRIVATE(encoderSettings.encoderPosition), QF_PRIVATE(encoderSettings.encoderType),
    QF_PRIVATE(encoderSettings.currentTrack), QF_PRIVATE(encoderSettings.tracks),
    QF_PRIVATE(encoderSettings.reserved51),
    QF_PRIVATE(encoderSettings.tracks[2].mode), QF_PRIVATE(encoderSettings.tracks[2].density),
    QF_PRIVATE(encoderSettings.tracks[2].startChar), QF_PRIVATE(encoderSettings.tracks[2].stopChar),
    QF_PRIVATE(encoderSettings.tracks[2].startPositionMm), QF_PRIVATE(encoderSettings.tracks[2].charParity),
    QF_PRIVATE(encoderSettings.tracks[2].lrcParity),
    QF_PRIVATE(backOverlay.overlayType), QF_PRIVATE(backOverlay.rotated), QF_PRIVATE(backOverlay.left),
    QF_PRIVATE(backOverlay.top), QF_PRIVATE(backOverlay.right), QF_PRIVATE(backOverlay.bottom),
    QF_PRIVATE(backOverlay.bitmapPath),
    QF_PRIVATE(hologramOverlay.enabled), QF_PRIVATE(hologramOverlay.copies),
    QF_PRIVATE(hologramOverlay.region), QF_PRIVATE(hologramOverlay.region.overlayType),
    QF_PRIVATE(hologramOverlay.region.bottom), QF_PRIVATE(hologramOverlay.region.bitmapPath),
};

const Member kPublicMembers[] = {
    QF_PUBLIC(dmDeviceName), QF_PUBLIC(dmSpecVersion), QF_PUBLIC(dmDriverVersion), QF_PUBLIC(dmSize),
    QF_PUBLIC(dmDriverExtra), QF_PUBLIC(dmFields), QF_PUBLIC(dmOrientation), QF_PUBLIC(dmPaperSize),
    QF_PUBLIC(dmPaperLength), QF_PUBLIC(dmPaperWidth), QF_PUBLIC(dmScale), QF_PUBLIC(dmCopies),
    QF_PUBLIC(dmDefaultSource), QF_PUBLIC(dmPrintQuality), QF_PUBLIC(dmColor), QF_PUBLIC(dmDuplex),
    QF_PUBLIC(dmYResolution), QF_PUBLIC(dmTTOption), QF_PUBLIC(dmCollate), QF_PUBLIC(dmFormName),
    QF_PUBLIC(dmLogPixels), QF_PUBLIC(dmBitsPerPel), QF_PUBLIC(dmPelsWidth), QF_PUBLIC(dmPelsHeight),
    QF_PUBLIC(dmDisplayFlags), QF_PUBLIC(dmDisplayFrequency), QF_PUBLIC(dmICMMethod),
    QF_PUBLIC(dmICMIntent), QF_PUBLIC(dmMediaType), QF_PUBLIC(dmDitherType), QF_PUBLIC(dmReserved1),
    QF_PUBLIC(dmReserved2),
};

#undef QF_PRIVATE
#undef QF_PUBLIC

template <size_t N>
void ExpectMembersDescribed(const std::vector<RecordField>& fields, const Member (&members)[N]) {
    for (const Member& member : members) {
        SCOPED_TRACE(member.name);
        const std::string name = member.name;
        const auto exact = std::find_if(fields.begin(), fields.end(),
                                        [&](const RecordField& f) { return f.name == name; });
        if (exact != fields.end()) {
            EXPECT_EQ(exact->offset, member.offset);
            EXPECT_EQ(exact->size, member.size);
            continue;
        }
        size_t first = SIZE_MAX, end = 0, bytes = 0;
        for (const RecordField& f : fields) {
            const bool under = f.name.compare(0, name.size(), name) == 0 && f.name.size() > name.size() &&
                               (f.name[name.size()] == '.' || f.name[name.size()] == '[');
            if (!under) continue;
            first = std::min<size_t>(first, f.offset);
            end = std::max<size_t>(end, f.offset + f.size);
            bytes += f.size;
        }
        ASSERT_NE(bytes, 0u) << "no field describes it";
        EXPECT_EQ(first, member.offset);
        EXPECT_EQ(end, member.offset + member.size);
        EXPECT_EQ(bytes, member.size);
    }
}

TEST(RecordFields, DescribeEveryStructMember) {
    ExpectMembersDescribed(PrivateRecordFields(), kPrivateMembers);
    ExpectMembersDescribed(PublicRecordFields(), kPublicMembers);
}

// The value part of the line that describes `name`, or "(no line)".
std::string ValueOf(const std::vector<std::string>& lines, const std::string& name) {
    const std::string start = name + " = ";
    for (const std::string& line : lines) {
        if (line.compare(0, start.size(), start) != 0) continue;
        const size_t meaning = line.rfind("  (");
        return line.substr(start.size(), meaning == std::string::npos ? std::string::npos
                                                                       : meaning - start.size());
    }
    return "(no line)";
}

TEST(DescribeFields, DecodesTheDefaults) {
    const std::vector<uint8_t> block = ReadDefaultsBlock();
    const PublicDevmode publicPart = DriverDefaultPublicPart(kDriverRecordNames);
    const std::vector<std::string> privateLines = DescribeFields(block.data(), block.size(), true, ModuleRibbonName);
    const std::vector<std::string> publicLines =
        DescribeFields(reinterpret_cast<const uint8_t*>(&publicPart), sizeof(publicPart), false);
    EXPECT_EQ(privateLines.size(), PrivateRecordFields().size());
    EXPECT_EQ(publicLines.size(), PublicRecordFields().size());

    const struct {
        bool privatePart;
        const char* name;
        const char* value;
    } kCases[] = {
        {true, "signature", "0x5A45"},
        {true, "reserved2", "00 00 00 00"},
        {true, "ribbonType", "0 (YMCKO)"},
        {true, "blackPanel", "1 (use always)"},
        {true, "manualRibbon", "0 (learnt from the printer)"},
        {true, "encoderSettings.startOfData", "\"${\""},
        {true, "encoderSettings.coercivity", "2 (no change)"},
        {true, "encoderSettings.tracks[1].mode", "1 (ISO2)"},
        {true, "encoderSettings.tracks[1].density", "0 (75 bpi)"},
        {true, "encoderSettings.tracks[2].startChar", "65"},
        {true, "frontOverlay.overlayType", "0 (full overlay varnish)"},
        {true, "hologramOverlay.region.overlayType", "0 (full hologram overlay varnish)"},
        {true, "backOverlay.bitmapPath", "\"\""},
        {true, "headSettings[10]", "5"},
        {true, "colorAdjust[7]", "0"},
        {true, "reserved3252", "424 bytes, 0 non-zero"},
        {true, "thirdTrackText", "\"\""},
        {false, "dmDeviceName", "\"Varlo Halvard Line Printer\""},
        {false, "dmSpecVersion", "0x0401"},
        {false, "dmFields", "0x07805F03"},
        {false, "dmOrientation", "2 (landscape)"},
        {false, "dmPaperSize", "258"},
        {false, "dmDuplex", "1 (simplex)"},
        {false, "dmMediaType", "3 (glossy)"},
        {false, "dmDitherType", "0"},
        {false, "dmFormName", "\"86mmx54mm Card\""},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(ValueOf(c.privatePart ? privateLines : publicLines, c.name), c.value) << c.name;
    }
    EXPECT_EQ(privateLines.front(), "signature = 0x5A45  (0x5A45 marks a valid block)");
}

TEST(DescribeFields, RendersUnusualValues) {
    PrivateSettings s = DefaultsSettings();
    s.colorAdjust[0] = -100;
    s.blackPanel = 9;                // beyond the named values
    s.ribbonType = 200;              // no ribbon code
    s.frontOverlay.right = 0xFFFFFFFFu;
    std::memset(s.encoderSettings.startOfData, 'A', sizeof(s.encoderSettings.startOfData));
    const char endOfData[] = "\t\"\\\xE9";
    std::memcpy(s.encoderSettings.endOfData, endOfData, sizeof(endOfData));
    // "é", U+1F600 as a surrogate pair, an unpaired surrogate, a quote.
    const char16_t path[] = {u'\u00E9', 0xD83D, 0xDE00, 0xDC00, u'"', 0};
    PutText16At(&s, offsetof(PrivateSettings, backOverlay.bitmapPath), path, std::size(path));
    const std::u16string fullPath(kBitmapPathChars, u'x');
    PutText16At(&s, offsetof(PrivateSettings, hologramOverlay.region.bitmapPath), fullPath.data(),
                fullPath.size());
    s.reserved3252[10] = 1;
    s.reserved3252[423] = 0xFF;
    s.reserved28[2] = 0xAB;

    const std::vector<std::string> lines = DescribeFields(reinterpret_cast<const uint8_t*>(&s), sizeof(s), true);
    const std::pair<const char*, std::string> kCases[] = {
        {"colorAdjust[0]", "-100"},
        {"blackPanel", "9"},
        {"ribbonType", "200"},
        {"frontOverlay.right", "4294967295"},
        {"encoderSettings.startOfData", "\"AAAAAAAAAA\" (no terminating zero)"},
        {"encoderSettings.endOfData", "\"\\x09\\\"\\\\\\xE9\""},
        {"backOverlay.bitmapPath", "\"\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD\\\"\""},
        {"hologramOverlay.region.bitmapPath", "\"" + std::string(kBitmapPathChars, 'x') + "\" (no terminating zero)"},
        {"reserved3252", "424 bytes, 2 non-zero"},
        {"reserved28", "00 00 AB 00"},
    };
    for (const auto& [name, value] : kCases) EXPECT_EQ(ValueOf(lines, name), value) << name;
}

TEST(DescribeFields, ReadsNothingBeyondTheData) {
    const std::vector<uint8_t> block = ReadDefaultsBlock();
    ASSERT_EQ(block.size(), static_cast<size_t>(kPrivateSize));
    const PublicDevmode publicPart = DriverDefaultPublicPart(kDriverRecordNames);
    const std::vector<uint8_t> publicBytes = BytesOf(&publicPart, sizeof(publicPart));

    for (const Part& part : Parts()) {
        const std::vector<uint8_t>& full = part.privatePart ? block : publicBytes;
        // Lengths at every field edge: the data ends inside a field or right after it.
        std::set<size_t> sizes = {0, part.size + 1};
        for (const RecordField& field : part.fields) {
            sizes.insert({field.offset, field.offset + 1, field.offset + field.size - 1});
        }
        for (size_t size : sizes) {
            // A buffer of exactly `size` bytes, so that a read past it is caught.
            std::vector<uint8_t> data(full.begin(), full.begin() + std::min(size, full.size()));
            data.resize(size);
            const std::vector<std::string> lines =
                DescribeFields(data.empty() ? nullptr : data.data(), size, part.privatePart);
            const auto missing = std::find_if(part.fields.begin(), part.fields.end(), [&](const RecordField& f) {
                return f.offset + f.size > size;
            });
            const size_t complete = static_cast<size_t>(missing - part.fields.begin());
            SCOPED_TRACE(testing::Message() << part.name << " part, " << size << " bytes");
            if (missing == part.fields.end()) {
                EXPECT_EQ(lines.size(), part.fields.size());
                continue;
            }
            ASSERT_EQ(lines.size(), complete + 1);
            EXPECT_NE(lines.back().find(missing->name + " and the fields after it are missing"), std::string::npos)
                << lines.back();
        }
    }
}

}  // namespace
}  // namespace qf
