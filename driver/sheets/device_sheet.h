// The device property sheet: the printer's model text and the printer-wide push buttons.
#pragma once

#include "driver/platform/ddk.h"

// DrvDevicePropertySheets: INIT builds the page, SET_RESULT answers -1, DESTROY frees.
LONG DeviceSheet(PROPSHEETUI_INFO* info);
