// The About box.
#include "driver/tools/about_dialog.h"

#include <winspool.h>

#include <string>

#include "driver/entry/dialog_conventions.h"
#include "driver/entry/guard.h"
#include "driver/entry/owners.h"
#include "driver/entry/module_state.h"
#include "driver/entry/printer_info.h"
#include "driver/entry/version.h"
#include "driver/resources/resource.h"
#include "driver/sheets/sheet_state.h"

namespace {

constexpr RECT kLogoRect = {11, 14, 11 + 78, 14 + 54};
constexpr int kVersionChars = 64;
constexpr int kLogoNameChars = 32;

void ShowVersion(HWND dialog) {
    WCHAR text[kVersionChars + 8] = {};
    GetDlgItemTextW(dialog, IDC_ABOUT_VERSION, text, kVersionChars);
    lstrcatW(text, qf::kVersionText);
    SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, text);
}

// The logo is loaded anew for every paint, stretched into its rectangle, and every
// object the paint made is released before it ends.
void PaintLogo(HWND dialog) {
    const qf::PaintScope paint(dialog);
    const qf::GdiObject logo(LoadAboutLogo(reinterpret_cast<const wchar_t*>(GetWindowLongPtrW(dialog, DWLP_USER))));
    if (!logo) return;
    BITMAP info = {};
    GetObjectW(logo.Get(), sizeof info, &info);
    const qf::MemoryDc memory(paint.Dc());
    const qf::Selection selected(memory.Get(), logo.Get());
    if (!selected) return;
    StretchBlt(paint.Dc(), kLogoRect.left, kLogoRect.top, kLogoRect.right - kLogoRect.left,
               kLogoRect.bottom - kLogoRect.top, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

// The printer of the sheet that opened the box, whose name the sheet keeps for as long
// as it is open; none when the box was not opened from a live sheet.
const wchar_t* SheetPrinterName(LPARAM initParam) {
    if (const DocumentSheetState* sheet = DocumentSheetOfDialog(initParam)) return sheet->printerName;
    if (const DeviceSheetState* sheet = DeviceSheetOfDialog(initParam)) return sheet->printerName;
    return nullptr;
}

}  // namespace

HBITMAP LoadAboutLogo(const wchar_t* printerName) {
    if (!printerName || !printerName[0]) return nullptr;

    std::wstring path;
    {
        qf::PrinterHandle printer;
        if (!printer.Open(printerName, nullptr)) return nullptr;
        const qf::HeapRecord<DRIVER_INFO_2W> driver(qf::ReadDriverInfo(printer.Get()));
        if (driver && driver->pDriverPath) path = driver->pDriverPath;
    }

    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return nullptr;
    path.resize(slash + 1);
    WCHAR name[kLogoNameChars] = {};
    LoadStringW(g_hInstance, IDS_LOGO_FILE, name, kLogoNameChars);
    path += name;
    return static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (HandleCloseRequest(dialog, message, wParam, IDCANCEL)) return TRUE;
        switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(SheetPrinterName(lParam)));
            ShowVersion(dialog);
            return TRUE;
        case WM_PAINT:
            PaintLogo(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
        }
    });
}

void ShowAboutBox(HWND owner, ULONG_PTR sheetUserData) {
    CPSUICBPARAM param = SheetDialogParam(sheetUserData);
    RunModuleDialog(owner, IDD_ABOUT, AboutDialogProc, reinterpret_cast<LPARAM>(&param));
}
