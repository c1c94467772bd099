// The Tools dialog's command table and its reading of the printer's replies.
#include "driver/tools/tool_commands.h"

#include "driver/channel/commands.h"
#include "driver/channel/reply.h"
#include "driver/settings/ribbons.h"

namespace qf {
namespace {

// An offset edit's value when the printer accepts it.
std::optional<uint32_t> OffsetValue(std::string_view text) {
    const std::optional<uint32_t> value = ParseOffsetText(CutText(text, kOffsetTextChars));
    if (value && *value <= kMaxOffset) return value;
    return std::nullopt;
}

std::string TestCard(int32_t choice) {
    if (choice < 0) return {};
    return TestCardCommand(static_cast<uint32_t>(choice));
}

std::string Cleaning(int32_t choice) {
    if (choice == 0) return std::string(kCleanPrinter);
    if (choice == 1) return std::string(kCleanEncoder);
    return {};
}

ToolCommand Encode(const ToolsInput& input, const ToolAsk& ask) {
    std::array<std::string_view, 3> data{};
    for (size_t i = 0; i < data.size(); ++i) {
        if (input.trackSelected[i]) data[i] = CommandParameter(input.trackData[i], kTrackDataChars[i]);
    }
    std::string query = EncodeTracksQuery(data);
    if (query.empty()) {
        ask(ToolQuestion::kNoDataToEncode);
        return {};
    }
    if (!ask(ToolQuestion::kCardInFeeder)) return {};
    return {std::move(query), false};
}

}  // namespace

std::string_view CutText(std::string_view text, size_t limit) {
    return UpToFirstZero(text).substr(0, limit);
}

std::string_view CommandParameter(std::string_view text, size_t limit) {
    const std::string_view cut = CutText(text, limit);
    return cut.substr(0, cut.find_first_of("\x1B\r"));
}

ToolCommand BuildToolCommand(const ToolsInput& input, const ToolAsk& ask) {
    switch (input.button) {
        case ToolButton::kExecute: {
            const std::string_view command = CommandParameter(input.freeCommand, kToolsCommandChars);
            if (command.empty()) return {};
            return {FreeCommand(command), false};
        }
        case ToolButton::kEjectFeeder:
            return {std::string(kEjectFromFeeder), false};
        case ToolButton::kEjectPrinter:
            return {std::string(kEjectFromPrinter), false};
        case ToolButton::kPrintTestCard:
            return {TestCard(input.testCardChoice), false};
        case ToolButton::kClean: {
            std::string command = Cleaning(input.cleaningChoice);
            if (command.empty() || !ask(ToolQuestion::kCleaningReady)) return {};
            return {std::move(command), false};
        }
        case ToolButton::kSetOffset:
            if (!ask(ToolQuestion::kChangeOffsets)) return {{}, true};
            return {SetOffsetsQuery(OffsetValue(input.offsetX), OffsetValue(input.offsetY)), false};
        case ToolButton::kEncode:
            return Encode(input, ask);
    }
    return {};
}

std::optional<uint32_t> ParseOffsetText(std::string_view text) {
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > UINT32_MAX) value = UINT32_MAX;
    }
    return static_cast<uint32_t>(value);
}

std::optional<std::string> OffsetTextOverLimit(std::string_view text) {
    const std::string_view cut = CutText(text, kOffsetTextChars);
    const std::optional<uint32_t> value = ParseOffsetText(cut);
    if (!value || *value <= kMaxOffset) return std::nullopt;
    return std::string(cut.substr(0, cut.size() - 1));
}

ToolsStatus ToolsStatusOf(bool callSucceeded, const char* buffer, size_t bufferSize, uint32_t count) {
    if (!callSucceeded || buffer == nullptr || count == 0 || count > bufferSize) return {false, std::string(), false};
    const Reply reply = CheckReply(callSucceeded, buffer, bufferSize, count);
    const std::string_view text = UpToFirstZero(reply.text);
    // The ACK is shown only when the text before it reaches it.
    return {true, std::string(text), reply.complete && text.size() == reply.text.size()};
}

bool ToolsOffsetYAllowed(bool callSucceeded, const char* buffer, size_t bufferSize, uint32_t count) {
    const Reply reply = CheckReply(callSucceeded, buffer, bufferSize, count);
    return !(reply.complete && IsModel511Or513(UpToFirstZero(reply.text)));
}

std::optional<std::string> OffsetFromReply(bool callSucceeded, const char* buffer, size_t bufferSize,
                                           uint32_t count) {
    const Reply reply = CheckReply(callSucceeded, buffer, bufferSize, count);
    if (!reply.complete) return std::nullopt;
    std::string_view text = reply.text;
    // The printer may answer with one space before the ACK.
    if (count > 2 && text.back() == ' ') text.remove_suffix(1);
    return std::string(UpToFirstZero(text));
}

TrackRead TrackReadFromReply(bool callSucceeded, const char* buffer, size_t bufferSize, uint32_t count) {
    if (!callSucceeded) return {TrackReadResult::kNextTrack, {}};
    const Reply reply = CheckReply(callSucceeded, buffer, bufferSize, count);
    return {reply.complete ? TrackReadResult::kFilled : TrackReadResult::kStopped,
            std::string(UpToFirstZero(reply.text))};
}

ToolsStart ToolsAtStart(bool encoderPresent, bool offline, bool offsetYAllowed) {
    ToolsStart start{};
    // Offline, nothing can be read from a card, but data can still be sent to one.
    start.trackBoxesEnabled = encoderPresent || offline;
    start.readEnabled = encoderPresent && !offline;
    start.track3Offered = start.trackBoxesEnabled && offsetYAllowed;
    start.clearThirdTrack = !offsetYAllowed;
    const bool encoderChoices = encoderPresent || offline;
    start.testCardEntries = encoderChoices ? 3 : 2;
    start.cleaningEntries = encoderChoices ? 2 : 1;
    return start;
}

OffsetControls OffsetControlsAfterRead(bool offline, bool xRead, bool yRead, bool offsetYAllowed, bool mayChange) {
    if (offline) return {true, true, mayChange, !mayChange};
    return {xRead, yRead && offsetYAllowed, xRead && yRead && mayChange, !mayChange};
}

bool PortPathFits(std::string_view path) { return UpToFirstZero(path).size() <= kPortPathChars; }

std::optional<std::string> PortInstruction(PortTransfer transfer, std::string_view path) {
    if (!PortPathFits(path)) return std::nullopt;
    const std::string_view whole = UpToFirstZero(path);
    switch (transfer) {
        case PortTransfer::kPrinterFile: return PrintFileInstruction(whole);
        case PortTransfer::kCommandFile: return SendCommandsInstruction(whole);
        case PortTransfer::kFirmware: return DownloadInstruction(whole);
    }
    return {};
}

}  // namespace qf
