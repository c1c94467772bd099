// The "Color correction" dialog: eight colour amounts of the document being edited,
// written into the sheet's working record as the sliders move, and a sample picture
// repainted with them after every change.
#pragma once

#include <windows.h>

// The dialog procedure of template IDD_COLOR_CORRECTION. WM_INITDIALOG's lParam is a
// property-sheet callback record whose UserData names the document sheet; without a
// live sheet the dialog ends at once and touches nothing.
INT_PTR CALLBACK ColorCorrectionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Where the sample picture is painted in the dialog's client area, in pixels.
constexpr int kSampleLeft = 8, kSampleTop = 8;
