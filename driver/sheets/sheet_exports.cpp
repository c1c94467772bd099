// The property-sheet exports.
#include "driver/platform/ddk.h"
#include "driver/platform/guard.h"
#include "driver/sheets/device_sheet.h"
#include "driver/sheets/document_sheet.h"

// DrvDocumentPropertySheets
//   pPSUIInfo [I/O] the service's information; NULL: no sheet, lParam is the header
// Returns the sheet's result, or 4068/1/-1 without a sheet.
extern "C" LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    return qf::CallGuarded<LONG>(ERR_CPSUI_GETLASTERROR, [&]() -> LONG {
        if (!pPSUIInfo) return DocumentPropertiesWithoutSheet(reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam));
        return DocumentSheet(pPSUIInfo);
    });
}

// DrvDevicePropertySheets: without property-sheet information there is nothing to do.
extern "C" LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM) {
    return qf::CallGuarded<LONG>(ERR_CPSUI_GETLASTERROR, [&]() -> LONG {
        if (!pPSUIInfo) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERR_CPSUI_GETLASTERROR;
        }
        return DeviceSheet(pPSUIInfo);
    });
}
