// The About box: the driver's name and version and the maker's logo.
#pragma once

#include <windows.h>

// Dialog procedure of template 102.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The logo bitmap from the directory of the printer's driver file, or nullptr. The
// caller deletes it.
HBITMAP LoadAboutLogo();

// Shows the About box modally, owned by `owner`.
void ShowAboutBox(HWND owner);
