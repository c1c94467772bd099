// `workbench threads`: the driver called on many threads at once for three printers of
// this driver, as a print server's spooler calls it. Eight threads each ask, again and
// again, for the document record (DrvDocumentProperties, with and without an
// application's record), the record of the no-sheet DrvDocumentPropertySheets, the driver
// default (DrvConvertDevMode), a capability and DevQueryPrintEx, while this thread opens
// and commits document sheets of the three printers. Prints, for each printer, what its
// calls received and whether every record was its own and whole; then how many spooler
// calls the held-record path made (none).
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "driver/platform/ddk.h"
#include "driver/settings/private_settings.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"
#include "driver/state/document_items.h"
#include "sim/property_sheet.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"
#include "workbench/commands.h"
#include "workbench/sheet_support.h"
#include "workbench/simulated_printer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using CapsFn = DWORD(WINAPI*)(HANDLE, PWSTR, DWORD, PVOID, PDEVMODEW);
using QueryFn = BOOL(WINAPI*)(PDEVQUERYPRINT_INFO);
using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);

constexpr int kThreads = 8;
constexpr int kRounds = 30;

template <typename Fn>
Fn DriverExport(HMODULE driver, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(driver, name)));
}

qf::PrivateSettings& PrivateOf(Bytes& record) {
    return *reinterpret_cast<qf::PrivateSettings*>(record.data() + qf::PrivateOffset(record.data()));
}

// One printer of the run: its stored record says whose it is by its first head level.
struct RunPrinter {
    std::wstring name;
    uint8_t marker = 0;
    std::atomic<int> records{0};
    std::atomic<int> own{0};
    std::atomic<int> failedCalls{0};
    int commits = 0;
};

}  // namespace

