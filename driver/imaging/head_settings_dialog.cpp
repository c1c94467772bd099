// The head settings dialog.
#include "driver/imaging/head_settings_dialog.h"

#include <commctrl.h>

#include <cstring>

#include "driver/imaging/head_settings_rules.h"
#include "driver/imaging/slider_dialog.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/settings/stored_records.h"
#include "driver/state/sheet_state.h"
#include "driver/ui/dialog_conventions.h"

namespace {

constexpr SliderRows kRows = {IDC_HEAD_SLIDER_FIRST, IDC_HEAD_NAME_FIRST, IDC_HEAD_VALUE_FIRST, qf::kHeadSettingCount,
                               false};

INT_PTR OpenHeadSettings(HWND dialog, LPARAM initParam) {
    DocumentSheetState* sheet = OpenOnDocumentSheet(dialog, initParam);
    if (!sheet) return TRUE;
    const qf::PrivateSettings& settings = sheet->Settings();
    const uint16_t enabled = qf::EnabledHeadSliders(settings.ribbonType, settings.monoRibbonKind);
    for (int i = 0; i < qf::kHeadSettingCount; ++i) {
        SendDlgItemMessageW(dialog, IDC_HEAD_SLIDER_FIRST + i, TBM_SETRANGE, TRUE,
                            MAKELPARAM(qf::kHeadLevelMin, qf::kHeadLevelMax));
        ShowSliderValue(dialog, kRows, i, qf::ShownHeadLevel(settings.headSettings[i]));
        EnableSliderRow(dialog, kRows, i, qf::HeadSliderEnabled(enabled, i));
    }
    return TRUE;
}

// A slider moved: its level goes into the record at once. A level stored above the
// scale stays as it is until the user gives the slider another position.
void HeadSliderMoved(HWND dialog, HWND slider) {
    DocumentSheetState* sheet = DocumentSheetOfWindow(dialog);
    int level = 0;
    const int index = MovedSliderRow(dialog, kRows, slider, &level);
    if (!sheet || index < 0) return;
    qf::PrivateSettings& settings = sheet->Settings();
    if (level == qf::ShownHeadLevel(settings.headSettings[index])) return;
    settings.headSettings[index] = static_cast<uint8_t>(level);
    SetDlgItemInt(dialog, IDC_HEAD_VALUE_FIRST + index, static_cast<UINT>(level), FALSE);
}

// Restore defaults: the levels of the defaults block, or the middle of the scale when
// the block cannot be read. Which sliders are enabled does not change.
void RestoreHeadDefaults(HWND dialog) {
    DocumentSheetState* sheet = DocumentSheetOfWindow(dialog);
    if (!sheet) return;
    uint8_t block[qf::kPrivateSize] = {};
    const bool read = qf::ReadDefaultsBlock(sheet->printer, block);
    uint8_t levels[qf::kHeadSettingCount];
    qf::HeadDefaults(read ? block : nullptr, levels);
    qf::PrivateSettings& settings = sheet->Settings();
    for (int i = 0; i < qf::kHeadSettingCount; ++i) {
        settings.headSettings[i] = levels[i];
        ShowSliderValue(dialog, kRows, i, qf::ShownHeadLevel(levels[i]));
    }
}

INT_PTR HeadCommand(HWND dialog, int id, int) {
    if (id != IDC_RESTORE_DEFAULTS) return FALSE;
    RestoreHeadDefaults(dialog);
    return TRUE;
}

INT_PTR HeadMessage(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_HSCROLL) return FALSE;
    HeadSliderMoved(dialog, reinterpret_cast<HWND>(lParam));
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK HeadSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DialogShape kHeadSettings = [] {
        DialogShape shape;
        shape.closeId = IDC_CLOSE_BUTTON;
        shape.help = qf::HelpTopic::kHeadSettings;
        shape.open = OpenHeadSettings;
        shape.command = HeadCommand;
        shape.other = HeadMessage;
        return shape;
    }();
    return RunDialogShape(kHeadSettings, dialog, message, wParam, lParam);
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
