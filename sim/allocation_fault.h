// A memory fault for the driver: its requests of one chosen size can be made to fail, as
// they would when the process runs out of memory at that request. The driver takes its
// memory from the C runtime's malloc (operator new included), which it imports.
#pragma once

#include <cstddef>

namespace sim {

// From now on the driver's requests of exactly `bytes` bytes fail; 0 mends the fault.
void FailAllocationsOf(size_t bytes);

// How many requests the fault has failed since it was set.
size_t FailedAllocations();

// The stand-in with malloc's signature: the C runtime's malloc, unless the fault applies.
void* __cdecl SimMalloc(size_t bytes);

}  // namespace sim
