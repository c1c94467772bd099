// Each open property sheet's own state. A sheet keeps everything it edits and shows in
// one object that it allocates at INIT and frees at DESTROY. The page's UserData is the
// sheet's number (`id`), so the sheet's callback and every dialog opened from one of its
// push buttons find it again (the service hands the dialog a callback record whose
// UserData is the page's); a number names one sheet only, never a later one at the same
// address. Nothing module-wide points into a sheet's object but the live-sheet table.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstdint>
#include <cstring>

#include "driver/encoder/encoder_rules.h"
#include "driver/platform/ddk.h"
#include "driver/platform/guard.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/settings/private_settings.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"
#include "driver/state/device_items.h"
#include "driver/state/document_items.h"
#include "driver/state/option_items.h"
#include "driver/ui/dialog_conventions.h"

constexpr int kMaxSheetChoices = 10;

// The document sheet: the working record is the module's own copy, in the driver's
// 4068-byte layout, of the caller's input record or of the printer's default. The
// caller's memory is written only at SET_RESULT, into its output record.
struct DocumentSheetState {
    ULONG_PTR id;  // the sheet's number: the page's UserData
    COMPROPSHEETUI page;
    OPTITEM items[qf::kDocumentItemCount];
    HANDLE printer;
    wchar_t* printerName;  // see KeepPrinterName
    PRINTER_INFO_2W* printerInfo;  // the printer's stored information, read at INIT
    alignas(8) uint8_t working[qf::kRecordSize];
    alignas(8) uint8_t undo[qf::kRecordSize];
    WCHAR ribbonName[kRibbonNameChars];

    // The option types, choices and texts the page shows.
    OPTTYPE types[qf::kDocumentItemCount];
    OPTPARAM params[qf::kDocumentItemCount][kMaxSheetChoices];
    WCHAR titles[qf::kDocumentItemCount][qf::kItemTextChars];
    WCHAR choiceTexts[qf::kDocumentItemCount][kMaxSheetChoices][qf::kItemTextChars];
    WCHAR printModeTexts[qf::kMaxPrintModes][qf::kItemTextChars];
    EXTPUSH detailsPush;
    WCHAR detailsTitle[qf::kItemTextChars];
    WCHAR callerName[qf::kItemTextChars];

    const wchar_t* PrinterName() const { return printerName ? printerName : L""; }
    DEVMODEW* WorkingDevmode() { return reinterpret_cast<DEVMODEW*>(working); }
    qf::PrivateSettings& Settings() { return *reinterpret_cast<qf::PrivateSettings*>(working + qf::kPublicSize); }
};

// The device sheet: the printer's stored information with its default record (checked
// to be the driver's own when the sheet opened), which the sheet's Apply stores back,
// and what the sheet learnt of this printer: its committed encoder record and its model
// text. Another printer's sheet open in the same process has its own of each.
struct DeviceSheetState {
    ULONG_PTR id;  // the sheet's number: the page's UserData
    COMPROPSHEETUI page;
    OPTITEM items[qf::kDeviceItemCount];
    HANDLE printer;
    wchar_t* printerName;  // see KeepPrinterName
    PRINTER_INFO_2W* printerInfo;
    // The stored default record inside printerInfo, checked at INIT: the working settings
    // of the device sheet's dialogs. It is never stored whole: each store writes only what
    // its window changed, on the printer's current record.
    DEVMODEW* record;
    // The spooler opened the sheet for a user who may not administer the printer
    // (DPS_NOPERMISSION): the page is shown without update permission, and the dialogs that
    // change what the printer and the driver keep show their settings without Apply.
    bool viewOnly;
    // The committed encoder record: the stored one as the sheet found it (with the
    // printer's answer on its encoder), then what the encoder dialogs applied. Each
    // dialog's Apply stores its part at once; a part whose store failed waits here for
    // the sheet's Apply, which tries it again.
    qf::EncoderSettings encoderSettings;
    bool generalUnstored;  // the encoder dialog's part is applied but not stored
    bool tracksUnstored;   // the advanced track settings' part is applied but not stored
    // Whether the printer answered the model query, and its answer up to its first zero
    // byte (empty when it did not answer); the model item shows `modelName` (the answer,
    // or the default text of the string table).
    bool modelAnswered;
    char modelReply[kModelReplySize];
    WCHAR modelName[kModelNameChars];
    WCHAR callerName[qf::kItemTextChars];  // the page's caller: the default model text

    OPTTYPE types[qf::kDeviceItemCount];
    OPTPARAM params[qf::kDeviceItemCount];
    WCHAR titles[qf::kDeviceItemCount][qf::kItemTextChars];
    WCHAR itemName[qf::kItemTextChars];

    const wchar_t* PrinterName() const { return printerName ? printerName : L""; }
    qf::PrivateSettings& Settings() {
        auto* bytes = reinterpret_cast<uint8_t*>(record);
        return *reinterpret_cast<qf::PrivateSettings*>(bytes + qf::PrivateOffset(bytes));
    }
    // Commits `part` of `applied` into the encoder record and into the copy inside the
    // sheet's stored record; nothing else of either changes (the encoder's presence stays
    // as the printer answered it).
    void CommitEncoderPart(qf::EncoderPart part, const qf::EncoderSettings& applied) {
        qf::CopyEncoderPart(part, applied, encoderSettings);
        qf::EncoderSettings inRecord;
        std::memcpy(&inRecord, &Settings().encoderSettings, sizeof inRecord);
        qf::CopyEncoderPart(part, applied, inRecord);
        std::memcpy(&Settings().encoderSettings, &inRecord, sizeof inRecord);
    }
};

