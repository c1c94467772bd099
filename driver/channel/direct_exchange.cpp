// Direct printing for the Tools dialog's exchanges.
#include "driver/channel/direct_exchange.h"

#include <winspool.h>

#include "driver/channel/printer_queries.h"
#include "driver/channel/reply.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/ui/dialog_conventions.h"

namespace {

enum class DirectBit { kSet, kClear };
enum class Switch { kAlreadySo, kStored, kFailed };

// Reads the printer's record now and, when the direct-printing bit is not as `bit` says,
// stores the record with that bit changed (after the debugger line `trace`), handing on
// neither the default settings nor the security descriptor: the spooler keeps both as
// they are.
Switch StoreDirectBit(HANDLE printer, DirectBit bit, const char* trace) {
    const qf::HeapRecord<PRINTER_INFO_2W> record(qf::ReadPrinterInfo(printer));
    PRINTER_INFO_2W* info = record.Get();
    if (!info) return Switch::kFailed;
    const DWORD wanted = bit == DirectBit::kSet ? info->Attributes | PRINTER_ATTRIBUTE_DIRECT
                                                : info->Attributes & ~DWORD(PRINTER_ATTRIBUTE_DIRECT);
    if (wanted == info->Attributes) return Switch::kAlreadySo;
    info->Attributes = wanted;
    info->pDevMode = nullptr;
    info->pSecurityDescriptor = nullptr;
    OutputDebugStringA(trace);
    return SetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(info), 0) ? Switch::kStored : Switch::kFailed;
}

// Whether the printer prints directly, as its record says now; a record that cannot be
// read says it does not.
bool PrintsDirectly(HANDLE printer) {
    const qf::HeapRecord<PRINTER_INFO_2W> record(qf::ReadPrinterInfo(printer));
    return record.Get() && (record.Get()->Attributes & PRINTER_ATTRIBUTE_DIRECT) != 0;
}

}  // namespace

bool EnterDirectMode(HANDLE printer) {
    const Switch result = StoreDirectBit(printer, DirectBit::kSet, "$$$$$$$$$$$$$ SetPrinter called 1\n");
    if (result == Switch::kFailed) OutputDebugStringA("$$$$$$$$$$$$$ SetPrinter Failed\n");
    return result == Switch::kStored;
}

void LeaveDirectMode(HANDLE printer, bool switched) {
    if (!switched) return;
    const char* const trace = "$$$$$$$$$$$$$ SetPrinter called 2\n";
    if (StoreDirectBit(printer, DirectBit::kClear, trace) != Switch::kFailed) return;
    OutputDebugStringA("################## SetPrinter Failed\n");
    // Left in direct printing, the printer would take every document past its queue: the
    // user is told how to switch it back.
    if (StoreDirectBit(printer, DirectBit::kClear, trace) == Switch::kFailed)
        ShowMessage(IDS_CAPTION, IDS_LEFT_DIRECT, MB_OK | MB_ICONWARNING);
}

bool OpenDirectExchange(const wchar_t* printerName, DirectExchange* exchange) {
    *exchange = DirectExchange{nullptr, nullptr, false, false};
    if (!printerName || !printerName[0]) return false;
    exchange->printer = OpenPrinterForQuestions(printerName);
    if (!exchange->printer) return false;
    PRINTER_DEFAULTSW administer = {nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
    if (OpenPrinterW(const_cast<LPWSTR>(printerName), &exchange->switcher, &administer))
        exchange->switched = EnterDirectMode(exchange->switcher);
    else
        exchange->switcher = nullptr;
    exchange->direct = exchange->switched || PrintsDirectly(exchange->printer);
    return true;
}

void CloseDirectExchange(const DirectExchange& exchange) {
    if (exchange.switcher) {
        LeaveDirectMode(exchange.switcher, exchange.switched);
        ClosePrinter(exchange.switcher);
    }
    if (exchange.printer) ClosePrinter(exchange.printer);
}

bool AskInExchange(const DirectExchange& exchange, std::string_view command, char* reply, DWORD size,
                   DWORD* needed) {
    if (reply && size > 0) reply[0] = '\0';
    return AskPrinterPort(exchange.printer, qf::QueryValueName(command), reply, size, needed) == ERROR_SUCCESS;
}

void WriteOutsideJob(const DirectExchange& exchange, std::string_view bytes) {
    DWORD written = 0;
    WritePrinter(exchange.printer, const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size()), &written);
}
