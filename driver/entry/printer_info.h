// Reads the spooler's information records about a printer with the usual size query
// followed by the real call. The records are heap blocks that the caller frees with
// FreePrinterRecord.
#pragma once

#include <windows.h>
#include <winspool.h>

namespace qf {

// PRINTER_INFO_2 of an open printer, or nullptr when the spooler gives none.
PRINTER_INFO_2W* ReadPrinterInfo(HANDLE printer);

// DRIVER_INFO_2 of an open printer's driver, or nullptr when the spooler gives none.
DRIVER_INFO_2W* ReadDriverInfo(HANDLE printer);

void FreePrinterRecord(void* record);

}  // namespace qf
