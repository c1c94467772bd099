// The encoder settings dialog: macro processing and its delimiters, coercivity, encoder
// position and type. It edits a working copy of the committed record and commits,
// sends and stores the general part on Apply.
#include <windows.h>

#include "driver/encoder/encoder_dialogs.h"
#include "driver/encoder/encoder_rules.h"
#include "driver/encoder/encoder_store.h"
#include "driver/entry/dialog_conventions.h"
#include "driver/entry/guard.h"
#include "driver/entry/module_state.h"
#include "driver/resources/resource.h"
#include "driver/sheets/sheet_state.h"

namespace {

bool g_fillingEncoder = false;  // the dialog is writing its own controls

DeviceSheetState* SheetOf(HWND dialog) { return DeviceSheetOf(GetWindowLongPtrW(dialog, DWLP_USER)); }

bool NoReversedPosition() { return qf::HasNoReversedPosition(g_modelReply); }

void EnableControl(HWND dialog, int id, bool enabled) { EnableWindow(GetDlgItem(dialog, id), enabled); }

void EnableForType(HWND dialog, const qf::EncoderView& view) {
    EnableControl(dialog, IDC_POSITION_REVERSED, view.reversedEnabled);
    EnableControl(dialog, IDC_POSITION_NORMAL, view.normalEnabled);
    EnableControl(dialog, IDC_ENCODER_ADVANCED, view.advancedEnabled);
}

void FillEncoderControls(HWND dialog) {
    const qf::EncoderView view = qf::EncoderDialogView(g_encoderEdit, NoReversedPosition());
    g_fillingEncoder = true;
    SetDlgItemTextA(dialog, IDC_ENCODER_START_DATA, view.startOfData.c_str());
    SetDlgItemTextA(dialog, IDC_ENCODER_END_DATA, view.endOfData.c_str());
    g_fillingEncoder = false;
    CheckDlgButton(dialog, IDC_ENCODER_MACRO, view.macroEnabled ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(dialog, IDC_COERCIVITY_HIGH, IDC_COERCIVITY_NO_CHANGE, IDC_COERCIVITY_HIGH + view.coercivity);
    CheckRadioButton(dialog, IDC_POSITION_REVERSED, IDC_POSITION_NORMAL, IDC_POSITION_REVERSED + view.position);
    CheckRadioButton(dialog, IDC_TYPE_ISO_JIS, IDC_TYPE_AAMVA, IDC_TYPE_ISO_JIS + view.type);
    EnableForType(dialog, view);
}

void OpenEncoderDialog(HWND dialog, LPARAM initParam) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(DeviceSheetOfDialog(initParam)));
    g_encoderEdit = g_encoderSettings;
    SendDlgItemMessageW(dialog, IDC_ENCODER_START_DATA, EM_LIMITTEXT, qf::kDelimiterChars - 1, 0);
    SendDlgItemMessageW(dialog, IDC_ENCODER_END_DATA, EM_LIMITTEXT, qf::kDelimiterChars - 1, 0);
    FillEncoderControls(dialog);
}

void ReadDelimiter(HWND dialog, int id) {
    if (g_fillingEncoder) return;
    char text[qf::kDelimiterChars] = {};
    GetDlgItemTextA(dialog, id, text, qf::kDelimiterChars);
    qf::SetDelimiter(id == IDC_ENCODER_START_DATA ? g_encoderEdit.startOfData : g_encoderEdit.endOfData, text);
}

void ChooseType(HWND dialog, int id) {
    CheckRadioButton(dialog, IDC_TYPE_ISO_JIS, IDC_TYPE_AAMVA, id);
    g_encoderEdit.encoderType = static_cast<uint8_t>(id - IDC_TYPE_ISO_JIS);
    EnableForType(dialog, qf::EncoderDialogView(g_encoderEdit, NoReversedPosition()));
}

void OpenAdvancedSettings(HWND dialog) {
    CPSUICBPARAM param = SheetDialogParam(static_cast<ULONG_PTR>(GetWindowLongPtrW(dialog, DWLP_USER)));
    RunModuleDialog(dialog, IDD_ADVANCED_TRACKS, AdvancedTrackDialogProc, reinterpret_cast<LPARAM>(&param));
}

void RestoreGeneralDefaults(HWND dialog) {
    const DeviceSheetState* sheet = SheetOf(dialog);
    RestoreEncoderDefaults(sheet ? sheet->printer : nullptr, qf::EncoderPart::kGeneral, g_encoderEdit);
    FillEncoderControls(dialog);
}

// Apply: the general part becomes the committed one, goes to the printer and into the
// printer's stored defaults; the track part and the encoder's presence stay as committed.
void ApplyEncoderSettings(HWND dialog) {
    qf::CopyEncoderPart(qf::EncoderPart::kGeneral, g_encoderEdit, g_encoderSettings);
    const DeviceSheetState* sheet = SheetOf(dialog);
    SendEncoderSetup(sheet && sheet->printerInfo ? sheet->printerInfo->pPrinterName : nullptr, g_encoderSettings);
    SaveEncoderSettings(sheet ? sheet->printerName : nullptr, g_encoderSettings);
    EndDialog(dialog, IDC_ENCODER_APPLY);
}

void EncoderCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_ENCODER_MACRO:
        g_encoderEdit.macroEnabled = IsDlgButtonChecked(dialog, IDC_ENCODER_MACRO) == BST_CHECKED ? 1 : 0;
        break;
    case IDC_ENCODER_START_DATA:
    case IDC_ENCODER_END_DATA:
        if (code == EN_UPDATE) ReadDelimiter(dialog, id);
        break;
    case IDC_COERCIVITY_HIGH:
    case IDC_COERCIVITY_HIGH + 1:
    case IDC_COERCIVITY_NO_CHANGE:
        CheckRadioButton(dialog, IDC_COERCIVITY_HIGH, IDC_COERCIVITY_NO_CHANGE, id);
        g_encoderEdit.coercivity = static_cast<uint8_t>(id - IDC_COERCIVITY_HIGH);
        break;
    case IDC_POSITION_REVERSED:
    case IDC_POSITION_NORMAL:
        CheckRadioButton(dialog, IDC_POSITION_REVERSED, IDC_POSITION_NORMAL, id);
        g_encoderEdit.encoderPosition = static_cast<uint16_t>(id - IDC_POSITION_REVERSED);
        break;
    case IDC_TYPE_ISO_JIS:
    case IDC_TYPE_ISO_JIS + 1:
    case IDC_TYPE_AAMVA:
        ChooseType(dialog, id);
        break;
    case IDC_ENCODER_ADVANCED:
        OpenAdvancedSettings(dialog);
        break;
    case IDC_RESTORE_DEFAULTS:
        RestoreGeneralDefaults(dialog);
        break;
    case IDC_ENCODER_APPLY:
        ApplyEncoderSettings(dialog);
        break;
    case IDC_ENCODER_CANCEL:
    case IDCANCEL:  // the Escape key
        EndDialog(dialog, IDC_ENCODER_CANCEL);
        break;
    case IDC_HELP_BUTTON:
        ShowHelp(dialog);
        break;
    default:
        break;
    }
}

}  // namespace

INT_PTR CALLBACK EncoderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (HandleCloseRequest(dialog, message, wParam, IDC_ENCODER_CANCEL)) return TRUE;
        switch (message) {
        case WM_INITDIALOG:
            OpenEncoderDialog(dialog, lParam);
            return TRUE;
        case WM_COMMAND:
            EncoderCommand(dialog, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    });
}
