// Ribbon identification: printer numbers, names, the catalogue, model texts and the
// print modes of every ribbon.
#include "driver/settings/ribbons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/resources/resource.h"
#include "tests/unit/string_table.h"

namespace qf {
namespace {

// The texts the module shows for a ribbon code and a print-mode list.
std::string Name(uint32_t code) { return StringTableText(IDS_RIBBON_NAME_FIRST + RibbonNameIndex(code)); }

std::vector<std::string> Texts(const PrintModes& modes) {
    std::vector<std::string> texts;
    for (size_t i = 0; i < modes.count && i < kMaxPrintModes; ++i)
        texts.push_back(StringTableText(IDS_PRINT_MODE_FIRST + modes.modes[i]));
    return texts;
}

TEST(Ribbons, PrinterNumberToCode) {
    // Codes of printer numbers -1 to 40.
    const uint8_t kExpected[] = {
        15,                                      // -1
        15, 14, 0, 6, 7, 8, 5, 1, 1, 1,          // 0..9
        1, 1, 1, 1, 0, 6, 2, 3, 10, 4,           // 10..19
        4, 9, 11, 12, 12, 11, 12, 12, 13, 15,    // 20..29
        0, 15, 15, 15, 15, 15, 15, 15, 15, 15,   // 30..39
        15,                                      // 40
    };
    for (int32_t number = -1; number <= 40; ++number) {
        EXPECT_EQ(RibbonFromPrinterNumber(number), kExpected[number + 1]) << "printer number " << number;
    }
    EXPECT_EQ(RibbonFromPrinterNumber(INT32_MIN), kRibbonNone);
    EXPECT_EQ(RibbonFromPrinterNumber(INT32_MAX), kRibbonNone);
}

TEST(Ribbons, ReplyToCode) {
    struct Row {
        std::string text;
        int32_t number;
        uint8_t code;
    };
    const Row rows[] = {
        {"2", 2, kRibbonYmcko},
        {"12 ", 12, kRibbonKResin},
        {" 19", 19, kRibbonHologram},
        {"+21", 21, kRibbonClearVarnish},
        {"28xyz", 28, kRibbonKd},
        {"1", 1, kRibbonUnknownMono},
        {"0", 0, kRibbonNone},
        {"-1", -1, kRibbonNone},
        {"", 0, kRibbonNone},
        {"RIBBON", 0, kRibbonNone},
        {"?2", 0, kRibbonNone},
        {std::string("2\0" "5", 3), 2, kRibbonYmcko},
        {"4294967298", INT32_MAX, kRibbonNone},  // would wrap to 2 in 32 bits
        {"-2147483648", INT32_MIN, kRibbonNone},
        {"-99999999999", INT32_MIN, kRibbonNone},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ParseRibbonNumber(row.text), row.number) << '"' << row.text << '"';
        EXPECT_EQ(RibbonFromReply(row.text), row.code) << '"' << row.text << '"';
    }
}

TEST(Ribbons, EncoderReply) {
    EXPECT_TRUE(IsEncoderReply("1"));
    EXPECT_TRUE(IsEncoderReply("1 "));
    EXPECT_FALSE(IsEncoderReply("0"));
    EXPECT_FALSE(IsEncoderReply(" 1"));
    EXPECT_FALSE(IsEncoderReply(""));
}

TEST(Ribbons, NamesAndChangeNotice) {
    const char* const kNames[] = {
        "YMCKO", "Kresin", "KdO", "KrO", "Hologram", "YMC", "YMCK", "YMCKK", "YMCKOK",
        "Clear Varnish", "Scratch Off", "YMCKUv", "YMCUvK", "Kd", "Unknown Monochrome",
    };
    for (uint32_t code = 0; code < 15; ++code) {
        EXPECT_EQ(Name(code), kNames[code]) << "code " << code;
        EXPECT_EQ(Name(code + 0x100), kNames[code]) << "only the low byte counts";
        EXPECT_EQ(RibbonChangeNotice(code),
                  code == 14 ? RibbonChange::kChangedMonochrome : RibbonChange::kChanged) << "code " << code;
    }
    for (uint32_t code : {15u, 16u, 255u, 0xFFFFFFFFu}) {
        EXPECT_EQ(Name(code), "None") << "code " << code;
        EXPECT_EQ(RibbonChangeNotice(code), RibbonChange::kNoRibbon) << "code " << code;
    }
}

TEST(Ribbons, Catalogue) {
    EXPECT_EQ(RibbonCataloguePath(u"C:\\WINDOWS\\System32\\spool\\DRIVERS\\W32X86"),
              u"C:\\WINDOWS\\System32\\spool\\DRIVERS\\W32X86\\2\\qf862rib.ini");
    EXPECT_EQ(RibbonCataloguePath(u"C:\\drivers\\"), u"C:\\drivers\\qf862rib.ini");

    EXPECT_EQ(RibbonCatalogueKey(2), u"2");
    EXPECT_EQ(RibbonCatalogueKey(30), u"30");
    EXPECT_EQ(RibbonCatalogueKey(-1), u"-1");
    EXPECT_EQ(RibbonCatalogueKey(0x10002), u"2");  // the low 16 bits

    const std::u16string longName = u"A ribbon name longer than thirty-one characters";
    EXPECT_EQ(CutCatalogueValue(longName), longName.substr(0, 31));
    EXPECT_EQ(CutCatalogueValue(longName.substr(0, 31)), longName.substr(0, 31));
    EXPECT_EQ(CutCatalogueValue(std::u16string(u"YMCKO\0junk", 10)), u"YMCKO");
    EXPECT_EQ(CutCatalogueValue(u""), u"");
    // Names in any script pass whole: a character is one unit, never a byte of it.
    EXPECT_EQ(CutCatalogueValue(u"リボン YMCKO"), u"リボン YMCKO");
}

TEST(Ribbons, ModelClassAndTests) {
    struct Row {
        const char* model;
        uint8_t modelClass;
        bool duplex;
        bool model796;
        bool model511Or513;
    };
    const Row rows[] = {
        {"Q862k V2.14", 5, true, false, false},
        {"Q858 V1.0", 5, true, false, false},
        {"Q519 V3.1", 4, false, false, false},
        {"Q517", 3, false, false, false},
        {"Q513", 2, false, false, true},
        {"Q511", 1, false, false, true},
        {"Q796 V1.2", 0, false, true, false},
        {"", 0, false, false, false},
        {"51 1 86 2", 0, false, false, false},
        // The first number of the order wins, wherever it stands in the text.
        {"Q513/511", 1, false, false, true},
        {"Q862 with 519 head", 4, true, false, false},
        {"Q858-517", 3, true, false, false},
        {"Q862 796", 5, true, true, false},
        {"Q796 513", 2, false, true, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ClassifyModel(row.model), row.modelClass) << row.model;
        EXPECT_EQ(IsDuplexModel(row.model), row.duplex) << row.model;
        EXPECT_EQ(IsModel796(row.model), row.model796) << row.model;
        EXPECT_EQ(IsModel511Or513(row.model), row.model511Or513) << row.model;
    }
}

// Every ribbon, every kind and both choices of sides.
TEST(Ribbons, PrintModeLists) {
    using Lines = std::vector<std::string>;
    struct Row {
        Lines oneSide;
        Lines bothSides;
    };
    const Row kByRibbon[] = {
        {{"Front YMCKO"}, {"Front YMCO, Back K", "Front YMCKO, Back YMCKO", "Front YMC, Back KO"}},
        {{"Front K"}, {"Front and Back K"}},
        {{"Front KdO"}, {"Front KdO, Back KdO"}},
        {{"Front KrO"}, {"Front KrO, Back KrO"}},
        {{"Front Hologram"}, {"Front and Back Hologram"}},
        {{"Front YMC"}, {"Front YMC, Back YMC"}},
        {{"Front YMCK"}, {"Front YMC, Back K", "Front YMCK, Back YMCK"}},
        {{"Front YMCK"}, {"Front YMCK, Back K", "Front YMCK, Back YMCK"}},
        {{"Front YMCKO"},
         {"Front YMCKO, Back K", "Front YMC, Back KO", "Front YMCKO, Back YMCKO", "Front YMCK, Back K"}},
        {{"Front Clear Varnish"}, {"Front and Back Clear Varnish"}},
        {{"Front Scratch Off"}, {"Front and Back Scratch Off"}},
        {{"Print YMCKUv"}, {"Front YMCUv, Back K", "Front YMCKUv, Back YMCKUv", "Front YMC, Back KUv"}},
        {{"Print YMCUvK"}, {"Front YMCUv, Back K", "Front YMCUv, Back YMCUv"}},
        {{"Front Thermal"}, {"Front and Back Thermal"}},
    };
    // The unknown monochrome ribbon by kind 0..3; any other kind prints K.
    const Row kByMonoKind[] = {
        {{"Front K"}, {"Front and Back K"}},
        {{"Front Scratch Off"}, {"Front and Back Scratch Off"}},
        {{"Front Clear Varnish"}, {"Front and Back Clear Varnish"}},
        {{"Front Hologram"}, {"Front and Back Hologram"}},
    };
    const Row kNone = {{"None"}, {"None"}};

    for (int ribbon = 0; ribbon <= 255; ++ribbon) {
        for (int kind = 0; kind <= 5; ++kind) {
            const Row* expected = &kNone;
            if (ribbon < 14) expected = &kByRibbon[ribbon];
            if (ribbon == 14) expected = kind < 4 ? &kByMonoKind[kind] : &kByMonoKind[0];
            for (bool bothSides : {false, true}) {
                const PrintModes modes = PrintModeList(static_cast<uint8_t>(ribbon), static_cast<uint8_t>(kind),
                                                       bothSides);
                ASSERT_GE(modes.count, 1u);
                ASSERT_LE(modes.count, kMaxPrintModes);
                EXPECT_EQ(Texts(modes), bothSides ? expected->bothSides : expected->oneSide)
                    << "ribbon " << ribbon << " kind " << kind << " both sides " << bothSides;
            }
        }
    }
}

}  // namespace
}  // namespace qf
