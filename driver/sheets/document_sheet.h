// The document property sheet: per-document card settings as a tree of sixteen option
// items, and the same entry point's work when no sheet is shown.
#pragma once

#include "driver/platform/ddk.h"

// DrvDocumentPropertySheets called without property-sheet information: fills or updates
// the header's output record without user interface. Returns 4068, 1 or -1.
LONG DocumentPropertiesWithoutSheet(DOCUMENTPROPERTYHEADER* header);

// DrvDocumentPropertySheets with property-sheet information: the sheet's INIT,
// SET_RESULT and DESTROY reasons.
LONG DocumentSheet(PROPSHEETUI_INFO* info);
