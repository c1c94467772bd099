// Reads the spooler's information records about a printer with the usual size query
// followed by the real call. The records are heap blocks that the caller frees with
// FreePrinterRecord. It also holds the one reader of the driver's data file.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstdint>
#include <string>

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

// What a store changes in the printer's stored private block.
using PrivateChange = void (*)(uint8_t* privateBlock, const void* context);

// Stores a change into the printer's default record as the printer holds it now: reads
// PRINTER_INFO_2 afresh through `reader`, applies `change` to its stored record's private
// block and writes it back through `writer` with SetPrinterW level 2, after the debugger
// line `trace` when one is given. Only what `change` writes differs from what the printer
// held, so two windows that store different fields of one printer add up. A stored record
// that is not this driver's, or not wholly inside the returned bytes, is left alone.
// True when the record was handed to SetPrinterW and stored.
bool StorePrivateChange(HANDLE reader, HANDLE writer, PrivateChange change, const void* context,
                        const char* trace = nullptr);

}  // namespace qf
