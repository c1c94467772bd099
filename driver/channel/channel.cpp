// Printer queries, kept replies, direct printing and RAW jobs.
#include "driver/channel/channel.h"

#include <winspool.h>

#include <vector>

#include "driver/channel/reply.h"
#include "driver/entry/module_state.h"
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

bool QueryPrinter(std::string_view command, char* reply, DWORD size, DWORD* needed) {
    *needed = 0;
    HANDLE own = g_printerName[0] ? OpenWithAllAccess(g_printerName) : nullptr;
    HANDLE printer = own ? own : g_hPrinter;
    if (reply && size > 0) reply[0] = '\0';
    const std::u16string name = qf::QueryValueName(command);
    const bool ok = AskPort(printer, name, reply, size, needed) == ERROR_SUCCESS;
    if (ok) DeleteStoredReply(printer, reinterpret_cast<const wchar_t*>(name.c_str()));
    if (own) ClosePrinter(own);
    return ok;
}

bool QuerySheetPrinter(std::string_view command, char* reply, DWORD size, DWORD* needed) {
    const std::u16string name = qf::QueryValueName(command);
    const bool ok = AskPort(g_hPrinter, name, reply, size, needed) == ERROR_SUCCESS;
    DeleteStoredReply(g_hPrinter, reinterpret_cast<const wchar_t*>(name.c_str()));
    return ok;
}

bool AskSheetPrinter(std::string_view command, DWORD replySize, std::string* text) {
    std::vector<char> reply(replySize, '\0');
    DWORD needed = 0;
    const bool ok = QuerySheetPrinter(command, reply.data(), replySize, &needed);
    const qf::Reply checked = qf::CheckReply(ok, reply.data(), replySize, needed);
    if (!checked.complete) return false;
    text->assign(checked.text.data(), checked.text.size());
    return true;
}

void DeleteStoredReply(HANDLE printer, const wchar_t* valueName) {
    PRINTER_INFO_2W* info = qf::ReadPrinterInfo(printer);
    if (!info || !info->pPrinterName) {
        qf::FreePrinterRecord(info);
        return;
    }
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
    qf::FreePrinterRecord(info);
}

DWORD EnterDirectMode(HANDLE printer) {
    if (!g_devicePrinterInfo) return 0;
    const DWORD remembered = g_devicePrinterInfo->Attributes;
    if (!(remembered & PRINTER_ATTRIBUTE_DIRECT)) {
        g_devicePrinterInfo->Attributes = remembered | PRINTER_ATTRIBUTE_DIRECT;
        OutputDebugStringA("$$$$$$$$$$$$$ SetPrinter called 1\n");
        if (!SetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(g_devicePrinterInfo), 0))
            OutputDebugStringA("$$$$$$$$$$$$$ SetPrinter Failed\n");
    }
    return remembered;
}

void LeaveDirectMode(HANDLE printer, DWORD remembered) {
    if (!g_devicePrinterInfo || g_devicePrinterInfo->Attributes == remembered) return;
    g_devicePrinterInfo->Attributes = remembered;
    OutputDebugStringA("$$$$$$$$$$$$$ SetPrinter called 2\n");
    if (!SetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(g_devicePrinterInfo), 0))
        OutputDebugStringA("################## SetPrinter Failed\n");
}

bool SendRawJob(const wchar_t* printerName, const wchar_t* documentName, const std::vector<std::string>& blocks,
                StartFailure onStartFailure) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, nullptr)) return false;
    DOC_INFO_1W doc = {const_cast<LPWSTR>(documentName), nullptr, const_cast<LPWSTR>(L"RAW")};
    if (StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&doc)) == 0 && onStartFailure == StartFailure::kAbandon) {
        ClosePrinter(printer);
        return false;
    }
    StartPagePrinter(printer);
    for (const std::string& block : blocks) {
        DWORD written = 0;
        WritePrinter(printer, const_cast<char*>(block.data()), static_cast<DWORD>(block.size()), &written);
    }
    EndPagePrinter(printer);
    EndDocPrinter(printer);
    ClosePrinter(printer);
    return true;
}
