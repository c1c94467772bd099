// `workbench dialog tools|send-file|firmware|info|details`: a maintenance dialog of the
// simulated printer, opened from its sheet's push button as a user opens it. With a
// display the dialog is shown to be worked by hand; without one a short script works its
// controls (a command, a track read, a file sent, a firmware download), prints what the
// dialog shows and renders it to build/windows/workbench-output/<dialog>.png.
// `workbench classify FILE`: the firmware classification the dialog makes of a file.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver/platform/ddk.h"
#include "driver/resources/resource.h"
#include "driver/settings/private_settings.h"
#include "driver/settings/record_sizes.h"
#include "driver/state/device_items.h"
#include "driver/state/document_items.h"
#include "driver/tools/firmware_file.h"
#include "sim/dialog_script.h"
#include "sim/driver_loader.h"
#include "sim/files.h"
#include "sim/property_sheet.h"
#include "sim/screenshot.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"
#include "workbench/commands.h"
#include "workbench/sheet_support.h"
#include "workbench/simulated_printer.h"

namespace {

struct DialogKind {
    const wchar_t* name;
    bool documentSheet;  // opened from the document sheet's ribbon item, else from the device sheet
    int item;            // the sheet item whose button opens it
};
const DialogKind kDialogs[] = {
    {L"tools", false, qf::kDeviceItemTools},         {L"send-file", false, qf::kDeviceItemTools},
    {L"firmware", false, qf::kDeviceItemFirmware},   {L"info", false, qf::kDeviceItemDeviceInfo},
    {L"details", true, qf::kItemRibbon},
};

void Picture(HWND dialog, const std::wstring& name) {
    sim::PumpMessages();
    const std::wstring path = OutputDirectory() + name + L".png";
    if (sim::SaveWindowPng(dialog, path)) std::printf("picture: %s\n", sim::Utf8(path).c_str());
}

void Show(HWND dialog, const char* label, int id) {
    std::printf("  %-26s\"%s\"\n", label, sim::Utf8(sim::ControlText(dialog, id)).c_str());
}

void Act(const char* what) { std::printf("\n> %s\n", what); }

void ToolsScript(HWND dialog) {
    std::printf("\nThe Tools dialog opened:\n");
    Show(dialog, "Offset X:", IDC_TOOLS_OFFSET_X);
    Show(dialog, "Offset Y:", IDC_TOOLS_OFFSET_Y);
    std::printf("  Set Offset is %s\n", IsWindowEnabled(GetDlgItem(dialog, IDC_TOOLS_SET_OFFSET)) ? "enabled" : "disabled");
    Show(dialog, "Printer Status:", IDC_TOOLS_STATUS);
    Act("type \"V\" and press Execute");
    sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"V");
    sim::ClickButton(dialog, IDC_TOOLS_EXECUTE);
    Show(dialog, "Printer Status:", IDC_TOOLS_STATUS);
    Act("tick Track 1 and Track 2 and press Read");
    sim::ClickButton(dialog, IDC_TOOLS_TRACK1_BOX);
    sim::ClickButton(dialog, IDC_TOOLS_TRACK2_BOX);
    sim::ClickButton(dialog, IDC_TOOLS_READ);
    Show(dialog, "Track 1:", IDC_TOOLS_TRACK1_DATA);
    Show(dialog, "Track 2:", IDC_TOOLS_TRACK2_DATA);
    Picture(dialog, L"tools");
    sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
}

void SendFileScript(HWND dialog) {
    Act("press Select File, then Send File");
    sim::ClickButton(dialog, IDC_SEND_SELECT);
    sim::ClickButton(dialog, IDC_SEND_BUTTON);
    Show(dialog, "Status:", IDC_SEND_STATUS);
    Picture(dialog, L"send-file");
    sim::ClickButton(dialog, IDCANCEL);
}

void FirmwareScript(HWND dialog) {
    Act("press Select File");
    sim::ClickButton(dialog, IDC_FW_SELECT);
    Show(dialog, "Selected Firmware type:", IDC_FW_TYPE);
    Show(dialog, "Check sum:", IDC_FW_CHECK);
    Act("press Start Firmware Download");
    sim::ClickButton(dialog, IDC_FW_START);
    Show(dialog, "Status:", IDC_FW_STATUS);
    Picture(dialog, L"firmware");
    sim::ClickButton(dialog, IDCANCEL);
}

