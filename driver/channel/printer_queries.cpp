// Printer queries, kept replies and direct printing.
#include "driver/channel/printer_queries.h"

#include <winspool.h>

#include <vector>

#include "driver/channel/reply.h"
#include "driver/entry/owners.h"
#include "driver/entry/printer_info.h"

namespace {

constexpr wchar_t kPrintersKey[] = L"System\\CurrentControlSet\\control\\Print\\Printers";
constexpr wchar_t kDriverDataKey[] = L"PrinterDriverData";

HANDLE OpenWithAllAccess(const wchar_t* name) {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name), &printer, &defaults)) return nullptr;
    return printer;
}

// The printer-data call with the command's bytes as value name.
DWORD AskPort(HANDLE printer, const std::u16string& name, char* reply, DWORD size, DWORD* needed) {
    DWORD type = REG_BINARY;
    *needed = 0;
    return GetPrinterDataW(printer, const_cast<LPWSTR>(reinterpret_cast<const wchar_t*>(name.c_str())), &type,
                           reinterpret_cast<LPBYTE>(reply), size, needed);
}

}  // namespace

bool QueryNamedPrinter(const wchar_t* printerName, HANDLE fallback, std::string_view command, char* reply,
                       DWORD size, DWORD* needed) {
    *needed = 0;
    const qf::PrinterHandle own(printerName && printerName[0] ? OpenWithAllAccess(printerName) : nullptr);
    HANDLE printer = own ? own.Get() : fallback;
    if (reply && size > 0) reply[0] = '\0';
    const std::u16string name = qf::QueryValueName(command);
    const bool ok = AskPort(printer, name, reply, size, needed) == ERROR_SUCCESS;
    if (ok) DeleteStoredReply(printer, reinterpret_cast<const wchar_t*>(name.c_str()));
    return ok;
}

bool QuerySheetPrinter(HANDLE printer, std::string_view command, char* reply, DWORD size, DWORD* needed) {
    const std::u16string name = qf::QueryValueName(command);
    const bool ok = AskPort(printer, name, reply, size, needed) == ERROR_SUCCESS;
    DeleteStoredReply(printer, reinterpret_cast<const wchar_t*>(name.c_str()));
    return ok;
}

bool AskSheetPrinter(HANDLE printer, std::string_view command, DWORD replySize, std::string* text, bool* called) {
    if (called) *called = false;
    std::vector<char> reply(replySize, '\0');
    DWORD needed = 0;
    const bool ok = QuerySheetPrinter(printer, command, reply.data(), replySize, &needed);
    if (called) *called = ok;
    const qf::Reply checked = qf::CheckReply(ok, reply.data(), replySize, needed);
    if (!checked.complete) return false;
    text->assign(checked.text.data(), checked.text.size());
    return true;
}

void DeleteStoredReply(HANDLE printer, const wchar_t* valueName) {
    const qf::HeapRecord<PRINTER_INFO_2W> owned(qf::ReadPrinterInfo(printer));
    PRINTER_INFO_2W* info = owned.Get();
    if (!info || !info->pPrinterName) return;
    HKEY printers = nullptr, named = nullptr, data = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPrintersKey, 0, KEY_READ, &printers) == ERROR_SUCCESS) {
        const LONG openedPrinter = RegOpenKeyExW(printers, info->pPrinterName, 0, KEY_READ, &named);
        RegCloseKey(printers);
        if (openedPrinter == ERROR_SUCCESS) {
            const LONG openedData = RegOpenKeyExW(named, kDriverDataKey, 0, KEY_SET_VALUE, &data);
            RegCloseKey(named);
            if (openedData == ERROR_SUCCESS) {
                RegDeleteValueW(data, valueName);
                RegCloseKey(data);
            }
        }
    }
}

void DeleteStoredQueryReply(HANDLE printer, std::string_view command) {
    const std::u16string name = qf::QueryValueName(command);
    DeleteStoredReply(printer, reinterpret_cast<const wchar_t*>(name.c_str()));
}

void DeleteStoredReplyText(HANDLE printer, std::string_view command) {
    std::wstring name;
    for (const char c : qf::UpToFirstZero(command)) name += static_cast<wchar_t>(static_cast<unsigned char>(c));
    DeleteStoredReply(printer, name.c_str());
}

namespace {

// Stores the printer's attributes as `record` gives them and nothing else: the record is
// handed on without its default settings or security descriptor, which the spooler then
// keeps as it holds them, so a store never writes back settings read earlier.
BOOL StoreAttributes(HANDLE printer, const PRINTER_INFO_2W* record) {
    PRINTER_INFO_2W attributesOnly = *record;
    attributesOnly.pDevMode = nullptr;
    attributesOnly.pSecurityDescriptor = nullptr;
    return SetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(&attributesOnly), 0);
}

}  // namespace

DWORD EnterDirectMode(HANDLE printer, PRINTER_INFO_2W* record) {
    if (!record) return 0;
    const DWORD remembered = record->Attributes;
    if (!(remembered & PRINTER_ATTRIBUTE_DIRECT)) {
        record->Attributes = remembered | PRINTER_ATTRIBUTE_DIRECT;
        OutputDebugStringA("$$$$$$$$$$$$$ SetPrinter called 1\n");
        if (!StoreAttributes(printer, record)) {
            OutputDebugStringA("$$$$$$$$$$$$$ SetPrinter Failed\n");
            // The printer kept its attributes: the record says so, and nothing is put back.
            record->Attributes = remembered;
        }
    }
    return remembered;
}

void LeaveDirectMode(HANDLE printer, PRINTER_INFO_2W* record, DWORD remembered) {
    if (!record || record->Attributes == remembered) return;
    record->Attributes = remembered;
    OutputDebugStringA("$$$$$$$$$$$$$ SetPrinter called 2\n");
    // The printer must not stay in direct printing: a refused store is tried once more.
    if (!StoreAttributes(printer, record)) {
        OutputDebugStringA("################## SetPrinter Failed\n");
        StoreAttributes(printer, record);
    }
}

bool OpenDirectExchange(PRINTER_INFO_2W* record, DirectExchange* exchange) {
    *exchange = DirectExchange{nullptr, record, 0};
    if (!record || !record->pPrinterName) return false;
    exchange->printer = OpenWithAllAccess(record->pPrinterName);
    if (!exchange->printer) return false;
    exchange->remembered = EnterDirectMode(exchange->printer, record);
    return true;
}

void CloseDirectExchange(const DirectExchange& exchange) {
    if (!exchange.printer) return;
    LeaveDirectMode(exchange.printer, exchange.record, exchange.remembered);
    ClosePrinter(exchange.printer);
}

bool AskInExchange(const DirectExchange& exchange, std::string_view command, char* reply, DWORD size,
                   DWORD* needed) {
    if (reply && size > 0) reply[0] = '\0';
    const std::u16string name = qf::QueryValueName(command);
    return AskPort(exchange.printer, name, reply, size, needed) == ERROR_SUCCESS;
}

void WriteOutsideJob(const DirectExchange& exchange, std::string_view bytes) {
    DWORD written = 0;
    WritePrinter(exchange.printer, const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size()), &written);
}
