// Reads the spooler's information records about a printer with the usual size query
// followed by the real call. The records are heap blocks that the caller frees with
// FreePrinterRecord. It also holds the one reader of the driver's data file.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstdint>
#include <string>

#include "driver/settings/private_settings.h"

namespace qf {

// PRINTER_INFO_2 of an open printer, or nullptr when the spooler gives none; `size`
// receives the length of the block the spooler filled.
PRINTER_INFO_2W* ReadPrinterInfo(HANDLE printer, DWORD* size = nullptr);

// The printer's stored default record inside `info` (a block of `size` bytes) when it
// lies wholly inside the block and passes the record gate, else nullptr.
DEVMODEW* StoredDriverRecord(PRINTER_INFO_2W* info, DWORD size);

// The name by which the module keeps what it knows of a printer: the name the spooler
// reports for the open printer (`info`'s pPrinterName), which every spelling of the
// printer (its share name, a server-qualified name) comes to; `callerName` when the
// spooler gives none. Never null.
const wchar_t* ReportedPrinterName(const PRINTER_INFO_2W* info, const wchar_t* callerName);

// DRIVER_INFO_2 of an open printer's driver, or nullptr when the spooler gives none.
DRIVER_INFO_2W* ReadDriverInfo(HANDLE printer);

// Reads the defaults block of a driver's data file (`pDataFile` of `driver`) into `block`
// (3856 bytes). True only for a file that is exactly 3856 bytes long, read whole, whose
// block carries the settings signature; otherwise the buffer is to be taken as empty.
// The one reader of the file: the driver default and every Restore Defaults use it.
bool ReadDefaultsFile(const DRIVER_INFO_2W* driver, uint8_t* block);
// The same for the driver of the printer open as `printer` (none: false), into a
// zero-filled buffer of 3856 bytes. Never reports to the user.
bool ReadDefaultsBlock(HANDLE printer, uint8_t* block);

void FreePrinterRecord(void* record);

// The path of file `fileName` in the folder of printer `printerName`'s driver file (the
// colour sample, the About logo). Empty when the printer cannot be opened or its driver
// names no folder; a driver record the spooler does not give is traced for a debugger.
std::wstring FileBesideDriver(const wchar_t* printerName, const wchar_t* fileName);
// The same for the printer open as `printer`.
std::wstring FileBesideDriverOf(HANDLE printer, const wchar_t* fileName);

// The private block of a record in the driver's layout: it follows the record's public
// part, whatever that part's length (dmSize). The caller has checked the record.
PrivateSettings* PrivateBlock(DEVMODEW* record);

// A store into the printer's default settings, as a plain read, edit and write: the
// printer's record is read when the edit is made (just before the store), the caller
// changes what its window changed in `Settings()`, and `Store` hands the record back with
// SetPrinterW level 2. The record goes back without its security descriptor, which the
// spooler then keeps as it is: a settings store has no business writing the printer's
// owner and permissions. Level 2 is the level every spooler serves for the stored default
// record, and the one GetPrinterW reads it back with; all other fields go back as they
// were read a moment before. Two windows that store different fields of one printer
// therefore add up.
class StoredSettingsEdit {
public:
    explicit StoredSettingsEdit(HANDLE reader);
    ~StoredSettingsEdit() { FreePrinterRecord(info_); }
    StoredSettingsEdit(const StoredSettingsEdit&) = delete;
    StoredSettingsEdit& operator=(const StoredSettingsEdit&) = delete;

    // The stored private block to change, or nullptr when the printer holds no record of
    // this driver (signature, 3856-byte private block, wholly inside what the spooler
    // returned): such a record is left alone.
    PrivateSettings* Settings() const { return settings_; }
    // Stores the record through `writer` after the debugger line `trace`, when one is
    // given. True when the record was handed to SetPrinterW and stored; false, and nothing
    // stored, without a record of this driver.
    bool Store(HANDLE writer, const char* trace = nullptr);

private:
    PRINTER_INFO_2W* info_ = nullptr;
    PrivateSettings* settings_ = nullptr;
};

}  // namespace qf
