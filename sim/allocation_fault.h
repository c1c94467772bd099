// A memory fault for the driver: its requests of one chosen size can be made to fail, as
// they would when the process runs out of memory at that request. The driver takes its
// memory from the C runtime's malloc (operator new included), which it imports; the
// fault layer's malloc stand-in (sim/faults.h) asks this fault first.
#pragma once

#include <cstddef>

namespace sim {

// From now on the driver's requests of exactly `bytes` bytes fail; 0 mends the fault.
void FailAllocationsOf(size_t bytes);

// How many requests the fault has failed since it was set.
size_t FailedAllocations();

// Whether a request of `bytes` bytes is to fail; counts it when it is.
bool AllocationOfSizeFails(size_t bytes);

}  // namespace sim
