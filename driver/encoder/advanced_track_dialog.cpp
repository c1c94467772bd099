// The advanced track settings dialog: mode, density, start and stop characters, start
// position and parities of each magnetic track. It edits a working copy of the
// committed record and commits, sends and stores the track part on Apply.
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

constexpr int kModeCount = 8;
constexpr int kDensityCount = 2;
constexpr int kListTextChars = 32;

bool g_fillingTracks = false;  // the dialog is writing its own controls

DeviceSheetState* SheetOf(HWND dialog) { return DeviceSheetOf(GetWindowLongPtrW(dialog, DWLP_USER)); }

bool NoThirdTrack() { return qf::HasNoThirdTrack(g_modelReply); }

qf::TrackSettings& CurrentTrack() { return g_encoderAdvanced.tracks[qf::ShownTrack(g_encoderAdvanced, NoThirdTrack())]; }

void EnableControl(HWND dialog, int id, bool enabled) { EnableWindow(GetDlgItem(dialog, id), enabled); }

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

void FillTrackControls(HWND dialog) {
    const qf::AdvancedView view = qf::AdvancedDialogView(g_encoderAdvanced, NoThirdTrack());
    CheckRadioButton(dialog, IDC_TRACK_1, IDC_TRACK_3, IDC_TRACK_1 + view.track);
    EnableControl(dialog, IDC_TRACK_2, view.track2Enabled);
    EnableControl(dialog, IDC_TRACK_3, view.track3Enabled);
    SendDlgItemMessageW(dialog, IDC_TRACK_MODE, CB_SETCURSEL, static_cast<WPARAM>(view.mode), 0);
    SendDlgItemMessageW(dialog, IDC_TRACK_DENSITY, CB_SETCURSEL, static_cast<WPARAM>(view.density), 0);
    g_fillingTracks = true;
    SetDlgItemInt(dialog, IDC_START_CHAR, view.startChar, FALSE);
    SetDlgItemInt(dialog, IDC_STOP_CHAR, view.stopChar, FALSE);
    SetDlgItemInt(dialog, IDC_START_POSITION, view.startPositionMm, FALSE);
    g_fillingTracks = false;
    CheckRadioButton(dialog, IDC_CHAR_PARITY_NONE, IDC_CHAR_PARITY_ODD, IDC_CHAR_PARITY_NONE + view.charParity);
    CheckRadioButton(dialog, IDC_LRC_PARITY_NONE, IDC_LRC_PARITY_ODD, IDC_LRC_PARITY_NONE + view.lrcParity);
    EnableFreeFormat(dialog, view.freeFormatEnabled);
}

void OpenAdvancedDialog(HWND dialog, LPARAM initParam) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(DeviceSheetOfDialog(initParam)));
    g_encoderAdvanced = g_encoderSettings;
    FillList(dialog, IDC_TRACK_MODE, IDS_TRACK_MODE_FIRST, kModeCount);
    FillList(dialog, IDC_TRACK_DENSITY, IDS_DENSITY_FIRST, kDensityCount);
    FillTrackControls(dialog);
}

void ChooseTrack(HWND dialog, int id) {
    CheckRadioButton(dialog, IDC_TRACK_1, IDC_TRACK_3, id);
    g_encoderAdvanced.currentTrack = static_cast<uint8_t>(id - IDC_TRACK_1);
    FillTrackControls(dialog);
}

