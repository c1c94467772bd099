// The Device Information dialog: it only asks; nothing it sends changes the printer.
#include "driver/tools/device_information_dialog.h"

#include <winspool.h>

#include <string>

#include "driver/channel/printer_queries.h"
#include "driver/ui/dialog_conventions.h"
#include "driver/resources/resource.h"
#include "driver/settings/ribbons.h"
#include "driver/state/sheet_state.h"
#include "driver/tools/device_information.h"
#include "driver/ui/dialog_controls.h"

namespace {

constexpr DWORD kDriverDirectoryBytes = 256;

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

// The dialog's fixed texts, from the string table.
qf::DeviceInformationTexts LoadDeviceTexts() {
    qf::DeviceInformationTexts texts;
    texts.unknown = LoadModuleAnsiText(IDS_UNKNOWN);
    texts.notAvailable = LoadModuleAnsiText(IDS_NOT_AVAILABLE);
    texts.yes = LoadModuleAnsiText(IDS_YES);
    texts.no = LoadModuleAnsiText(IDS_NO);
    for (size_t i = 0; i < texts.smartCards.size(); ++i)
        texts.smartCards[i] = LoadModuleAnsiText(IDS_SMART_CARD_FIRST + static_cast<UINT>(i));
    return texts;
}

// The ribbon catalogue's name for `key`, or `unknown` when the catalogue or the key is
// missing.
std::string CatalogueRibbonName(std::string_view key, const std::string& unknown) {
    char directory[kDriverDirectoryBytes] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory), sizeof directory,
                                    &needed))
        return unknown;
    directory[kDriverDirectoryBytes - 1] = '\0';
    const std::string path = qf::RibbonCataloguePath(directory);
    const std::string section(qf::kRibbonCatalogueSection);
    char value[qf::kRibbonCatalogueValueChars + 1] = {};
    GetPrivateProfileStringA(section.c_str(), std::string(key).c_str(), unknown.c_str(), value, sizeof value,
                             path.c_str());
    return std::string(qf::CutCatalogueValue(std::string_view(value, sizeof value)));
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
        [&texts](std::string_view key) { return CatalogueRibbonName(key, texts.unknown); }, texts);
    SetControlAnsiText(dialog, IDC_INFO_RIBBON, info.ribbonType);
    SetControlAnsiText(dialog, IDC_INFO_REMAINING, info.remainingCount);
    if (!info.ribbonAnswered) return;
    SetControlAnsiText(dialog, IDC_INFO_ENCODER, info.encoder);
    SetControlAnsiText(dialog, IDC_INFO_MODEL, info.model);
    SetControlAnsiText(dialog, IDC_INFO_SMART_CARD, info.smartCard);
    SetControlAnsiText(dialog, IDC_INFO_SERIAL, info.serialNumber);
    SetControlAnsiText(dialog, IDC_INFO_PANELS, info.panelsPrinted);
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
    static const DialogShape kDeviceInformation = {.closeId = IDC_CLOSE_BUTTON,
                                                   .help = qf::HelpTopic::kDeviceInformation,
                                                   .open = StartDeviceInformation,
                                                   .fillsAtOpen = true,
                                                   .unfilledResult = IDCANCEL};
    return RunDialogShape(kDeviceInformation, dialog, message, wParam, lParam);
}
