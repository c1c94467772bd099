// The Tools dialog's decisions: the command each button sends, the questions asked on
// the way, the texts its fixed buffers can hold, and what the dialog shows of the
// printer's replies (status, offsets, tracks).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qf {

// Texts the dialog reads from its controls, in bytes of the ANSI code page, and the
// reply buffers of its queries.
constexpr size_t kToolsCommandChars = 79;    // the free command, without ESC and CR
constexpr size_t kOffsetTextChars = 31;      // an offset edit as the limit check reads it
constexpr std::array<size_t, 3> kTrackDataChars = {76, 37, 104};  // tracks 1, 2, 3
constexpr size_t kPortPathChars = 259;       // a file path handed to the port side
constexpr size_t kToolsReplyBytes = 1024;    // commands and the model question
constexpr size_t kOffsetReplyBytes = 32;     // "\eSLAVE\r" and the two offset questions
constexpr size_t kTrackReplyBytes = 128;     // a track read

// The highest print offset the printer accepts, for X and for Y.
constexpr uint32_t kMaxOffset = 24;

// `text` as a fixed buffer of `limit` characters and its terminating zero would hold it:
// up to its first zero byte and at most `limit` bytes.
std::string_view CutText(std::string_view text, size_t limit);

// Text that goes inside one command (the free command, track data): cut like CutText and
// also at the first ESC or CR, which would end the command early and start another.
std::string_view CommandParameter(std::string_view text, size_t limit);

// The buttons of the Tools dialog that send a command.
enum class ToolButton : uint8_t {
    kExecute,          // the free command
    kEjectFeeder,
    kEjectPrinter,
    kPrintTestCard,
    kClean,
    kSetOffset,
    kEncode,
};

// What the dialog asks or tells the user while a command is built.
enum class ToolQuestion : uint8_t {
    kCleaningReady,    // remove the ribbon, close the head, press clear (Yes/No)
    kChangeOffsets,    // about to change the printer's offsets (Yes/No)
    kCardInFeeder,     // put an appropriate card in the feeder (Yes/No)
    kNoDataToEncode,   // no track data: a notice with OK only, its answer is not used
};

// The controls the command is built from, as the dialog holds them.
struct ToolsInput {
    ToolButton button;
    std::string_view freeCommand;   // edit text: the command without ESC and CR
    int32_t testCardChoice;         // item data of the test-card list's selection; < 0 none
    int32_t cleaningChoice;         // item data of the cleaning list's selection; < 0 none
    std::string_view offsetX;       // edit texts of "Offset X:" and "Offset Y:"
    std::string_view offsetY;
    std::array<bool, 3> trackSelected;          // the three track check boxes
    // The three track edits as `CheckTrackData` leaves them at every change of the edit:
    // only the characters each track allows. Here the text is only cut to the track's
    // length and at a byte that would end the command (CommandParameter).
    std::array<std::string_view, 3> trackData;
};

struct ToolCommand {
    // The bytes of the query (or, offline, of the job); empty when nothing is sent.
    std::string bytes;
    // Set Offset answered No: the printer's own offsets go back into the edits.
    bool refreshOffsets;
};

// The user's answer to a question: true for Yes (for the notice, the answer is ignored).
using ToolAsk = std::function<bool(ToolQuestion)>;

// Builds the command of `input.button`, asking `ask` the questions that button asks:
//   Execute          the free command "\e%s\r"; nothing when it is empty (free command and
//                    track data are taken as CommandParameter)
//   Eject            "\eME\r" (feeder), "\eMC\r" (printer)
//   Print test card  choice 0 "\eA\r", any other choice n "\eA n\r"; nothing without a choice
//   Clean            asks kCleaningReady; on Yes choice 0 "\eCLEAN\r", 1 "\eMCLEAN\r"
//   Set Offset       asks kChangeOffsets; on No nothing and refreshOffsets; on Yes the
//                    offsets whose edit holds a number of 0..24, X first, in one query
//   Encode           a load command for each ticked track with data, in track order;
//                    none: tells kNoDataToEncode and builds nothing; else asks
//                    kCardInFeeder and on Yes appends "\e&E*\r"
// Without a cleaning choice nothing is built and the cleaning question is not asked.
ToolCommand BuildToolCommand(const ToolsInput& input, const ToolAsk& ask);

