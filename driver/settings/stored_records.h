// The driver's records as the spooler and the driver's files keep them: the printer's
// stored default record inside its information, the private block of a record, the
// defaults block of the driver's data file (its one reader), and a store into the
// printer's default settings.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstdint>

#include "driver/platform/printer_info.h"
#include "driver/settings/private_settings.h"

namespace qf {

// The printer's stored default record inside `info` (a block of `size` bytes) when it
// lies wholly inside the block and passes the record gate, else nullptr.
DEVMODEW* StoredDriverRecord(PRINTER_INFO_2W* info, DWORD size);

// Reads the defaults block of a driver's data file (`pDataFile` of `driver`) into `block`
// (3856 bytes). True only for a file that is exactly 3856 bytes long, read whole, whose
// block carries the settings signature; otherwise the buffer is to be taken as empty.
// The one reader of the file: the driver default and every Restore Defaults use it.
bool ReadDefaultsFile(const DRIVER_INFO_2W* driver, uint8_t* block);
// The same for the driver of the printer open as `printer` (none: false), into a
// zero-filled buffer of 3856 bytes. Never reports to the user.
bool ReadDefaultsBlock(HANDLE printer, uint8_t* block);

// The private block of a record in the driver's layout: it follows the record's public
// part, whatever that part's length (dmSize). The caller has checked the record.
PrivateSettings* PrivateBlock(DEVMODEW* record);

// A store into the printer's default settings, as a plain read, edit and write: the
// printer's default record is read when the edit is made (just before the store), the
// caller changes what its window changed in `Settings()`, and `Store` hands the record
// back. Read and write go by level 8, the printer's global default DEVMODE alone: a
// level-2 write would set every other field of the printer's record as it was read, and
// could put back what another window (the printer's own pages, a Tools exchange's
// direct-printing switch) changed between the read and the write. Two windows that store
// different fields of one printer add up. Level 8 needs the right to administer.
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
    PRINTER_INFO_8W* info_ = nullptr;
    PrivateSettings* settings_ = nullptr;
};

}  // namespace qf
