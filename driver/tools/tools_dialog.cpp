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

#include "driver/channel/printer_queries.h"
#include "driver/channel/raw_jobs.h"
#include "driver/channel/commands.h"
#include "driver/channel/reply.h"
#include "driver/encoder/track_data_check.h"
#include "driver/entry/dialog_conventions.h"
#include "driver/entry/guard.h"
#include "driver/entry/owners.h"
#include "driver/entry/module_state.h"
#include "driver/entry/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/sheets/sheet_state.h"
#include "driver/entry/dialog_controls.h"
#include "driver/tools/send_file_dialog.h"
#include "driver/tools/tool_commands.h"

namespace {

constexpr int kTrackBoxes[3] = {IDC_TOOLS_TRACK1_BOX, IDC_TOOLS_TRACK2_BOX, IDC_TOOLS_TRACK3_BOX};
constexpr int kTrackEdits[3] = {IDC_TOOLS_TRACK1_DATA, IDC_TOOLS_TRACK2_DATA, IDC_TOOLS_TRACK3_DATA};

// The device sheet that opened the dialog, found again from the value kept at start;
// nullptr once that sheet is gone.
DeviceSheetState* SheetOf(HWND dialog) {
    return DeviceSheetOf(static_cast<ULONG_PTR>(GetWindowLongPtrW(dialog, DWLP_USER)));
}

bool Offline(DeviceSheetState& sheet) { return sheet.Settings().manualRibbon != 0; }

void Enable(HWND dialog, int id, bool enabled) { EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE); }

void SetStatus(HWND dialog, std::string_view text) { SetControlAnsiText(dialog, IDC_TOOLS_STATUS, text); }

void Repaint(HWND dialog) { RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

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

void AddListEntry(HWND dialog, int id, UINT textId, LRESULT index) {
    HWND list = GetDlgItem(dialog, id);
    const LRESULT at = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadModuleText(textId).c_str()));
    if (at >= 0) SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(at), index);
}