// An offset edit's text read as a number: only decimal digits, at least one. Values too
// large for 32 bits read as UINT32_MAX, which is beyond any offset.
std::optional<uint32_t> ParseOffsetText(std::string_view text);

// The offset limit check at every change of an offset edit (`text` is cut to
// kOffsetTextChars first): a number above kMaxOffset gives the text without its last
// character, which the edit then shows after the message; nothing otherwise.
std::optional<std::string> OffsetTextOverLimit(std::string_view text);

// The status field after a command query into a buffer of `bufferSize` bytes: the
// printer's reply up to a zero byte, followed by the mark that stands for its ACK when the
// text reaches the ACK; or, when the call failed, the count is 0 or it reaches beyond the
// buffer, the "no response" text. The printer's bytes and the module's texts stay apart:
// the caller shows the bytes in the ANSI code page and the texts as loaded.
struct ToolsStatus {
    bool answered;     // false: "Printer has no response"
    std::string text;  // the printer's reply text, at most bufferSize bytes
    bool ackShown;     // the ACK mark ("<ACK>") follows the text
};
ToolsStatus ToolsStatusOf(bool callSucceeded, const char* buffer, size_t bufferSize, uint32_t count);

// The model reply allows a Y offset and a third track: false when a complete reply
// names the "511" or "513" family.
bool ToolsOffsetYAllowed(bool callSucceeded, const char* buffer, size_t bufferSize, uint32_t count);

// The text an offset edit shows for the printer's reply to "\e!V 1\r" or "\e!V 2\r";
// nothing when the reply is not complete (the edit is then disabled). One space before
// the ACK is dropped when the reply is longer than two bytes: "3 " + ACK shows "3".
std::optional<std::string> OffsetFromReply(bool callSucceeded, const char* buffer, size_t bufferSize,
                                           uint32_t count);

// What a track read does with the printer's reply.
enum class TrackReadResult : uint8_t {
    kNextTrack,  // the call failed: the edit stays empty, the next track is read
    kFilled,     // complete: `text` goes into the track's edit
    kStopped,    // not complete: `text` (as it came) goes to the status field; no further track
};
struct TrackRead {
    TrackReadResult result;
    std::string text;
};
TrackRead TrackReadFromReply(bool callSucceeded, const char* buffer, size_t bufferSize, uint32_t count);

// The enabling the dialog takes when it opens. `offline` is the offline configuration
// (`manualRibbon` not 0), in which the dialog asks the printer nothing and sends its
// commands as jobs: nothing can be read back, and every choice is offered.
struct ToolsStart {
    bool trackBoxesEnabled;   // the three track check boxes and "Encode"
    bool readEnabled;         // "Read"
    bool track3Offered;       // false: track 3's box and edit stay disabled
    bool clearThirdTrack;     // the settings' third-track record is emptied
    uint32_t testCardEntries; // "Standard", "Printer Parameters"[, "Encoder Parameters"]
    uint32_t cleaningEntries; // "Printer only"[, "Magnetic encoder"]
};
// The track edits start disabled in every case; each is enabled by its check box.
ToolsStart ToolsAtStart(bool encoderPresent, bool offline, bool offsetYAllowed);

// The offset controls after the printer was asked for its offsets. An offset that could
// not be read cannot be set, and a model without a Y offset keeps that edit disabled
// even when its value was read. Offline nothing is read: the edits stay enabled and
// "Set Offset" is offered. A user who may not administer the printer (`mayChange` false)
// sees the offsets but can neither edit nor set them, and is told that an administrator
// can (`administratorOnly`).
struct OffsetControls {
    bool xEnabled;
    bool yEnabled;
    bool setOffsetEnabled;
    bool administratorOnly;  // the edits are read-only and the status line says why
};
OffsetControls OffsetControlsAfterRead(bool offline, bool xRead, bool yRead, bool offsetYAllowed, bool mayChange);

// The port instructions that hand a whole file to the port side, with the file's path
// (ANSI). A path longer than kPortPathChars does not fit the buffer it is taken from:
// cut, it would name another file or none, so no instruction is made for it.
enum class PortTransfer : uint8_t {
    kPrinterFile,   // "PrintFile:%s", a .prn file
    kCommandFile,   // "sendcmds:%s", a text file of commands
    kFirmware,      // "download:%s", a firmware file
};
bool PortPathFits(std::string_view path);
std::optional<std::string> PortInstruction(PortTransfer transfer, std::string_view path);

}  // namespace qf
