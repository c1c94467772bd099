// The encoder dialogs' own state.
#include "driver/encoder/encoder_dialog_state.h"

#include <new>

#include "driver/encoder/encoder_store.h"
#include "driver/resources/resource.h"
#include "driver/ui/dialog_conventions.h"

EncoderDialogState* OpenEncoderDialogState(HWND dialog, LPARAM initParam, int cancelId) {
    DeviceSheetState* sheet = DeviceSheetOfDialog(initParam);
    auto* state = sheet ? new (std::nothrow) EncoderDialogState{} : nullptr;
    if (!state) {
        ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);
        EndDialog(dialog, cancelId);
        return nullptr;
    }
    state->sheetData = sheet->id;
    state->working = sheet->encoderSettings;
    state->viewOnly = sheet->viewOnly;
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    return state;
}

EncoderDialogState* EncoderDialogStateOf(HWND dialog) {
    return reinterpret_cast<EncoderDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

DeviceSheetState* EncoderDialogSheet(const EncoderDialogState& state) { return DeviceSheetOf(state.sheetData); }

void CloseEncoderDialogState(HWND dialog) {
    delete EncoderDialogStateOf(dialog);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

EncoderApply ApplyEncoderPart(const EncoderDialogState& state, qf::EncoderPart part,
                              bool (*send)(const wchar_t* printerName, const qf::EncoderSettings& settings)) {
    DeviceSheetState* sheet = EncoderDialogSheet(state);
    if (!sheet) {
        TellSystemError();
        return EncoderApply::kSheetGone;
    }
    qf::EncoderSettings committed = sheet->encoderSettings;
    qf::CopyEncoderPart(part, state.working, committed);
    // Nothing is half done: settings the driver could not keep are not sent, and settings
    // the printer did not get are not stored as if it had them.
    if (!CanStoreEncoderParts(sheet->PrinterName())) {
        ShowMessage(IDS_CAPTION, IDS_STORE_IMPOSSIBLE, MB_OK);
        return EncoderApply::kNotSent;
    }
    if (!send(sheet->PrinterName(), committed))
        return EncoderApply::kNotSent;
    sheet->CommitEncoderPart(part, state.working);
    const EncoderParts parts{part == qf::EncoderPart::kGeneral, part == qf::EncoderPart::kTracks};
    const bool stored =
        StoreEncoderParts(sheet->PrinterName(), sheet->encoderSettings, parts, "$$$$$$$$$$$$$ SetPrinter called 3\n");
    // The printer has the settings: the sheet's Apply tries the store again.
    (part == qf::EncoderPart::kGeneral ? sheet->generalUnstored : sheet->tracksUnstored) = !stored;
    if (!stored) ShowMessage(IDS_CAPTION, IDS_NOT_STORED, MB_OK);
    return EncoderApply::kApplied;
}

void ApplyAndEnd(HWND dialog, const EncoderDialogState& state, qf::EncoderPart part,
                 bool (*send)(const wchar_t* printerName, const qf::EncoderSettings& settings), int appliedId,
                 int cancelId) {
    switch (ApplyEncoderPart(state, part, send)) {
    case EncoderApply::kApplied: EndDialog(dialog, appliedId); break;
    case EncoderApply::kNotSent: break;
    case EncoderApply::kSheetGone: EndDialog(dialog, cancelId); break;
    }
}

void RestoreWorkingDefaults(EncoderDialogState& state, qf::EncoderPart part) {
    const DeviceSheetState* sheet = EncoderDialogSheet(state);
    RestoreEncoderDefaults(sheet ? sheet->printer : nullptr, part, state.working);
}

CPSUICBPARAM EncoderDialogParam(const EncoderDialogState& state) { return SheetDialogParam(state.sheetData); }
