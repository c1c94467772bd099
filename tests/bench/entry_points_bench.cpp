// The calls every application makes before every print, measured as they run: the real
// module loaded into this process under Wine, three simulated printers whose records the
// module holds, and the held-record DrvDocumentPropertySheets (no sheet) and
// DrvDocumentProperties timed against their floor, a 4,068-byte copy under one lock, in
// the same run. Then the no-sheet call on 1, 2 and 8 threads at once for a fixed time,
// against one thread, every record checked to be whole and its own printer's.
//
//   entry_points_bench.exe [--quick]   (--quick: short runs, for the test command)
//
// Exit code 1 when a record handed out was not its own printer's, or a call failed.
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "driver/platform/ddk.h"
#include "driver/settings/private_settings.h"
#include "driver/settings/record_sizes.h"
#include "sim/driver_loader.h"
#include "sim/spooler.h"

namespace {

using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);
using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using Record = std::vector<uint8_t>;

constexpr int kPrinters = 3;

struct BenchPrinter {
    std::wstring name;
    HANDLE handle = nullptr;
    int16_t rotation = 0;  // what its stored record says, to tell its records apart
};

DocPropsFn g_documentProperties;
SheetsFn g_documentPropertySheets;
BenchPrinter g_printers[kPrinters];
Record g_input;  // an application's record, as it holds one

DEVMODEW* Devmode(Record& record) { return reinterpret_cast<DEVMODEW*>(record.data()); }
const qf::PrivateSettings& Private(const Record& record) {
    return *reinterpret_cast<const qf::PrivateSettings*>(record.data() + qf::kPublicSize);
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

bool Own(const Record& record, const BenchPrinter& printer) {
    const qf::PrivateSettings& settings = Private(record);
    return settings.signature == qf::kSettingsSignature && settings.rotate180 == printer.rotation &&
           Devmode(const_cast<Record&>(record))->dmSize == qf::kPublicSize;
}

// The no-sheet branch as the platform's DocumentPropertiesW calls it before a job.
bool WithoutSheet(const BenchPrinter& printer, Record& in, Record& out) {
    DOCUMENTPROPERTYHEADER header = {sizeof header,  0, printer.handle, const_cast<LPWSTR>(printer.name.c_str()),
                                     Devmode(in),    Devmode(out),      DWORD(qf::kRecordSize),
                                     DM_IN_BUFFER | DM_OUT_BUFFER};
    return g_documentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header)) == 1;
}

bool DocumentProperties(const BenchPrinter& printer, Record& in, Record& out) {
    return g_documentProperties(nullptr, printer.handle, const_cast<LPWSTR>(printer.name.c_str()), Devmode(out),
                                Devmode(in), DM_IN_BUFFER | DM_OUT_BUFFER) == 1;
}

// Nanoseconds per call of `call`, the best of five runs of `calls` calls.
template <typename Call>
double NanosecondsPerCall(int calls, Call&& call) {
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        for (int i = 0; i < calls; ++i) call(i);
        QueryPerformanceCounter(&to);
        best = std::min(best, Seconds(from, to) * 1e9 / calls);
    }
    return best;
}

std::atomic<int> g_faults{0};

