// Printer-driver interface declarations that the mingw-w64 headers lack, taken from the
// public driver-kit documentation, and the prototypes of the module's exports.
#pragma once

#include <windows.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>

#include <cstddef>

#ifndef CDM_CONVERT
#define CDM_CONVERT 0x01
#define CDM_CONVERT351 0x02
#define CDM_DRIVER_DEFAULT 0x04
#endif

#ifndef DM_ADVANCED
#define DM_ADVANCED 0x10
#endif
#ifndef DM_NOPERMISSION
#define DM_NOPERMISSION 0x20
#endif
#ifndef DM_USER_DEFAULT
#define DM_USER_DEFAULT 0x40
#endif

extern "C" {

// Handed to DrvDocumentPropertySheets as lParam of PROPSHEETUI_INFO.
typedef struct _DOCUMENTPROPERTYHEADER {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPTSTR pszPrinterName;
    PDEVMODE pdmIn;
    PDEVMODE pdmOut;
    DWORD cbOut;
    DWORD fMode;
} DOCUMENTPROPERTYHEADER, *PDOCUMENTPROPERTYHEADER;

// Handed to DrvDevicePropertySheets as lParam of PROPSHEETUI_INFO.
typedef struct _DEVICEPROPERTYHEADER {
    WORD cbSize;
    WORD Flags;
    HANDLE hPrinter;
    LPTSTR pszPrinterName;
} DEVICEPROPERTYHEADER, *PDEVICEPROPERTYHEADER;

#ifndef DPS_NOPERMISSION
#define DPS_NOPERMISSION 0x0001
#endif

typedef struct _DEVQUERYPRINT_INFO {
    WORD cbSize;
    WORD Level;
    HANDLE hPrinter;
    DEVMODEW* pDevMode;
    LPWSTR pszErrorStr;
    DWORD cchErrorStr;
    DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;

// The sheet entry points are called through PFNPROPSHEETUI; on i686 they are stdcall.
typedef LONG(CALLBACK* QfPropSheetUiProc)(PPROPSHEETUI_INFO, LPARAM);

// The module's exports. DrvPrinterEvent is declared by winddiui.h.
BOOL WINAPI DevQueryPrint(HANDLE hPrinter, LPDEVMODEW pDevMode, DWORD* pResID);
BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO pDQPInfo);
LONG WINAPI DrvAdvancedDocumentProperties(HWND hWnd, HANDLE hPrinter, PWSTR pDeviceName,
                                          PDEVMODEW pdmOutput, PDEVMODEW pdmInput);
DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, DWORD capability,
                                   PVOID pOutput, PDEVMODEW pDevMode);
LONG WINAPI DrvDocumentProperties(HWND hwnd, HANDLE hPrinter, PWSTR pDeviceName,
                                  PDEVMODEW pdmOutput, PDEVMODEW pdmInput, DWORD fMode);
BOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW pdmIn, PDEVMODEW pdmOut,
                              PLONG pcbNeeded, DWORD fMode);
LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);
BOOL WINAPI DrvUpgradePrinter(DWORD level, LPBYTE pDriverUpgradeInfo);

}  // extern "C"

// The spooler hands these records over as the platform lays them out: handles and
// pointers at their natural width (4 bytes in a 32-bit process, 8 in a 64-bit one).
constexpr size_t kPointerBytes = sizeof(void*);
static_assert(sizeof(DOCUMENTPROPERTYHEADER) == (kPointerBytes == 8 ? 48 : 28), "DOCUMENTPROPERTYHEADER");
static_assert(offsetof(DOCUMENTPROPERTYHEADER, hPrinter) == kPointerBytes, "DOCUMENTPROPERTYHEADER.hPrinter");
static_assert(offsetof(DOCUMENTPROPERTYHEADER, cbOut) == 5 * kPointerBytes, "DOCUMENTPROPERTYHEADER.cbOut");
static_assert(sizeof(DEVICEPROPERTYHEADER) == 3 * kPointerBytes, "DEVICEPROPERTYHEADER");
static_assert(sizeof(DEVQUERYPRINT_INFO) == (kPointerBytes == 8 ? 40 : 24), "DEVQUERYPRINT_INFO");
static_assert(offsetof(DEVQUERYPRINT_INFO, cchErrorStr) == 4 * kPointerBytes, "DEVQUERYPRINT_INFO.cchErrorStr");
