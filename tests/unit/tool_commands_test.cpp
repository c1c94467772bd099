// The Tools dialog's command table, the questions it asks, and its reading of replies.
#include "driver/tools/tool_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qf {
namespace {

using Questions = std::vector<ToolQuestion>;

std::string Visible(const std::string& bytes) {
    std::string out;
    for (const unsigned char c : bytes) {
        if (c == 0x1B) {
            out += "\\e";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c >= 0x7F) {
            out += "\\x" + std::to_string(c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

ToolsInput Button(ToolButton button) {
    ToolsInput input{};
    input.button = button;
    input.testCardChoice = 0;
    input.cleaningChoice = 0;
    return input;
}

ToolsInput Execute(std::string_view command) {
    ToolsInput input = Button(ToolButton::kExecute);
    input.freeCommand = command;
    return input;
}

ToolsInput TestCard(int32_t choice) {
    ToolsInput input = Button(ToolButton::kPrintTestCard);
    input.testCardChoice = choice;
    return input;
}

ToolsInput Clean(int32_t choice) {
    ToolsInput input = Button(ToolButton::kClean);
    input.cleaningChoice = choice;
    return input;
}

ToolsInput Offsets(std::string_view x, std::string_view y) {
    ToolsInput input = Button(ToolButton::kSetOffset);
    input.offsetX = x;
    input.offsetY = y;
    return input;
}

ToolsInput Encode(std::array<bool, 3> selected, std::array<std::string_view, 3> data) {
    ToolsInput input = Button(ToolButton::kEncode);
    input.trackSelected = selected;
    input.trackData = data;
    return input;
}

TEST(ToolCommands, EachButtonBuildsItsCommand) {
    const std::string longCommand(100, 'Q');
    const std::string longTrack2(40, '7');
    const std::string longTrack3(120, '5');
    struct Row {
        const char* what;
        ToolsInput input;
        bool answer;          // the user's answer to every question
        std::string bytes;
        Questions asked;
        bool refreshOffsets;
    };
    const Row rows[] = {
        {"free command", Execute("CLEAN"), true, "\x1B" "CLEAN\r", {}, false},
        {"free command like the offset question", Execute("!V 1"), true, "\x1B!V 1\r", {}, false},
        {"empty free command sends nothing", Execute(""), true, "", {}, false},
        {"free command cut at 79 characters", Execute(longCommand), true,
         "\x1B" + longCommand.substr(0, 79) + "\r", {}, false},
        {"free command up to a zero byte", Execute(std::string_view("ME\0X", 4)), true, "\x1BME\r", {}, false},
        {"free command up to a CR or ESC", Execute("MC\r\x1BME"), true, "\x1BMC\r", {}, false},
        {"eject from feeder", Button(ToolButton::kEjectFeeder), true, "\x1BME\r", {}, false},
        {"eject from printer", Button(ToolButton::kEjectPrinter), true, "\x1BMC\r", {}, false},
        {"standard test card has no number", TestCard(0), true, "\x1B" "A\r", {}, false},
        {"printer parameters card", TestCard(1), true, "\x1B" "A 1\r", {}, false},
        {"encoder parameters card", TestCard(2), true, "\x1B" "A 2\r", {}, false},
        {"no test card chosen", TestCard(-1), true, "", {}, false},
        {"clean printer", Clean(0), true, "\x1B" "CLEAN\r", {ToolQuestion::kCleaningReady}, false},
        {"clean encoder", Clean(1), true, "\x1BMCLEAN\r", {ToolQuestion::kCleaningReady}, false},
        {"cleaning refused", Clean(0), false, "", {ToolQuestion::kCleaningReady}, false},
        {"no cleaning chosen asks nothing", Clean(-1), true, "", {}, false},
        {"both offsets, X first", Offsets("3", "12"), true, "\x1B+O 3\r\x1B+OY 12\r",
         {ToolQuestion::kChangeOffsets}, false},
        {"only X", Offsets("5", ""), true, "\x1B+O 5\r", {ToolQuestion::kChangeOffsets}, false},
        {"only Y", Offsets("", "0"), true, "\x1B+OY 0\r", {ToolQuestion::kChangeOffsets}, false},
        {"neither offset", Offsets("", ""), true, "", {ToolQuestion::kChangeOffsets}, false},
        {"offsets refused put the printer's back", Offsets("3", "12"), false, "",
         {ToolQuestion::kChangeOffsets}, true},
        {"offsets above 24 or not numbers are not sent", Offsets("25", "4x"), true, "",
         {ToolQuestion::kChangeOffsets}, false},
        {"offset 24 is the largest", Offsets("24", "99999999999"), true, "\x1B+O 24\r",
         {ToolQuestion::kChangeOffsets}, false},
        {"tracks 1 and 3", Encode({true, false, true}, {"ABC", "999", "777"}), true,
         "\x1B&B 1 ABC\r\x1B&B 3 777\r\x1B&E*\r", {ToolQuestion::kCardInFeeder}, false},
        {"a ticked track without data is left out", Encode({true, true, false}, {"", "123", ""}), true,
         "\x1B&B 2 123\r\x1B&E*\r", {ToolQuestion::kCardInFeeder}, false},
        {"track data cut at the track's length", Encode({false, true, true}, {"", longTrack2, longTrack3}), true,
         "\x1B&B 2 " + longTrack2.substr(0, 37) + "\r\x1B&B 3 " + longTrack3.substr(0, 104) + "\r\x1B&E*\r",
         {ToolQuestion::kCardInFeeder}, false},
        {"track data ends before a CR", Encode({true, false, false}, {"AB\rC", "", ""}), true,
         "\x1B&B 1 AB\r\x1B&E*\r", {ToolQuestion::kCardInFeeder}, false},
        {"nothing ticked", Encode({false, false, false}, {"ABC", "1", "2"}), true, "",
         {ToolQuestion::kNoDataToEncode}, false},
        {"ticked tracks all empty", Encode({true, true, true}, {"", "", ""}), true, "",
         {ToolQuestion::kNoDataToEncode}, false},
        {"no card in the feeder", Encode({true, false, false}, {"ABC", "", ""}), false, "",
         {ToolQuestion::kCardInFeeder}, false},
    };
    for (const Row& row : rows) {
        Questions asked;
        const ToolCommand command = BuildToolCommand(row.input, [&](ToolQuestion question) {
            asked.push_back(question);
            return row.answer;
        });
        EXPECT_EQ(command.bytes, row.bytes) << row.what << ": " << Visible(command.bytes);
        EXPECT_EQ(asked, row.asked) << row.what;
        EXPECT_EQ(command.refreshOffsets, row.refreshOffsets) << row.what;
    }
}

TEST(ToolCommands, OffsetLimitCheck) {
    struct Row {
        std::string typed;
        std::optional<std::string> shortened;  // nothing: the text stays
    };
    const Row rows[] = {
        {"2", std::nullopt},
        {"24", std::nullopt},
        {"0", std::nullopt},
        {"", std::nullopt},
        {"25", "2"},
        {"100", "10"},
        {"99999999999", "9999999999"},  // too large for 32 bits is still above 24
        {"abc", std::nullopt},          // no number: Set Offset leaves it out
        {std::string(40, '9'), std::string(30, '9')},  // read as its first 31 characters
    };
    for (const Row& row : rows) {
        EXPECT_EQ(OffsetTextOverLimit(row.typed), row.shortened) << "\"" << row.typed << "\"";
    }
}

// A reply buffer exactly as large as the query's buffer, so that any read past it is caught.
struct ReplyBuffer {
    std::unique_ptr<char[]> bytes;
    size_t size;
};
ReplyBuffer Buffer(size_t size, const std::string& reply) {
    ReplyBuffer buffer{std::make_unique<char[]>(size), size};
    std::memset(buffer.bytes.get(), 'z', size);
    std::memcpy(buffer.bytes.get(), reply.data(), std::min(size, reply.size()));
    return buffer;
}

// The fixed texts come from the caller (the module's string table): here translated ones.
TEST(ToolCommands, StatusShowsTheReplyWithItsAck) {
    const std::string full = std::string(kToolsReplyBytes - 1, 'x') + "\x06";
    struct Row {
        const char* what;
        std::string reply;
        uint32_t count;
        bool succeeded;
        std::string status;
    };
    const Row rows[] = {
        {"text and ACK", "READY\x06", 6, true, "READY[ACK]"},
        {"ACK alone", "\x06", 1, true, "[ACK]"},
        {"no ACK: as it came", "BUSY", 4, true, "BUSY"},
        {"a full buffer", full, kToolsReplyBytes, true, std::string(kToolsReplyBytes - 1, 'x') + "[ACK]"},
        {"a zero byte ends the text", std::string("AB\0C\x06", 5), 5, true, "AB"},
        {"empty reply", "", 0, true, "Keine Antwort"},
        {"failed call", "READY\x06", 6, false, "Keine Antwort"},
        {"count beyond the buffer", full, kToolsReplyBytes + 1, true, "Keine Antwort"},
    };
    for (const Row& row : rows) {
        const ReplyBuffer buffer = Buffer(kToolsReplyBytes, row.reply);
        const ToolsStatus status = ToolsStatusOf(row.succeeded, buffer.bytes.get(), buffer.size, row.count);
        const std::string shown = status.answered ? status.text + (status.ackShown ? "[ACK]" : "") : "Keine Antwort";
        EXPECT_EQ(shown, row.status) << row.what;
        EXPECT_LE(status.text.size(), kToolsReplyBytes) << row.what;
    }
}

TEST(ToolCommands, OffsetAndModelReplies) {
    struct OffsetRow {
        std::string reply;
        uint32_t count;
        bool succeeded;
        std::optional<std::string> shown;
    };
    const OffsetRow offsets[] = {
        {"3 \x06", 3, true, "3"},
        {"12\x06", 3, true, "12"},
        {"3\x06", 2, true, "3"},
        {" \x06", 2, true, " "},   // two bytes: the space is the answer
        {"12 ", 3, true, std::nullopt},
        {"3 \x06", 3, false, std::nullopt},
        {std::string(31, '1') + "\x06", 32, true, std::string(31, '1')},
        {std::string(31, '1') + "\x06", 33, true, std::nullopt},
    };
    for (const OffsetRow& row : offsets) {
        const ReplyBuffer buffer = Buffer(kOffsetReplyBytes, row.reply);
        EXPECT_EQ(OffsetFromReply(row.succeeded, buffer.bytes.get(), buffer.size, row.count), row.shown)
            << Visible(row.reply) << " count " << row.count;
    }

    struct ModelRow {
        std::string reply;
        bool yAllowed;
    };
    const ModelRow models[] = {
        {"Vestria Q862k 1.07\x06", true},
        {"Vestria Q511 1.00\x06", false},
        {"Vestria Q513 2.10\x06", false},
        {"Vestria Q511 1.00", true},  // not complete: not known to be a 511
    };
    for (const ModelRow& row : models) {
        const ReplyBuffer buffer = Buffer(kToolsReplyBytes, row.reply);
        EXPECT_EQ(ToolsOffsetYAllowed(true, buffer.bytes.get(), buffer.size, static_cast<uint32_t>(row.reply.size())),
                  row.yAllowed)
            << Visible(row.reply);
    }
}

TEST(ToolCommands, TrackReadReplies) {
    struct Row {
        std::string reply;
        uint32_t count;
        bool succeeded;
        TrackReadResult result;
        std::string text;
    };
    const Row rows[] = {
        {"%B1234^DOE?\x06", 12, true, TrackReadResult::kFilled, "%B1234^DOE?"},
        {"ERR", 3, true, TrackReadResult::kStopped, "ERR"},
        {"", 0, true, TrackReadResult::kStopped, ""},
        {"%B1234?\x06", 8, false, TrackReadResult::kNextTrack, ""},
        {std::string(127, '5') + "\x06", 128, true, TrackReadResult::kFilled, std::string(127, '5')},
        {std::string(128, '5'), 129, true, TrackReadResult::kStopped, ""},
    };
    for (const Row& row : rows) {
        const ReplyBuffer buffer = Buffer(kTrackReplyBytes, row.reply);
        const TrackRead read = TrackReadFromReply(row.succeeded, buffer.bytes.get(), buffer.size, row.count);
        EXPECT_EQ(read.result, row.result) << Visible(row.reply) << " count " << row.count;
        EXPECT_EQ(read.text, row.text) << Visible(row.reply) << " count " << row.count;
    }
}

TEST(ToolCommands, EnablingAtStartAndAfterTheOffsetRead) {
    struct StartRow {
        bool encoder, offline, yAllowed;
        bool boxes, read, track3, clearThirdTrack;
        uint32_t testCards, cleanings;
    };
    const StartRow starts[] = {
        {true, false, true, true, true, true, false, 3, 2},
        {false, false, true, false, false, false, false, 2, 1},
        {true, false, false, true, true, false, true, 3, 2},     // a "511": no third track
        {false, false, false, false, false, false, true, 2, 1},
        {false, true, true, true, false, true, false, 3, 2},     // offline offers every choice
        {true, true, true, true, false, true, false, 3, 2},
    };
    for (const StartRow& row : starts) {
        const ToolsStart start = ToolsAtStart(row.encoder, row.offline, row.yAllowed);
        const std::string where = "encoder " + std::to_string(row.encoder) + " offline " +
                                  std::to_string(row.offline) + " Y allowed " + std::to_string(row.yAllowed);
        EXPECT_EQ(start.trackBoxesEnabled, row.boxes) << where;
        EXPECT_EQ(start.readEnabled, row.read) << where;
        EXPECT_EQ(start.track3Offered, row.track3) << where;
        EXPECT_EQ(start.clearThirdTrack, row.clearThirdTrack) << where;
        EXPECT_EQ(start.testCardEntries, row.testCards) << where;
        EXPECT_EQ(start.cleaningEntries, row.cleanings) << where;
    }

    struct OffsetRow {
        bool offline, xRead, yRead, yAllowed, mayChange;
        bool x, y, set;
    };
    const OffsetRow offsets[] = {
        {false, true, true, true, true, true, true, true},
        {false, true, true, false, true, true, false, true},  // Y read but not offered
        {false, true, false, true, true, true, false, false},
        {false, false, true, true, true, false, true, false},
        {false, false, false, true, true, false, false, false},
        {true, false, false, true, true, true, true, true},
        // A user who may not administer the printer: shown, never set.
        {false, true, true, true, false, true, true, false},
        {true, false, false, true, false, true, true, false},
    };
    for (const OffsetRow& row : offsets) {
        const OffsetControls controls =
            OffsetControlsAfterRead(row.offline, row.xRead, row.yRead, row.yAllowed, row.mayChange);
        const std::string where = "offline " + std::to_string(row.offline) + " X read " + std::to_string(row.xRead) +
                                  " Y read " + std::to_string(row.yRead) + " Y allowed " + std::to_string(row.yAllowed) +
                                  " may change " + std::to_string(row.mayChange);
        EXPECT_EQ(controls.xEnabled, row.x) << where;
        EXPECT_EQ(controls.yEnabled, row.y) << where;
        EXPECT_EQ(controls.setOffsetEnabled, row.set) << where;
        EXPECT_EQ(controls.administratorOnly, !row.mayChange) << where;
    }
}

// A path is handed to the port side whole or not at all: cut, it would name another file.
TEST(ToolCommands, PortInstructionsTakeOnlyAWholePath) {
    const std::string longest = "C:\\" + std::string(256, 'p');  // 259 characters
    struct Row {
        PortTransfer transfer;
        std::string path;
        std::optional<std::string> instruction;
    };
    const Row rows[] = {
        {PortTransfer::kPrinterFile, "C:\\cards\\a.prn", "PrintFile:C:\\cards\\a.prn"},
        {PortTransfer::kCommandFile, "C:\\cards\\c.txt", "sendcmds:C:\\cards\\c.txt"},
        {PortTransfer::kFirmware, "C:\\fw\\q862.bin", "download:C:\\fw\\q862.bin"},
        {PortTransfer::kFirmware, longest, "download:" + longest},
        {PortTransfer::kFirmware, longest + "p", std::nullopt},
        {PortTransfer::kPrinterFile, longest + "p", std::nullopt},
        {PortTransfer::kCommandFile, "C:\\" + std::string(300, 'p'), std::nullopt},
        {PortTransfer::kFirmware, longest + std::string("\0tail", 5), "download:" + longest},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PortInstruction(row.transfer, row.path), row.instruction) << row.path.size() << " bytes";
        EXPECT_EQ(PortPathFits(row.path), row.instruction.has_value()) << row.path.size() << " bytes";
    }
}

}  // namespace
}  // namespace qf