// Calls of the no-sheet branch that `threads` threads make in `seconds`, each thread on
// the printers in turn.
long long CallsOnThreads(int threads, double seconds) {
    std::atomic<bool> stop{false};
    std::atomic<long long> calls{0};
    std::vector<std::thread> running;
    for (int t = 0; t < threads; ++t) {
        running.emplace_back([&, t] {
            Record in = g_input, out(qf::kRecordSize);
            long long made = 0;
            for (int i = t; !stop.load(std::memory_order_relaxed); ++i) {
                const BenchPrinter& printer = g_printers[i % kPrinters];
                if (!WithoutSheet(printer, in, out) || !Own(out, printer)) g_faults++;
                ++made;
            }
            calls += made;
        });
    }
    Sleep(static_cast<DWORD>(seconds * 1000));
    stop = true;
    for (std::thread& thread : running) thread.join();
    return calls.load();
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    std::string error;
    const HMODULE driver = sim::LoadDriver(&error);
    if (!driver) {
        std::fprintf(stderr, "cannot load the driver: %s\n", error.c_str());
        return 1;
    }
    g_documentProperties = reinterpret_cast<DocPropsFn>(reinterpret_cast<void*>(GetProcAddress(driver, "DrvDocumentProperties")));
    g_documentPropertySheets =
        reinterpret_cast<SheetsFn>(reinterpret_cast<void*>(GetProcAddress(driver, "DrvDocumentPropertySheets")));
    const auto convert = reinterpret_cast<ConvertFn>(reinterpret_cast<void*>(GetProcAddress(driver, "DrvConvertDevMode")));

    sim::Spooler& spooler = sim::Spooler::Get();
    spooler.Reset(sim::ProgramDirectory());
    g_input.assign(qf::kRecordSize, 0);
    for (int i = 0; i < kPrinters; ++i) {
        BenchPrinter& printer = g_printers[i];
        printer.name = std::wstring(L"Card Printer ") + wchar_t(L'A' + i);
        printer.rotation = static_cast<int16_t>(i + 1);
        sim::Printer& simulated = spooler.AddPrinter(printer.name);
        Record stored(qf::kRecordSize);
        LONG needed = qf::kRecordSize;
        if (!convert(const_cast<LPWSTR>(printer.name.c_str()), nullptr, Devmode(stored), &needed, CDM_DRIVER_DEFAULT)) {
            std::fprintf(stderr, "no driver default for %ls\n", printer.name.c_str());
            return 1;
        }
        reinterpret_cast<qf::PrivateSettings*>(stored.data() + qf::kPublicSize)->rotate180 = printer.rotation;
        simulated.devmode = stored;
        if (i == 0) g_input = stored;
        sim::SimOpenPrinterW(const_cast<LPWSTR>(printer.name.c_str()), &printer.handle, nullptr);
    }

    // The module holds each printer's record after its first call.
    Record input = g_input, output(qf::kRecordSize);
    for (const BenchPrinter& printer : g_printers) DocumentProperties(printer, input, output);
    spooler.served = sim::ServedCalls{};

    const int calls = quick ? 2000 : 200000;
    SRWLOCK lock = SRWLOCK_INIT;
    Record source(qf::kRecordSize, 0x5A), target(qf::kRecordSize);
    const double floor = NanosecondsPerCall(calls, [&](int i) {
        AcquireSRWLockExclusive(&lock);
        source[0] = static_cast<uint8_t>(i);
        std::memcpy(target.data(), source.data(), qf::kRecordSize);
        ReleaseSRWLockExclusive(&lock);
    });
    int faults = 0;
    const double sheets = NanosecondsPerCall(calls, [&](int i) {
        const BenchPrinter& printer = g_printers[i % kPrinters];
        if (!WithoutSheet(printer, input, output) || !Own(output, printer)) ++faults;
    });
    const double properties = NanosecondsPerCall(calls, [&](int i) {
        const BenchPrinter& printer = g_printers[i % kPrinters];
        if (!DocumentProperties(printer, input, output) || !Own(output, printer)) ++faults;
    });
    const int spoolerCalls = spooler.served.calls;

    std::printf("held-record calls, best of 5 runs of %d calls (3 printers in turn)\n", calls);
    std::printf("  %-52s %9.0f ns\n", "floor: a 4,068-byte copy under one lock", floor);
    std::printf("  %-52s %9.0f ns  %5.1fx the floor\n", "DrvDocumentPropertySheets, no sheet", sheets, sheets / floor);
    std::printf("  %-52s %9.0f ns  %5.1fx the floor\n", "DrvDocumentProperties", properties, properties / floor);
    std::printf("  spooler calls during the held-record runs: %d\n", spoolerCalls);

    const double seconds = quick ? 0.2 : 2.0;
    std::printf("no-sheet calls on several threads at once, %.1f s each (%u processors)\n", seconds,
                std::thread::hardware_concurrency());
    const long long one = CallsOnThreads(1, seconds);
    for (const int threads : {1, 2, 8}) {
        const long long made = threads == 1 ? one : CallsOnThreads(threads, seconds);
        std::printf("  %d thread%s %12lld calls  %5.2fx one thread\n", threads, threads == 1 ? " " : "s", made,
                    one ? double(made) / double(one) : 0.0);
    }
    faults += g_faults.load();
    std::printf("records not whole or not their own printer's: %d\n", faults);
    for (BenchPrinter& printer : g_printers) sim::SimClosePrinter(printer.handle);
    return faults == 0 && spoolerCalls == 0 ? 0 : 1;
}
