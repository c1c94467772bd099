// Filling and merging settings records without user interface: the work behind
// DrvDocumentProperties and DrvConvertDevMode.
#include "driver/settings/document_settings.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <string_view>

#include "driver/platform/ddk.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/settings/builtin_defaults.h"
#include "driver/settings/module_state.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"
#include "driver/settings/stored_records.h"

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

// The driver default record for an open printer (or none): the defaults block of its
// data file, or the block built into the module when that file cannot be used.
void BuildDefaultFor(HANDLE printer, DEVMODEW* output) {
    uint8_t block[qf::kPrivateSize];
    if (!qf::ReadDefaultsBlock(printer, block)) std::memcpy(block, qf::kBuiltInDefaultsBlock, sizeof block);
    qf::BuildDefaultRecord(block, qf::kDriverRecordNames, Bytes(output));
}

// Fills `output` from the printer's default record in `info` (a block of `size` bytes),
// or with the driver default when the printer keeps no usable record of this driver.
// Only the printer's own record reaches the printer's cache: a default built in its
// place must not hide the printer's record once that can be read again.
void CopyPrinterDefault(HANDLE printer, std::u16string_view printerName, PRINTER_INFO_2W* info, DWORD size,
                        DEVMODEW* output) {
    const DEVMODEW* stored = qf::StoredDriverRecord(info, size);
    if (!stored) {
        BuildDefaultFor(printer, output);
        return;
    }
    qf::CopyDriverRecord(Bytes(stored), Bytes(output));
    qf::PrivateSettings* settings = qf::PrivateBlock(output);
    g_printerRecords.Update(printerName, [settings](qf::PrinterRecords& entry) {
        qf::ApplyOfflineRibbon(*settings, entry.settingsCache);
        if (!qf::IsSettingsCacheValid(entry.settingsCache))
            std::memcpy(&entry.settingsCache, settings, qf::kPrivateSize);
    });
}

}  // namespace

qf::HeldCopy FillFromHeldSettings(const wchar_t* printerName, DEVMODEW* output, const DEVMODEW* input) {
    if (!output || !printerName || !qf::HasReadablePublicPart(Bytes(input))) return qf::HeldCopy{};
    // The input may be the output buffer itself: its public part is kept before the copy.
    uint8_t publicPart[qf::kPublicSize];
    std::memcpy(publicPart, input, sizeof publicPart);
    const qf::HeldCopy held = g_printerRecords.CopyHeldSettings(PrinterKey(printerName), Bytes(output) + qf::kPublicSize);
    if (held.copied) {
        std::memcpy(output, publicPart, sizeof publicPart);
        qf::SetRecordSizes(Bytes(output));
    }
    return held;
}

PrinterInformation::PrinterInformation(HANDLE printer, const wchar_t* callerName)
    : info_(qf::ReadPrinterInfo(printer, &size_)), name_(qf::ReportedPrinterName(info_.Get(), callerName)) {
    // The caller's spelling leads straight to the printer's entry from now on. Keeping it
    // only saves later reads: a spelling that cannot be kept costs one read next time.
    try {
        if (callerName) g_printerRecords.RememberSpelling(PrinterKey(callerName), PrinterKey(name_));
    } catch (const std::bad_alloc&) {
    }
}

void FillFromPrinter(const PrinterInformation& printer, HANDLE handle, DEVMODEW* output, const DEVMODEW* input,
                     DWORD mode) {
    if (!(mode & DM_OUT_BUFFER) || !output) return;
    // The printer's entry may hold its settings although the caller's spelling was new.
    if (FillFromHeldSettings(printer.Name(), output, input).copied) return;
    // The input may be the output buffer itself: its fields are kept before the fill.
    uint8_t merged[qf::kPublicSize];
    const bool merge = (mode & DM_IN_BUFFER) && qf::HasReadablePublicPart(Bytes(input));
    const std::u16string_view name = PrinterKey(printer.Name());
    if (merge) std::memcpy(merged, input, sizeof merged);
    CopyPrinterDefault(handle, name, printer.Info(), printer.Size(), output);
    if (merge) qf::MergeDocumentFields(Bytes(output), merged);
}

LONG FillDocumentSettings(HANDLE printer, const wchar_t* printerName, DEVMODEW* output, const DEVMODEW* input,
                          DWORD mode) {
    if (mode == 0) return qf::kRecordSize;
    if (!(mode & DM_OUT_BUFFER) || !output) return 1;
    if (FillFromHeldSettings(printerName, output, input).copied) return 1;
    FillFromPrinter(PrinterInformation(printer, printerName), printer, output, input, mode);
    return 1;
}

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
    qf::PrinterHandle printer;
    if (printerName) printer.Open(printerName, PRINTER_ACCESS_USE);
    BuildDefaultFor(printer.Get(), output);
    return TRUE;
}
