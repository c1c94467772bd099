// Import address table rewriting.
#include "sim/import_routes.h"

#include <cstring>

namespace sim {
namespace {

bool SameName(const char* a, const char* b) { return lstrcmpiA(a, b) == 0; }

const ImportRoute* FindRoute(const std::vector<ImportRoute>& routes, const char* dll,
                             const char* function) {
    for (const ImportRoute& route : routes)
        if (SameName(route.dll, dll) && std::strcmp(route.function, function) == 0) return &route;
    return nullptr;
}

bool IsStrict(const std::vector<std::string>& strictDlls, const char* dll) {
    for (const std::string& name : strictDlls)
        if (SameName(name.c_str(), dll)) return true;
    return false;
}

bool WriteSlot(void** slot, void* value) {
    DWORD old = 0;
    if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old)) return false;
    *slot = value;
    VirtualProtect(slot, sizeof(void*), old, &old);
    return true;
}

}  // namespace

bool RouteImports(HMODULE module, const std::vector<ImportRoute>& routes,
                  const std::vector<std::string>& strictDlls, std::string* error) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    if (!module || dos->e_magic != IMAGE_DOS_SIGNATURE) {
        *error = "not a loaded module";
        return false;
    }
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return true;

    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         desc->Name != 0; ++desc) {
        const char* dll = reinterpret_cast<const char*>(base + desc->Name);
        const DWORD namesRva = desc->OriginalFirstThunk ? desc->OriginalFirstThunk : desc->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesRva);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const char* function = reinterpret_cast<const char*>(byName->Name);
            const ImportRoute* route = FindRoute(routes, dll, function);
            if (!route) {
                if (IsStrict(strictDlls, dll)) {
                    *error = std::string("no stand-in for ") + dll + "!" + function;
                    return false;
                }
                continue;
            }
            if (!WriteSlot(reinterpret_cast<void**>(&slots->u1.Function), route->replacement)) {
                *error = std::string("cannot write the import slot of ") + function;
                return false;
            }
        }
    }
    return true;
}

}  // namespace sim