// The item data of a list's selection, or -1 when nothing is selected.
int32_t ListChoice(HWND dialog, int id) {
    HWND list = GetDlgItem(dialog, id);
    const LRESULT at = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR) return -1;
    return static_cast<int32_t>(SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

void FillLists(HWND dialog, const qf::ToolsStart& start) {
    const UINT testCards[] = {IDS_TEST_CARD_STANDARD, IDS_TEST_CARD_PRINTER, IDS_TEST_CARD_ENCODER};
    const UINT cleanings[] = {IDS_CLEAN_PRINTER, IDS_CLEAN_ENCODER};
    for (uint32_t i = 0; i < start.testCardEntries && i < 3; ++i) AddListEntry(dialog, IDC_TOOLS_TEST_CARD, testCards[i], i);
    for (uint32_t i = 0; i < start.cleaningEntries && i < 2; ++i) AddListEntry(dialog, IDC_TOOLS_CLEANING, cleanings[i], i);
    SendDlgItemMessageW(dialog, IDC_TOOLS_TEST_CARD, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageW(dialog, IDC_TOOLS_CLEANING, CB_SETCURSEL, 0, 0);
}

// Clears the third-track record in the printer's defaults as the printer holds them now.
void StoreThirdTrackCleared(HANDLE printer) {
    qf::StorePrivateChange(
        printer, printer,
        [](uint8_t* block, const void*) {
            auto* stored = reinterpret_cast<qf::PrivateSettings*>(block);
            stored->thirdTrackWord = 0;
            std::memset(stored->thirdTrackText, 0, sizeof stored->thirdTrackText);
        },
        nullptr);
}

// The enabling of the direct-encoding group and the lists when the dialog opens. A model
// without a third track also clears the third-track record, in the sheet's settings and
// in the printer's defaults.
void SetUpAtStart(HWND dialog, DeviceSheetState& sheet, HANDLE printer, bool offsetYAllowed) {
    qf::PrivateSettings& settings = sheet.Settings();
    const qf::ToolsStart start =
        qf::ToolsAtStart(settings.encoderSettings.encoderPresent != 0, Offline(sheet), offsetYAllowed);
    for (int track = 0; track < 3; ++track) {
        Enable(dialog, kTrackEdits[track], false);
        Enable(dialog, kTrackBoxes[track], start.trackBoxesEnabled && (track < 2 || start.track3Offered));
    }
    Enable(dialog, IDC_TOOLS_ENCODE, start.trackBoxesEnabled);
    Enable(dialog, IDC_TOOLS_READ, start.readEnabled);
    if (start.clearThirdTrack && (settings.thirdTrackWord != 0 || settings.thirdTrackText[0] != '\0')) {
        settings.thirdTrackWord = 0;
        std::memset(settings.thirdTrackText, 0, sizeof settings.thirdTrackText);
        StoreThirdTrackCleared(printer);
    }
    FillLists(dialog, start);
}

// Asks one offset and shows it in `editId`; true when the printer told it.
bool ReadOffset(HWND dialog, const DirectExchange& exchange, std::string_view query, int editId) {
    char reply[qf::kOffsetReplyBytes] = {};
    DWORD needed = 0;
    const bool ok = AskInExchange(exchange, query, reply, sizeof reply, &needed);
    const std::optional<std::string> offset = qf::OffsetFromReply(ok, reply, sizeof reply, needed);
    if (!offset) return false;
    SetControlAnsiText(dialog, editId, *offset);
    DeleteStoredReplyText(exchange.printer, query);
    return true;
}

// Reads the model and the two offsets inside `exchange` and sets the offset controls; at
// the dialog's start also the encoding group and the lists.
void RefreshOffsetsIn(HWND dialog, DeviceSheetState& sheet, const DirectExchange& exchange, bool atStart) {
    const bool offline = Offline(sheet);
    bool offsetYAllowed = true, xRead = false, yRead = false;
    if (!offline) {
        std::vector<char> model(qf::kToolsReplyBytes, '\0');
        DWORD needed = 0;
        const bool ok = AskInExchange(exchange, qf::kModelQuery, model.data(), qf::kToolsReplyBytes, &needed);
        offsetYAllowed = qf::ToolsOffsetYAllowed(ok, model.data(), model.size(), needed);
        if (qf::CheckReply(ok, model.data(), model.size(), needed).complete)
            DeleteStoredReplyText(exchange.printer, qf::kModelQuery);

        char slave[qf::kOffsetReplyBytes] = {};
        AskInExchange(exchange, qf::kSlaveCommand, slave, sizeof slave, &needed);

        xRead = ReadOffset(dialog, exchange, qf::kOffsetXQuery, IDC_TOOLS_OFFSET_X);
        yRead = ReadOffset(dialog, exchange, qf::kOffsetYQuery, IDC_TOOLS_OFFSET_Y);
    }
    const qf::OffsetControls controls = qf::OffsetControlsAfterRead(offline, xRead, yRead, offsetYAllowed);
    Enable(dialog, IDC_TOOLS_OFFSET_X, controls.xEnabled);
    Enable(dialog, IDC_TOOLS_OFFSET_Y, controls.yEnabled);
    Enable(dialog, IDC_TOOLS_SET_OFFSET, controls.setOffsetEnabled);
    if (atStart) SetUpAtStart(dialog, sheet, exchange.printer, offsetYAllowed);
}

// The same in an exchange of its own, when the dialog opens. A printer that cannot be
// opened leaves the dialog as its template has it.
void RefreshOffsets(HWND dialog, bool atStart) {
    DeviceSheetState* sheet = SheetOf(dialog);
    if (!sheet) return;
    const qf::DirectExchangeScope scope(sheet->printerInfo);
    if (scope.Opened()) RefreshOffsetsIn(dialog, *sheet, scope.Get(), atStart);
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
    const std::string noResponse = LoadModuleAnsiText(IDS_NO_RESPONSE), ack = LoadModuleAnsiText(IDS_ACK_MARK);
    SetStatus(dialog, qf::ToolsStatusText(ok, reply.data(), reply.size(), needed, {noResponse, ack}));
    WriteOutsideJob(exchange, qf::kToolsQueryEnd);
    DeleteStoredQueryReply(exchange.printer, command);
}

// Builds the command of the pressed button, asking its questions, and sends it.
void SendToolCommand(HWND dialog, int buttonId) {
    DeviceSheetState* sheet = SheetOf(dialog);
    if (!sheet) return;
    const qf::DirectExchangeScope scope(sheet->printerInfo);
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
        SetStatus(dialog, "");
        if (SendRawJobOn(exchange.printer, L"VESTRIATOOL", {command.bytes}, StartFailure::kContinue) ==
            JobResult::kFailed)
            TellJobFailed();
    } else {
        QueryToolCommand(dialog, buttonId, exchange, command.bytes);
    }
}


// Reads the ticked tracks into their edits, the Read button disabled meanwhile. A reply
// without ACK goes to the status field and ends the read.
void ReadTickedTracks(HWND dialog, const DirectExchange& exchange) {
    const qf::DisabledWhile pressed(dialog, IDC_TOOLS_READ);
    Repaint(dialog);
    for (uint32_t track = 0; track < 3; ++track) {
        if (IsDlgButtonChecked(dialog, kTrackBoxes[track]) != BST_CHECKED) continue;
        SetDlgItemTextW(dialog, kTrackEdits[track], L"");
        char reply[qf::kTrackReplyBytes] = {};
        DWORD needed = 0;
        const std::string query = qf::TrackReadQuery(track + 1);
        const bool ok = AskInExchange(exchange, query, reply, sizeof reply, &needed);
        const qf::TrackRead read = qf::TrackReadFromReply(ok, reply, sizeof reply, needed);
        if (read.result == qf::TrackReadResult::kNextTrack) continue;
        if (read.result == qf::TrackReadResult::kStopped) {
            SetStatus(dialog, read.text);
            break;
        }
        SetControlAnsiText(dialog, kTrackEdits[track], read.text);
        DeleteStoredReplyText(exchange.printer, query);
    }
}

// Reads the ticked tracks of a card in the encoder, after the user says a card is there.
void ReadTracks(HWND dialog) {
    DeviceSheetState* sheet = SheetOf(dialog);
    if (!sheet || Offline(*sheet)) return;
    const qf::DirectExchangeScope scope(sheet->printerInfo);
    if (!scope.Opened()) return;
    for (const int edit : kTrackEdits) SetDlgItemTextW(dialog, edit, L"");
    Repaint(dialog);
    if (!AskUser(qf::ToolQuestion::kCardInFeeder)) return;
    ReadTickedTracks(dialog, scope.Get());
    Repaint(dialog);
}

// A tick enables the track's edit; the edit's text is what Encode sends.
void TrackBoxClicked(HWND dialog, int box) {
    const int track = box - IDC_TOOLS_TRACK1_BOX;
    Enable(dialog, kTrackEdits[track], IsDlgButtonChecked(dialog, box) == BST_CHECKED);
}

// The track data check acts on a track edit at every change of its text (tracks 1..3):
// it leaves only the characters and the length the track allows.
void TrackDataChanged(HWND dialog, int edit) { CheckTrackData(dialog, edit - IDC_TOOLS_TRACK1_DATA + 1); }

// An offset above the highest the printer takes loses its last character, after a message.
void CheckOffsetLimit(HWND dialog, int edit) {
    const std::optional<std::string> shortened =
        qf::OffsetTextOverLimit(ControlAnsiText(dialog, edit, qf::kOffsetTextChars));
    if (!shortened) return;
    ShowMessage(IDS_CAPTION, IDS_OFFSET_LIMIT, MB_OK);
    SetControlAnsiText(dialog, edit, *shortened);
    SendDlgItemMessageW(dialog, edit, EM_SETSEL, shortened->size(), shortened->size());
}

void OpenSendFile(HWND dialog) {
    CPSUICBPARAM param = SheetDialogParam(static_cast<ULONG_PTR>(GetWindowLongPtrW(dialog, DWLP_USER)));
    RunModuleDialog(dialog, IDD_SEND_FILE, SendFileDialogProc, reinterpret_cast<LPARAM>(&param));
}

void StartTools(HWND dialog, LPARAM initParam) {
    DeviceSheetState* sheet = DeviceSheetOfDialog(initParam);
    if (!sheet || !sheet->record) {
        EndDialog(dialog, IDCANCEL);
        return;
    }
    SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(sheet->id));
    RefreshOffsets(dialog, true);
}

// A command that fails part-way (an allocation) tells the user; the direct-mode switch
// and the pressed button are already put back by their owners.
void TellSystemError() { ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK | MB_ICONERROR); }

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
    case IDC_HELP_BUTTON:
        ShowHelp(dialog, qf::HelpTopic::kTools);
        return TRUE;
    case IDC_CLOSE_BUTTON:
    case IDCANCEL:
        EndDialog(dialog, IDC_CLOSE_BUTTON);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK ToolsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (HandleCloseRequest(dialog, message, wParam, IDC_CLOSE_BUTTON)) return TRUE;
        switch (message) {
        case WM_INITDIALOG:
            qf::RunOrRecover([&] { StartTools(dialog, lParam); }, [dialog] { CloseUnfilledDialog(dialog, IDCANCEL); });
            return TRUE;
        case WM_COMMAND:
            return ToolsCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        default:
            return FALSE;
        }
    });
}
