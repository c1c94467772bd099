// Filling and merging settings records without user interface: the work behind
// DrvDocumentProperties and DrvConvertDevMode.
#include "driver/settings/document_settings.h"

#include <cstddef>
#include <cstring>

#include "driver/entry/ddk.h"
#include "driver/entry/module_state.h"
#include "driver/entry/printer_info.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"

// The platform's DEVMODEW and the core's public part are the same bytes on every target:
// the Win32 layer reads fields through one and copies records through the other.
#define QF_SAME_OFFSET(field) \
    static_assert(offsetof(DEVMODEW, field) == offsetof(qf::PublicDevmode, field), #field)
QF_SAME_OFFSET(dmSpecVersion);
QF_SAME_OFFSET(dmDriverVersion);
QF_SAME_OFFSET(dmSize);
QF_SAME_OFFSET(dmDriverExtra);
QF_SAME_OFFSET(dmFields);
QF_SAME_OFFSET(dmOrientation);
QF_SAME_OFFSET(dmPaperSize);
QF_SAME_OFFSET(dmPaperLength);
QF_SAME_OFFSET(dmPaperWidth);
QF_SAME_OFFSET(dmScale);
QF_SAME_OFFSET(dmCopies);
QF_SAME_OFFSET(dmDefaultSource);
QF_SAME_OFFSET(dmPrintQuality);
QF_SAME_OFFSET(dmColor);
QF_SAME_OFFSET(dmDuplex);
QF_SAME_OFFSET(dmYResolution);
QF_SAME_OFFSET(dmTTOption);
QF_SAME_OFFSET(dmCollate);
QF_SAME_OFFSET(dmFormName);
QF_SAME_OFFSET(dmLogPixels);
QF_SAME_OFFSET(dmBitsPerPel);
QF_SAME_OFFSET(dmPelsWidth);
QF_SAME_OFFSET(dmPelsHeight);
QF_SAME_OFFSET(dmDisplayFlags);
QF_SAME_OFFSET(dmDisplayFrequency);
QF_SAME_OFFSET(dmICMMethod);
QF_SAME_OFFSET(dmICMIntent);
QF_SAME_OFFSET(dmMediaType);
QF_SAME_OFFSET(dmDitherType);
QF_SAME_OFFSET(dmReserved1);
QF_SAME_OFFSET(dmReserved2);
#undef QF_SAME_OFFSET
static_assert(sizeof(DEVMODEW) >= sizeof(qf::PublicDevmode), "the platform's public part holds the driver's");

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

