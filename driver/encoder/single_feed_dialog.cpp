// The single feed dialog: switches the printer's single-feed support on or off with a
// RAW job. The choice is kept only in the module, per printer, for the next opening of
// that printer's dialog.
#include <windows.h>

#include "driver/encoder/encoder_dialogs.h"
#include "driver/encoder/encoder_store.h"
#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/state/sheet_state.h"
#include "driver/ui/dialog_controls.h"
#include "driver/ui/dialog_conventions.h"

namespace {

// The printer the dialog's sheet belongs to, or none when the sheet is gone.
const wchar_t* PrinterOf(HWND dialog) {
    const DeviceSheetState* sheet = DeviceSheetOfWindow(dialog);
    return sheet ? sheet->PrinterName() : nullptr;
}

uint8_t ChoiceOf(const wchar_t* printerName) {
    return g_printerRecords.Read(PrinterKey(printerName)).singleFeedChoice;
}

INT_PTR OpenSingleFeedDialog(HWND dialog, LPARAM initParam) {
    const DeviceSheetState* sheet = DeviceSheetOfDialog(initParam);
    KeepSheetOfWindow(dialog, sheet ? sheet->id : 0);
    CheckRadioButton(dialog, IDC_SINGLE_FEED_OFF, IDC_SINGLE_FEED_ON,
                     ChoiceOf(PrinterOf(dialog)) == 1 ? IDC_SINGLE_FEED_ON : IDC_SINGLE_FEED_OFF);
    if (sheet && sheet->viewOnly) ShowSettingsViewOnly(dialog, IDCANCEL);
    return TRUE;
}

void ChooseSingleFeed(HWND dialog, int id) {
    CheckRadioButton(dialog, IDC_SINGLE_FEED_OFF, IDC_SINGLE_FEED_ON, id);
    const auto choice = static_cast<uint8_t>(id - IDC_SINGLE_FEED_OFF);
    g_printerRecords.Update(PrinterKey(PrinterOf(dialog)),
                            [choice](qf::PrinterRecords& printer) { printer.singleFeedChoice = choice; });
}

// A job that did not reach the printer (the user was told) keeps the dialog open for
// another Apply. A dialog whose sheet is gone has no printer to send to: like the encoder
// dialogs, it tells the user "System Error" and ends.
void ApplySingleFeed(HWND dialog) {
    const DeviceSheetState* sheet = DeviceSheetOfWindow(dialog);
    if (!sheet) {
        TellSystemError();
        EndDialog(dialog, IDCANCEL);
        return;
    }
    const uint8_t choice = IsDlgButtonChecked(dialog, IDC_SINGLE_FEED_ON) == BST_CHECKED ? 1 : 0;
    if (SendSingleFeed(sheet->PrinterName(), choice)) EndDialog(dialog, IDOK);
}

INT_PTR SingleFeedCommand(HWND dialog, int id, int) {
    // Shown only: the printer is not switched and the choice is not kept.
    const DeviceSheetState* sheet = DeviceSheetOfWindow(dialog);
    if (sheet && sheet->viewOnly) return FALSE;
    switch (id) {
    case IDC_SINGLE_FEED_OFF:
    case IDC_SINGLE_FEED_ON:
        ChooseSingleFeed(dialog, id);
        return TRUE;
    case IDOK:
        ApplySingleFeed(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK SingleFeedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DialogShape kSingleFeed = [] {
        DialogShape shape;
        shape.closeId = IDCANCEL;
        shape.open = OpenSingleFeedDialog;
        shape.command = SingleFeedCommand;
        return shape;
    }();
    return RunDialogShape(kSingleFeed, dialog, message, wParam, lParam);
}
