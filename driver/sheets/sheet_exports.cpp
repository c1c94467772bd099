// The property-sheet exports. The sheets are not offered yet: both entry points
// report failure and touch nothing.
#include "driver/entry/ddk.h"

extern "C" LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO, LPARAM) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return ERR_CPSUI_GETLASTERROR;
}

extern "C" LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO, LPARAM) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return ERR_CPSUI_GETLASTERROR;
}
