// The encoder dialogs' own state.
#include "driver/encoder/encoder_dialog_state.h"

#include <new>

#include "driver/encoder/encoder_store.h"
#include "driver/entry/dialog_conventions.h"
#include "driver/resources/resource.h"

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

void ApplyEncoderPart(const EncoderDialogState& state, qf::EncoderPart part,
                      void (*send)(const wchar_t* printerName, const qf::EncoderSettings& settings)) {
    DeviceSheetState* sheet = EncoderDialogSheet(state);
    if (!sheet) return;
    sheet->CommitEncoderPart(part, state.working);
    send(sheet->printerInfo ? sheet->printerInfo->pPrinterName : nullptr, sheet->encoderSettings);
    SaveEncoderPart(sheet->printerName, part, sheet->encoderSettings);
}

CPSUICBPARAM EncoderDialogParam(const EncoderDialogState& state) { return SheetDialogParam(state.sheetData); }
