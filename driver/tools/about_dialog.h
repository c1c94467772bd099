// The About box: the driver's name and version and the maker's logo.
#pragma once

#include <windows.h>

// Dialog procedure of template 102. WM_INITDIALOG's lParam is the callback record of
// the sheet that opened the box; the logo is looked up for that sheet's printer.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The logo bitmap from the directory of the printer's driver file, or nullptr. The
// caller deletes it.
HBITMAP LoadAboutLogo(const wchar_t* printerName);

// Shows the About box modally, owned by `owner`, for the sheet whose page carries
// `sheetUserData`.
void ShowAboutBox(HWND owner, ULONG_PTR sheetUserData);
