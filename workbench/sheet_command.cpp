// `workbench sheet document|device`: a property sheet of the simulated printer, opened
// through the driver's export and the property-sheet service stand-in. With a display
// the sheet is a window to work; without one (QF_HEADLESS set) it is rendered to PNG
// files. The item tree is printed as text, and OK prints the committed record.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver/entry/ddk.h"
#include "driver/settings/record_fields.h"
#include "driver/settings/record_sizes.h"
#include "sim/dialog_script.h"
#include "sim/driver_loader.h"
#include "sim/property_sheet.h"
#include "sim/screenshot.h"
#include "sim/sheet_window.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"
#include "workbench/commands.h"
#include "workbench/encoder_walkthrough.h"
#include "workbench/simulated_printer.h"

namespace {

using Bytes = std::vector<uint8_t>;

bool Headless() { return GetEnvironmentVariableW(L"QF_HEADLESS", nullptr, 0) > 0; }

std::wstring OutputDirectory() {
    const std::wstring dir = sim::ProgramDirectory() + L"..\\workbench-output\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

void PrintItems(const sim::PropertySheetService& service) {
    std::printf("\nItems (title: current choice {choices}; marks show what cannot be used):\n");
    for (const std::string& line : service.DescribeItems()) std::printf("  %s\n", line.c_str());
}

void PrintRecord(const char* title, const Bytes& record) {
    std::printf("\n%s\n", title);
    for (const std::string& line : qf::DescribeFields(record.data(), qf::kPublicSize, false))
        std::printf("    %s\n", line.c_str());
    for (const std::string& line : qf::DescribeFields(record.data() + qf::kPublicSize, qf::kPrivateSize, true))
        std::printf("    %s\n", line.c_str());
}

// The driver default, as the spooler keeps it for a new printer.
bool StoreDriverDefault(HMODULE driver, const std::wstring& name) {
    auto convert = reinterpret_cast<BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD)>(
        reinterpret_cast<void*>(GetProcAddress(driver, "DrvConvertDevMode")));
    Bytes defaults(qf::kRecordSize, 0);
    LONG needed = qf::kRecordSize;
    std::wstring printer = name;
    if (!convert(&printer[0], nullptr, reinterpret_cast<DEVMODEW*>(defaults.data()), &needed, CDM_DRIVER_DEFAULT))
        return false;
    sim::Spooler::Get().Find(name)->devmode = defaults;
    return true;
}

// Renders the About box the sheet opens, then closes it.
void RenderAbout(sim::PropertySheetService& service, const std::wstring& path) {
    sim::DialogScript script([&](HWND dialog) {
        sim::PumpMessages();
        if (sim::SaveWindowPng(dialog, path)) std::printf("picture: %s\n", sim::Utf8(path).c_str());
        sim::ClickButton(dialog, IDOK);
    });
    service.About();
}

int Show(sim::PropertySheetService& service, const std::wstring& kind, const std::wstring& title) {
    if (!Headless()) {
        sim::SheetWindow window(service, title);
        if (!window.Create(true)) {
            std::fprintf(stderr, "workbench: cannot create the sheet window\n");
            return IDCANCEL;
        }
        return window.Run();
    }
    const std::wstring dir = OutputDirectory();
    const std::wstring sheetPng = dir + kind + L"-sheet.png";
    if (sim::RenderSheetPng(service, title, sheetPng)) std::printf("picture: %s\n", sim::Utf8(sheetPng).c_str());
    RenderAbout(service, dir + kind + L"-about.png");
    if (kind == L"device") WalkEncoderDialogs(service, dir);
    // OK, as the service does it: apply the page, then hand over the result.
    service.Apply();
    service.Commit();
    return IDOK;
}

}  // namespace

int SheetCommand(const Args& args) {
    const std::wstring kind = args.empty() ? L"document" : args[0];
    if (kind != L"document" && kind != L"device") {
        std::fprintf(stderr, "usage: workbench sheet document|device [--trace] [--printer FILE]\n");
        return 2;
    }
    std::string error;
    HMODULE driver = StartSimulatedPrinter(args, &error);
    if (!driver) {
        std::fprintf(stderr, "workbench: %s\n", error.c_str());
        return 1;
    }
    const std::wstring name = SimulatedPrinterName();
    if (!StoreDriverDefault(driver, name)) {
        std::fprintf(stderr, "workbench: the driver gave no default record\n");
        return 1;
    }
    HANDLE printer = nullptr;
    sim::SimOpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, nullptr);

    Bytes output(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER document = {sizeof document, 0, printer, const_cast<LPWSTR>(name.c_str()), nullptr,
                                       reinterpret_cast<DEVMODEW*>(output.data()), qf::kRecordSize,
                                       DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT};
    DEVICEPROPERTYHEADER device = {sizeof device, 0, printer, const_cast<LPWSTR>(name.c_str())};
    const bool isDocument = kind == L"document";
    std::printf("\nOpening the %s sheet of \"%s\":\n", sim::Utf8(kind).c_str(), sim::Utf8(name).c_str());

    int status = 0;
    const std::vector<uint8_t> storedBefore = sim::Spooler::Get().Find(name)->devmode;
    {
        sim::PropertySheetService service;
        const char* exportName = isDocument ? "DrvDocumentPropertySheets" : "DrvDevicePropertySheets";
        auto sheet = reinterpret_cast<QfPropSheetUiProc>(reinterpret_cast<void*>(GetProcAddress(driver, exportName)));
        const LONG opened = service.Open(sheet, isDocument ? reinterpret_cast<LPARAM>(&document)
                                                           : reinterpret_cast<LPARAM>(&device));
        std::printf("%s answered INIT with %ld\n", exportName, opened);
        if (!service.Page()) {
            std::fprintf(stderr, "workbench: no page was added%s%s\n", service.Problem().empty() ? "" : ": ",
                         service.Problem().c_str());
            status = 1;
        } else {
            PrintItems(service);
            const std::wstring title = isDocument ? L"Document Properties" : L"Device Settings";
            const int result = Show(service, kind, title);
            std::printf("\nThe sheet was closed with %s.\n", result == IDOK ? "OK" : "Cancel");
            if (result == IDOK && isDocument) PrintRecord("Committed record (the caller's output DEVMODE):", output);
            if (!isDocument) {
                const auto& log = sim::Spooler::Get().setPrinterLog;
                std::printf("The printer's stored defaults were written %zu time(s).\n", log.size());
                PrintStoredChange(storedBefore, sim::Spooler::Get().Find(name)->devmode);
            }
        }
    }
    sim::SimClosePrinter(printer);
    return status;
}