// A new sheet state, zeroed and registered as live, or nullptr when memory is short;
// the sheet frees it with DeleteSheet at DESTROY.
DocumentSheetState* NewDocumentSheet();
DeviceSheetState* NewDeviceSheet();
void DeleteSheet(DocumentSheetState* sheet);
void DeleteSheet(DeviceSheetState* sheet);

// The sheet's printer name: the name the spooler reports in the sheet's printer
// information (qf::ReportedPrinterName), else `caller`, the name the sheet was opened
// with. The sheet keeps the whole name, however long, as a heap copy it frees at DESTROY:
// the per-printer table, the questions, the stores and the jobs of the sheet and its
// dialogs all go by it. Throws std::bad_alloc when memory is short (the opening then
// fails and tells the user).
void KeepPrinterName(DocumentSheetState& sheet, const wchar_t* caller);
void KeepPrinterName(DeviceSheetState& sheet, const wchar_t* caller);

// The sheet state behind a page's or a callback record's UserData, or nullptr when the
// value is not a live sheet of that kind.
DocumentSheetState* DocumentSheetOf(ULONG_PTR userData);
DeviceSheetState* DeviceSheetOf(ULONG_PTR userData);

// The sheet whose push button opened a dialog: `initParam` is the dialog's WM_INITDIALOG
// lParam, the service's callback record. A dialog that opens another dialog of the same
// sheet passes such a record on (see SheetDialogParam).
DocumentSheetState* DocumentSheetOfDialog(LPARAM initParam);
DeviceSheetState* DeviceSheetOfDialog(LPARAM initParam);

// A dialog that works on its sheet keeps the sheet's number as its DWLP_USER
// (KeepSheetOfWindow) and finds the sheet again by it, or nullptr once the sheet is gone.
void KeepSheetOfWindow(HWND dialog, ULONG_PTR sheetId);
ULONG_PTR SheetIdOfWindow(HWND dialog);
DocumentSheetState* DocumentSheetOfWindow(HWND dialog);
DeviceSheetState* DeviceSheetOfWindow(HWND dialog);
// A dialog opening on the sheet whose button opened it (`initParam` as above) keeps the
// sheet's number. A sheet that is gone, or a device sheet without its record when the
// dialog needs one, ends the dialog with IDCANCEL and gives nullptr.
DocumentSheetState* OpenOnDocumentSheet(HWND dialog, LPARAM initParam);
DeviceSheetState* OpenOnDeviceSheet(HWND dialog, LPARAM initParam, bool needsRecord);

// A dialog that keeps a state object of its own as its DWLP_USER, with the document sheet
// it works on (`sheet`) and that sheet's number (`sheetId`): LiveDialogState gives the
// state while the sheet is still open, for its record to be written, else nullptr;
// FreeDialogState frees the state when the dialog is destroyed.
template <typename State>
State* LiveDialogState(HWND dialog) {
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return state && DocumentSheetOf(state->sheetId) == state->sheet ? state : nullptr;
}
template <typename State>
void FreeDialogState(HWND dialog) {
    delete reinterpret_cast<State*>(GetWindowLongPtrW(dialog, DWLP_USER));
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

// A callback record naming `userData`'s sheet, for a dialog that opens a further dialog
// of the same sheet with DialogBoxParamW(..., reinterpret_cast<LPARAM>(&record)).
CPSUICBPARAM SheetDialogParam(ULONG_PTR userData);

// DESTROY, and an opening that stops part-way: frees the sheet named by `info`'s UserData
// with its printer information, and clears the UserData.
void FreeDocumentSheet(PROPSHEETUI_INFO* info);
void FreeDeviceSheet(PROPSHEETUI_INFO* info);

// INIT: runs `open`; an opening that throws part-way (an allocation) frees what the sheet
// took with `free`, tells the user "System Error", runs `failed` (which sets the sheet's
// own failure report) and returns `failure`. The page is then not added.
template <typename Open, typename Failed>
LONG OpenSheetOrTell(PROPSHEETUI_INFO* info, Open&& open, void (*free)(PROPSHEETUI_INFO*), LONG failure,
                     Failed&& failed) {
    try {
        return open();
    } catch (...) {
        free(info);
        qf::CallGuarded<int>(0, [] { return ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK); });
        failed();
        return failure;
    }
}

// A sheet callback: `reason` runs, guarded, with the live sheet that `param` names; a
// callback for a sheet that is gone, or one that throws, answers CPSUICB_ACTION_NONE.
template <typename Sheet, typename Reason>
LONG SheetCallback(PCPSUICBPARAM param, Sheet* (*sheetOf)(ULONG_PTR), Reason&& reason) {
    return qf::CallGuarded<LONG>(CPSUICB_ACTION_NONE, [&]() -> LONG {
        Sheet* sheet = param ? sheetOf(param->UserData) : nullptr;
        return sheet ? reason(*sheet) : CPSUICB_ACTION_NONE;
    });
}