void InformationScript(HWND dialog, const wchar_t* picture) {
    std::printf("\nThe Device Information dialog opened:\n");
    Show(dialog, "Model/Firmware Version:", IDC_INFO_MODEL);
    Show(dialog, "Serial Number:", IDC_INFO_SERIAL);
    Show(dialog, "Magnetic Encoder:", IDC_INFO_ENCODER);
    Show(dialog, "Smart card:", IDC_INFO_SMART_CARD);
    Show(dialog, "Panels printed:", IDC_INFO_PANELS);
    Show(dialog, "Ribbon Type:", IDC_INFO_RIBBON);
    Show(dialog, "Remaining Count:", IDC_INFO_REMAINING);
    Picture(dialog, picture);
    sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
}

// Opens the dialog from its sheet: with a script when there is no display.
void OpenFromSheet(sim::PropertySheetService& service, const DialogKind& kind) {
    if (!Headless()) {
        if (kind.documentSheet)
            service.ExtendedPush(kind.item);
        else
            service.PushButton(kind.item);
        return;
    }
    const std::wstring name = kind.name;
    sim::DialogScript script;
    if (name == L"tools") {
        script.Then(ToolsScript);
    } else if (name == L"send-file") {
        script.Then([](HWND tools) {
            Act("press Send File in the Tools dialog");
            sim::ClickButton(tools, IDC_TOOLS_SEND_FILE);
            sim::ClickButton(tools, IDC_CLOSE_BUTTON);
        });
        script.Then(SendFileScript);
    } else if (name == L"firmware") {
        script.Then(FirmwareScript);
    } else {
        script.Then([&](HWND dialog) { InformationScript(dialog, kind.documentSheet ? L"ribbon-details" : L"device-information"); });
    }
    if (kind.documentSheet)
        service.ExtendedPush(kind.item);
    else
        service.PushButton(kind.item);
    for (const std::wstring& title : script.LeftOpen())
        std::fprintf(stderr, "workbench: the dialog \"%s\" was left open\n", sim::Utf8(title).c_str());
}

int Usage() {
    std::fprintf(stderr,
                 "usage: workbench dialog tools|send-file|firmware|info|details [--file PATH] [--offline] [--trace] "
                 "[--printer FILE]\n       workbench dialog head|color [--set NAME=VALUE ...] [--ribbon N]\n"
                 "       workbench dialog front-overlay|back-overlay|hologram [--file BMP] [--rotate] [--ribbon N]\n");
    return 2;
}

}  // namespace

// A file for the open-file dialog when the user names none, written into DIRECTORY (with
// its name prefix): a printer file for Send File, printer firmware (check byte 0x3C) for
// the download.
std::wstring WriteSampleFile(const std::wstring& kind, const std::wstring& directory) {
    if (kind == L"send-file") {
        const std::wstring path = directory + L"sample-card.prn";
        sim::WriteWholeFile(path, "\x1B" "A\r");
        return path;
    }
    std::string firmware(300, '\0');
    for (size_t i = 0; i < firmware.size(); ++i) firmware[i] = static_cast<char>(i);
    firmware[14] = '\x3C';
    firmware[15] = '\xFF';
    const std::wstring path = directory + L"sample-firmware.bin";
    sim::WriteWholeFile(path, firmware);
    return path;
}


