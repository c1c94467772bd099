// The single feed dialog: switches the printer's single-feed support on or off with a
// RAW job. The choice is kept only in the module, for the next opening.
#include <windows.h>

#include "driver/encoder/encoder_dialogs.h"
#include "driver/encoder/encoder_store.h"
#include "driver/entry/dialog_conventions.h"
#include "driver/entry/guard.h"
#include "driver/resources/resource.h"
#include "driver/sheets/sheet_state.h"

uint8_t g_singleFeedChoice = 1;

namespace {

void OpenSingleFeedDialog(HWND dialog, LPARAM initParam) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(DeviceSheetOfDialog(initParam)));
    CheckRadioButton(dialog, IDC_SINGLE_FEED_OFF, IDC_SINGLE_FEED_ON,
                     g_singleFeedChoice == 1 ? IDC_SINGLE_FEED_ON : IDC_SINGLE_FEED_OFF);
}

void ChooseSingleFeed(HWND dialog, int id) {
    CheckRadioButton(dialog, IDC_SINGLE_FEED_OFF, IDC_SINGLE_FEED_ON, id);
    g_singleFeedChoice = static_cast<uint8_t>(id - IDC_SINGLE_FEED_OFF);
}

// A job that did not reach the printer (the user was told) keeps the dialog open for
// another Apply.
void ApplySingleFeed(HWND dialog) {
    const DeviceSheetState* sheet = DeviceSheetOf(GetWindowLongPtrW(dialog, DWLP_USER));
    if (SendSingleFeed(sheet && sheet->printerInfo ? sheet->printerInfo->pPrinterName : nullptr, g_singleFeedChoice))
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
