// Printer queries, kept replies and direct printing.
#include "driver/channel/printer_queries.h"

#include <winspool.h>

#include <vector>

#include "driver/channel/reply.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"

namespace {

constexpr wchar_t kPrintersKey[] = L"System\\CurrentControlSet\\control\\Print\\Printers";
constexpr wchar_t kDriverDataKey[] = L"PrinterDriverData";

}  // namespace

HANDLE OpenPrinterForQuestions(const wchar_t* name) {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name), &printer, &defaults)) return nullptr;
    return printer;
}

DWORD AskPrinterPort(HANDLE printer, const std::u16string& name, char* reply, DWORD size, DWORD* needed) {
    DWORD type = REG_BINARY;
    *needed = 0;
    return GetPrinterDataW(printer, const_cast<LPWSTR>(reinterpret_cast<const wchar_t*>(name.c_str())), &type,
                           reinterpret_cast<LPBYTE>(reply), size, needed);
}

bool QueryNamedPrinter(const wchar_t* printerName, HANDLE fallback, std::string_view command, char* reply,
                       DWORD size, DWORD* needed) {
    *needed = 0;
    const qf::PrinterHandle own(printerName && printerName[0] ? OpenPrinterForQuestions(printerName) : nullptr);
    HANDLE printer = own ? own.Get() : fallback;
    if (reply && size > 0) reply[0] = '\0';
    const std::u16string name = qf::QueryValueName(command);
    const bool ok = AskPrinterPort(printer, name, reply, size, needed) == ERROR_SUCCESS;
    // A printer opened by its name is known by it: no read is needed to find its key.
    if (ok) DeleteStoredReply(printer, reinterpret_cast<const wchar_t*>(name.c_str()), own ? printerName : nullptr);
    return ok;
}

bool QuerySheetPrinter(HANDLE printer, std::string_view command, char* reply, DWORD size, DWORD* needed) {
    const std::u16string name = qf::QueryValueName(command);
    const bool ok = AskPrinterPort(printer, name, reply, size, needed) == ERROR_SUCCESS;
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

void DeleteStoredReply(HANDLE printer, const wchar_t* valueName, const wchar_t* printerName) {
    const qf::HeapRecord<PRINTER_INFO_2W> owned(printerName ? nullptr : qf::ReadPrinterInfo(printer));
    if (!printerName) printerName = owned ? owned->pPrinterName : nullptr;
    if (!printerName) return;
    HKEY printers = nullptr, named = nullptr, data = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPrintersKey, 0, KEY_READ, &printers) == ERROR_SUCCESS) {
        const LONG openedPrinter = RegOpenKeyExW(printers, printerName, 0, KEY_READ, &named);
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