int DialogCommand(const Args& args) {
    if (!args.empty() && (args[0] == L"head" || args[0] == L"color")) return ImagingDialogCommand(args);
    if (!args.empty() && (args[0] == L"front-overlay" || args[0] == L"back-overlay" || args[0] == L"hologram"))
        return OverlayDialogCommand(args);
    const DialogKind* kind = nullptr;
    for (const DialogKind& known : kDialogs)
        if (!args.empty() && args[0] == known.name) kind = &known;
    if (!kind) return Usage();
    std::wstring file;
    bool offline = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == L"--file" && i + 1 < args.size()) file = args[++i];
        if (args[i] == L"--offline") offline = true;
    }
    HMODULE driver = StartPrinterWithDriverDefault(args);
    if (!driver) return 1;
    const std::wstring name = SimulatedPrinterName();
    std::vector<uint8_t>& stored = sim::Spooler::Get().Find(name)->devmode;
    // The offline configuration: the first entry of the fixed ribbon list.
    if (offline) reinterpret_cast<qf::PrivateSettings*>(stored.data() + qf::kPublicSize)->manualRibbon = 1;
    if (file.empty() && Headless() && (kind->name == std::wstring(L"send-file") || kind->name == std::wstring(L"firmware")))
        file = WriteSampleFile(kind->name, OutputDirectory());
    if (!file.empty()) sim::Ui().fileChoices.push_back(file);
    sim::Ui().realFileDialog = !Headless();

    HANDLE printer = nullptr;
    sim::SimOpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, nullptr);
    std::vector<uint8_t> output(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER document = {sizeof document, 0, printer, const_cast<LPWSTR>(name.c_str()), nullptr,
                                       reinterpret_cast<DEVMODEW*>(output.data()), qf::kRecordSize,
                                       DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT};
    DEVICEPROPERTYHEADER device = {sizeof device, DeviceSheetFlags(), printer, const_cast<LPWSTR>(name.c_str())};
    int status = 0;
    {
        sim::PropertySheetService service;
        const char* exportName = kind->documentSheet ? "DrvDocumentPropertySheets" : "DrvDevicePropertySheets";
        auto sheet = reinterpret_cast<QfPropSheetUiProc>(reinterpret_cast<void*>(GetProcAddress(driver, exportName)));
        std::printf("\nOpening the %s sheet of \"%s\":\n", kind->documentSheet ? "document" : "device",
                    sim::Utf8(name).c_str());
        service.Open(sheet, kind->documentSheet ? reinterpret_cast<LPARAM>(&document) : reinterpret_cast<LPARAM>(&device));
        if (!service.Page()) {
            std::fprintf(stderr, "workbench: no page was added %s\n", service.Problem().c_str());
            status = 1;
        } else if (!service.CanChange(kind->item)) {
            std::fprintf(stderr, "workbench: the sheet's button for this dialog is disabled\n");
            status = 1;
        } else {
            std::printf("Pressing \"%s\"%s:\n",
                        sim::Utf8(kind->documentSheet ? service.ExtendedPushTitle(kind->item)
                                                      : service.ItemTitle(kind->item))
                            .c_str(),
                        offline ? " (offline configuration)" : "");
            OpenFromSheet(service, *kind);
            service.Cancel();
        }
    }
    sim::SimClosePrinter(printer);
    return status;
}

// String `id` of the driver DLL beside the workbench, read as resources only.
static std::wstring DriverString(UINT id) {
    HMODULE module = LoadLibraryExW((sim::ProgramDirectory() + L"qf862kui.dll").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    wchar_t text[128] = {};
    if (module) {
        LoadStringW(module, id, text, 128);
        FreeLibrary(module);
    }
    return text;
}

int ClassifyCommand(const Args& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: workbench classify FILE\n");
        return 2;
    }
    std::vector<uint8_t> bytes;
    if (!sim::ReadWholeFile(args[0], &bytes)) {
        std::fprintf(stderr, "workbench: cannot read %s\n", sim::Utf8(args[0]).c_str());
        return 1;
    }
    const size_t start = bytes.size() < qf::kFirmwareClassifyBytes ? bytes.size() : qf::kFirmwareClassifyBytes;
    const qf::FirmwareClass kind =
        qf::ClassifyFirmware(std::string_view(reinterpret_cast<const char*>(bytes.data()), start));
    std::printf("%s: %zu bytes\n", sim::Utf8(args[0]).c_str(), bytes.size());
    if (kind.type == qf::FirmwareType::kRefused) {
        std::printf("  refused: not firmware the printer takes\n");
        return 1;
    }
    // The type text is the driver's own, from its string table.
    const std::wstring typeText = DriverString(
        kind.type == qf::FirmwareType::kLaminator ? IDS_LAMINATOR_FIRMWARE : IDS_PRINTER_FIRMWARE);
    std::printf("  Selected Firmware type:  %s\n", sim::Utf8(typeText).c_str());
    std::printf("  Check sum:               %s\n", qf::CheckByteText(kind.checkByte).c_str());
    return 0;
}
