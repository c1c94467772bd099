// Asking the card printer which ribbon and encoder it has, naming the ribbon from the
// catalogue, and telling the user when the ribbon changed.
#pragma once

#include <windows.h>

#include <cstdint>

#include "driver/settings/module_state.h"
#include "driver/settings/printer_report.h"
#include "driver/settings/ribbons.h"

// Asks the printer `printerName` for its encoder and ribbon, on a handle opened for the
// questions, and tells, for each question on its own, what became of it. The caller
// presets `report` (both questions kCallFailed, no encoder, ribbon none) and
// `ribbonName`; only what the printer answered completely overwrites them, and a printer
// that cannot be opened leaves them all.
void QueryPrinterState(const wchar_t* printerName, qf::PrinterReport* report, wchar_t* ribbonName);

// The catalogue's display name of printer ribbon number `number` ("None" when the file
// or its key is missing), into `name` (32 characters). The catalogue is looked for beside
// the driver file of the open printer `printer` (a current installation's folder) first,
// then in the version-2 folder of the driver directory; `name` is left as it was when
// neither folder is known.
void RibbonCatalogueName(HANDLE printer, int32_t number, wchar_t* name);

// The name of ribbon code `code` and a print-mode text, from the string table, into
// `text` of `chars` characters (empty when the text cannot be loaded).
void LoadRibbonName(uint32_t code, wchar_t* text, int chars);
void LoadPrintModeText(qf::PrintModeText mode, wchar_t* text, int chars);

// Tells the user the printer reports ribbon `newCode`. The old code plays no part.
void ShowRibbonChanged(uint8_t newCode, uint8_t oldCode);
