// The module-wide state.
#include "driver/entry/module_state.h"

HINSTANCE g_hInstance = nullptr;
qf::PrinterRecordTable g_printerRecords;

void ResetModuleState(HINSTANCE instance) {
    g_hInstance = instance;
    g_printerRecords.Clear();
}