int ThreadsCommand(const Args& args) {
    HMODULE driver = StartPrinterWithDriverDefault(args);
    if (!driver) return 1;
    sim::Spooler& spooler = sim::Spooler::Get();
    RunPrinter printers[3];
    printers[0].name = SimulatedPrinterName();
    printers[1].name = L"Varlo Q862k (simulated, second)";
    printers[2].name = L"Varlo Q862k (simulated, third)";
    const bool trace = spooler.Find(printers[0].name)->card.trace;
    for (int i = 0; i < 3; ++i) {
        RunPrinter& p = printers[i];
        if (i > 0) {
            spooler.AddPrinter(p.name).card.trace = trace;
            if (!StoreDriverDefault(driver, p.name)) {
                std::fprintf(stderr, "workbench: the driver gave no default record\n");
                return 1;
            }
        }
        p.marker = static_cast<uint8_t>(i + 1);
        PrivateOf(spooler.Find(p.name)->devmode).headSettings[0] = p.marker;
    }

    const auto documentProperties = DriverExport<DocPropsFn>(driver, "DrvDocumentProperties");
    const auto convert = DriverExport<ConvertFn>(driver, "DrvConvertDevMode");
    const auto capabilities = DriverExport<CapsFn>(driver, "DrvDeviceCapabilities");
    const auto devQueryPrint = DriverExport<QueryFn>(driver, "DevQueryPrintEx");
    const auto documentSheets = DriverExport<SheetsFn>(driver, "DrvDocumentPropertySheets");

    std::printf("\n%d threads, %d rounds each, on three printers; this thread opens and commits document sheets\n",
                kThreads, kRounds);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            while (!go) Sleep(0);
            for (int round = 0; round < kRounds; ++round) {
                RunPrinter& p = printers[(t + round) % 3];
                LPWSTR name = const_cast<LPWSTR>(p.name.c_str());
                HANDLE handle = nullptr;
                if (!sim::SimOpenPrinterW(name, &handle, nullptr)) {
                    p.failedCalls++;
                    continue;
                }
                const auto count = [&p](Bytes& record) {
                    p.records++;
                    if (qf::IsUsableRecord(record.data(), record.size()) && PrivateOf(record).headSettings[0] == p.marker)
                        p.own++;
                };
                Bytes in(qf::kRecordSize, 0), out(qf::kRecordSize, 0);
                LONG needed = qf::kRecordSize;
                if (!convert(name, nullptr, reinterpret_cast<DEVMODEW*>(in.data()), &needed, CDM_DRIVER_DEFAULT))
                    p.failedCalls++;
                const DWORD mode = round % 2 ? DM_OUT_BUFFER : DM_OUT_BUFFER | DM_IN_BUFFER;
                if (documentProperties(nullptr, handle, name, reinterpret_cast<DEVMODEW*>(out.data()),
                                       reinterpret_cast<DEVMODEW*>(in.data()), mode) != 1)
                    p.failedCalls++;
                count(out);
                Bytes sheetless(qf::kRecordSize, 0);
                DOCUMENTPROPERTYHEADER header = {sizeof header, 0, handle, name, nullptr,
                                                 reinterpret_cast<DEVMODEW*>(sheetless.data()), DWORD(qf::kRecordSize),
                                                 DM_COPY};
                if (documentSheets(nullptr, reinterpret_cast<LPARAM>(&header)) != 1) p.failedCalls++;
                count(sheetless);
                if (capabilities(handle, name, DC_COPIES, nullptr, nullptr) != 999) p.failedCalls++;
                DEVQUERYPRINT_INFO query = {sizeof query, 1, handle, reinterpret_cast<DEVMODEW*>(out.data()), nullptr, 0,
                                            0};
                if (!devQueryPrint(&query)) p.failedCalls++;
                sim::SimClosePrinter(handle);
            }
        });
    }
    go = true;
    for (int round = 0; round < 6; ++round) {
        RunPrinter& p = printers[round % 3];
        HANDLE handle = nullptr;
        sim::SimOpenPrinterW(const_cast<LPWSTR>(p.name.c_str()), &handle, nullptr);
        Bytes in = spooler.Find(p.name)->devmode, out(qf::kRecordSize, 0);
        if (in.size() < size_t(qf::kRecordSize)) in.resize(qf::kRecordSize, 0);
        DOCUMENTPROPERTYHEADER header = {sizeof header, 0, handle, const_cast<LPWSTR>(p.name.c_str()),
                                         reinterpret_cast<DEVMODEW*>(in.data()), reinterpret_cast<DEVMODEW*>(out.data()),
                                         DWORD(qf::kRecordSize), DM_IN_BUFFER | DM_OUT_BUFFER};
        sim::PropertySheetService sheet;
        sheet.Open(reinterpret_cast<QfPropSheetUiProc>(reinterpret_cast<void*>(documentSheets)),
                   reinterpret_cast<LPARAM>(&header));
        if (sheet.Page()) {
            sheet.Select(qf::kItemRotation, round % 2);
            sheet.Apply();
            if (sheet.Commit() == 1) p.commits++;
        }
        if (sheet.IsOpen()) sheet.Cancel();
        sim::SimClosePrinter(handle);
    }
    for (std::thread& thread : threads) thread.join();

    int status = 0;
    std::printf("\nWhat each printer's calls received:\n");
    for (RunPrinter& p : printers) {
        std::printf("  \"%s\": %d records, %d of them its own and whole; %d failed calls; %d sheets committed\n",
                    sim::Utf8(p.name).c_str(), p.records.load(), p.own.load(), p.failedCalls.load(), p.commits);
        if (p.own != p.records || p.failedCalls != 0) status = 1;
    }
    std::printf("%s\n", status == 0 ? "Every record went to its own printer." : "Some record went astray.");

    // The held-record path: every printer's record is held now, so an application's calls
    // before each print are answered from memory, without asking the spooler.
    constexpr int kHeldCalls = 1000;
    spooler.served = sim::ServedCalls{};
    int held = 0, spoolerCalls = 0;
    for (RunPrinter& p : printers) {
        HANDLE handle = nullptr;
        if (!sim::SimOpenPrinterW(const_cast<LPWSTR>(p.name.c_str()), &handle, nullptr)) continue;
        const int before = spooler.served.calls;
        Bytes input = spooler.Find(p.name)->devmode, output(qf::kRecordSize);
        for (int i = 0; i < kHeldCalls; ++i) {
            documentProperties(nullptr, handle, const_cast<LPWSTR>(p.name.c_str()),
                               reinterpret_cast<DEVMODEW*>(output.data()), reinterpret_cast<DEVMODEW*>(input.data()),
                               DM_IN_BUFFER | DM_OUT_BUFFER);
            held += PrivateOf(output).headSettings[0] == p.marker ? 1 : 0;
        }
        spoolerCalls += spooler.served.calls - before;
        sim::SimClosePrinter(handle);
    }
    std::printf("\nHeld-record path: %d calls of DrvDocumentProperties with an application's record, %d of them "
                "their own printer's; spooler calls they made: %d, registry opens: %d\n",
                3 * kHeldCalls, held, spoolerCalls, spooler.served.registryOpens);
    if (held != 3 * kHeldCalls || spoolerCalls != 0) status = 1;
    return status;
}
