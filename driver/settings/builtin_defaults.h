// The defaults block built into the module: the same bytes as the driver's data file,
// generated from the same source. It stands in for a data file that cannot be read.
#pragma once

#include <cstdint>

namespace qf {

extern const uint8_t kBuiltInDefaultsBlock[3856];

}  // namespace qf
