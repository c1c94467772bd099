// Size query, allocation and real call for the spooler's printer and driver records.
#include "driver/entry/printer_info.h"

#include <cstdlib>

#include "driver/entry/owners.h"
#include "driver/settings/record_rules.h"

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

DEVMODEW* StoredDriverRecord(PRINTER_INFO_2W* info, DWORD size) {
    if (!info || size < sizeof *info) return nullptr;
    auto* record = reinterpret_cast<uint8_t*>(info->pDevMode);
    return IsUsableRecordIn(reinterpret_cast<const uint8_t*>(info), size, record) ? info->pDevMode : nullptr;
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

bool ReadDefaultsFile(const DRIVER_INFO_2W* driver, uint8_t* block) {
    if (!driver || !driver->pDataFile) return false;
    const FileHandle file(CreateFileW(driver->pDataFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    LARGE_INTEGER size = {};
    DWORD read = 0;
    const bool whole = GetFileSizeEx(file.Get(), &size) && size.QuadPart >= 0 &&
                       ReadFile(file.Get(), block, kPrivateSize, &read, nullptr) && read == DWORD(kPrivateSize);
    return whole && IsUsableDefaultsFile(static_cast<uint64_t>(size.QuadPart), block);
}

bool ReadDefaultsBlock(HANDLE printer, uint8_t* block) {
    if (!printer) return false;
    const HeapRecord<DRIVER_INFO_2W> driver(ReadDriverInfo(printer));
    return ReadDefaultsFile(driver.Get(), block);
}

void FreePrinterRecord(void* record) { std::free(record); }

PrivateSettings* PrivateBlock(DEVMODEW* record) {
    auto* bytes = reinterpret_cast<uint8_t*>(record);
    return reinterpret_cast<PrivateSettings*>(bytes + PrivateOffset(bytes));
}

StoredSettingsEdit::StoredSettingsEdit(HANDLE reader) {
    DWORD size = 0;
    info_ = ReadPrinterInfo(reader, &size);
    if (DEVMODEW* record = StoredDriverRecord(info_, size)) settings_ = PrivateBlock(record);
}

bool StoredSettingsEdit::Store(HANDLE writer, const char* trace) {
    if (!settings_) return false;
    if (trace) OutputDebugStringA(trace);
    info_->pSecurityDescriptor = nullptr;
    return SetPrinterW(writer, 2, reinterpret_cast<LPBYTE>(info_), 0) != FALSE;
}

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
