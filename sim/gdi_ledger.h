// A ledger of the GDI objects and device contexts the driver takes and gives back: its
// calls that make or free them are routed through counting stand-ins that forward to
// the platform. The platform's own per-process count is not available under Wine.
#pragma once

#include <windows.h>

#include <vector>

#include "sim/import_routes.h"

namespace sim {

struct GdiLedger {
    long objects = 0;   // bitmaps and other objects made, less those deleted
    long memoryDcs = 0; // memory device contexts made, less those deleted
    long windowDcs = 0; // window DCs taken (GetDC, BeginPaint), less those given back
};

GdiLedger& Gdi();

// The routes of the counted calls, for the driver and for the program itself.
std::vector<ImportRoute> GdiRoutes();

}  // namespace sim
