// Size query, allocation and real call for the spooler's printer and driver records.
#include "driver/platform/printer_info.h"

#include <cstdlib>

#include "driver/platform/owners.h"

namespace qf {
namespace {

// Calls `query` twice: first for the size, then into a block of that size.
template <typename Query>
BYTE* ReadRecord(Query query, DWORD* size = nullptr) {
    if (size) *size = 0;
    DWORD needed = 0;
    if (query(nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
        return nullptr;
    BYTE* block = static_cast<BYTE*>(std::calloc(1, needed));
    if (!block) return nullptr;
    DWORD used = 0;
    if (!query(block, needed, &used)) {
        std::free(block);
        return nullptr;
    }
    if (size) *size = needed;
    return block;
}

}  // namespace

PRINTER_INFO_2W* ReadPrinterInfo(HANDLE printer, DWORD* size) {
    return reinterpret_cast<PRINTER_INFO_2W*>(ReadRecord(
        [printer](BYTE* b, DWORD n, DWORD* used) { return GetPrinterW(printer, 2, b, n, used) != FALSE; }, size));
}

PRINTER_INFO_8W* ReadDefaultRecordInfo(HANDLE printer, DWORD* size) {
    return reinterpret_cast<PRINTER_INFO_8W*>(ReadRecord(
        [printer](BYTE* b, DWORD n, DWORD* used) { return GetPrinterW(printer, 8, b, n, used) != FALSE; }, size));
}

const wchar_t* ReportedPrinterName(const PRINTER_INFO_2W* info, const wchar_t* callerName) {
    if (info && info->pPrinterName && info->pPrinterName[0]) return info->pPrinterName;
    return callerName ? callerName : L"";
}

DRIVER_INFO_2W* ReadDriverInfo(HANDLE printer) {
    return reinterpret_cast<DRIVER_INFO_2W*>(ReadRecord([printer](BYTE* b, DWORD n, DWORD* used) {
        return GetPrinterDriverW(printer, nullptr, 2, b, n, used) != FALSE;
    }));
}

void FreePrinterRecord(void* record) { std::free(record); }

std::wstring FileBesideDriver(const wchar_t* printerName, const wchar_t* fileName) {
    PrinterHandle printer;
    if (!printer.Open(printerName, PRINTER_ACCESS_USE)) return std::wstring();
    return FileBesideDriverOf(printer.Get(), fileName);
}

std::wstring FileBesideDriverOf(HANDLE printer, const wchar_t* fileName) {
    std::wstring path;
    {
        const HeapRecord<DRIVER_INFO_2W> driver(ReadDriverInfo(printer));
        if (!driver)
            OutputDebugStringW(L"Get Default file name Failed\r\n");
        else if (driver->pDriverPath)
            path = driver->pDriverPath;
    }
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    path.resize(slash + 1);
    return path + fileName;
}

}  // namespace qf
