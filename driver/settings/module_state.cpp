// The module-wide state.
#include "driver/settings/module_state.h"

qf::PrinterRecordTable g_printerRecords;

void ResetModuleState(HINSTANCE instance) {
    g_hInstance = instance;
    g_printerRecords.Clear();
}
