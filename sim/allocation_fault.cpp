// The driver's memory requests of one size, failed on request.
#include "sim/allocation_fault.h"

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

}  // namespace

void FailAllocationsOf(size_t bytes) { Fault() = AllocationFault{bytes, 0}; }

size_t FailedAllocations() { return Fault().failed; }

bool AllocationOfSizeFails(size_t bytes) {
    if (Fault().bytes == 0 || bytes != Fault().bytes) return false;
    ++Fault().failed;
    return true;
}

}  // namespace sim
