// The Tools dialog: commands typed by hand, test cards, cleaning, print offsets, direct
// encoding and reading of the magnetic tracks, ejecting a card, and Send File.
#pragma once

#include <windows.h>

// Dialog procedure of template 112, run by the device sheet's "Tools" push button.
// WM_INITDIALOG's lParam is the sheet's callback record; without a live device sheet the
// dialog ends at once.
INT_PTR CALLBACK ToolsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
