// The driver's memory requests, routed through a fault that can fail one size.
#include "sim/allocation_fault.h"

#include <windows.h>

namespace sim {
namespace {

struct AllocationFault {
    size_t bytes = 0;
    size_t failed = 0;
};

AllocationFault& Fault() {
    static AllocationFault fault;
    return fault;
}

// The runtime whose free the driver calls on what it gets.
using MallocFunction = void*(__cdecl*)(size_t);
MallocFunction RuntimeMalloc() {
    static const auto runtime =
        reinterpret_cast<MallocFunction>(reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"msvcrt.dll"), "malloc")));
    return runtime;
}

}  // namespace

void FailAllocationsOf(size_t bytes) { Fault() = AllocationFault{bytes, 0}; }

size_t FailedAllocations() { return Fault().failed; }

void* __cdecl SimMalloc(size_t bytes) {
    if (Fault().bytes != 0 && bytes == Fault().bytes) {
        ++Fault().failed;
        return nullptr;
    }
    return RuntimeMalloc()(bytes);
}

}  // namespace sim
