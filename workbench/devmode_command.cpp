// `workbench devmode` and `workbench decode`: the settings records the driver hands
// out, and records or defaults blocks from files, decoded field by field.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver/platform/ddk.h"
#include "driver/settings/record_fields.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"
#include "sim/driver_loader.h"
#include "sim/files.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"
#include "workbench/commands.h"
#include "workbench/sheet_support.h"
#include "workbench/simulated_printer.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PrintPart(const char* title, const uint8_t* bytes, size_t size, bool privatePart) {
    std::printf("  %s (%zu bytes)\n", title, size);
    for (const std::string& line : qf::DescribeFields(bytes, size, privatePart, DriverRibbonName))
        std::printf("    %s\n", line.c_str());
}

void PrintRecord(const char* title, const Bytes& record) {
    std::printf("\n%s\n", title);
    if (record.size() == size_t(qf::kRecordSize)) {
        // Public part and private block, one list of field lines (printed whole, or in the
        // demo as what changed since the record before).
        std::vector<std::string> lines = qf::DescribeFields(record.data(), qf::kPublicSize, false, DriverRibbonName);
        for (const std::string& line :
             qf::DescribeFields(record.data() + qf::kPublicSize, qf::kPrivateSize, true, DriverRibbonName))
            lines.push_back(line);
        std::printf("  public part (%d bytes) and private block (%d bytes)\n", int(qf::kPublicSize), int(qf::kPrivateSize));
        PrintRecordLines(lines);
    } else {
        PrintPart("defaults block", record.data(), record.size(), true);
    }
}

// Whether the driver would use the bytes: a record through the record gate, a defaults
// block by its signature.
void PrintVerdict(const Bytes& bytes) {
    if (bytes.size() == size_t(qf::kPrivateSize)) {
        std::printf("\nThe driver %s this defaults block%s.\n",
                    qf::IsUsableDefaultsBlock(bytes.data()) ? "uses" : "does not use",
                    qf::IsUsableDefaultsBlock(bytes.data()) ? "" : ": it lacks the settings signature");
        return;
    }
    const char* refusal = qf::RecordRefusal(bytes.data(), bytes.size());
    if (refusal)
        std::printf("\nThe driver does not use this record: %s.\n", refusal);
    else
        std::printf("\nThe driver uses this record.\n");
}

}  // namespace

int DevmodeCommand(const Args& args) {
    std::string error;
    HMODULE driver = StartSimulatedPrinter(args, &error);
    if (!driver) {
        std::fprintf(stderr, "workbench: %s\n", error.c_str());
        return 1;
    }
    auto convert = reinterpret_cast<BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD)>(
        reinterpret_cast<void*>(GetProcAddress(driver, "DrvConvertDevMode")));
    auto docProps = reinterpret_cast<LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD)>(
        reinterpret_cast<void*>(GetProcAddress(driver, "DrvDocumentProperties")));

    std::wstring name = SimulatedPrinterName();
    Bytes defaults(qf::kRecordSize, 0);
    LONG needed = qf::kRecordSize;
    if (!convert(&name[0], nullptr, reinterpret_cast<DEVMODEW*>(defaults.data()), &needed, CDM_DRIVER_DEFAULT)) {
        std::fprintf(stderr, "workbench: DrvConvertDevMode failed, error %lu\n", GetLastError());
        return 1;
    }
    PrintRecord("Driver default (DrvConvertDevMode, CDM_DRIVER_DEFAULT):", defaults);

    // The spooler keeps the driver default as the new printer's default record, or the
    // bytes of a file given with --stored as they are (a damaged or foreign record).
    sim::Printer& simulated = *sim::Spooler::Get().Find(name);
    simulated.devmode = defaults;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] != L"--stored") continue;
        if (!sim::ReadWholeFile(args[i + 1], &simulated.devmode)) {
            std::fprintf(stderr, "workbench: cannot read %s\n", sim::Utf8(args[i + 1]).c_str());
            return 1;
        }
        simulated.devmodeAsStored = true;
        const char* refusal = qf::RecordRefusal(simulated.devmode.data(), simulated.devmode.size());
        std::printf("\nThe printer's stored record is %s (%zu bytes): %s\n", sim::Utf8(args[i + 1]).c_str(),
                    simulated.devmode.size(), refusal ? refusal : "a record of this driver");
    }
    HANDLE printer = nullptr;
    sim::SimOpenPrinterW(&name[0], &printer, nullptr);
    const LONG size = docProps(nullptr, printer, &name[0], nullptr, nullptr, 0);
    Bytes document(size > 0 ? size : qf::kRecordSize, 0);
    const LONG result = docProps(nullptr, printer, &name[0], reinterpret_cast<DEVMODEW*>(document.data()), nullptr,
                                 DM_OUT_BUFFER);
    sim::SimClosePrinter(printer);
    std::printf("\nDrvDocumentProperties: fMode 0 answers %ld; DM_OUT_BUFFER answers %ld\n", size, result);
    PrintRecord("Document record (DrvDocumentProperties, DM_OUT_BUFFER):", document);
    return 0;
}

int DecodeCommand(const Args& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: workbench decode FILE\n");
        return 2;
    }
    Bytes bytes;
    if (!sim::ReadWholeFile(args[0], &bytes)) {
        std::fprintf(stderr, "workbench: cannot read %s\n", sim::Utf8(args[0]).c_str());
        return 1;
    }
    if (bytes.size() != size_t(qf::kRecordSize) && bytes.size() != size_t(qf::kPrivateSize)) {
        std::fprintf(stderr,
                     "workbench: %s is %zu bytes; a settings record is %d bytes and a defaults block %d bytes\n",
                     sim::Utf8(args[0]).c_str(), bytes.size(), qf::kRecordSize, qf::kPrivateSize);
        return 1;
    }
    PrintRecord(bytes.size() == size_t(qf::kRecordSize) ? "Settings record:" : "Defaults block:", bytes);
    PrintVerdict(bytes);
    return 0;
}
