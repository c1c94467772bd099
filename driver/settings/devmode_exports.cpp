// The settings-record exports.
#include "driver/platform/ddk.h"
#include "driver/platform/guard.h"
#include "driver/settings/document_settings.h"

// DrvDocumentProperties
//   pDeviceName [I] the printer's name: each printer has its own committed settings
//   pdmOutput [O] receives the record: the settings a sheet of this printer committed
//                 in this process when there are some, else the printer's default
//   pdmInput  [I] optional; its public part (with a valid cache) or its orientation,
//                 copies and paper size (DM_IN_BUFFER) are merged
// Returns 4068 for fMode 0, else 1. No dialog is ever shown.
extern "C" LONG WINAPI DrvDocumentProperties(HWND, HANDLE hPrinter, PWSTR pDeviceName, PDEVMODEW pdmOutput,
                                             PDEVMODEW pdmInput, DWORD fMode) {
    return qf::CallGuarded<LONG>(
        -1, [&] { return FillDocumentSettings(hPrinter, pDeviceName, pdmOutput, pdmInput, fMode); });
}

// DrvConvertDevMode: only CDM_DRIVER_DEFAULT does work; it writes the driver default
// (public template, the defaults block, both sides on) when the data file can be read.
extern "C" BOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW, PDEVMODEW pdmOut, PLONG pcbNeeded,
                                         DWORD fMode) {
    return qf::CallGuarded<BOOL>(FALSE, [&] { return BuildDriverDefault(pPrinterName, pdmOut, pcbNeeded, fMode); });
}
