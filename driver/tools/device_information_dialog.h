// The Device Information dialog: what the printer tells about itself.
#pragma once

#include <windows.h>

// Dialog procedure of template 113, run by the device sheet's "Device Information" push
// button and by the document sheet's "Printer/Ribbon Details" button. WM_INITDIALOG's
// lParam is the sheet's callback record; the printer asked is that sheet's. Without a
// live sheet the dialog ends at once.
INT_PTR CALLBACK DeviceInformationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
