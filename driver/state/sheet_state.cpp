// The live sheets of this process. A UserData value is a sheet's number, trusted only
// while the sheet it names is open, so a stale or foreign value never reaches a record.
#include "driver/state/sheet_state.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <type_traits>

#include "driver/state/live_sheets.h"

namespace {

qf::LiveSheets g_liveSheets;

enum SheetKind { kDocumentSheet = 1, kDeviceSheet = 2 };
template <typename Sheet>
constexpr int KindOf() {
    return std::is_same<Sheet, DocumentSheetState>::value ? kDocumentSheet : kDeviceSheet;
}

template <typename Sheet>
Sheet* NewSheet() {
    auto* sheet = static_cast<Sheet*>(std::calloc(1, sizeof(Sheet)));
    if (!sheet) return nullptr;
    // A sheet that cannot be registered, for whatever reason, is freed here: nothing else
    // knows of it yet.
    try {
        sheet->id = g_liveSheets.Add(KindOf<Sheet>(), sheet);
    } catch (...) {
        std::free(sheet);
        return nullptr;
    }
    return sheet;
}

template <typename Sheet>
void Delete(Sheet* sheet) {
    if (!sheet) return;
    g_liveSheets.Remove(static_cast<uint32_t>(sheet->id));
    std::free(sheet->printerName);
    std::free(sheet);
}

template <typename Sheet>
void KeepName(Sheet& sheet, const PRINTER_INFO_2W* info, const wchar_t* caller) {
    const wchar_t* name = qf::ReportedPrinterName(info, caller);
    const size_t chars = std::wcslen(name) + 1;
    auto* copy = static_cast<wchar_t*>(std::malloc(chars * sizeof(wchar_t)));
    if (!copy) throw std::bad_alloc();
    std::memcpy(copy, name, chars * sizeof(wchar_t));
    std::free(sheet.printerName);
    sheet.printerName = copy;
}

// A UserData value names a sheet by its number; a value that does not fit the number
// names none.
template <typename Sheet>
Sheet* Find(ULONG_PTR userData) {
    if (userData == 0 || userData > UINT32_MAX) return nullptr;
    return static_cast<Sheet*>(g_liveSheets.Find(static_cast<uint32_t>(userData), KindOf<Sheet>()));
}

ULONG_PTR DialogUserData(LPARAM initParam) {
    const auto* param = reinterpret_cast<const CPSUICBPARAM*>(initParam);
    return param ? param->UserData : 0;
}

}  // namespace

DocumentSheetState* NewDocumentSheet() { return NewSheet<DocumentSheetState>(); }
DeviceSheetState* NewDeviceSheet() { return NewSheet<DeviceSheetState>(); }
void DeleteSheet(DocumentSheetState* sheet) { Delete(sheet); }
void DeleteSheet(DeviceSheetState* sheet) { Delete(sheet); }

void KeepPrinterName(DocumentSheetState& sheet, const wchar_t* caller) { KeepName(sheet, sheet.printerInfo, caller); }
void KeepPrinterName(DeviceSheetState& sheet, const wchar_t* caller) { KeepName(sheet, sheet.printerInfo, caller); }

DocumentSheetState* DocumentSheetOf(ULONG_PTR userData) { return Find<DocumentSheetState>(userData); }
DeviceSheetState* DeviceSheetOf(ULONG_PTR userData) { return Find<DeviceSheetState>(userData); }

DocumentSheetState* DocumentSheetOfDialog(LPARAM initParam) { return DocumentSheetOf(DialogUserData(initParam)); }
DeviceSheetState* DeviceSheetOfDialog(LPARAM initParam) { return DeviceSheetOf(DialogUserData(initParam)); }

void KeepSheetOfWindow(HWND dialog, ULONG_PTR sheetId) {
    SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(sheetId));
}
ULONG_PTR SheetIdOfWindow(HWND dialog) { return static_cast<ULONG_PTR>(GetWindowLongPtrW(dialog, DWLP_USER)); }
DocumentSheetState* DocumentSheetOfWindow(HWND dialog) { return DocumentSheetOf(SheetIdOfWindow(dialog)); }
DeviceSheetState* DeviceSheetOfWindow(HWND dialog) { return DeviceSheetOf(SheetIdOfWindow(dialog)); }

namespace {

template <typename Sheet>
Sheet* OpenOnSheet(HWND dialog, Sheet* sheet) {
    if (!sheet) {
        EndDialog(dialog, IDCANCEL);
        return nullptr;
    }
    KeepSheetOfWindow(dialog, sheet->id);
    return sheet;
}

}  // namespace

DocumentSheetState* OpenOnDocumentSheet(HWND dialog, LPARAM initParam) {
    return OpenOnSheet(dialog, DocumentSheetOfDialog(initParam));
}
DeviceSheetState* OpenOnDeviceSheet(HWND dialog, LPARAM initParam, bool needsRecord) {
    DeviceSheetState* sheet = DeviceSheetOfDialog(initParam);
    return OpenOnSheet(dialog, sheet && (sheet->record || !needsRecord) ? sheet : nullptr);
}

namespace {

template <typename Sheet>
void FreeSheet(PROPSHEETUI_INFO* info) {
    Sheet* sheet = Find<Sheet>(info->UserData);
    info->UserData = 0;
    if (!sheet) return;
    qf::FreePrinterRecord(sheet->printerInfo);
    Delete(sheet);
}

}  // namespace

void FreeDocumentSheet(PROPSHEETUI_INFO* info) { FreeSheet<DocumentSheetState>(info); }
void FreeDeviceSheet(PROPSHEETUI_INFO* info) { FreeSheet<DeviceSheetState>(info); }

CPSUICBPARAM SheetDialogParam(ULONG_PTR userData) {
    CPSUICBPARAM param = {};
    param.cbSize = sizeof param;
    param.UserData = userData;
    return param;
}
