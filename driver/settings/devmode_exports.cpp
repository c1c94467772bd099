// The settings-record exports. Not offered yet: both report failure and touch nothing.
#include "driver/entry/ddk.h"

extern "C" LONG WINAPI DrvDocumentProperties(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return -1;
}

extern "C" BOOL WINAPI DrvConvertDevMode(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}