// The list's selection, or -1 when nothing is selected.
int Selection(HWND dialog, int id) {
    const LRESULT index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void ChooseMode(HWND dialog) {
    const int mode = Selection(dialog, IDC_TRACK_MODE);
    if (mode < 0) return;
    CurrentTrack().mode = static_cast<uint8_t>(mode);
    EnableFreeFormat(dialog, qf::IsFreeFormatMode(mode));
}

void ChooseDensity(HWND dialog) {
    const int density = Selection(dialog, IDC_TRACK_DENSITY);
    if (density >= 0) CurrentTrack().density = static_cast<uint8_t>(density);
}

// A number edit: text that reads as an unsigned number stores its low 8 bits; any other
// text leaves the field as it is.
void ReadNumber(HWND dialog, int id) {
    if (g_fillingTracks) return;
    BOOL isNumber = FALSE;
    const UINT value = GetDlgItemInt(dialog, id, &isNumber, FALSE);
    if (!isNumber) return;
    qf::TrackSettings& track = CurrentTrack();
    const uint8_t low = static_cast<uint8_t>(value & 0xFFu);
    if (id == IDC_START_CHAR) track.startChar = low;
    else if (id == IDC_STOP_CHAR) track.stopChar = low;
    else track.startPositionMm = low;
}

void ChooseParity(HWND dialog, int id) {
    const bool lrc = id >= IDC_LRC_PARITY_NONE;
    const int first = lrc ? IDC_LRC_PARITY_NONE : IDC_CHAR_PARITY_NONE;
    CheckRadioButton(dialog, first, first + 2, id);
    const uint8_t parity = static_cast<uint8_t>(id - first);
    if (lrc)
        CurrentTrack().lrcParity = parity;
    else
        CurrentTrack().charParity = parity;
}

void RestoreTrackDefaults(HWND dialog) {
    const DeviceSheetState* sheet = SheetOf(dialog);
    RestoreEncoderDefaults(sheet ? sheet->printer : nullptr, qf::EncoderPart::kTracks, g_encoderAdvanced);
    FillTrackControls(dialog);
}

// Apply: the track part becomes the committed one, goes to the printer and into the
// printer's stored defaults; the general part stays as committed.
void ApplyTrackSettings(HWND dialog) {
    qf::CopyEncoderPart(qf::EncoderPart::kTracks, g_encoderAdvanced, g_encoderSettings);
    const DeviceSheetState* sheet = SheetOf(dialog);
    SendTrackSetup(sheet && sheet->printerInfo ? sheet->printerInfo->pPrinterName : nullptr, g_encoderSettings);
    SaveEncoderSettings(sheet ? sheet->printerName : nullptr, g_encoderSettings);
    EndDialog(dialog, IDC_TRACKS_APPLY);
}

void TrackCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_TRACK_1:
    case IDC_TRACK_2:
    case IDC_TRACK_3:
        ChooseTrack(dialog, id);
        break;
    case IDC_TRACK_MODE:
        if (code == CBN_SELCHANGE) ChooseMode(dialog);
        break;
    case IDC_TRACK_DENSITY:
        if (code == CBN_SELCHANGE) ChooseDensity(dialog);
        break;
    case IDC_START_CHAR:
    case IDC_STOP_CHAR:
    case IDC_START_POSITION:
        ReadNumber(dialog, id);
        break;
    case IDC_CHAR_PARITY_NONE:
    case IDC_CHAR_PARITY_NONE + 1:
    case IDC_CHAR_PARITY_ODD:
    case IDC_LRC_PARITY_NONE:
    case IDC_LRC_PARITY_NONE + 1:
    case IDC_LRC_PARITY_ODD:
        ChooseParity(dialog, id);
        break;
    case IDC_RESTORE_DEFAULTS:
        RestoreTrackDefaults(dialog);
        break;
    case IDC_TRACKS_APPLY:
        ApplyTrackSettings(dialog);
        break;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        break;
    case IDC_HELP_BUTTON:
        ShowHelp(dialog, qf::HelpTopic::kAdvancedTracks);
        break;
    default:
        break;
    }
}

}  // namespace

INT_PTR CALLBACK AdvancedTrackDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (HandleCloseRequest(dialog, message, wParam, IDCANCEL)) return TRUE;
        switch (message) {
        case WM_INITDIALOG:
            OpenAdvancedDialog(dialog, lParam);
            return TRUE;
        case WM_COMMAND:
            TrackCommand(dialog, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    });
}
