// Process attach: the module pins itself in memory and clears its state.
#include <windows.h>

#include "driver/platform/guard.h"
#include "driver/settings/module_state.h"

// The spooler loads and frees the module many times in one process; loading it once
// more by its own path keeps it (and its settings cache) in memory until the process
// ends. The extra reference is never released.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    return qf::CallGuarded<BOOL>(TRUE, [instance]() -> BOOL {
        WCHAR path[MAX_PATH] = {};
        DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) LoadLibraryW(path);
        ResetModuleState(instance);
        return TRUE;
    });
}
