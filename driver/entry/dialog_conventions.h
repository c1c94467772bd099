// The conventions every dialog of the module follows: message boxes, the Help button
// and the title bar's close box.
#pragma once

#include <windows.h>

#include "driver/entry/help_pages.h"

// Shows string `textId` under caption string `captionId` in a message box owned by the
// active window; returns the button the user chose.
int ShowMessage(UINT captionId, UINT textId, UINT flags);

// The same with a text already composed.
int ShowMessageText(UINT captionId, const wchar_t* text, UINT flags);

// A dialog that could not fill its controls (memory running short) tells the user
// "System Error" and ends with `result`, rather than showing empty or partial fields.
void CloseUnfilledDialog(HWND dialog, INT_PTR result);

// Tells the user that a command job did not reach the printer. The channel only reports
// what became of a job; the dialog that sent it tells the user.
void TellJobFailed();

// The Help button of a dialog whose page of the manual is `topic`. When the help file
// named by string 200 lies beside the module, it is opened at its contents page (WinHelp);
// when it is not there, or has no viewer (current Windows has none), the dialog's page of
// the manual, which lies beside the module too (or the manual's contents page when that
// page is missing), is opened with the shell's "open" verb, in the user's browser. A
// folder whose path is longer than MAX_PATH is handed on by its short form. When nothing
// opens, the user is told (the page that could not be opened, or that Help is not
// installed); without the file's name only a debugger trace is written.
void ShowHelp(HWND dialog, qf::HelpTopic topic);

// The close box: turns WM_SYSCOMMAND/SC_CLOSE into a click of the dialog's own close
// button `closeId`. Returns true when the message was such a close request.
bool HandleCloseRequest(HWND dialog, UINT message, WPARAM wParam, int closeId);

// Runs dialog `templateId` of the module modally from `owner` and returns its result. A
// dialog the platform cannot make (out of window resources) shows "System Error": the
// button the user pressed is not left doing nothing.
INT_PTR RunModuleDialog(HWND owner, int templateId, DLGPROC procedure, LPARAM param);
