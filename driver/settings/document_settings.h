// The settings records handed out without user interface.
#pragma once

#include <windows.h>
#include <winspool.h>

#include "driver/platform/owners.h"
#include "driver/settings/printer_records.h"

// Hands out a record for a document (the work of DrvDocumentProperties) of the printer
// `printerName` (when null or empty, the printer behind `printer`): fMode 0 asks for the
// record size (4068); with DM_OUT_BUFFER, `output` receives the settings this process
// committed for that printer when there are some and `input` is readable, else the
// printer's default record with `input`'s orientation, copies and paper size merged
// (DM_IN_BUFFER). A printer default that is not a usable record of this driver is never
// used: the driver default takes its place, so the output always receives a valid record.
// Returns 4068 for fMode 0, else 1.
LONG FillDocumentSettings(HANDLE printer, const wchar_t* printerName, DEVMODEW* output, const DEVMODEW* input,
                          DWORD mode);

// The held-record path, the one every application's settings call takes once the module
// holds a record for the printer: when the printer the caller names by `printerName` (its
// name or a spelling already resolved) has a valid settings cache and `input` is
// readable, `output` receives `input`'s public part and the cache, from memory alone: no
// call to the spooler, the registry or the file system. Otherwise nothing is written.
qf::HeldCopy FillFromHeldSettings(const wchar_t* printerName, DEVMODEW* output, const DEVMODEW* input);

// The printer's information, read once (size query and read) for a call that needs the
// printer's stored record or the name behind a spelling it has not seen. `Name()` is the
// name the module keeps the printer by: the name the spooler reports for the open printer,
// which every spelling of it (its share name, a server-qualified name) comes to, or the
// caller's name when the spooler tells none. The caller's spelling is remembered for that
// name, so that the next call with it is answered from memory.
class PrinterInformation {
public:
    PrinterInformation(HANDLE printer, const wchar_t* callerName);
    PRINTER_INFO_2W* Info() const { return info_.Get(); }
    DWORD Size() const { return size_; }
    const wchar_t* Name() const { return name_; }

private:
    DWORD size_ = 0;
    qf::HeapRecord<PRINTER_INFO_2W> info_;
    const wchar_t* name_;
};

// FillDocumentSettings' work once the printer's information is read: the settings this
// process committed for the printer when `input` is readable, else the printer's default
// record (or the driver default) with `input`'s document fields merged.
void FillFromPrinter(const PrinterInformation& printer, HANDLE handle, DEVMODEW* output, const DEVMODEW* input,
                     DWORD mode);

// Builds the driver default record (the work of DrvConvertDevMode with
// CDM_DRIVER_DEFAULT): the public template, the defaults block of the printer's data
// file (or the block built into the module when that file cannot be read or lacks the
// signature), both-sides printing on. Other modes succeed without work; a missing or
// short output buffer reports 4068 in `needed` and fails.
BOOL BuildDriverDefault(LPWSTR printerName, DEVMODEW* output, PLONG needed, DWORD mode);
