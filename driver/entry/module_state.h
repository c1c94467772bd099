// The module-wide state: one instance per process, shared by every entry point,
// sheet and dialog without locks. It holds only what is truly process-wide; each open
// sheet keeps its own records (driver/sheets/sheet_state.h), and nothing here points
// into a record the module does not own.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstdint>

#include "driver/settings/private_settings.h"

constexpr int kPrinterNameChars = 256;
constexpr int kModelReplySize = 224;
constexpr int kModelNameChars = 64;
constexpr int kRibbonNameChars = 32;

extern HINSTANCE g_hInstance;
extern HANDLE g_hPrinter;
extern WCHAR g_printerName[kPrinterNameChars];
extern qf::PrivateSettings g_settingsCache;

// Clears the state that process attach resets: the printer name and the settings cache.
// A printer's encoder record and model text are not here: they belong to that printer's
// device sheet (driver/sheets/sheet_state.h), since two printers' sheets can be open in
// one process.
void ResetModuleState(HINSTANCE instance);
