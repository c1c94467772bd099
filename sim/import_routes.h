// Rewrites entries of a loaded module's import address table so that its calls to
// chosen platform functions reach the stand-ins instead. The module itself is the
// same binary that ships; only where its calls land changes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace sim {

struct ImportRoute {
    const char* dll;       // as the import table names it, compared without case
    const char* function;  // imported by this name
    void* replacement;
};

// Routes every import of `module` that `routes` names. With `strictDlls`, an import
// from one of those DLLs that has no route is an error: the module must not reach the
// real component behind the stand-in. Returns false and says why in `error`.
bool RouteImports(HMODULE module, const std::vector<ImportRoute>& routes,
                  const std::vector<std::string>& strictDlls, std::string* error);

}  // namespace sim
