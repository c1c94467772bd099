// The driver's records inside the spooler's information and the driver's data file.
#include "driver/settings/stored_records.h"

#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/settings/record_rules.h"

namespace qf {

DEVMODEW* StoredDriverRecord(PRINTER_INFO_2W* info, DWORD size) {
    if (!info || size < sizeof *info) return nullptr;
    auto* record = reinterpret_cast<uint8_t*>(info->pDevMode);
    return IsUsableRecordIn(reinterpret_cast<const uint8_t*>(info), size, record) ? info->pDevMode : nullptr;
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

PrivateSettings* PrivateBlock(DEVMODEW* record) {
    auto* bytes = reinterpret_cast<uint8_t*>(record);
    return reinterpret_cast<PrivateSettings*>(bytes + PrivateOffset(bytes));
}

StoredSettingsEdit::StoredSettingsEdit(HANDLE reader) {
    DWORD size = 0;
    info_ = ReadDefaultRecordInfo(reader, &size);
    if (!info_ || size < sizeof *info_) return;
    auto* record = reinterpret_cast<uint8_t*>(info_->pDevMode);
    if (IsUsableRecordIn(reinterpret_cast<const uint8_t*>(info_), size, record))
        settings_ = PrivateBlock(info_->pDevMode);
}

bool StoredSettingsEdit::Store(HANDLE writer, const char* trace) {
    if (!settings_) return false;
    if (trace) OutputDebugStringA(trace);
    return SetPrinterW(writer, 8, reinterpret_cast<LPBYTE>(info_), 0) != FALSE;
}

}  // namespace qf
