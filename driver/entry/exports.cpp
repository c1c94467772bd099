// The small exports of the driver interface: print queries, advanced properties,
// upgrade, device capabilities and printer events.
#include "driver/platform/ddk.h"

#include <cstddef>
#include <cstring>

#include "driver/platform/guard.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/settings/capabilities.h"
#include "driver/settings/module_state.h"
#include "driver/settings/public_devmode.h"
#include "driver/settings/record_sizes.h"
#include "driver/settings/stored_records.h"

// Every job is printable: no error string, no resource id.
extern "C" BOOL WINAPI DevQueryPrint(HANDLE, LPDEVMODEW, DWORD* pResID) {
    return qf::CallGuarded<BOOL>(TRUE, [pResID]() -> BOOL {
        if (pResID) *pResID = 0;
        return TRUE;
    });
}

extern "C" BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO) { return TRUE; }

// The private block has no advanced page; the answer is its size.
extern "C" LONG WINAPI DrvAdvancedDocumentProperties(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW) {
    return qf::kPrivateSize;
}

// Also exported as PrinterProperties: nothing to upgrade or show.
extern "C" BOOL WINAPI DrvUpgradePrinter(DWORD, LPBYTE) { return TRUE; }

namespace {

void WriteCapability(const qf::CapabilityAnswer& answer, uint32_t capability, void* output) {
    switch (answer.output) {
    case qf::CapabilityOutput::kNone:
        break;
    case qf::CapabilityOutput::kWord: {
        const WORD value = static_cast<WORD>(answer.first);
        std::memcpy(output, &value, sizeof value);
        break;
    }
    case qf::CapabilityOutput::kPoint: {
        const LONG point[2] = {answer.first, answer.second};
        std::memcpy(output, point, sizeof point);
        break;
    }
    case qf::CapabilityOutput::kString:
    case qf::CapabilityOutput::kFormName: {
        WCHAR text[qf::kLoadedNameChars] = {};
        if (answer.output == qf::CapabilityOutput::kFormName) {
            static_assert(sizeof qf::kCardFormName <= sizeof text, "the form name fits the loaded text");
            std::memcpy(text, qf::kCardFormName, sizeof qf::kCardFormName);
        } else {
            LoadStringW(g_hInstance, static_cast<UINT>(answer.first), text, qf::kLoadedNameChars);
        }
        const int slot = qf::CapabilityStringChars(capability);
        text[slot - 1] = L'\0';
        std::memcpy(output, text, slot * sizeof(WCHAR));
        break;
    }
    }
}

}  // namespace

// DrvDeviceCapabilities
//   hPrinter [I] ignored (applications' calls through the spooler pass NULL)
//   capability [I] DC_ index in its low 16 bits
//   pOutput [O] optional; written as the capability table says
//   pDevMode [I] optional; its orientation selects the paper extents
// Returns the table's value, -1 for an index the driver does not know.
extern "C" DWORD WINAPI DrvDeviceCapabilities(HANDLE, PWSTR, DWORD capability, PVOID pOutput,
                                              PDEVMODEW pDevMode) {
    return qf::CallGuarded<DWORD>(static_cast<DWORD>(-1), [&]() -> DWORD {
        // The orientation is read only from a DEVMODE whose size covers it.
        const bool hasOrientation =
            pDevMode && pDevMode->dmSize >= offsetof(DEVMODEW, dmOrientation) + sizeof pDevMode->dmOrientation;
        const qf::CapabilityAnswer answer = qf::AnswerCapability(
            capability, pDevMode != nullptr, hasOrientation ? pDevMode->dmOrientation : 0);
        if (pOutput) WriteCapability(answer, capability, pOutput);
        return static_cast<DWORD>(answer.result);
    });
}

namespace {

// A printer is initialised only when its driver data file is a defaults block the driver
// can use, judged by the one reader of that file.
BOOL InitializePrinter(LPWSTR printerName) {
    qf::PrinterHandle printer;
    if (!printer.Open(printerName, PRINTER_ACCESS_USE)) return TRUE;
    const qf::HeapRecord<DRIVER_INFO_2W> driver(qf::ReadDriverInfo(printer.Get()));
    uint8_t block[qf::kPrivateSize];
    return qf::ReadDefaultsFile(driver.Get(), block) ? TRUE : FALSE;
}

}  // namespace

// DrvPrinterEvent: a printer deleted or set up anew is forgotten with every spelling of
// its name, so that a printer added again under the same name does not inherit the old
// one's settings; PRINTER_EVENT_INITIALIZE also checks the data file (InitializePrinter).
extern "C" BOOL WINAPI DrvPrinterEvent(LPWSTR pPrinterName, INT DriverEvent, DWORD, LPARAM) {
    return qf::CallGuarded<BOOL>(FALSE, [&]() -> BOOL {
        if (DriverEvent == PRINTER_EVENT_DELETE || DriverEvent == PRINTER_EVENT_INITIALIZE)
            g_printerRecords.Forget(PrinterKey(pPrinterName));
        if (DriverEvent != PRINTER_EVENT_INITIALIZE) return TRUE;
        return InitializePrinter(pPrinterName);
    });
}
