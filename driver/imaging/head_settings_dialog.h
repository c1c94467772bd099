// The "Head Settings" dialog: eleven print-head levels of the document being edited,
// written into the sheet's working record as the sliders move.
#pragma once

#include <windows.h>

// The dialog procedure of template IDD_HEAD_SETTINGS. WM_INITDIALOG's lParam is a
// property-sheet callback record whose UserData names the document sheet; without a
// live sheet the dialog ends at once and touches nothing.
INT_PTR CALLBACK HeadSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally over the document sheet named by `sheetUserData` (the page's
// UserData), owned by `owner`, as another dialog of the same sheet opens it. Returns
// the dialog's result: IDC_CLOSE_BUTTON, or IDCANCEL when there is no such sheet.
INT_PTR ShowHeadSettings(HWND owner, ULONG_PTR sheetUserData);

// Registers the slider class the imaging dialogs use, before a template with sliders
// is created.
void RegisterSliderClass();
