// The About box.
#include "driver/tools/about_dialog.h"

#include <winspool.h>

#include <string>

#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/resources/version.h"
#include "driver/settings/module_state.h"
#include "driver/state/sheet_state.h"
#include "driver/ui/dialog_conventions.h"

namespace {

constexpr RECT kLogoRect = {11, 14, 11 + 78, 14 + 54};
constexpr int kVersionChars = 64;
// The logo's file beside the driver; a file name, the same in every language.
constexpr wchar_t kLogoFileName[] = L"VrloLogo.bmp";

void ShowVersion(HWND dialog) {
    WCHAR text[kVersionChars + 8] = {};
    GetDlgItemTextW(dialog, IDC_ABOUT_VERSION, text, kVersionChars);
    lstrcatW(text, qf::kVersionText);
    SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, text);
}

// The box's logo, loaded once as the box opens and kept as its DWLP_USER until it closes.
HBITMAP LogoOf(HWND dialog) { return reinterpret_cast<HBITMAP>(GetWindowLongPtrW(dialog, DWLP_USER)); }

// Paints the logo stretched into its rectangle; every object the paint made is released
// before it ends. A paint asks the spooler nothing.
void PaintLogo(HWND dialog) {
    const qf::PaintScope paint(dialog);
    HBITMAP logo = LogoOf(dialog);
    if (!logo) return;
    BITMAP info = {};
    GetObjectW(logo, sizeof info, &info);
    const qf::MemoryDc memory(paint.Dc());
    const qf::Selection selected(memory.Get(), logo);
    if (!selected) return;
    StretchBlt(paint.Dc(), kLogoRect.left, kLogoRect.top, kLogoRect.right - kLogoRect.left,
               kLogoRect.bottom - kLogoRect.top, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

// The printer of the sheet that opened the box; none when the box was not opened from a
// live sheet.
const wchar_t* SheetPrinterName(LPARAM initParam) {
    if (const DocumentSheetState* sheet = DocumentSheetOfDialog(initParam)) return sheet->PrinterName();
    if (const DeviceSheetState* sheet = DeviceSheetOfDialog(initParam)) return sheet->PrinterName();
    return nullptr;
}

INT_PTR OpenAbout(HWND dialog, LPARAM initParam) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(LoadAboutLogo(SheetPrinterName(initParam))));
    ShowVersion(dialog);
    return TRUE;
}

void CloseAbout(HWND dialog) {
    if (HBITMAP logo = LogoOf(dialog)) DeleteObject(logo);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

INT_PTR AboutCommand(HWND dialog, int id, int) {
    if (id != IDOK) return FALSE;
    EndDialog(dialog, IDOK);
    return TRUE;
}

INT_PTR AboutMessage(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_PAINT) return FALSE;
    PaintLogo(dialog);
    return TRUE;
}

}  // namespace

HBITMAP LoadAboutLogo(const wchar_t* printerName) {
    if (!printerName || !printerName[0]) return nullptr;

    const std::wstring path = qf::FileBesideDriver(printerName, kLogoFileName);
    if (path.empty()) return nullptr;
    return static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DialogShape kAbout = [] {
        DialogShape shape;
        shape.closeId = IDCANCEL;
        shape.open = OpenAbout;
        shape.command = AboutCommand;
        shape.close = CloseAbout;
        shape.other = AboutMessage;
        return shape;
    }();
    return RunDialogShape(kAbout, dialog, message, wParam, lParam);
}

void ShowAboutBox(HWND owner, ULONG_PTR sheetUserData) {
    CPSUICBPARAM param = SheetDialogParam(sheetUserData);
    RunModuleDialog(owner, IDD_ABOUT, AboutDialogProc, reinterpret_cast<LPARAM>(&param));
}
