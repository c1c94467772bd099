// `workbench two-printers`: the device sheets of two card printers open at once in one
// process, as an administrator with two printers of this driver can have them. Each
// sheet keeps its own encoder record and model: the first printer's "Encoder Settings"
// shows and applies its own values while the second's sheet is open, and its dialogs
// follow its own model. Prints what each encoder dialog shows, the jobs each printer
// received, and how each printer's stored record changed; without a display the two
// encoder dialogs are rendered to two-printers-first.png and two-printers-second.png.
// Then the first printer's document sheet commits a rotation, and each printer's document
// record (what DrvDocumentProperties hands an application before a job) is printed: the
// choice reaches the first printer's records only.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "driver/platform/ddk.h"
#include "driver/resources/resource.h"
#include "driver/settings/private_settings.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"
#include "driver/state/document_items.h"
#include "sim/dialog_script.h"
#include "sim/property_sheet.h"
#include "sim/screenshot.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"
#include "workbench/commands.h"
#include "workbench/encoder_walkthrough.h"
#include "workbench/sheet_support.h"
#include "workbench/simulated_printer.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kEncoderItem = 1;
const wchar_t kSecondPrinter[] = L"Varlo Q796 (simulated, second)";

// One printer's open device sheet.
struct OpenSheet {
    std::wstring name;
    HANDLE handle = nullptr;
    DEVICEPROPERTYHEADER header = {};
    sim::PropertySheetService service;
    Bytes storedBefore;
};

bool Open(HMODULE driver, OpenSheet& sheet) {
    sim::SimOpenPrinterW(const_cast<LPWSTR>(sheet.name.c_str()), &sheet.handle, nullptr);
    sheet.header = DEVICEPROPERTYHEADER{sizeof sheet.header, 0, sheet.handle, const_cast<LPWSTR>(sheet.name.c_str())};
    sheet.storedBefore = sim::Spooler::Get().Find(sheet.name)->devmode;
    auto proc = reinterpret_cast<QfPropSheetUiProc>(
        reinterpret_cast<void*>(GetProcAddress(driver, "DrvDevicePropertySheets")));
    sheet.service.Open(proc, reinterpret_cast<LPARAM>(&sheet.header));
    std::printf("Opened the device sheet of \"%s\": model \"%s\"\n", sim::Utf8(sheet.name).c_str(),
                sim::Utf8(sheet.service.CurrentChoice(0)).c_str());
    return sheet.service.Page() != nullptr;
}

const char* Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) ? "enabled" : "disabled"; }

// Presses "Encoder Settings" of `sheet`, prints what the dialog shows and what
// "Advanced settings" offers, renders the encoder dialog and, with `apply`, picks
// "High Coercivity" and applies; otherwise cancels.
void WorkEncoder(OpenSheet& sheet, const std::wstring& picture, bool apply) {
    std::printf("\n\"Encoder Settings\" of \"%s\":\n", sim::Utf8(sheet.name).c_str());
    sim::DialogScript scripts([&](HWND dialog) {
        std::printf("  Start of data \"%s\", End of data \"%s\", \"Reversed\" %s\n",
                    sim::Utf8(sim::ControlText(dialog, IDC_ENCODER_START_DATA)).c_str(),
                    sim::Utf8(sim::ControlText(dialog, IDC_ENCODER_END_DATA)).c_str(),
                    Enabled(dialog, IDC_POSITION_REVERSED));
        if (Headless()) {
            sim::PumpMessages();
            if (sim::SaveWindowPng(dialog, picture)) std::printf("  picture: %s\n", sim::Utf8(picture).c_str());
        }
        sim::ClickButton(dialog, IDC_ENCODER_ADVANCED);
        if (apply) {
            sim::ClickButton(dialog, IDC_COERCIVITY_HIGH);
            std::printf("  click \"High Coercivity\", then \"Apply\"\n");
            sim::ClickButton(dialog, IDC_ENCODER_APPLY);
        } else {
            sim::ClickButton(dialog, IDC_ENCODER_CANCEL);
        }
    });
    scripts.Then([](HWND dialog) {
        std::printf("  \"Advanced settings\": \"Track 3\" %s\n", Enabled(dialog, IDC_TRACK_3));
        sim::ClickButton(dialog, IDCANCEL);
    });
    sheet.service.PushButton(kEncoderItem);
}

using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);

template <typename Fn>
Fn DriverExport(HMODULE driver, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(driver, name)));
}

// The document record DrvDocumentProperties hands an application for `name`, in one line.
void PrintDocumentRecord(HMODULE driver, const std::wstring& name) {
    HANDLE handle = nullptr;
    sim::SimOpenPrinterW(const_cast<LPWSTR>(name.c_str()), &handle, nullptr);
    Bytes in = sim::Spooler::Get().Find(name)->devmode;
    Bytes out(qf::kRecordSize, 0);
    if (in.size() < size_t(qf::kRecordSize)) in.resize(qf::kRecordSize, 0);
    DriverExport<DocPropsFn>(driver, "DrvDocumentProperties")(nullptr, handle, const_cast<LPWSTR>(name.c_str()),
                                                              reinterpret_cast<DEVMODEW*>(out.data()),
                                                              reinterpret_cast<DEVMODEW*>(in.data()),
                                                              DM_OUT_BUFFER | DM_IN_BUFFER);
    sim::SimClosePrinter(handle);
    const auto& s = *reinterpret_cast<const qf::PrivateSettings*>(out.data() + qf::PrivateOffset(out.data()));
    std::printf("  \"%s\": rotate180 %d, printBothSides %d, ribbonType %u, encoderPresent %u, modelClass %u\n",
                sim::Utf8(name).c_str(), s.rotate180, s.printBothSides, s.ribbonType, s.encoderSettings.encoderPresent,
                s.modelClass);
}

