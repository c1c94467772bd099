// The encoder settings dialog: macro processing and its delimiters, coercivity, encoder
// position and type. It edits its own working copy of its device sheet's committed
// record and commits, sends and stores the general part on Apply.
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

using State = EncoderDialogState;

bool NoReversedPosition(const State& state) {
    const DeviceSheetState* sheet = EncoderDialogSheet(state);
    return sheet && qf::HasNoReversedPosition(sheet->modelReply);
}

void EnableForType(HWND dialog, const qf::EncoderView& view) {
    EnableControl(dialog, IDC_POSITION_REVERSED, view.reversedEnabled);
    EnableControl(dialog, IDC_POSITION_NORMAL, view.normalEnabled);
    EnableControl(dialog, IDC_ENCODER_ADVANCED, view.advancedEnabled);
}

void FillEncoderControls(HWND dialog, State& state) {
    const qf::EncoderView view = qf::EncoderDialogView(state.working, NoReversedPosition(state));
    state.filling = true;
    SetDlgItemTextA(dialog, IDC_ENCODER_START_DATA, view.startOfData.c_str());
    SetDlgItemTextA(dialog, IDC_ENCODER_END_DATA, view.endOfData.c_str());
    state.filling = false;
    CheckDlgButton(dialog, IDC_ENCODER_MACRO, view.macroEnabled ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(dialog, IDC_COERCIVITY_HIGH, IDC_COERCIVITY_NO_CHANGE, IDC_COERCIVITY_HIGH + view.coercivity);
    CheckRadioButton(dialog, IDC_POSITION_REVERSED, IDC_POSITION_NORMAL, IDC_POSITION_REVERSED + view.position);
    CheckRadioButton(dialog, IDC_TYPE_ISO_JIS, IDC_TYPE_AAMVA, IDC_TYPE_ISO_JIS + view.type);
    EnableForType(dialog, view);
    // The track settings stay open to be looked at.
    if (state.viewOnly) ShowSettingsViewOnly(dialog, IDC_ENCODER_CANCEL, {IDC_ENCODER_ADVANCED});
}

INT_PTR OpenEncoderDialog(HWND dialog, LPARAM initParam) {
    State* state = OpenEncoderDialogState(dialog, initParam, IDC_ENCODER_CANCEL);
    if (!state) return TRUE;
    SendDlgItemMessageW(dialog, IDC_ENCODER_START_DATA, EM_LIMITTEXT, qf::kDelimiterChars - 1, 0);
    SendDlgItemMessageW(dialog, IDC_ENCODER_END_DATA, EM_LIMITTEXT, qf::kDelimiterChars - 1, 0);
    FillEncoderControls(dialog, *state);
    return TRUE;
}

void ReadDelimiter(HWND dialog, State& state, int id) {
    if (state.filling) return;
    char text[qf::kDelimiterChars] = {};
    GetDlgItemTextA(dialog, id, text, qf::kDelimiterChars);
    qf::SetDelimiter(id == IDC_ENCODER_START_DATA ? state.working.startOfData : state.working.endOfData, text);
}

void ChooseType(HWND dialog, State& state, int id) {
    CheckRadioButton(dialog, IDC_TYPE_ISO_JIS, IDC_TYPE_AAMVA, id);
    state.working.encoderType = static_cast<uint8_t>(id - IDC_TYPE_ISO_JIS);
    EnableForType(dialog, qf::EncoderDialogView(state.working, NoReversedPosition(state)));
}

void OpenAdvancedSettings(HWND dialog, const State& state) {
    CPSUICBPARAM param = EncoderDialogParam(state);
    RunModuleDialog(dialog, IDD_ADVANCED_TRACKS, AdvancedTrackDialogProc, reinterpret_cast<LPARAM>(&param));
}

INT_PTR EncoderCommand(HWND dialog, int id, int code) {
    State* state = EncoderDialogStateOf(dialog);
    if (!state) return FALSE;
    // Shown only: nothing changes, nothing goes to the printer.
    if (state->viewOnly && id != IDC_ENCODER_ADVANCED) return FALSE;
    switch (id) {
    case IDC_ENCODER_MACRO:
        state->working.macroEnabled = IsDlgButtonChecked(dialog, IDC_ENCODER_MACRO) == BST_CHECKED ? 1 : 0;
        break;
    case IDC_ENCODER_START_DATA:
    case IDC_ENCODER_END_DATA:
        if (code == EN_UPDATE) ReadDelimiter(dialog, *state, id);
        break;
    case IDC_COERCIVITY_HIGH:
    case IDC_COERCIVITY_HIGH + 1:
    case IDC_COERCIVITY_NO_CHANGE:
        CheckRadioButton(dialog, IDC_COERCIVITY_HIGH, IDC_COERCIVITY_NO_CHANGE, id);
        state->working.coercivity = static_cast<uint8_t>(id - IDC_COERCIVITY_HIGH);
        break;
    case IDC_POSITION_REVERSED:
    case IDC_POSITION_NORMAL:
        CheckRadioButton(dialog, IDC_POSITION_REVERSED, IDC_POSITION_NORMAL, id);
        state->working.encoderPosition = static_cast<uint16_t>(id - IDC_POSITION_REVERSED);
        break;
    case IDC_TYPE_ISO_JIS:
    case IDC_TYPE_ISO_JIS + 1:
    case IDC_TYPE_AAMVA:
        ChooseType(dialog, *state, id);
        break;
    case IDC_ENCODER_ADVANCED:
        OpenAdvancedSettings(dialog, *state);
        break;
    case IDC_RESTORE_DEFAULTS:
        RestoreWorkingDefaults(*state, qf::EncoderPart::kGeneral);
        FillEncoderControls(dialog, *state);
        break;
    case IDC_ENCODER_APPLY:
        // The general part goes to the printer and becomes the sheet's committed one and the
        // printer's stored defaults; the track part and the encoder's presence stay as
        // committed.
        ApplyAndEnd(dialog, *state, qf::EncoderPart::kGeneral, SendEncoderSetup, IDC_ENCODER_APPLY,
                    IDC_ENCODER_CANCEL);
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK EncoderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DialogShape kEncoder = [] {
        DialogShape shape;
        shape.closeId = IDC_ENCODER_CANCEL;
        shape.help = qf::HelpTopic::kEncoderSettings;
        shape.open = OpenEncoderDialog;
        shape.command = EncoderCommand;
        shape.close = CloseEncoderDialogState;
        return shape;
    }();
    return RunDialogShape(kEncoder, dialog, message, wParam, lParam);
}
