// The state an encoder dialog owns while it is open: the device sheet that opened it and
// the working copy of that sheet's committed encoder record. The dialog allocates it when
// it opens and frees it when its window goes, so two printers' encoder dialogs never
// share a working copy.
#pragma once

#include <windows.h>

#include "driver/encoder/encoder_rules.h"
#include "driver/state/sheet_state.h"

struct EncoderDialogState {
    ULONG_PTR sheetData;            // the device sheet's UserData, looked up on every use
    qf::EncoderSettings working;    // copied whole from the sheet's committed record
    bool filling;                   // the dialog is writing its own controls
    bool viewOnly;                  // the sheet's user may not change the settings: shown only
};

// WM_INITDIALOG: a working copy of the committed record of the sheet named by the
// callback record `initParam`, kept as the dialog's user data. Without a live sheet or
// without memory the user is told "System Error", the dialog ends with `cancelId` and
// nullptr is returned.
EncoderDialogState* OpenEncoderDialogState(HWND dialog, LPARAM initParam, int cancelId);
// The dialog's state, or nullptr before WM_INITDIALOG and after WM_DESTROY.
EncoderDialogState* EncoderDialogStateOf(HWND dialog);
// The sheet the dialog belongs to while that sheet is open, else nullptr.
DeviceSheetState* EncoderDialogSheet(const EncoderDialogState& state);
// WM_DESTROY: frees the dialog's state.
void CloseEncoderDialogState(HWND dialog);
// What became of an encoder dialog's Apply.
enum class EncoderApply {
    kApplied,   // sent, committed and stored: the dialog closes as applied
    kNotSent,   // the job did not reach the printer (the user was told): nothing is
                // committed or stored, and the dialog stays open with the user's values
    kSheetGone, // the sheet that opened the dialog is gone: the user was told "System
                // Error", nothing was sent or stored, and the dialog closes as cancelled
};
// Apply of an encoder dialog: `part` of the working copy goes to the printer by `send`;
// once the printer has it, it becomes the sheet's committed record (the other part and
// the encoder's presence stay as committed) and goes into the printer's stored defaults.
EncoderApply ApplyEncoderPart(const EncoderDialogState& state, qf::EncoderPart part,
                              bool (*send)(const wchar_t* printerName, const qf::EncoderSettings& settings));
// Apply pressed: ApplyEncoderPart, after which the dialog ends with `appliedId` once
// applied and with `cancelId` when its sheet is gone; a job that failed leaves it open.
void ApplyAndEnd(HWND dialog, const EncoderDialogState& state, qf::EncoderPart part,
                 bool (*send)(const wchar_t* printerName, const qf::EncoderSettings& settings), int appliedId,
                 int cancelId);
// Restore Defaults pressed: `part` of the working copy from the printer's defaults block
// (the built-in one when the printer's cannot be read).
void RestoreWorkingDefaults(EncoderDialogState& state, qf::EncoderPart part);
// A callback record naming the dialog's sheet, for the dialog it opens.
CPSUICBPARAM EncoderDialogParam(const EncoderDialogState& state);
