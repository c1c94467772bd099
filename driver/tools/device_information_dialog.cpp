// The Device Information dialog: it only asks; nothing it sends changes the printer.
#include "driver/tools/device_information_dialog.h"

#include <winspool.h>

#include <iterator>
#include <string>

#include "driver/channel/printer_queries.h"
#include "driver/resources/resource.h"
#include "driver/settings/ribbon_query.h"
#include "driver/settings/ribbons.h"
#include "driver/state/sheet_state.h"
#include "driver/tools/device_information.h"
#include "driver/ui/dialog_controls.h"
#include "driver/ui/dialog_conventions.h"

namespace {

// The printer a sheet asks: its name, and its handle when the name cannot be opened.
struct SheetPrinter {
    const wchar_t* name;
    HANDLE handle;
};

bool PrinterOfDialog(LPARAM initParam, SheetPrinter* printer) {
    if (DeviceSheetState* sheet = DeviceSheetOfDialog(initParam)) {
        *printer = {sheet->PrinterName(), sheet->printer};
        return true;
    }
    if (DocumentSheetState* sheet = DocumentSheetOfDialog(initParam)) {
        *printer = {sheet->PrinterName(), sheet->printer};
        return true;
    }
    return false;
}

std::u16string Text16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// The dialog's fixed texts, from the string table, as loaded.
qf::DeviceInformationTexts LoadDeviceTexts() {
    qf::DeviceInformationTexts texts;
    texts.unknown = Text16(LoadModuleText(IDS_UNKNOWN));
    texts.notAvailable = Text16(LoadModuleText(IDS_NOT_AVAILABLE));
    texts.yes = Text16(LoadModuleText(IDS_YES));
    texts.no = Text16(LoadModuleText(IDS_NO));
    for (size_t i = 0; i < texts.smartCards.size(); ++i)
        texts.smartCards[i] = Text16(LoadModuleText(IDS_SMART_CARD_FIRST + static_cast<UINT>(i)));
    return texts;
}

// The ribbon catalogue's name for `key` (found as the document sheet finds it), or
// `unknown` when the catalogue or the key is missing.
std::u16string CatalogueRibbonNameOf(HANDLE printer, std::string_view key, const std::u16string& unknown) {
    wchar_t name[qf::kRibbonCatalogueValueChars + 1] = {};
    const std::u16string keyText(key.begin(), key.end());
    const wchar_t* fallback = reinterpret_cast<const wchar_t*>(unknown.c_str());
    if (!CatalogueRibbonName(printer, keyText, fallback, name, static_cast<int>(std::size(name)))) return unknown;
    return std::u16string(reinterpret_cast<const char16_t*>(name));
}

void SetField(HWND dialog, int id, const std::u16string& text) {
    SetDlgItemTextW(dialog, id, reinterpret_cast<const wchar_t*>(text.c_str()));
}

// Asks the printer every question of the dialog and shows the answers.
void FillDeviceInformation(HWND dialog, const SheetPrinter& printer) {
    const qf::DeviceInformationTexts texts = LoadDeviceTexts();
    const qf::DeviceInformation info = qf::GatherDeviceInformation(
        [&printer](std::string_view command, char* buffer, size_t size, uint32_t* count) {
            DWORD needed = 0;
            const bool ok =
                QueryNamedPrinter(printer.name, printer.handle, command, buffer, static_cast<DWORD>(size), &needed);
            *count = needed;
            return ok;
        },
        [&texts, &printer](std::string_view key) { return CatalogueRibbonNameOf(printer.handle, key, texts.unknown); },
        texts, [](std::string_view bytes) { return Text16(PrinterText(bytes)); });
    SetField(dialog, IDC_INFO_RIBBON, info.ribbonType);
    SetField(dialog, IDC_INFO_REMAINING, info.remainingCount);
    if (!info.ribbonAnswered) return;
    SetField(dialog, IDC_INFO_ENCODER, info.encoder);
    SetField(dialog, IDC_INFO_MODEL, info.model);
    SetField(dialog, IDC_INFO_SMART_CARD, info.smartCard);
    SetField(dialog, IDC_INFO_SERIAL, info.serialNumber);
    SetField(dialog, IDC_INFO_PANELS, info.panelsPrinted);
}

// Fills the dialog and puts the focus on Close, so that no field opens selected. Returns
// FALSE: the focus is set.
INT_PTR StartDeviceInformation(HWND dialog, LPARAM initParam) {
    SheetPrinter printer{};
    if (!PrinterOfDialog(initParam, &printer)) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    FillDeviceInformation(dialog, printer);
    SetFocus(GetDlgItem(dialog, IDC_CLOSE_BUTTON));
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK DeviceInformationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // The dialog fills its fields as it opens: when it cannot, it says so and ends.
    static const DialogShape kDeviceInformation = [] {
        DialogShape shape;
        shape.closeId = IDC_CLOSE_BUTTON;
        shape.help = qf::HelpTopic::kDeviceInformation;
        shape.open = StartDeviceInformation;
        shape.fillsAtOpen = true;
        shape.unfilledResult = IDCANCEL;
        return shape;
    }();
    return RunDialogShape(kDeviceInformation, dialog, message, wParam, lParam);
}
