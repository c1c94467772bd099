// The Send File dialog: hands a printer file or a text file of commands to the port side,
// which sends it to the printer.
#pragma once

#include <windows.h>

// Dialog procedure of template 2147, opened by the Tools dialog. WM_INITDIALOG's lParam
// is a callback record of the device sheet; without a live sheet the dialog ends at once.
INT_PTR CALLBACK SendFileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
