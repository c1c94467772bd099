// Reads the spooler's information records about a printer with the usual size query
// followed by the real call. The records are heap blocks that the caller frees with
// FreePrinterRecord.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>

namespace qf {

// PRINTER_INFO_2 of an open printer, or nullptr when the spooler gives none; `size`
// receives the length of the block the spooler filled.
PRINTER_INFO_2W* ReadPrinterInfo(HANDLE printer, DWORD* size = nullptr);

// PRINTER_INFO_8 of an open printer (its global default DEVMODE alone), or nullptr when
// the spooler gives none; `size` as above.
PRINTER_INFO_8W* ReadDefaultRecordInfo(HANDLE printer, DWORD* size = nullptr);

// The name by which the module keeps what it knows of a printer: the name the spooler
// reports for the open printer (`info`'s pPrinterName), which every spelling of the
// printer (its share name, a server-qualified name) comes to; `callerName` when the
// spooler gives none. Never null.
const wchar_t* ReportedPrinterName(const PRINTER_INFO_2W* info, const wchar_t* callerName);

// DRIVER_INFO_2 of an open printer's driver, or nullptr when the spooler gives none.
DRIVER_INFO_2W* ReadDriverInfo(HANDLE printer);

void FreePrinterRecord(void* record);

// The path of file `fileName` in the folder of printer `printerName`'s driver file (the
// colour sample, the About logo). Empty when the printer cannot be opened or its driver
// names no folder; a driver record the spooler does not give is traced for a debugger.
std::wstring FileBesideDriver(const wchar_t* printerName, const wchar_t* fileName);
// The same for the printer open as `printer`.
std::wstring FileBesideDriverOf(HANDLE printer, const wchar_t* fileName);

}  // namespace qf
