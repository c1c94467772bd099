// The module-wide state.
#include "driver/entry/module_state.h"

#include <cstring>

HINSTANCE g_hInstance = nullptr;
HANDLE g_hPrinter = nullptr;
WCHAR g_printerName[kPrinterNameChars];
qf::PrivateSettings g_settingsCache;

void ResetModuleState(HINSTANCE instance) {
    g_hInstance = instance;
    std::memset(g_printerName, 0, sizeof g_printerName);
    std::memset(&g_settingsCache, 0, sizeof g_settingsCache);
}
