// Asking the card printer which ribbon and encoder it has, naming the ribbon from the
// catalogue, and telling the user when the ribbon changed.
#pragma once

#include <windows.h>

#include <cstdint>

#include "driver/entry/module_state.h"

// Asks the printer `printerName` for its encoder and ribbon, on a handle opened for the
// questions. The caller presets the outputs; only what the printer answered completely
// overwrites them.
void QueryPrinterState(const wchar_t* printerName, bool* encoder, wchar_t* ribbonName, uint8_t* ribbonCode,
                       bool* answered);

// The catalogue's display name of printer ribbon number `number` ("None" when the file
// or its key is missing); `name` (32 characters) is left as it was when the driver
// directory is unknown.
void RibbonCatalogueName(int32_t number, wchar_t* name);

// Tells the user the printer reports ribbon `newCode`. The old code plays no part.
void ShowRibbonChanged(uint8_t newCode, uint8_t oldCode);
