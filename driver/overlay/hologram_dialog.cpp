// The hologram varnish dialog and its print: the whole-card and area types as one short
// job per card, the bitmap type as one job carrying the rendered image.
#include "driver/overlay/overlay_dialogs.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/channel/raw_jobs.h"
#include "driver/imaging/head_settings_dialog.h"
#include "driver/overlay/hologram_job.h"
#include "driver/overlay/hologram_stream.h"
#include "driver/overlay/region_preview.h"
#include "driver/platform/guard.h"
#include "driver/platform/owners.h"
#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/state/sheet_state.h"
#include "driver/ui/dialog_controls.h"
#include "driver/ui/dialog_conventions.h"

namespace {

// The copies edit takes at most this; anything larger is refused at print time.
constexpr uint32_t kCopiesFieldMax = 0xFFFF;

struct HologramDialog {
    DocumentSheetState* sheet;
    ULONG_PTR sheetId;  // the sheet's number: the sheet is used only while it is live
    bool changed;
    bool filling;  // the dialog is writing its own controls
};

HologramDialog* StateOf(HWND dialog) { return LiveDialogState<HologramDialog>(dialog); }

ULONG_PTR SheetUserData(const HologramDialog& state) { return state.sheetId; }

INT_PTR OpenHologramDialog(HWND dialog, LPARAM initParam) {
    DocumentSheetState* sheet = DocumentSheetOfDialog(initParam);
    auto* state = sheet ? new (std::nothrow) HologramDialog{sheet, sheet->id, false, true} : nullptr;
    if (!state) {
        // A dialog without its state cannot work: the user who pressed its button is told.
        if (sheet) TellSystemError();
        EndDialog(dialog, 0);
        return TRUE;
    }
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    const qf::HologramSettings& hologram = sheet->Settings().hologramOverlay;
    EnableWindow(GetDlgItem(dialog, IDC_HOLOGRAM_REGION_BUTTON), hologram.enabled != 0);
    CheckDlgButton(dialog, IDC_HOLOGRAM_ENABLE, hologram.enabled ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(dialog, IDC_HOLOGRAM_COPIES, hologram.copies, FALSE);
    state->filling = false;
    return TRUE;
}

void EnableClicked(HWND dialog) {
    HologramDialog* state = StateOf(dialog);
    if (!state) return;
    const bool enabled = IsDlgButtonChecked(dialog, IDC_HOLOGRAM_ENABLE) == BST_CHECKED;
    state->sheet->Settings().hologramOverlay.enabled = enabled ? 1 : 0;
    EnableWindow(GetDlgItem(dialog, IDC_HOLOGRAM_REGION_BUTTON), enabled);
    state->changed = true;
}

void RegionClicked(HWND dialog) {
    HologramDialog* state = StateOf(dialog);
    if (!state) return;
    CPSUICBPARAM param = SheetDialogParam(SheetUserData(*state));
    if (RunModuleDialog(dialog, IDD_HOLOGRAM_REGION, HologramRegionDialogProc, reinterpret_cast<LPARAM>(&param)) == 1)
        state->changed = true;
}

void HeadSettingsClicked(HWND dialog) {
    HologramDialog* state = StateOf(dialog);
    if (state) ShowHeadSettings(dialog, SheetUserData(*state));
}

// The copies as typed. A text that is no number keeps the stored count; a number too
// large for the field is held at the field's largest, which the print refuses, rather
// than cut down to a count nobody typed.
void CopiesTyped(HWND dialog) {
    HologramDialog* state = StateOf(dialog);
    if (!state || state->filling) return;
    wchar_t text[32] = {};
    GetDlgItemTextW(dialog, IDC_HOLOGRAM_COPIES, text, 32);
    const std::u16string_view typed(reinterpret_cast<const char16_t*>(text));
    if (typed.empty()) return;
    std::optional<uint32_t> copies = qf::ParseDecimalText(typed);
    if (!copies && typed.find_first_not_of(u"0123456789") == std::u16string_view::npos) copies = kCopiesFieldMax;
    if (copies)
        state->sheet->Settings().hologramOverlay.copies =
            static_cast<uint16_t>(*copies < kCopiesFieldMax ? *copies : kCopiesFieldMax);
}

// Every hologram job goes to the sheet's printer and to no other: a sheet whose printer
// cannot be opened sends nothing (the working record's device name may be cut, or come
// from another printer). True when the job reached the printer whole; the caller tells
// the user otherwise.
bool SendHologramJob(DocumentSheetState& sheet, const std::vector<std::string>& writes) {
    const auto* name = reinterpret_cast<const wchar_t*>(qf::kHologramJobName);
    return sheet.PrinterName()[0] &&
           SendRawJob(sheet.PrinterName(), name, writes, StartFailure::kContinue) == JobResult::kSent;
}

// A batch of cards stopped at a card that did not reach the printer: the user is told
// once, with how many cards were sent.
void TellBatchStopped(uint32_t sent, uint32_t cards) {
    WCHAR format[256] = {};
    LoadStringW(g_hInstance, IDS_HOLOGRAM_BATCH_STOPPED, format, 256);
    // Bounded: however long its language makes the text, it stays within the buffer.
    WCHAR text[320] = {};
    _snwprintf(text, std::size(text) - 1, format, static_cast<UINT>(sent), static_cast<UINT>(cards));
    ShowMessageText(IDS_CAPTION, text, MB_OK | MB_ICONERROR);
}

// The bitmap type: the stored file is read and checked again now, since it may have been
// replaced since it was chosen; a file that fails sends nothing. Without memory for the
// image or for the encoder's buffer nothing is sent either (the debugger hears of the
// encoder's buffer), and the user is told.
void PrintHologramBitmap(DocumentSheetState& sheet) {
    const qf::PrivateSettings& settings = sheet.Settings();
    const qf::HologramSettings& hologram = settings.hologramOverlay;
    MonochromeFile file;
    qf::MonochromeBitmap bitmap{};
    if (!LoadMonochromeBitmap(PathOf(hologram.region).text, &file, &bitmap)) {
        ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);
        return;
    }
    std::unique_ptr<qf::HologramImage> image(new (std::nothrow) qf::HologramImage);
    if (!image) {
        TellJobFailed();
        return;
    }
    qf::RenderHologramImage(bitmap, hologram.region.rotated != 0, *image);
    std::vector<std::string> writes;
    if (!qf::HologramImageJobWrites(*image, qf::HologramContrast(settings), hologram.copies,
                                    settings.printBothSides != 0, &writes)) {
        // A job without its image would end as if whole: none is sent, and the user is told.
        OutputDebugStringA("Failed to allocate buffer for HOLOGRAM dumping out\r\n");
        TellJobFailed();
        return;
    }
    // A hologram layer that lost bytes is a failed job, aborted; one that no printer took is
    // lost too: the user is told either way.
    if (!SendHologramJob(sheet, writes)) TellJobFailed();
}

// The whole-card and area types: one job per card. A stored type the printer cannot be
// sent, or an area it cannot be sent (off the card, empty or inverted), is refused with its
// own message, before any job. The batch stops at the first card that does not reach the
// printer: a spooler that refuses one card refuses the next, and each failed card would
// leave an aborted job behind.
void PrintHologram(DocumentSheetState& sheet) {
    const qf::PrivateSettings& settings = sheet.Settings();
    if (!qf::HologramTypePrintable(settings)) {
        ShowMessage(IDS_CAPTION, IDS_HOLOGRAM_TYPE_UNKNOWN, MB_OK | MB_ICONERROR);
        return;
    }
    if (settings.hologramOverlay.region.overlayType == qf::kHologramBitmap) {
        PrintHologramBitmap(sheet);
        return;
    }
    if (qf::HologramAreaRefused(settings)) {
        ShowMessage(IDS_CAPTION, IDS_INVALID_COORDINATES, MB_OK | MB_ICONERROR);
        return;
    }
    // No commands: they could not be made (an allocation). The press sent nothing, and the
    // user is told.
    const std::vector<std::string> commands = qf::HologramCardCommands(settings);
    if (commands.empty()) {
        TellJobFailed();
        return;
    }
    const uint32_t cards = qf::HologramCardCount(settings.hologramOverlay.copies);
    for (uint32_t sent = 0; sent < cards; ++sent) {
        if (SendHologramJob(sheet, commands)) continue;
        if (cards == 1)
            TellJobFailed();
        else
            TellBatchStopped(sent, cards);
        return;
    }
}

void PrintClicked(HWND dialog) {
    HologramDialog* state = StateOf(dialog);
    if (!state) return;
    if (!qf::HologramCopiesAccepted(state->sheet->Settings().hologramOverlay.copies)) {
        ShowMessage(IDS_CAPTION, IDS_INVALID_COUNT, MB_OK | MB_ICONERROR);
        return;
    }
    {
        const qf::DisabledWhile printing(dialog, IDC_HOLOGRAM_PRINT);
        // Jobs that cannot be made (an allocation) reach no printer: the user is told.
        qf::RunOrRecover([&] { PrintHologram(*state->sheet); }, TellJobFailed);
    }
    InvalidateRect(dialog, nullptr, TRUE);
}

void CloseClicked(HWND dialog) {
    HologramDialog* state = StateOf(dialog);
    EndDialog(dialog, state && state->changed ? 1 : 0);
}

INT_PTR HologramCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_HOLOGRAM_ENABLE:
        if (code == BN_CLICKED) EnableClicked(dialog);
        return TRUE;
    case IDC_HOLOGRAM_REGION_BUTTON:
        if (code == BN_CLICKED) RegionClicked(dialog);
        return TRUE;
    case IDC_HOLOGRAM_COPIES:
        CopiesTyped(dialog);
        return TRUE;
    case IDC_HOLOGRAM_PRINT:
        if (code == BN_CLICKED) PrintClicked(dialog);
        return TRUE;
    case IDC_HOLOGRAM_HEAD_SETTINGS:
        if (code == BN_CLICKED) HeadSettingsClicked(dialog);
        return TRUE;
    case IDC_CLOSE_BUTTON:
    case IDCANCEL:  // the Escape key
        CloseClicked(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK HologramVarnishDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DialogShape kHologram = [] {
        DialogShape shape;
        shape.closeId = IDC_CLOSE_BUTTON;
        shape.help = qf::HelpTopic::kHologramVarnish;
        shape.open = OpenHologramDialog;
        shape.command = HologramCommand;
        shape.close = FreeDialogState<HologramDialog>;
        return shape;
    }();
    return RunDialogShape(kHologram, dialog, message, wParam, lParam);
}
