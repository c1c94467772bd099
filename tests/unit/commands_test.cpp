// The command catalogue byte by byte, and the orders of the command jobs.
#include "driver/channel/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qf {
namespace {

using Commands = std::vector<std::string>;

// Control bytes made visible, so that a failure shows which byte differs.
std::string Visible(const std::string& bytes) {
    std::string out;
    for (const unsigned char c : bytes) {
        if (c == 0x1B) {
            out += "\\e";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c >= 0x7F) {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string Visible(const Commands& commands) {
    std::string out;
    for (const std::string& command : commands) out += "[" + Visible(command) + "]";
    return out;
}

TEST(Commands, EveryCommandIsExact) {
    struct Row {
        std::string built;
        std::string expected;
    };
    const Row rows[] = {
        // Questions.
        {std::string(kModelQuery), "\x1BV\r"},
        {std::string(kEncoderQuery), "\x1B!V 20\r"},
        {std::string(kOffsetXQuery), "\x1B!V 1\r"},
        {std::string(kOffsetYQuery), "\x1B!V 2\r"},
        {std::string(kRibbonQuery), "\x1B!RIBBON\r"},
        {std::string(kRibbonRemainingQuery), "\x1B!RIBLEN\r"},
        {std::string(kSerialNumberQuery), "\x1B%SERIE\r"},
        {std::string(kPanelCountQuery), "\x1B!NL\r"},
        {TrackReadQuery(1), "\x1B&L1\r"},
        {TrackReadQuery(2), "\x1B&L2\r"},
        {TrackReadQuery(3), "\x1B&L3\r"},
        {std::string(kSlaveCommand), "\x1BSLAVE\r"},
        // Tools.
        {FreeCommand("CLEAN"), "\x1B" "CLEAN\r"},
        {FreeCommand("!V 1"), "\x1B!V 1\r"},  // the same bytes as the offset question
        {std::string(kEjectFromFeeder), "\x1BME\r"},
        {std::string(kEjectFromPrinter), "\x1BMC\r"},
        {TestCardCommand(0), "\x1B" "A\r"},
        {TestCardCommand(1), "\x1B" "A 1\r"},
        {TestCardCommand(2), "\x1B" "A 2\r"},
        {std::string(kCleanPrinter), "\x1B" "CLEAN\r"},
        {std::string(kCleanEncoder), "\x1BMCLEAN\r"},
        {OffsetXCommand(0), "\x1B+O 0\r"},
        {OffsetXCommand(24), "\x1B+O 24\r"},
        {OffsetYCommand(7), "\x1B+OY 7\r"},
        {TrackLoadCommand(1, "ABC123"), "\x1B&B 1 ABC123\r"},
        {TrackLoadCommand(2, "12345"), "\x1B&B 2 12345\r"},
        {TrackLoadCommand(3, "9"), "\x1B&B 3 9\r"},
        {std::string(kEncodeTracks), "\x1B&E*\r"},
        {std::string(kToolsQueryEnd), "\x1B.\r"},
        // Encoder, tracks, single feed.
        {EncoderPositionCommand(false), "\x1B&W 0\r"},
        {EncoderPositionCommand(true), "\x1B&W 1\r"},
        {CoercivityCommand(true), "\x1B&C 1\r"},
        {CoercivityCommand(false), "\x1B&C 0\r"},
        {TrackDensityCommand(1, kDensity75), "\x1B&D 1 75\r"},
        {TrackDensityCommand(1, kDensity210), "\x1B&D 1 210\r"},
        {TrackDensityCommand(2, kDensity75), "\x1B&D 2 75\r"},
        {TrackDensityCommand(2, kDensity210), "\x1B&D 2 210\r"},
        {TrackDensityCommand(3, kDensity75), "\x1B&D 3 75\r"},
        {TrackDensityCommand(3, kDensity210), "\x1B&D 3 210\r"},
        {TrackDensityCommand(1, 7), "\x1B&D 1 75\r"},  // any density other than 210
        {std::string(kSingleFeedStart), "\x1B" "FS 1\r"},
        {std::string(kSingleFeedOn), "\x1B" "ATM 1\r"},
        {std::string(kSingleFeedOff), "\x1B" "ATM 0\r"},
        // Firmware.
        {FirmwareHeader(0x0102A3FF), std::string("\x1B" "DC \x01\x02\xA3\xFF", 8)},
        {FirmwareHeader(0), std::string("\x1B" "DC \0\0\0\0", 8)},
        {std::string(kFirmwareTrailer), "\xFF\r"},
        // Hologram.
        {HologramContrastCommand(0), "\x1B+CH 0\r"},
        {HologramContrastCommand(10), "\x1B+CH 10\r"},
        {std::string(kHologramWholeSide), "\x1BIH 30\r"},
        {std::string(kHologramByDefinition), "\x1BIH 31\r"},
        {std::string(kRectanglesStart), "\x1B" "F\r"},
        {RectangleCommand(0, 0, 1023, 639, 0), "\x1BL 0 0 1023 639 0\r"},
        {RectangleCommand(0, 0, 1023, 639, 1), "\x1BL 0 0 1023 639 1\r"},
        {RectangleCommand(100, 50, 200, 100, 1), "\x1BL 100 50 200 100 1\r"},
        {std::string(kNextSide), "\x1BMF\r"},
        {std::string(kCardEnd), "\x1BMO\r"},
        {std::string(kImageJobStart), "\x1BMASTER\r"},
        {std::string(kImageSideHeader), "\x1B" "F\r\x1BG 0 0 12 640 1024 0\r\x1BZ"},
        {std::string(kImageEnd), "\r"},
        // Port instructions.
        {PrintFileInstruction("C:\\cards\\a.prn"), "PrintFile:C:\\cards\\a.prn"},
        {SendCommandsInstruction("C:\\cards\\c.txt"), "sendcmds:C:\\cards\\c.txt"},
        {DownloadInstruction("C:\\fw\\q862.bin"), "download:C:\\fw\\q862.bin"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.built, row.expected) << Visible(row.built) << " should be " << Visible(row.expected);
    }
    EXPECT_EQ(kImageSideHeader.size(), 26u);
    EXPECT_EQ(kSingleFeedOn.size(), 7u);
}

TEST(Commands, QueriesBuiltFromSeveralCommands) {
    struct Row {
        std::string built;
        std::string expected;
    };
    const Row rows[] = {
        {SetOffsetsQuery(3, 12), "\x1B+O 3\r\x1B+OY 12\r"},
        {SetOffsetsQuery(5, std::nullopt), "\x1B+O 5\r"},
        {SetOffsetsQuery(std::nullopt, 0), "\x1B+OY 0\r"},
        {SetOffsetsQuery(std::nullopt, std::nullopt), ""},
        {EncodeTracksQuery({"ABC", "", "777"}), "\x1B&B 1 ABC\r\x1B&B 3 777\r\x1B&E*\r"},
        {EncodeTracksQuery({"A", "1", "2"}), "\x1B&B 1 A\r\x1B&B 2 1\r\x1B&B 3 2\r\x1B&E*\r"},
        {EncodeTracksQuery({"", "", ""}), ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.built, row.expected) << Visible(row.built) << " should be " << Visible(row.expected);
    }
}

// The track format commands as they are listed for each track and mode.
TEST(Commands, TrackFormatsFollowTheirRule) {
    struct Row {
        uint8_t mode;
        const char* track[3][2];  // write, read for tracks 1, 2, 3
    };
    const Row rows[] = {
        {0, {{"\x1B&CDEW 1 A\r", "\x1B&CDER 1 Q\r"}, {"\x1B&CDEW 2 b1\r", "\x1B&CDER 2 r1\r"},
             {"\x1B&CDEW 3 c1\r", "\x1B&CDER 3 s1\r"}}},
        {1, {{"\x1B&CDEW 1 a2\r", "\x1B&CDER 1 q2\r"}, {"\x1B&CDEW 2 B\r", "\x1B&CDER 2 R\r"},
             {"\x1B&CDEW 3 c2\r", "\x1B&CDER 3 s2\r"}}},
        {2, {{"\x1B&CDEW 1 a3\r", "\x1B&CDER 1 q3\r"}, {"\x1B&CDEW 2 b3\r", "\x1B&CDER 2 r3\r"},
             {"\x1B&CDEW 3 C\r", "\x1B&CDER 3 S\r"}}},
        {3, {{"\x1B&CDEW 1 E_3\r", "\x1B&CDER 1 U_3\r"}, {"\x1B&CDEW 2 E_3\r", "\x1B&CDER 2 U_3\r"},
             {"\x1B&CDEW 3 E_3\r", "\x1B&CDER 3 U_3\r"}}},
        {4, {{"\x1B&CDEW 1 E_4\r", "\x1B&CDER 1 U_4\r"}, {"\x1B&CDEW 2 E_4\r", "\x1B&CDER 2 U_4\r"},
             {"\x1B&CDEW 3 E_4\r", "\x1B&CDER 3 U_4\r"}}},
        {5, {{"\x1B&CDEW 1 E_5\r", "\x1B&CDER 1 U_5\r"}, {"\x1B&CDEW 2 E_5\r", "\x1B&CDER 2 U_5\r"},
             {"\x1B&CDEW 3 E_5\r", "\x1B&CDER 3 U_5\r"}}},
        {6, {{"\x1B&CDEW 1 E_6\r", "\x1B&CDER 1 U_6\r"}, {"\x1B&CDEW 2 E_6\r", "\x1B&CDER 2 U_6\r"},
             {"\x1B&CDEW 3 E_6\r", "\x1B&CDER 3 U_6\r"}}},
        {7, {{"\x1B&CDEW 1 E_7\r", "\x1B&CDER 1 U_7\r"}, {"\x1B&CDEW 2 E_7\r", "\x1B&CDER 2 U_7\r"},
             {"\x1B&CDEW 3 E_7\r", "\x1B&CDER 3 U_7\r"}}},
    };
    Commands listed;
    for (uint32_t track = 1; track <= 3; ++track) {
        for (const Row& row : rows) {
            for (int read = 0; read < 2; ++read) {
                const std::string expected = row.track[track - 1][read];
                listed.push_back(expected);
                const std::string built = TrackFormatCommand(track, row.mode, read == 1);
                EXPECT_EQ(built, expected) << "track " << track << " mode " << int(row.mode)
                                           << (read ? " read" : " write") << ": " << Visible(built);
            }
        }
    }
    EXPECT_EQ(TrackFormatCommands(), listed) << Visible(TrackFormatCommands());

    // Nothing for a mode or track the printer does not know.
    EXPECT_EQ(TrackFormatCommand(1, 8, false), "");
    EXPECT_EQ(TrackFormatCommand(2, 255, true), "");
    EXPECT_EQ(TrackFormatCommand(0, 0, false), "");
    EXPECT_EQ(TrackFormatCommand(4, 0, true), "");
}

TEST(Commands, EncoderSetupOrder) {
    struct Row {
        const char* what;
        uint8_t type;
        uint16_t position;
        uint8_t coercivity;
        std::array<uint8_t, 3> modes;
        Commands expected;
    };
    const Row rows[] = {
        {"ISO/JIS, normal, high", kEncoderIsoJis, kEncoderNormal, kCoercivityHigh, {0, 1, 2},
         {"\x1B&W 0\r", "\x1B&C 1\r", "\x1B&CDEW 1 A\r", "\x1B&CDER 1 Q\r", "\x1B&CDEW 2 B\r",
          "\x1B&CDER 2 R\r", "\x1B&CDEW 3 C\r", "\x1B&CDER 3 S\r"}},
        {"ISO/JIS, reversed, low, bit modes", kEncoderIsoJis, kEncoderReversed, kCoercivityLow, {3, 5, 7},
         {"\x1B&W 1\r", "\x1B&C 0\r", "\x1B&CDEW 1 E_3\r", "\x1B&CDER 1 U_3\r", "\x1B&CDEW 2 E_5\r",
          "\x1B&CDER 2 U_5\r", "\x1B&CDEW 3 E_7\r", "\x1B&CDER 3 U_7\r"}},
        {"no change of coercivity", kEncoderIsoJis, kEncoderNormal, kCoercivityNoChange, {0, 1, 2},
         {"\x1B&W 0\r", "\x1B&CDEW 1 A\r", "\x1B&CDER 1 Q\r", "\x1B&CDEW 2 B\r", "\x1B&CDER 2 R\r",
          "\x1B&CDEW 3 C\r", "\x1B&CDER 3 S\r"}},
        {"JIS2: no position, track 1 only", kEncoderJis2, kEncoderReversed, kCoercivityHigh, {1, 1, 1},
         {"\x1B&C 1\r", "\x1B&CDEW 1 a2\r", "\x1B&CDER 1 q2\r"}},
        {"AAMVA: ISO1, ISO2, ISO1 whatever is stored", kEncoderAamva, kEncoderNormal, kCoercivityHigh, {6, 2, 9},
         {"\x1B&W 0\r", "\x1B&C 1\r", "\x1B&CDEW 1 A\r", "\x1B&CDER 1 Q\r", "\x1B&CDEW 2 B\r",
          "\x1B&CDER 2 R\r", "\x1B&CDEW 3 c1\r", "\x1B&CDER 3 s1\r"}},
        {"a mode above 7 sends nothing for its track", kEncoderIsoJis, kEncoderNormal, kCoercivityNoChange, {0, 8, 2},
         {"\x1B&W 0\r", "\x1B&CDEW 1 A\r", "\x1B&CDER 1 Q\r", "\x1B&CDEW 3 C\r", "\x1B&CDER 3 S\r"}},
    };
    for (const Row& row : rows) {
        const Commands built = EncoderSetupSequence(row.type, row.position, row.coercivity, row.modes);
        EXPECT_EQ(built, row.expected) << row.what << ": " << Visible(built);
    }
}

TEST(Commands, TrackSetupOrder) {
    struct Row {
        const char* what;
        uint8_t type;
        std::array<uint8_t, 3> modes;
        std::array<uint8_t, 3> densities;
        Commands expected;
    };
    const Row rows[] = {
        {"ISO/JIS: formats of three tracks, then three densities", kEncoderIsoJis, {0, 1, 2}, {1, 0, 1},
         {"\x1B&CDEW 1 A\r", "\x1B&CDER 1 Q\r", "\x1B&CDEW 2 B\r", "\x1B&CDER 2 R\r", "\x1B&CDEW 3 C\r",
          "\x1B&CDER 3 S\r", "\x1B&D 1 210\r", "\x1B&D 2 75\r", "\x1B&D 3 210\r"}},
        {"JIS2: track 1 only", kEncoderJis2, {4, 1, 2}, {0, 1, 1},
         {"\x1B&CDEW 1 E_4\r", "\x1B&CDER 1 U_4\r", "\x1B&D 1 75\r"}},
        {"AAMVA: the stored modes, the density of track 1 only", kEncoderAamva, {2, 0, 1}, {1, 1, 1},
         {"\x1B&CDEW 1 a3\r", "\x1B&CDER 1 q3\r", "\x1B&CDEW 2 b1\r", "\x1B&CDER 2 r1\r", "\x1B&CDEW 3 c2\r",
          "\x1B&CDER 3 s2\r", "\x1B&D 1 210\r"}},
    };
    for (const Row& row : rows) {
        const Commands built = TrackSetupSequence(row.type, row.modes, row.densities);
        EXPECT_EQ(built, row.expected) << row.what << ": " << Visible(built);
    }
}

TEST(Commands, SingleFeedOrder) {
    EXPECT_EQ(SingleFeedSequence(true), (Commands{"\x1B" "FS 1\r", "\x1B" "ATM 1\r"}));
    EXPECT_EQ(SingleFeedSequence(false), (Commands{"\x1B" "ATM 0\r"}));
}

TEST(Commands, HologramCardOrders) {
    struct Row {
        const char* what;
        Commands built;
        Commands expected;
    };
    const CardArea area = {100, 50, 300, 150};
    const Row rows[] = {
        {"whole card, one side", HologramWholeCardSequence(5, false),
         {"\x1B+CH 5\r", "\x1BIH 30\r", "\x1BMO\r"}},
        {"whole card, both sides", HologramWholeCardSequence(0, true),
         {"\x1B+CH 0\r", "\x1BIH 30\r", "\x1BMF\r", "\x1BIH 30\r", "\x1BMO\r"}},
        {"area varnished", HologramAreaSequence(3, false, false, area, false),
         {"\x1B+CH 3\r", "\x1B" "F\r", "\x1BL 0 0 1023 639 0\r", "\x1BL 100 50 200 100 1\r", "\x1BIH 31\r",
          "\x1BMO\r"}},
        {"area varnished, rotated", HologramAreaSequence(3, false, true, area, false),
         {"\x1B+CH 3\r", "\x1B" "F\r", "\x1BL 0 0 1023 639 0\r", "\x1BL 723 489 200 100 1\r", "\x1BIH 31\r",
          "\x1BMO\r"}},
        {"area left blank, both sides", HologramAreaSequence(10, true, false, area, true),
         {"\x1B+CH 10\r", "\x1B" "F\r", "\x1BL 0 0 1023 639 1\r", "\x1BL 100 50 200 100 0\r", "\x1BIH 31\r",
          "\x1BMF\r", "\x1B" "F\r", "\x1BL 0 0 1023 639 1\r", "\x1BL 100 50 200 100 0\r", "\x1BIH 31\r",
          "\x1BMO\r"}},
        // The right edge is dot 1024 at most; turned, it would start before dot 0.
        {"rotated area at the right edge", HologramAreaSequence(1, false, true, {0, 0, 1024, 639}, false),
         {"\x1B+CH 1\r", "\x1B" "F\r", "\x1BL 0 0 1023 639 0\r", "\x1BL 0 0 1024 639 1\r", "\x1BIH 31\r",
          "\x1BMO\r"}},
        {"stored area with swapped edges", HologramAreaSequence(1, false, false, {300, 150, 100, 50}, false),
         {"\x1B+CH 1\r", "\x1B" "F\r", "\x1BL 0 0 1023 639 0\r", "\x1BL 300 150 0 0 1\r", "\x1BIH 31\r",
          "\x1BMO\r"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.built, row.expected) << row.what << ": " << Visible(row.built);
    }
}

TEST(Commands, HologramImageOrder) {
    const std::string kImage = "<image>";  // the place of a side's image in the expected texts
    struct Row {
        uint32_t copies;
        bool bothSides;
        Commands expected;
    };
    const std::string header(kImageSideHeader);
    const Row rows[] = {
        {1, false, {"\x1B+CH 5\r", "\x1BMASTER\r", header, kImage, "\r", "\x1BIH 31\r", "\x1BMO\r"}},
        {0, false, {"\x1B+CH 5\r", "\x1BMASTER\r", header, kImage, "\r", "\x1BIH 31\r", "\x1BMO\r"}},
        {2, false, {"\x1B+CH 5\r", "\x1BMASTER\r", header, kImage, "\r", "\x1BIH 31\r", "\x1BMO\r",
                    "\x1BIH 31\r", "\x1BMO\r"}},
        {3, true, {"\x1B+CH 5\r", "\x1BMASTER\r", header, kImage, "\r", "\x1BIH 31\r", "\x1BMF\r", header, kImage,
                   "\r", "\x1BIH 31\r", "\x1BMO\r", "\x1BIH 31\r", "\x1BMF\r", "\x1BIH 31\r", "\x1BMO\r",
                   "\x1BIH 31\r", "\x1BMF\r", "\x1BIH 31\r", "\x1BMO\r"}},
    };
    for (const Row& row : rows) {
        Commands built;
        for (const HologramImageStep& step : HologramImageSequence(5, row.copies, row.bothSides)) {
            EXPECT_TRUE(!step.sideImage || step.command.empty());
            built.push_back(step.sideImage ? kImage : step.command);
        }
        EXPECT_EQ(built, row.expected) << row.copies << " copies, both sides " << row.bothSides << ": "
                                       << Visible(built);
    }
}

}  // namespace
}  // namespace qf
