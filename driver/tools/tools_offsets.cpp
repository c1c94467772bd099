// The Tools dialog's offsets: the model and the two offsets read inside an exchange,
// the offset controls they enable, what the dialog sets up when it opens, and the limit
// of a typed offset.
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "driver/channel/commands.h"
#include "driver/channel/reply.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/settings/stored_records.h"
#include "driver/tools/tools_parts.h"
#include "driver/ui/dialog_conventions.h"

namespace {

void AddListEntry(HWND dialog, int id, UINT textId, LRESULT index) {
    HWND list = GetDlgItem(dialog, id);
    const LRESULT at = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadModuleText(textId).c_str()));
    if (at >= 0) SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(at), index);
}

void FillLists(HWND dialog, const qf::ToolsStart& start) {
    const UINT testCards[] = {IDS_TEST_CARD_STANDARD, IDS_TEST_CARD_PRINTER, IDS_TEST_CARD_ENCODER};
    const UINT cleanings[] = {IDS_CLEAN_PRINTER, IDS_CLEAN_ENCODER};
    for (uint32_t i = 0; i < start.testCardEntries && i < 3; ++i) AddListEntry(dialog, IDC_TOOLS_TEST_CARD, testCards[i], i);
    for (uint32_t i = 0; i < start.cleaningEntries && i < 2; ++i) AddListEntry(dialog, IDC_TOOLS_CLEANING, cleanings[i], i);
    SendDlgItemMessageW(dialog, IDC_TOOLS_TEST_CARD, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageW(dialog, IDC_TOOLS_CLEANING, CB_SETCURSEL, 0, 0);
}

// Clears the third-track record in the printer's defaults as the printer holds them now;
// a store that cannot be made is told.
void StoreThirdTrackCleared(const wchar_t* printerName) {
    const auto store = [printerName] {
        qf::PrinterHandle printer;
        if (!printer.Open(printerName, PRINTER_ACCESS_ADMINISTER)) return false;
        qf::StoredSettingsEdit edit(printer.Get());
        qf::PrivateSettings* stored = edit.Settings();
        if (!stored) return false;
        stored->thirdTrackWord = 0;
        std::memset(stored->thirdTrackText, 0, sizeof stored->thirdTrackText);
        return edit.Store(printer.Get());
    };
    if (!store()) ShowMessage(IDS_CAPTION, IDS_STORE_FAILED, MB_OK);
}

// The enabling of the direct-encoding group and the lists when the dialog opens. A model
// without a third track also clears the third-track record, in the sheet's settings and,
// for a user who may administer the printer, in the printer's defaults.
void SetUpAtStart(HWND dialog, DeviceSheetState& sheet, bool offsetYAllowed) {
    qf::PrivateSettings& settings = sheet.Settings();
    const qf::ToolsStart start =
        qf::ToolsAtStart(settings.encoderSettings.encoderPresent != 0, Offline(sheet), offsetYAllowed);
    for (int track = 0; track < 3; ++track) {
        EnableControl(dialog, kTrackEdits[track], false);
        EnableControl(dialog, kTrackBoxes[track], start.trackBoxesEnabled && (track < 2 || start.track3Offered));
    }
    EnableControl(dialog, IDC_TOOLS_ENCODE, start.trackBoxesEnabled);
    EnableControl(dialog, IDC_TOOLS_READ, start.readEnabled);
    if (start.clearThirdTrack && (settings.thirdTrackWord != 0 || settings.thirdTrackText[0] != '\0')) {
        settings.thirdTrackWord = 0;
        std::memset(settings.thirdTrackText, 0, sizeof settings.thirdTrackText);
        if (!sheet.viewOnly) StoreThirdTrackCleared(sheet.PrinterName());
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

}  // namespace

qf::OffsetControls RefreshOffsetsIn(HWND dialog, DeviceSheetState& sheet, const DirectExchange& exchange,
                                    bool atStart) {
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
    const qf::OffsetControls controls =
        qf::OffsetControlsAfterRead(offline, xRead, yRead, offsetYAllowed, !sheet.viewOnly);
    EnableControl(dialog, IDC_TOOLS_OFFSET_X, controls.xEnabled);
    EnableControl(dialog, IDC_TOOLS_OFFSET_Y, controls.yEnabled);
    EnableControl(dialog, IDC_TOOLS_SET_OFFSET, controls.setOffsetEnabled);
    SendDlgItemMessageW(dialog, IDC_TOOLS_OFFSET_X, EM_SETREADONLY, controls.administratorOnly ? TRUE : FALSE, 0);
    SendDlgItemMessageW(dialog, IDC_TOOLS_OFFSET_Y, EM_SETREADONLY, controls.administratorOnly ? TRUE : FALSE, 0);
    if (atStart) SetUpAtStart(dialog, sheet, offsetYAllowed);
    return controls;
}

void RefreshOffsets(HWND dialog, bool atStart) {
    DeviceSheetState* sheet = DeviceSheetOfWindow(dialog);
    if (!sheet) return;
    const DirectExchangeScope scope(sheet->PrinterName());
    if (!scope.Opened()) return;
    const qf::OffsetControls controls = RefreshOffsetsIn(dialog, *sheet, scope.Get(), atStart);
    if (!atStart) return;
    // What the user cannot do here is said as the dialog opens.
    std::wstring notices;
    if (controls.administratorOnly) notices = LoadModuleText(IDS_ADMIN_OFFSETS);
    if (!scope.Get().direct) notices += (notices.empty() ? L"" : L"\r\n") + LoadModuleText(IDS_NOT_DIRECT);
    SetDlgItemTextW(dialog, IDC_TOOLS_STATUS, notices.c_str());
}

void CheckOffsetLimit(HWND dialog, int edit) {
    const std::optional<std::string> shortened =
        qf::OffsetTextOverLimit(ControlAnsiText(dialog, edit, qf::kOffsetTextChars));
    if (!shortened) return;
    ShowMessage(IDS_CAPTION, IDS_OFFSET_LIMIT, MB_OK);
    SetControlAnsiText(dialog, edit, *shortened);
    SendDlgItemMessageW(dialog, edit, EM_SETSEL, shortened->size(), shortened->size());
}
