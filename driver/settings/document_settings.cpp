// Filling and merging settings records without user interface: the work behind
// DrvDocumentProperties and DrvConvertDevMode.
#include "driver/settings/document_settings.h"

#include <cstring>

#include "driver/entry/ddk.h"
#include "driver/entry/module_state.h"
#include "driver/entry/printer_info.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"

namespace {

uint8_t* Bytes(DEVMODEW* record) { return reinterpret_cast<uint8_t*>(record); }
const uint8_t* Bytes(const DEVMODEW* record) { return reinterpret_cast<const uint8_t*>(record); }
qf::PrivateSettings* PrivateBlock(DEVMODEW* record) {
    return reinterpret_cast<qf::PrivateSettings*>(Bytes(record) + qf::kPublicSize);
}

// Fills `output` from the printer's default record. A printer whose stored record is
// missing or not one of this driver's leaves `output` and the cache as they were.
void CopyPrinterDefault(HANDLE printer, DEVMODEW* output) {
    PRINTER_INFO_2W* info = qf::ReadPrinterInfo(printer);
    if (info && qf::IsDriverRecord(Bytes(info->pDevMode))) {
        qf::CopyDriverRecord(Bytes(info->pDevMode), Bytes(output));
        // The record handed out is the one later users of the settings pointer see;
        // the printer information is freed below.
        g_privateSettings = PrivateBlock(output);
        qf::ApplyOfflineRibbon(*g_privateSettings, g_settingsCache);
        if (!qf::IsSettingsCacheValid(g_settingsCache))
            std::memcpy(&g_settingsCache, g_privateSettings, qf::kPrivateSize);
    }
    qf::FreePrinterRecord(info);
}

}  // namespace

LONG FillDocumentSettings(HANDLE printer, DEVMODEW* output, const DEVMODEW* input, DWORD mode) {
    if (mode == 0) return qf::kRecordSize;
    if (!(mode & DM_OUT_BUFFER) || !output) return 1;
    const bool inputReadable = qf::HasReadablePublicPart(Bytes(input));

    if (qf::IsSettingsCacheValid(g_settingsCache) && inputReadable) {
        std::memcpy(output, input, qf::kPublicSize);
        qf::SetRecordSizes(Bytes(output));
        std::memcpy(PrivateBlock(output), &g_settingsCache, qf::kPrivateSize);
        return 1;
    }
    CopyPrinterDefault(printer, output);
    if ((mode & DM_IN_BUFFER) && inputReadable) qf::MergeDocumentFields(Bytes(output), Bytes(input));
    return 1;
}

namespace {

// Reads the whole defaults block of the printer's driver into `block`.
bool ReadDefaultsFile(LPWSTR printerName, uint8_t* block) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(printerName, &printer, nullptr)) return false;
    DRIVER_INFO_2W* driver = qf::ReadDriverInfo(printer);
    ClosePrinter(printer);

    bool complete = false;
    if (driver && driver->pDataFile) {
        HANDLE file = CreateFileW(driver->pDataFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD read = 0;
            complete = GetFileSize(file, nullptr) != INVALID_FILE_SIZE &&
                       ReadFile(file, block, qf::kPrivateSize, &read, nullptr) && read == DWORD(qf::kPrivateSize);
            CloseHandle(file);
        }
    }
    qf::FreePrinterRecord(driver);
    return complete;
}

}  // namespace

BOOL BuildDriverDefault(LPWSTR printerName, DEVMODEW* output, PLONG needed, DWORD mode) {
    if (!needed) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (mode != CDM_DRIVER_DEFAULT) return TRUE;
    if (!output || *needed < qf::kRecordSize) {
        *needed = qf::kRecordSize;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    // The record is written whole or not at all.
    uint8_t block[qf::kPrivateSize];
    if (!ReadDefaultsFile(printerName, block)) return TRUE;
    const qf::PublicDevmode defaults = qf::DriverDefaultPublicPart();
    std::memcpy(output, &defaults, qf::kPublicSize);
    std::memcpy(PrivateBlock(output), block, qf::kPrivateSize);
    PrivateBlock(output)->printBothSides = 1;
    return TRUE;
}