// The first printer's document sheet: "Rotate 180°" set to its second choice, then OK.
void CommitRotation(HMODULE driver, const std::wstring& name) {
    HANDLE handle = nullptr;
    sim::SimOpenPrinterW(const_cast<LPWSTR>(name.c_str()), &handle, nullptr);
    Bytes in = sim::Spooler::Get().Find(name)->devmode;
    if (in.size() < size_t(qf::kRecordSize)) in.resize(qf::kRecordSize, 0);
    Bytes out(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER header = {sizeof header, 0, handle, const_cast<LPWSTR>(name.c_str()),
                                     reinterpret_cast<DEVMODEW*>(in.data()), reinterpret_cast<DEVMODEW*>(out.data()),
                                     DWORD(qf::kRecordSize), DM_IN_BUFFER | DM_OUT_BUFFER};
    sim::PropertySheetService sheet;
    sheet.Open(DriverExport<QfPropSheetUiProc>(driver, "DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&header));
    if (sheet.Page()) {
        sheet.Select(qf::kItemRotation, 1);
        std::printf("\nThe document sheet of \"%s\": rotation \"%s\", then OK.\n", sim::Utf8(name).c_str(),
                    sim::Utf8(sheet.CurrentChoice(qf::kItemRotation)).c_str());
        sheet.Apply();
        sheet.Commit();
    }
    if (sheet.IsOpen()) sheet.Cancel();
    sim::SimClosePrinter(handle);
}

void PrintJobs(const std::wstring& printer) {
    for (const sim::RawJob& job : sim::Spooler::Get().jobs) {
        if (job.printer != printer) continue;
        std::printf("  RAW job \"%s\" to \"%s\":", sim::Utf8(job.documentName).c_str(), sim::Utf8(printer).c_str());
        for (const auto& block : job.blocks) std::printf(" %s", sim::Visible(std::string(block.begin(), block.end())).c_str());
        std::printf("\n");
    }
}

}  // namespace

int TwoPrintersCommand(const Args& args) {
    HMODULE driver = StartPrinterWithDriverDefault(args);
    if (!driver) return 1;
    sim::Printer& second = sim::Spooler::Get().AddPrinter(kSecondPrinter);
    second.card.model = "Vestria Q796 511";  // neither a reversed position nor a third track
    second.card.trace = sim::Spooler::Get().Find(SimulatedPrinterName())->card.trace;
    if (!StoreDriverDefault(driver, kSecondPrinter)) {
        std::fprintf(stderr, "workbench: the driver gave no default record\n");
        return 1;
    }
    // The second printer keeps other delimiters, so that each dialog shows whose they are.
    Bytes& record = sim::Spooler::Get().Find(kSecondPrinter)->devmode;
    auto& secondSettings = *reinterpret_cast<qf::PrivateSettings*>(record.data() + qf::PrivateOffset(record.data()));
    std::memcpy(secondSettings.encoderSettings.startOfData, "{{", 3);
    std::memcpy(secondSettings.encoderSettings.endOfData, "}}", 3);

    const std::wstring dir = OutputDirectory();
    int status = 0;
    {
        OpenSheet first, other;
        first.name = SimulatedPrinterName();
        other.name = kSecondPrinter;
        std::printf("\nTwo device sheets open at once in this process, the second opened last:\n");
        if (!Open(driver, first) || !Open(driver, other)) {
            std::fprintf(stderr, "workbench: a sheet added no page\n");
            status = 1;
        } else {
            WorkEncoder(first, dir + L"two-printers-first.png", true);
            WorkEncoder(other, dir + L"two-printers-second.png", false);
            std::printf("\nOK on both sheets (Apply, then OK).\n");
            for (OpenSheet* sheet : {&first, &other}) {
                sheet->service.Apply();
                sheet->service.Commit();
            }
            for (OpenSheet* sheet : {&first, &other}) {
                std::printf("\n\"%s\":\n", sim::Utf8(sheet->name).c_str());
                PrintJobs(sheet->name);
                PrintStoredChange(sheet->storedBefore, sim::Spooler::Get().Find(sheet->name)->devmode);
            }
        }
        if (first.service.IsOpen()) first.service.Cancel();
        if (other.service.IsOpen()) other.service.Cancel();
        sim::SimClosePrinter(first.handle);
        sim::SimClosePrinter(other.handle);
    }
    if (status == 0) {
        std::printf("\nEach printer's document record, as an application receives it before a job:\n");
        for (const std::wstring& name : {SimulatedPrinterName(), std::wstring(kSecondPrinter)})
            PrintDocumentRecord(driver, name);
        CommitRotation(driver, SimulatedPrinterName());
        std::printf("Each printer's document record afterwards:\n");
        for (const std::wstring& name : {SimulatedPrinterName(), std::wstring(kSecondPrinter)})
            PrintDocumentRecord(driver, name);
    }
    return status;
}
