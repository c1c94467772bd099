// The head settings dialog.
#include "driver/imaging/head_settings_dialog.h"

#include <commctrl.h>

#include <cstring>

#include "driver/entry/dialog_conventions.h"
#include "driver/entry/guard.h"
#include "driver/entry/module_state.h"
#include "driver/imaging/head_settings_rules.h"
#include "driver/resources/resource.h"
#include "driver/encoder/encoder_store.h"
#include "driver/sheets/sheet_state.h"

namespace {

DocumentSheetState* SheetOf(HWND dialog) {
    return DocumentSheetOf(static_cast<ULONG_PTR>(GetWindowLongPtrW(dialog, DWLP_USER)));
}

// Puts a level on its slider and its value label.
void ShowLevel(HWND dialog, int index, int level) {
    SendDlgItemMessageW(dialog, IDC_HEAD_SLIDER_FIRST + index, TBM_SETPOS, TRUE, level);
    SetDlgItemInt(dialog, IDC_HEAD_VALUE_FIRST + index, static_cast<UINT>(level), FALSE);
}

bool OpenHeadSettings(HWND dialog, LPARAM initParam) {
    DocumentSheetState* sheet = DocumentSheetOfDialog(initParam);
    if (!sheet) {
        EndDialog(dialog, IDCANCEL);
        return false;
    }
    SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(sheet->id));
    const qf::PrivateSettings& settings = sheet->Settings();
    const uint16_t enabled = qf::EnabledHeadSliders(settings.ribbonType, settings.monoRibbonKind);
    for (int i = 0; i < qf::kHeadSettingCount; ++i) {
        SendDlgItemMessageW(dialog, IDC_HEAD_SLIDER_FIRST + i, TBM_SETRANGE, TRUE,
                            MAKELPARAM(qf::kHeadLevelMin, qf::kHeadLevelMax));
        ShowLevel(dialog, i, qf::ShownHeadLevel(settings.headSettings[i]));
        // The name and value go with the slider: a disabled trackbar may be drawn like an
        // enabled one, but greyed labels show which sliders the ribbon does not use.
        const BOOL on = qf::HeadSliderEnabled(enabled, i) ? TRUE : FALSE;
        for (const int first : {IDC_HEAD_SLIDER_FIRST, IDC_HEAD_NAME_FIRST, IDC_HEAD_VALUE_FIRST})
            EnableWindow(GetDlgItem(dialog, first + i), on);
    }
    return true;
}

// A slider moved: its level goes into the record at once. A level stored above the
// scale stays as it is until the user gives the slider another position.
void HeadSliderMoved(HWND dialog, HWND slider) {
    DocumentSheetState* sheet = SheetOf(dialog);
    const int index = GetDlgCtrlID(slider) - IDC_HEAD_SLIDER_FIRST;
    if (!sheet || index < 0 || index >= qf::kHeadSettingCount ||
        GetDlgItem(dialog, IDC_HEAD_SLIDER_FIRST + index) != slider)
        return;
    const int level = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    qf::PrivateSettings& settings = sheet->Settings();
    if (level == qf::ShownHeadLevel(settings.headSettings[index])) return;
    settings.headSettings[index] = static_cast<uint8_t>(level);
    SetDlgItemInt(dialog, IDC_HEAD_VALUE_FIRST + index, static_cast<UINT>(level), FALSE);
}

// Restore defaults: the levels of the defaults block, or the middle of the scale when
// the block cannot be read. Which sliders are enabled does not change.
void RestoreHeadDefaults(HWND dialog) {
    DocumentSheetState* sheet = SheetOf(dialog);
    if (!sheet) return;
    uint8_t block[qf::kPrivateSize] = {};
    const bool read = ReadDefaultsBlock(sheet->printer, block);
    uint8_t levels[qf::kHeadSettingCount];
    qf::HeadDefaults(read ? block : nullptr, levels);
    qf::PrivateSettings& settings = sheet->Settings();
    for (int i = 0; i < qf::kHeadSettingCount; ++i) {
        settings.headSettings[i] = levels[i];
        ShowLevel(dialog, i, qf::ShownHeadLevel(levels[i]));
    }
}

bool HeadCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_RESTORE_DEFAULTS:
        RestoreHeadDefaults(dialog);
        return true;
    case IDC_CLOSE_BUTTON:
    case IDCANCEL:  // the Escape key
        EndDialog(dialog, IDC_CLOSE_BUTTON);
        return true;
    case IDC_HELP_BUTTON:
        ShowHelp(dialog, qf::HelpTopic::kHeadSettings);
        return true;
    default:
        return false;
    }
}

}  // namespace

INT_PTR CALLBACK HeadSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (HandleCloseRequest(dialog, message, wParam, IDC_CLOSE_BUTTON)) return TRUE;
        switch (message) {
        case WM_INITDIALOG:
            OpenHeadSettings(dialog, lParam);
            return TRUE;
        case WM_HSCROLL:
            HeadSliderMoved(dialog, reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_COMMAND:
            return HeadCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
        default:
            return FALSE;
        }
    });
}

INT_PTR ShowHeadSettings(HWND owner, ULONG_PTR sheetUserData) {
    RegisterSliderClass();
    CPSUICBPARAM param = SheetDialogParam(sheetUserData);
    return RunModuleDialog(owner, IDD_HEAD_SETTINGS, HeadSettingsDialogProc, reinterpret_cast<LPARAM>(&param));
}

void RegisterSliderClass() {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
}
