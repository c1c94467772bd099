// The settings records handed out without user interface.
#pragma once

#include <windows.h>

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

// Builds the driver default record (the work of DrvConvertDevMode with
// CDM_DRIVER_DEFAULT): the public template, the defaults block of the printer's data
// file (or the block built into the module when that file cannot be read or lacks the
// signature), both-sides printing on. Other modes succeed without work; a missing or
// short output buffer reports 4068 in `needed` and fails.
BOOL BuildDriverDefault(LPWSTR printerName, DEVMODEW* output, PLONG needed, DWORD mode);
