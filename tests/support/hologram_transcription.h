// The side pass of the hologram image job written the plain way, bit by bit and byte by
// byte, as the yardstick for the fast path in the tests and the benchmark.
#pragma once

#include "driver/overlay/hologram_stream.h"

namespace qf {

// Byte columns 127 down to 0, in each the masks 0x01 up to 0x80, rows 0 to 639; every
// eighth bit the byte goes to HologramRleAdd; then the flush.
void WriteHologramSideBitByBit(HologramRle& rle, const ByteSink& sink, const HologramImage& image);

}  // namespace qf
