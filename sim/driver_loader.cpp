// Loading and rewiring of the driver module.
#include "sim/driver_loader.h"

#include <set>
#include <vector>

#include "sim/faults.h"
#include "sim/files.h"
#include "sim/import_routes.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"

namespace sim {
namespace {

std::vector<ImportRoute> Routes() {
    const char* spool = "winspool.drv";
    return {
        {spool, "OpenPrinterW", reinterpret_cast<void*>(&SimOpenPrinterW)},
        {spool, "ClosePrinter", reinterpret_cast<void*>(&SimClosePrinter)},
        {spool, "GetPrinterW", reinterpret_cast<void*>(&SimGetPrinterW)},
        {spool, "SetPrinterW", reinterpret_cast<void*>(&SimSetPrinterW)},
        {spool, "GetPrinterDriverW", reinterpret_cast<void*>(&SimGetPrinterDriverW)},
        {spool, "GetPrinterDriverDirectoryW", reinterpret_cast<void*>(&SimGetPrinterDriverDirectoryW)},
        {spool, "GetPrinterDataW", reinterpret_cast<void*>(&SimGetPrinterDataW)},
        {spool, "StartDocPrinterW", reinterpret_cast<void*>(&SimStartDocPrinterW)},
        {spool, "StartPagePrinter", reinterpret_cast<void*>(&SimStartPagePrinter)},
        {spool, "WritePrinter", reinterpret_cast<void*>(&SimWritePrinter)},
        {spool, "EndPagePrinter", reinterpret_cast<void*>(&SimEndPagePrinter)},
        {spool, "EndDocPrinter", reinterpret_cast<void*>(&SimEndDocPrinter)},
        {spool, "AbortPrinter", reinterpret_cast<void*>(&SimAbortPrinter)},
        {"comdlg32.dll", "GetOpenFileNameW", reinterpret_cast<void*>(&SimGetOpenFileNameW)},
        {"user32.dll", "MessageBoxW", reinterpret_cast<void*>(&SimMessageBoxW)},
        {"user32.dll", "WinHelpW", reinterpret_cast<void*>(&SimWinHelpW)},
        {"shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(&SimShellExecuteW)},
        {"kernel32.dll", "OutputDebugStringA", reinterpret_cast<void*>(&SimOutputDebugStringA)},
        {"kernel32.dll", "OutputDebugStringW", reinterpret_cast<void*>(&SimOutputDebugStringW)},
        {"kernel32.dll", "ReadFile", reinterpret_cast<void*>(&SimReadFile)},
    };
}

// Routes of the driver's module alone: the program's own registry reads (where the tests
// look at the kept replies) stay the platform's.
std::vector<ImportRoute> DriverRoutes() {
    return {{"advapi32.dll", "RegOpenKeyExW", reinterpret_cast<void*>(&SimRegOpenKeyExW)}};
}

std::set<HMODULE>& RoutedModules() {
    static std::set<HMODULE> modules;
    return modules;
}

}  // namespace

std::wstring ProgramDirectory() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

HMODULE LoadDriver(std::string* error, const std::wstring& path) {
    const std::wstring file = path.empty() ? ProgramDirectory() + L"qf862kui.dll" : path;
    HMODULE module = LoadLibraryW(file.c_str());
    if (!module) {
        *error = "cannot load " + Utf8(file) + " (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    if (RoutedModules().count(module)) return module;
    // The module's own calls pass the fault counters first; the program's do not.
    std::vector<ImportRoute> routes = FaultRoutes();
    const std::vector<ImportRoute> plain = Routes();
    routes.insert(routes.end(), plain.begin(), plain.end());
    const std::vector<ImportRoute> own = DriverRoutes();
    routes.insert(routes.end(), own.begin(), own.end());
    if (!RouteImports(module, routes, {"winspool.drv"}, error)) return nullptr;
    RoutedModules().insert(module);
    return module;
}

bool RouteProgram(std::string* error) {
    HMODULE program = GetModuleHandleW(nullptr);
    if (RoutedModules().count(program)) return true;
    if (!RouteImports(program, Routes(), {}, error)) return false;
    RoutedModules().insert(program);
    return true;
}

}  // namespace sim
