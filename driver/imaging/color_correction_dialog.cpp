// The colour correction dialog and its sample picture.
#include "driver/imaging/color_correction_dialog.h"

#include <commctrl.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "driver/imaging/color_adjust.h"
#include "driver/imaging/slider_dialog.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/settings/stored_records.h"
#include "driver/state/sheet_state.h"
#include "driver/ui/dialog_conventions.h"

namespace {

constexpr wchar_t kSampleFileName[] = L"qf862k.bmp";

// What the dialog keeps while it is open: its sheet, the transform with what it kept
// from the last paint, and a buffer for the sample file.
struct ColorDialog {
    DocumentSheetState* sheet;
    ULONG_PTR sheetId;  // the sheet's number: the sheet is used only while it is live
    qf::SampleTransform transform;
    uint8_t file[qf::kSampleFileBytes];
};

ColorDialog* StateOf(HWND dialog) { return LiveDialogState<ColorDialog>(dialog); }

constexpr SliderRows kRows = {IDC_COLOR_SLIDER_FIRST, IDC_COLOR_NAME_FIRST, IDC_COLOR_VALUE_FIRST, qf::kColorAdjustCount,
                               true};

void ShowAmounts(HWND dialog, const qf::PrivateSettings& settings, const qf::ColorSliderStates& states) {
    for (int i = 0; i < qf::kColorAdjustCount; ++i)
        ShowSliderValue(dialog, kRows, i, qf::ShownColorAmount(settings, states, i));
}

INT_PTR OpenColorCorrection(HWND dialog, LPARAM initParam) {
    DocumentSheetState* sheet = DocumentSheetOfDialog(initParam);
    auto* state = sheet ? new (std::nothrow) ColorDialog : nullptr;
    if (!state) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    state->sheet = sheet;
    state->sheetId = sheet->id;
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    const qf::PrivateSettings& settings = sheet->Settings();
    const qf::ColorSliderStates states = qf::ColorSliderRules(settings);
    for (int i = 0; i < qf::kColorAdjustCount; ++i) {
        // The range starts below zero: each end goes over whole, not packed into 16 bits.
        SendDlgItemMessageW(dialog, IDC_COLOR_SLIDER_FIRST + i, TBM_SETRANGEMIN, FALSE, qf::kColorAmountMin);
        SendDlgItemMessageW(dialog, IDC_COLOR_SLIDER_FIRST + i, TBM_SETRANGEMAX, TRUE, qf::kColorAmountMax);
        // A trackbar places its thumb when its position changes, and a new range alone
        // leaves the thumb where the old range put it: starting from the range's start
        // makes the amount shown next a change, so 0 sits in the middle.
        SendDlgItemMessageW(dialog, IDC_COLOR_SLIDER_FIRST + i, TBM_SETPOS, FALSE, qf::kColorAmountMin);
        EnableSliderRow(dialog, kRows, i, states.enabled[i]);
    }
    ShowAmounts(dialog, settings, states);
    return TRUE;
}


void RepaintSample(HWND dialog) { InvalidateRect(dialog, nullptr, FALSE); }

// A slider moved: a new amount goes into the record at once and the sample follows.
// A position equal to what the slider showed changes nothing, so an amount stored off
// the scale stays until the user gives the slider another position.
void ColorSliderMoved(HWND dialog, HWND slider) {
    ColorDialog* state = StateOf(dialog);
    int amount = 0;
    const int index = MovedSliderRow(dialog, kRows, slider, &amount);
    if (!state || index < 0) return;
    qf::PrivateSettings& settings = state->sheet->Settings();
    if (amount == qf::ShownColorAmount(settings, qf::ColorSliderRules(settings), index)) return;
    settings.colorAdjust[index] = static_cast<int16_t>(amount);
    SetDlgItemInt(dialog, IDC_COLOR_VALUE_FIRST + index, static_cast<UINT>(amount), TRUE);
    RepaintSample(dialog);
}

// Restore defaults: the amounts and the extra byte of the defaults block, or 0 when the
// block cannot be read. Which sliders are enabled does not change.
void RestoreColorDefaults(HWND dialog) {
    ColorDialog* state = StateOf(dialog);
    if (!state) return;
    uint8_t block[qf::kPrivateSize] = {};
    const bool read = qf::ReadDefaultsBlock(state->sheet->printer, block);
    int16_t amounts[qf::kColorAdjustCount];
    uint8_t extra = 0;
    qf::ColorDefaults(read ? block : nullptr, amounts, &extra);
    qf::PrivateSettings& settings = state->sheet->Settings();
    for (int i = 0; i < qf::kColorAdjustCount; ++i) settings.colorAdjust[i] = amounts[i];
    settings.colorAdjustExtra = extra;
    ShowAmounts(dialog, settings, qf::ColorSliderRules(settings));
    RepaintSample(dialog);
}

// The sample file's path: beside the driver file of the sheet's printer, found by the
// sheet's whole printer name. Empty when the printer or its driver cannot be asked.
std::wstring SamplePath(const DocumentSheetState& sheet) {
    return sheet.PrinterName()[0] ? qf::FileBesideDriver(sheet.PrinterName(), kSampleFileName) : std::wstring();
}

// Reads the sample file into the dialog's buffer; the bytes read, at most the size of
// the sample.
size_t ReadSample(const std::wstring& path, uint8_t* buffer) {
    FILE* file = path.empty() ? nullptr : _wfopen(path.c_str(), L"rb");
    if (!file) return 0;
    const size_t read = std::fread(buffer, 1, qf::kSampleFileBytes, file);
    std::fclose(file);
    return read;
}

// Puts the transformed pixels on the screen at the sample's place, through a bitmap
// compatible with the dialog's display; `info` is the file's header. Every object made
// here is released here.
void DrawSample(HDC dc, const uint8_t* info, const uint8_t* pixels, const qf::SampleHeader& header) {
    BITMAPINFO bitmapInfo = {};
    std::memcpy(&bitmapInfo.bmiHeader, info, qf::kSampleInfoHeaderBytes);
    // The bitmap outlives the context it is selected into: when the selection cannot be
    // undone, deleting the context lets go of the bitmap before the bitmap is deleted.
    const qf::GdiObject bitmap(CreateDIBitmap(dc, &bitmapInfo.bmiHeader, 0, nullptr, nullptr, DIB_RGB_COLORS));
    const qf::MemoryDc memory(dc);
    // The bits go in while the bitmap is not selected anywhere.
    if (!memory || !bitmap ||
        SetDIBits(dc, static_cast<HBITMAP>(bitmap.Get()), 0, qf::kSampleSide, pixels, &bitmapInfo, DIB_RGB_COLORS) <= 0)
        return;
    const qf::Selection selected(memory.Get(), bitmap.Get());
    if (selected) BitBlt(dc, kSampleLeft, kSampleTop, header.width, header.height, memory.Get(), 0, 0, SRCCOPY);
}

// Paints the sample with the record's amounts, in colour or in grey as the ribbon
// prints; a sample that cannot be had or is not the expected picture leaves the area
// empty.
void PaintSample(HWND dialog) {
    const qf::PaintScope paint(dialog);
    const HDC dc = paint.Dc();
    ColorDialog* state = StateOf(dialog);
    if (dc && state) {
        const size_t read = ReadSample(SamplePath(*state->sheet), state->file);
        qf::SampleHeader header{};
        if (qf::CheckSamplePicture(state->file, read, &header)) {
            const qf::PrivateSettings& settings = state->sheet->Settings();
            int16_t amounts[qf::kColorAdjustCount];
            for (int i = 0; i < qf::kColorAdjustCount; ++i) amounts[i] = settings.colorAdjust[i];
            const uint8_t* pixels = state->transform.Apply(state->file + qf::kSampleHeaderBytes, amounts,
                                                           qf::IsColourSample(settings.ribbonType));
            DrawSample(dc, state->file + qf::kSampleFileHeaderBytes, pixels, header);
        }
    }
}

INT_PTR ColorCommand(HWND dialog, int id, int) {
    if (id != IDC_RESTORE_DEFAULTS) return FALSE;
    RestoreColorDefaults(dialog);
    return TRUE;
}

INT_PTR ColorMessage(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_HSCROLL:
        ColorSliderMoved(dialog, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_PAINT:
        PaintSample(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK ColorCorrectionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DialogShape kColorCorrection = [] {
        DialogShape shape;
        shape.closeId = IDC_CLOSE_BUTTON;
        shape.help = qf::HelpTopic::kColorCorrection;
        shape.open = OpenColorCorrection;
        shape.command = ColorCommand;
        shape.close = FreeDialogState<ColorDialog>;
        shape.other = ColorMessage;
        return shape;
    }();
    return RunDialogShape(kColorCorrection, dialog, message, wParam, lParam);
}
