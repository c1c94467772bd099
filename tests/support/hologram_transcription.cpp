// The side pass bit by bit.
#include "tests/support/hologram_transcription.h"

namespace qf {

void WriteHologramSideBitByBit(HologramRle& rle, const ByteSink& sink, const HologramImage& image) {
    HologramRleReset(rle);
    for (int c = 127; c >= 0; --c) {
        for (unsigned mask = 0x01; mask <= 0x80; mask <<= 1) {
            unsigned byte = 0;
            for (int r = 0; r < 640; ++r) {
                const unsigned bit = (image.rows[r * 128 + c] & mask) ? 1 : 0;
                byte = ((byte << 1) | bit) & 0xFF;
                if (r % 8 == 7) HologramRleAdd(rle, sink, static_cast<uint8_t>(byte));
            }
        }
    }
    HologramRleFlush(rle, sink);
}

}  // namespace qf
