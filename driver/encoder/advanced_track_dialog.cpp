// The advanced track settings dialog: mode, density, start and stop characters, start
// position and parities of each magnetic track. It edits its own working copy of its
// device sheet's committed record and commits, sends and stores the track part on Apply.
#include <windows.h>

#include "driver/encoder/encoder_dialog_state.h"
#include "driver/encoder/encoder_dialogs.h"
#include "driver/encoder/encoder_rules.h"
#include "driver/encoder/encoder_store.h"
#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/state/sheet_state.h"
#include "driver/ui/dialog_controls.h"
#include "driver/ui/dialog_conventions.h"

namespace {

constexpr int kModeCount = 8;
constexpr int kDensityCount = 2;
constexpr int kListTextChars = 32;

using State = EncoderDialogState;

bool NoThirdTrack(const State& state) {
    const DeviceSheetState* sheet = EncoderDialogSheet(state);
    return sheet && qf::HasNoThirdTrack(sheet->modelReply);
}

qf::TrackSettings& CurrentTrack(State& state) {
    return state.working.tracks[qf::ShownTrack(state.working, NoThirdTrack(state))];
}

void EnableFreeFormat(HWND dialog, bool enabled) {
    for (int id = IDC_START_STOP_GROUP; id <= IDC_LRC_PARITY_GROUP; ++id) EnableControl(dialog, id, enabled);
    for (int id = IDC_START_CHAR; id <= IDC_LRC_PARITY_ODD; ++id) EnableControl(dialog, id, enabled);
}

void FillList(HWND dialog, int id, UINT firstText, int count) {
    for (int i = 0; i < count; ++i) {
        WCHAR text[kListTextChars] = {};
        LoadStringW(g_hInstance, firstText + i, text, kListTextChars);
        const LRESULT index = SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendDlgItemMessageW(dialog, id, CB_SETITEMDATA, static_cast<WPARAM>(index), i);
    }
}

void FillTrackControls(HWND dialog, State& state) {
    const qf::AdvancedView view = qf::AdvancedDialogView(state.working, NoThirdTrack(state));
    CheckRadioButton(dialog, IDC_TRACK_1, IDC_TRACK_3, IDC_TRACK_1 + view.track);
    EnableControl(dialog, IDC_TRACK_2, view.track2Enabled);
    EnableControl(dialog, IDC_TRACK_3, view.track3Enabled);
    SendDlgItemMessageW(dialog, IDC_TRACK_MODE, CB_SETCURSEL, static_cast<WPARAM>(view.mode), 0);
    SendDlgItemMessageW(dialog, IDC_TRACK_DENSITY, CB_SETCURSEL, static_cast<WPARAM>(view.density), 0);
    state.filling = true;
    SetDlgItemInt(dialog, IDC_START_CHAR, view.startChar, FALSE);
    SetDlgItemInt(dialog, IDC_STOP_CHAR, view.stopChar, FALSE);
    SetDlgItemInt(dialog, IDC_START_POSITION, view.startPositionMm, FALSE);
    state.filling = false;
    CheckRadioButton(dialog, IDC_CHAR_PARITY_NONE, IDC_CHAR_PARITY_ODD, IDC_CHAR_PARITY_NONE + view.charParity);
    CheckRadioButton(dialog, IDC_LRC_PARITY_NONE, IDC_LRC_PARITY_ODD, IDC_LRC_PARITY_NONE + view.lrcParity);
    EnableFreeFormat(dialog, view.freeFormatEnabled);
    // Each track's settings can still be chosen to be looked at.
    if (state.viewOnly) ShowSettingsViewOnly(dialog, IDCANCEL, {IDC_TRACK_1, IDC_TRACK_2, IDC_TRACK_3});
}

// The working copy starts from the sheet's committed record, not from the encoder
// dialog's unapplied choices.
INT_PTR OpenAdvancedDialog(HWND dialog, LPARAM initParam) {
    State* state = OpenEncoderDialogState(dialog, initParam, IDCANCEL);
    if (!state) return TRUE;
    FillList(dialog, IDC_TRACK_MODE, IDS_TRACK_MODE_FIRST, kModeCount);
    FillList(dialog, IDC_TRACK_DENSITY, IDS_DENSITY_FIRST, kDensityCount);
    FillTrackControls(dialog, *state);
    return TRUE;
}

void ChooseTrack(HWND dialog, State& state, int id) {
    CheckRadioButton(dialog, IDC_TRACK_1, IDC_TRACK_3, id);
    state.working.currentTrack = static_cast<uint8_t>(id - IDC_TRACK_1);
    FillTrackControls(dialog, state);
}

// The list's selection, or -1 when nothing is selected.
int Selection(HWND dialog, int id) {
    const LRESULT index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void ChooseMode(HWND dialog, State& state) {
    const int mode = Selection(dialog, IDC_TRACK_MODE);
    if (mode < 0) return;
    CurrentTrack(state).mode = static_cast<uint8_t>(mode);
    EnableFreeFormat(dialog, qf::IsFreeFormatMode(mode));
}

void ChooseDensity(HWND dialog, State& state) {
    const int density = Selection(dialog, IDC_TRACK_DENSITY);
    if (density >= 0) CurrentTrack(state).density = static_cast<uint8_t>(density);
}

// A number edit: text that reads as an unsigned number stores its low 8 bits; any other
// text leaves the field as it is.
void ReadNumber(HWND dialog, State& state, int id) {
    if (state.filling) return;
    BOOL isNumber = FALSE;
    const UINT value = GetDlgItemInt(dialog, id, &isNumber, FALSE);
    if (!isNumber) return;
    qf::TrackSettings& track = CurrentTrack(state);
    const uint8_t low = static_cast<uint8_t>(value & 0xFFu);
    if (id == IDC_START_CHAR) track.startChar = low;
    else if (id == IDC_STOP_CHAR) track.stopChar = low;
    else track.startPositionMm = low;
}

void ChooseParity(HWND dialog, State& state, int id) {
    const bool lrc = id >= IDC_LRC_PARITY_NONE;
    const int first = lrc ? IDC_LRC_PARITY_NONE : IDC_CHAR_PARITY_NONE;
    CheckRadioButton(dialog, first, first + 2, id);
    const uint8_t parity = static_cast<uint8_t>(id - first);
    if (lrc)
        CurrentTrack(state).lrcParity = parity;
    else
        CurrentTrack(state).charParity = parity;
}

INT_PTR TrackCommand(HWND dialog, int id, int code) {
    State* state = EncoderDialogStateOf(dialog);
    if (!state) return FALSE;
    // Shown only: the track choice changes the view, nothing else changes.
    if (state->viewOnly && (id < IDC_TRACK_1 || id > IDC_TRACK_3)) return FALSE;
    switch (id) {
    case IDC_TRACK_1:
    case IDC_TRACK_2:
    case IDC_TRACK_3:
        ChooseTrack(dialog, *state, id);
        break;
    case IDC_TRACK_MODE:
        if (code == CBN_SELCHANGE) ChooseMode(dialog, *state);
        break;
    case IDC_TRACK_DENSITY:
        if (code == CBN_SELCHANGE) ChooseDensity(dialog, *state);
        break;
    case IDC_START_CHAR:
    case IDC_STOP_CHAR:
    case IDC_START_POSITION:
        ReadNumber(dialog, *state, id);
        break;
    case IDC_CHAR_PARITY_NONE:
    case IDC_CHAR_PARITY_NONE + 1:
    case IDC_CHAR_PARITY_ODD:
    case IDC_LRC_PARITY_NONE:
    case IDC_LRC_PARITY_NONE + 1:
    case IDC_LRC_PARITY_ODD:
        ChooseParity(dialog, *state, id);
        break;
    case IDC_RESTORE_DEFAULTS:
        RestoreWorkingDefaults(*state, qf::EncoderPart::kTracks);
        FillTrackControls(dialog, *state);
        break;
    case IDC_TRACKS_APPLY:
        // The track part goes to the printer and becomes the sheet's committed one and the
        // printer's stored defaults; the general part stays as committed.
        ApplyAndEnd(dialog, *state, qf::EncoderPart::kTracks, SendTrackSetup, IDC_TRACKS_APPLY, IDCANCEL);
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK AdvancedTrackDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DialogShape kAdvancedTracks = [] {
        DialogShape shape;
        shape.closeId = IDCANCEL;
        shape.help = qf::HelpTopic::kAdvancedTracks;
        shape.open = OpenAdvancedDialog;
        shape.command = TrackCommand;
        shape.close = CloseEncoderDialogState;
        return shape;
    }();
    return RunDialogShape(kAdvancedTracks, dialog, message, wParam, lParam);
}
