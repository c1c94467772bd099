// Reads the hologram image stream back as the printer would: packets and escapes to the
// 81 920 column bytes, the column bytes to the 1024 x 640 image, and a whole image job to
// its contrast, sides and cards. Used to check and to show what a job lays on the card.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "driver/overlay/hologram_stream.h"

namespace qf {

// Decodes packets starting at `bytes` until exactly `length` data bytes are known (a side's
// image is kHologramImageBytes), each data byte 0x5B followed by its second 0x5B. On
// success fills `out`, sets `consumed` to the stream bytes read and returns true;
// otherwise returns false with the reason and its offset in `error`.
bool DecodeHologramPackets(const uint8_t* bytes, size_t size, uint8_t* out, size_t length, size_t* consumed,
                           std::string* error);

// The image whose column stream is `columns`.
void HologramImageFromColumns(const uint8_t* columns, HologramImage& image);

// What an image job asks of the printer.
struct HologramJobContent {
    uint32_t contrast = 0;
    bool bothSides = false;
    std::vector<HologramImage> sides;  // the front, and the back when both sides are laid
    uint32_t cards = 0;                // the first card and every further copy
};

// Reads a whole image job. Returns false, with the reason and its offset in `error`,
// when the bytes are not exactly such a job.
bool DecodeHologramImageJob(std::string_view job, HologramJobContent& content, std::string* error);

}  // namespace qf
