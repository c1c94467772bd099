// The conventions every dialog of the module follows: message boxes, the Help button
// and the title bar's close box.
#pragma once

#include <windows.h>

#include <optional>

#include "driver/ui/help_pages.h"

// Shows string `textId` under caption string `captionId` in a message box owned by the
// active window; returns the button the user chose.
int ShowMessage(UINT captionId, UINT textId, UINT flags);

// The same with a text already composed.
int ShowMessageText(UINT captionId, const wchar_t* text, UINT flags);

// The same with string `textId`'s one "%s" replaced by `name` (a ribbon, a page).
int ShowMessageNaming(UINT captionId, UINT textId, const wchar_t* name, UINT flags);

// A dialog that could not fill its controls (memory running short) tells the user
// "System Error" and ends with `result`, rather than showing empty or partial fields.
void CloseUnfilledDialog(HWND dialog, INT_PTR result);

// Tells the user "System Error": a user action failed on an allocation or a resource.
void TellSystemError();

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

// The one shape of the module's dialog procedures. A dialog names what it does with the
// messages every dialog gets; RunDialogShape does the rest:
// - nothing escapes the procedure: a failure inside answers "not handled" (FALSE);
// - the title bar's close box is a click of the dialog's close button `closeId`;
// - WM_INITDIALOG goes to `open`, whose answer is the message's (TRUE: the system sets
//   the focus). A dialog that fills its controls when it opens (`fillsAtOpen`) and
//   cannot, memory running short, tells "System Error" and ends with `unfilledResult`;
// - WM_COMMAND goes to `command`, when the dialog has one, with the control's id and
//   notification code. What it leaves (FALSE): the Help button opens `help`'s page, and
//   the close button and the Escape key (IDCANCEL) end the dialog with `closeId`;
// - WM_DESTROY goes to `close`, when the dialog keeps something to free;
// - any other message goes to `other`, when the dialog takes others (FALSE: not handled).
struct DialogShape {
    int closeId = IDCANCEL;
    std::optional<qf::HelpTopic> help = std::nullopt;
    INT_PTR (*open)(HWND dialog, LPARAM initParam) = nullptr;
    INT_PTR (*command)(HWND dialog, int id, int code) = nullptr;
    void (*close)(HWND dialog) = nullptr;
    INT_PTR (*other)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = nullptr;
    bool fillsAtOpen = false;
    INT_PTR unfilledResult = IDCANCEL;
};
INT_PTR RunDialogShape(const DialogShape& shape, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs dialog `templateId` of the module modally from `owner` and returns its result. A
// dialog the platform cannot make (out of window resources) shows "System Error": the
// button the user pressed is not left doing nothing.
INT_PTR RunModuleDialog(HWND owner, int templateId, DLGPROC procedure, LPARAM param);
