// The colour correction dialog and its sample picture.
#include "driver/imaging/color_correction_dialog.h"

#include <commctrl.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "driver/entry/dialog_conventions.h"
#include "driver/entry/guard.h"
#include "driver/entry/owners.h"
#include "driver/entry/printer_info.h"
#include "driver/imaging/color_adjust.h"
#include "driver/resources/resource.h"
#include "driver/encoder/encoder_store.h"
#include "driver/sheets/sheet_state.h"

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

ColorDialog* StateOf(HWND dialog) {
    auto* state = reinterpret_cast<ColorDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    // The sheet must still be open for its record to be written.
    return state && DocumentSheetOf(state->sheetId) == state->sheet ? state : nullptr;
}

void ShowAmount(HWND dialog, int index, int amount) {
    SendDlgItemMessageW(dialog, IDC_COLOR_SLIDER_FIRST + index, TBM_SETPOS, TRUE, amount);
    SetDlgItemInt(dialog, IDC_COLOR_VALUE_FIRST + index, static_cast<UINT>(amount), TRUE);
}

void ShowAmounts(HWND dialog, const qf::PrivateSettings& settings, const qf::ColorSliderStates& states) {
    for (int i = 0; i < qf::kColorAdjustCount; ++i) ShowAmount(dialog, i, qf::ShownColorAmount(settings, states, i));
}

bool OpenColorCorrection(HWND dialog, LPARAM initParam) {
    DocumentSheetState* sheet = DocumentSheetOfDialog(initParam);
    auto* state = sheet ? new (std::nothrow) ColorDialog : nullptr;
    if (!state) {
        EndDialog(dialog, IDCANCEL);
        return false;
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
        // The name and value go with the slider: a disabled trackbar may be drawn like an
        // enabled one, but greyed labels show which sliders the ribbon does not use.
        const BOOL on = states.enabled[i] ? TRUE : FALSE;
        for (const int first : {IDC_COLOR_SLIDER_FIRST, IDC_COLOR_NAME_FIRST, IDC_COLOR_VALUE_FIRST})
            EnableWindow(GetDlgItem(dialog, first + i), on);
    }
    ShowAmounts(dialog, settings, states);
    return true;
}

void CloseColorCorrection(HWND dialog) {
    delete reinterpret_cast<ColorDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

void RepaintSample(HWND dialog) { InvalidateRect(dialog, nullptr, FALSE); }

// A slider moved: a new amount goes into the record at once and the sample follows.
// A position equal to what the slider showed changes nothing, so an amount stored off
// the scale stays until the user gives the slider another position.
void ColorSliderMoved(HWND dialog, HWND slider) {
    ColorDialog* state = StateOf(dialog);
    const int index = GetDlgCtrlID(slider) - IDC_COLOR_SLIDER_FIRST;
    if (!state || index < 0 || index >= qf::kColorAdjustCount ||
        GetDlgItem(dialog, IDC_COLOR_SLIDER_FIRST + index) != slider)
        return;
    qf::PrivateSettings& settings = state->sheet->Settings();
    const int amount = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
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
    const bool read = ReadDefaultsBlock(state->sheet->printer, block);
    int16_t amounts[qf::kColorAdjustCount];
    uint8_t extra = 0;
    qf::ColorDefaults(read ? block : nullptr, amounts, &extra);
    qf::PrivateSettings& settings = state->sheet->Settings();
    for (int i = 0; i < qf::kColorAdjustCount; ++i) settings.colorAdjust[i] = amounts[i];
    settings.colorAdjustExtra = extra;
    ShowAmounts(dialog, settings, qf::ColorSliderRules(settings));
    RepaintSample(dialog);
}

// The sample file's path: beside the driver file of the sheet's printer. Empty when the
// printer or its driver cannot be asked.
std::wstring SamplePath(DocumentSheetState& sheet) {
    WCHAR name[CCHDEVICENAME + 1] = {};
    if (sheet.printerInfo && sheet.printerInfo->pPrinterName)
        lstrcpynW(name, sheet.printerInfo->pPrinterName, CCHDEVICENAME + 1);
    else
        std::memcpy(name, sheet.WorkingDevmode()->dmDeviceName, sizeof(WCHAR) * CCHDEVICENAME);
    std::wstring path;
    {
        qf::PrinterHandle printer;
        if (!printer.Open(name, nullptr)) return path;
        const qf::HeapRecord<DRIVER_INFO_2W> driver(qf::ReadDriverInfo(printer.Get()));
        if (!driver)
            OutputDebugStringW(L"Get Default file name Failed\r\n");
        else if (driver->pDriverPath)
            path = driver->pDriverPath;
    }
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    path.resize(slash + 1);
    return path + kSampleFileName;
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

bool ColorCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_RESTORE_DEFAULTS:
        RestoreColorDefaults(dialog);
        return true;
    case IDC_CLOSE_BUTTON:
    case IDCANCEL:  // the Escape key
        EndDialog(dialog, IDC_CLOSE_BUTTON);
        return true;
    case IDC_HELP_BUTTON:
        ShowHelp(dialog, qf::HelpTopic::kColorCorrection);
        return true;
    default:
        return false;
    }
}

}  // namespace

INT_PTR CALLBACK ColorCorrectionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (HandleCloseRequest(dialog, message, wParam, IDC_CLOSE_BUTTON)) return TRUE;
        switch (message) {
        case WM_INITDIALOG:
            OpenColorCorrection(dialog, lParam);
            return TRUE;
        case WM_HSCROLL:
            ColorSliderMoved(dialog, reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_PAINT:
            PaintSample(dialog);
            return TRUE;
        case WM_COMMAND:
            return ColorCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
        case WM_DESTROY:
            CloseColorCorrection(dialog);
            return FALSE;
        default:
            return FALSE;
        }
    });
}
