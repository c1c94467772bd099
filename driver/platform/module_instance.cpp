// The module's instance handle, recorded at process attach.
#include "driver/platform/module_instance.h"

HINSTANCE g_hInstance = nullptr;
