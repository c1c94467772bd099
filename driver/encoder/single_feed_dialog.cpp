// The single feed dialog: switches the printer's single-feed support on or off with a
// RAW job. The choice is kept only in the module, per printer, for the next opening of
// that printer's dialog.
#include <windows.h>

#include "driver/encoder/encoder_dialogs.h"
#include "driver/encoder/encoder_store.h"
#include "driver/entry/dialog_conventions.h"
#include "driver/entry/guard.h"
#include "driver/entry/module_state.h"
#include "driver/resources/resource.h"
#include "driver/sheets/sheet_state.h"

namespace {

const DeviceSheetState* SheetOf(HWND dialog) { return DeviceSheetOf(GetWindowLongPtrW(dialog, DWLP_USER)); }

// The printer the dialog's sheet belongs to, or none when the sheet is gone.
const wchar_t* PrinterOf(HWND dialog) {
    const DeviceSheetState* sheet = SheetOf(dialog);
    return sheet ? sheet->printerName : nullptr;
}

uint8_t ChoiceOf(const wchar_t* printerName) {
    return g_printerRecords.Read(PrinterKey(printerName)).singleFeedChoice;
}

void OpenSingleFeedDialog(HWND dialog, LPARAM initParam) {
    const DeviceSheetState* sheet = DeviceSheetOfDialog(initParam);
    SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(sheet ? sheet->id : 0));
    CheckRadioButton(dialog, IDC_SINGLE_FEED_OFF, IDC_SINGLE_FEED_ON,
                     ChoiceOf(PrinterOf(dialog)) == 1 ? IDC_SINGLE_FEED_ON : IDC_SINGLE_FEED_OFF);
}

void ChooseSingleFeed(HWND dialog, int id) {
    CheckRadioButton(dialog, IDC_SINGLE_FEED_OFF, IDC_SINGLE_FEED_ON, id);
    const auto choice = static_cast<uint8_t>(id - IDC_SINGLE_FEED_OFF);
    g_printerRecords.Update(PrinterKey(PrinterOf(dialog)),
                            [choice](qf::PrinterRecords& printer) { printer.singleFeedChoice = choice; });
}

// A job that did not reach the printer (the user was told) keeps the dialog open for
// another Apply.
void ApplySingleFeed(HWND dialog) {
    const DeviceSheetState* sheet = SheetOf(dialog);
    const uint8_t choice = IsDlgButtonChecked(dialog, IDC_SINGLE_FEED_ON) == BST_CHECKED ? 1 : 0;
    if (SendSingleFeed(sheet && sheet->printerInfo ? sheet->printerInfo->pPrinterName : nullptr, choice))
        EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR CALLBACK SingleFeedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (HandleCloseRequest(dialog, message, wParam, IDCANCEL)) return TRUE;
        switch (message) {
        case WM_INITDIALOG:
            OpenSingleFeedDialog(dialog, lParam);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case IDC_SINGLE_FEED_OFF:
            case IDC_SINGLE_FEED_ON:
                ChooseSingleFeed(dialog, LOWORD(wParam));
                return TRUE;
            case IDOK:
                ApplySingleFeed(dialog);
                return TRUE;
            case IDCANCEL:
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            default:
                return FALSE;
            }
        default:
            return FALSE;
        }
    });
}
