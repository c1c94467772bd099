// The Tools dialog. Every exchange with the printer happens inside a direct-mode
// exchange on the device sheet's printer; in the offline configuration (`manualRibbon`
// not 0) nothing is asked and each command goes out as one RAW job instead. The dialog
// never changes `manualRibbon`; the only field of the printer's defaults it stores is
// the third-track record it clears on a printer without a third track.
#include "driver/tools/tools_dialog.h"

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "driver/channel/commands.h"
#include "driver/channel/printer_queries.h"
#include "driver/channel/raw_jobs.h"
#include "driver/channel/reply.h"
#include "driver/encoder/track_data_check.h"
#include "driver/platform/guard.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/state/sheet_state.h"
#include "driver/tools/send_file_dialog.h"
#include "driver/tools/tool_commands.h"
#include "driver/tools/tools_parts.h"
#include "driver/ui/dialog_controls.h"
#include "driver/ui/dialog_conventions.h"

bool AskUser(qf::ToolQuestion question) {
    switch (question) {
    case qf::ToolQuestion::kCleaningReady:
        return ShowMessage(IDS_CAPTION, IDS_CLEANING_READY, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
    case qf::ToolQuestion::kChangeOffsets:
        return ShowMessage(IDS_CAPTION, IDS_CHANGE_OFFSETS, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
    case qf::ToolQuestion::kCardInFeeder:
        return ShowMessage(IDS_CAPTION, IDS_CARD_IN_FEEDER, MB_YESNO) == IDYES;
    case qf::ToolQuestion::kNoDataToEncode:
        ShowMessage(IDS_CAPTION, IDS_NO_DATA_TO_ENCODE, MB_OK | MB_ICONERROR);
        return false;
    }
    return false;
}

namespace {

// The item data of a list's selection, or -1 when nothing is selected.
int32_t ListChoice(HWND dialog, int id) {
    HWND list = GetDlgItem(dialog, id);
    const LRESULT at = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR) return -1;
    return static_cast<int32_t>(SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

qf::ToolButton ButtonOf(int id) {
    switch (id) {
    case IDC_TOOLS_EJECT_FEEDER: return qf::ToolButton::kEjectFeeder;
    case IDC_TOOLS_EJECT_PRINTER: return qf::ToolButton::kEjectPrinter;
    case IDC_TOOLS_PRINT: return qf::ToolButton::kPrintTestCard;
    case IDC_TOOLS_CLEAN: return qf::ToolButton::kClean;
    case IDC_TOOLS_SET_OFFSET: return qf::ToolButton::kSetOffset;
    case IDC_TOOLS_ENCODE: return qf::ToolButton::kEncode;
    default: return qf::ToolButton::kExecute;
    }
}

// The controls a command is built from. The texts live in `texts` for as long as the
// input is used.
struct ToolsTexts {
    std::string freeCommand, offsetX, offsetY;
    std::array<std::string, 3> tracks;
};
qf::ToolsInput ReadToolsInput(HWND dialog, int buttonId, ToolsTexts& texts) {
    texts.freeCommand = ControlAnsiText(dialog, IDC_TOOLS_COMMAND, qf::kToolsCommandChars);
    texts.offsetX = ControlAnsiText(dialog, IDC_TOOLS_OFFSET_X, qf::kOffsetTextChars);
    texts.offsetY = ControlAnsiText(dialog, IDC_TOOLS_OFFSET_Y, qf::kOffsetTextChars);
    qf::ToolsInput input{};
    input.button = ButtonOf(buttonId);
    input.freeCommand = texts.freeCommand;
    input.testCardChoice = ListChoice(dialog, IDC_TOOLS_TEST_CARD);
    input.cleaningChoice = ListChoice(dialog, IDC_TOOLS_CLEANING);
    input.offsetX = texts.offsetX;
    input.offsetY = texts.offsetY;
    for (size_t track = 0; track < 3; ++track) {
        input.trackSelected[track] = IsDlgButtonChecked(dialog, kTrackBoxes[track]) == BST_CHECKED;
        texts.tracks[track] = ControlAnsiText(dialog, kTrackEdits[track], qf::kTrackDataChars[track]);
        input.trackData[track] = texts.tracks[track];
    }
    return input;
}

// Sends `command` as a query and shows the printer's reply; the pressed button is
// disabled while the printer answers.
void QueryToolCommand(HWND dialog, int buttonId, const DirectExchange& exchange, const std::string& command) {
    std::vector<char> reply(qf::kToolsReplyBytes, '\0');
    DWORD needed = 0;
    bool ok = false;
    {
        const qf::DisabledWhile pressed(dialog, buttonId);
        Repaint(dialog);
        ok = AskInExchange(exchange, command, reply.data(), qf::kToolsReplyBytes, &needed);
    }
    Repaint(dialog);
    // The printer's bytes in the ANSI code page, the module's texts as loaded.
    const qf::ToolsStatus status = qf::ToolsStatusOf(ok, reply.data(), reply.size(), needed);
    const std::wstring shown = status.answered
                                   ? PrinterText(status.text) + (status.ackShown ? LoadModuleText(IDS_ACK_MARK) : L"")
                                   : LoadModuleText(IDS_NO_RESPONSE);
    SetDlgItemTextW(dialog, IDC_TOOLS_STATUS, shown.c_str());
    WriteOutsideJob(exchange, qf::kToolsQueryEnd);
    DeleteStoredQueryReply(exchange.printer, command);
}

// Builds the command of the pressed button, asking its questions, and sends it.
void SendToolCommand(HWND dialog, int buttonId) {
    DeviceSheetState* sheet = DeviceSheetOfWindow(dialog);
    if (!sheet) return;
    const DirectExchangeScope scope(sheet->PrinterName());
    // A printer that cannot be opened is neither asked nor switched; the user is told the
    // command did not reach it.
    if (!scope.Opened()) {
        TellJobFailed();
        return;
    }
    const DirectExchange& exchange = scope.Get();
    ToolsTexts texts;
    const qf::ToolCommand command = qf::BuildToolCommand(ReadToolsInput(dialog, buttonId, texts), AskUser);
    // One exchange for the whole action: the offsets are read again inside this one.
    if (command.refreshOffsets) RefreshOffsetsIn(dialog, *sheet, exchange, false);
    if (command.bytes.empty()) {
        SetStatus(dialog, "");
    } else if (Offline(*sheet)) {
        // A command job waits in the queue unless the printer prints directly.
        SetDlgItemTextW(dialog, IDC_TOOLS_STATUS, exchange.direct ? L"" : LoadModuleText(IDS_NOT_DIRECT).c_str());
        if (SendRawJobOn(exchange.printer, L"VESTRIATOOL", {command.bytes}, StartFailure::kContinue) ==
            JobResult::kFailed)
            TellJobFailed();
    } else {
        QueryToolCommand(dialog, buttonId, exchange, command.bytes);
    }
}

void OpenSendFile(HWND dialog) {
    CPSUICBPARAM param = SheetDialogParam(SheetIdOfWindow(dialog));
    RunModuleDialog(dialog, IDD_SEND_FILE, SendFileDialogProc, reinterpret_cast<LPARAM>(&param));
}

INT_PTR StartTools(HWND dialog, LPARAM initParam) {
    if (!OpenOnDeviceSheet(dialog, initParam, true)) return TRUE;
    RefreshOffsets(dialog, true);
    return TRUE;
}

// A command that fails part-way (an allocation) tells the user; the direct-mode switch
// and the pressed button are already put back by their owners.
void CommandPressed(HWND dialog, int id) {
    qf::RunOrRecover(
        [&] {
            SetStatus(dialog, "");
            SendToolCommand(dialog, id);
        },
        TellSystemError);
}

// Execute with an empty command edit leaves everything as it is.
void ExecuteTyped(HWND dialog) {
    bool typed = false;
    qf::RunOrRecover([&] { typed = !ControlAnsiText(dialog, IDC_TOOLS_COMMAND, qf::kToolsCommandChars).empty(); },
                     TellSystemError);
    if (typed) CommandPressed(dialog, IDC_TOOLS_EXECUTE);
}

INT_PTR ToolsCommand(HWND dialog, int id, int notification) {
    switch (id) {
    case IDC_TOOLS_COMMAND:
        if (notification == EN_CHANGE) SetStatus(dialog, "");
        return TRUE;
    case IDC_TOOLS_EXECUTE:
        ExecuteTyped(dialog);
        return TRUE;
    case IDC_TOOLS_EJECT_FEEDER:
    case IDC_TOOLS_EJECT_PRINTER:
    case IDC_TOOLS_PRINT:
    case IDC_TOOLS_CLEAN:
    case IDC_TOOLS_SET_OFFSET:
    case IDC_TOOLS_ENCODE:
        CommandPressed(dialog, id);
        return TRUE;
    case IDC_TOOLS_OFFSET_X:
    case IDC_TOOLS_OFFSET_Y:
        if (notification == EN_CHANGE) CheckOffsetLimit(dialog, id);
        return TRUE;
    case IDC_TOOLS_TRACK1_DATA:
    case IDC_TOOLS_TRACK2_DATA:
    case IDC_TOOLS_TRACK3_DATA:
        if (notification == EN_CHANGE) TrackDataChanged(dialog, id);
        return TRUE;
    case IDC_TOOLS_TRACK1_BOX:
    case IDC_TOOLS_TRACK2_BOX:
    case IDC_TOOLS_TRACK3_BOX:
        if (notification == BN_CLICKED) TrackBoxClicked(dialog, id);
        return TRUE;
    case IDC_TOOLS_READ:
        qf::RunOrRecover([&] { ReadTracks(dialog); }, TellSystemError);
        return TRUE;
    case IDC_TOOLS_SEND_FILE:
        OpenSendFile(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK ToolsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Tools fills its lists and offsets as it opens: when it cannot, it says so and ends.
    static const DialogShape kTools = [] {
        DialogShape shape;
        shape.closeId = IDC_CLOSE_BUTTON;
        shape.help = qf::HelpTopic::kTools;
        shape.open = StartTools;
        shape.command = ToolsCommand;
        shape.fillsAtOpen = true;
        shape.unfilledResult = IDCANCEL;
        return shape;
    }();
    return RunDialogShape(kTools, dialog, message, wParam, lParam);
}
