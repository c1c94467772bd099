// Asking the card printer which ribbon and encoder it has, naming the ribbon from the
// catalogue, and telling the user when the ribbon changed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "driver/settings/module_state.h"
#include "driver/settings/printer_report.h"
#include "driver/settings/ribbons.h"

// Asks the printer `printerName` for its encoder and ribbon, on a handle opened for the
// questions, and tells, for each question on its own, what became of it. The caller
// presets `report` (both questions kCallFailed, no encoder, ribbon none) and
// `ribbonName`; only what the printer answered completely overwrites them, and a printer
// that cannot be opened leaves them all.
void QueryPrinterState(const wchar_t* printerName, qf::PrinterReport* report, wchar_t* ribbonName);

// The ribbon catalogue's path: beside the driver file of the open printer `printer` (a
// current installation's folder) when it is there, else in the version-2 folder of the
// driver directory; empty when neither folder is known. The one lookup of the catalogue,
// for the document sheet and Device Information alike.
std::wstring RibbonCataloguePathOf(HANDLE printer);

// The catalogue's display name for ribbon key `key`, or `fallback` when the file or its
// key is missing, into `name` (`chars` characters, cut as the driver shows catalogue
// names). Read with the wide profile call: nothing passes through the ANSI code page.
// False, and `name` left as it was, when no catalogue folder is known.
bool CatalogueRibbonName(HANDLE printer, std::u16string_view key, const wchar_t* fallback, wchar_t* name, int chars);

// The catalogue's display name of printer ribbon number `number` ("None" when the file
// or its key is missing), into `name` (32 characters); `name` is left as it was when no
// catalogue folder is known.
void RibbonCatalogueName(HANDLE printer, int32_t number, wchar_t* name);

// The name of ribbon code `code` and a print-mode text, from the string table, into
// `text` of `chars` characters (empty when the text cannot be loaded).
void LoadRibbonName(uint32_t code, wchar_t* text, int chars);
void LoadPrintModeText(qf::PrintModeText mode, wchar_t* text, int chars);

// Tells the user the printer reports ribbon `newCode`, named `ribbonName`: the name the sheet
// shows for it, the ribbon list's, which is the same in every language.
void ShowRibbonChanged(uint8_t newCode, const wchar_t* ribbonName);
