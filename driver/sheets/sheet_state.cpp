// The live sheets of this process. A UserData value is trusted as a sheet only while
// the sheet it names is open, so a stale or foreign value never reaches a record.
#include "driver/sheets/sheet_state.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::vector<DocumentSheetState*> g_documentSheets;
std::vector<DeviceSheetState*> g_deviceSheets;

template <typename Sheet>
Sheet* NewSheet(std::vector<Sheet*>& live) {
    auto* sheet = static_cast<Sheet*>(std::calloc(1, sizeof(Sheet)));
    if (!sheet) return nullptr;
    try {
        live.push_back(sheet);
    } catch (const std::bad_alloc&) {
        std::free(sheet);
        return nullptr;
    }
    return sheet;
}

template <typename Sheet>
void Delete(std::vector<Sheet*>& live, Sheet* sheet) {
    if (!sheet) return;
    live.erase(std::remove(live.begin(), live.end(), sheet), live.end());
    std::free(sheet);
}

template <typename Sheet>
Sheet* Find(const std::vector<Sheet*>& live, ULONG_PTR userData) {
    auto* sheet = reinterpret_cast<Sheet*>(userData);
    if (!sheet) return nullptr;
    return std::find(live.begin(), live.end(), sheet) != live.end() ? sheet : nullptr;
}

ULONG_PTR DialogUserData(LPARAM initParam) {
    const auto* param = reinterpret_cast<const CPSUICBPARAM*>(initParam);
    return param ? param->UserData : 0;
}

}  // namespace

DocumentSheetState* NewDocumentSheet() { return NewSheet(g_documentSheets); }
DeviceSheetState* NewDeviceSheet() { return NewSheet(g_deviceSheets); }
void DeleteSheet(DocumentSheetState* sheet) { Delete(g_documentSheets, sheet); }
void DeleteSheet(DeviceSheetState* sheet) { Delete(g_deviceSheets, sheet); }

DocumentSheetState* DocumentSheetOf(ULONG_PTR userData) { return Find(g_documentSheets, userData); }
DeviceSheetState* DeviceSheetOf(ULONG_PTR userData) { return Find(g_deviceSheets, userData); }

DocumentSheetState* DocumentSheetOfDialog(LPARAM initParam) { return DocumentSheetOf(DialogUserData(initParam)); }
DeviceSheetState* DeviceSheetOfDialog(LPARAM initParam) { return DeviceSheetOf(DialogUserData(initParam)); }

CPSUICBPARAM SheetDialogParam(ULONG_PTR userData) {
    CPSUICBPARAM param = {};
    param.cbSize = sizeof param;
    param.UserData = userData;
    return param;
}
