// Monochrome (1 bit per pixel) BMP files for the overlay and hologram areas: the check of
// a file against the bytes actually read, and the rendering of a checked file into the
// 1024 x 640 hologram image.
//
// The module takes the pixel rows to start right after the 40-byte information header and
// a two-entry colour table (file offset 62), and draws index 0 black and index 1 white
// whatever colours the file names.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/overlay/hologram_stream.h"

namespace qf {

constexpr size_t kBmpFileHeaderBytes = 14;
constexpr size_t kBmpInfoHeaderBytes = 40;
// The information header and two colour entries come before the pixel rows.
constexpr size_t kMonochromePixelOffset = kBmpFileHeaderBytes + kBmpInfoHeaderBytes + 2 * 4;
// The largest width and height the module draws.
constexpr int32_t kBitmapMaxSide = 16384;
// No file the check accepts uses more bytes than this (the largest rows after the
// headers); a reader may stop there instead of taking in a larger file whole.
constexpr size_t kMonochromeFileMaxBytes =
    kMonochromePixelOffset + static_cast<size_t>(kBitmapMaxSide) / 8 * static_cast<size_t>(kBitmapMaxSide);

enum class BitmapCheck {
    Ok,
    TooShort,        // the file and information headers are not both there
    NotBitmap,       // the file does not start with "BM"
    HeaderTooSmall,  // the information header says it is shorter than 40 bytes
    NotMonochrome,   // not 1 bit per pixel
    Compressed,      // a compression other than none
    BadSize,         // width or height not positive, or above kBitmapMaxSide
    RowsMissing,     // the rows of the header's size do not fit in the file
};

// A checked file: its rows, bottom row first as the file stores them.
struct MonochromeBitmap {
    int32_t width;
    int32_t height;
    size_t stride;           // bytes per row, a multiple of 4
    const uint8_t* rows;     // points into the file's bytes
};

// Checks the `size` bytes read from a file (all of it, or its first kMonochromeFileMaxBytes:
// the header's own size field is not trusted) and on success describes its pixels in
// `bitmap`, which points into `file`.
BitmapCheck CheckMonochromeBitmap(const uint8_t* file, size_t size, MonochromeBitmap* bitmap);

// Whether dot (x, y) of a checked bitmap is white, y counted from the top line.
bool MonochromeDotIsWhite(const MonochromeBitmap& bitmap, int32_t x, int32_t y);

// The hologram image the printer receives for a checked bitmap: the file is stretched
// over the whole 1024 x 640 card upright (its top line at y = 0), a card dot white only
// when every file pixel that falls on it is white; `rotated` turns the result by 180
// degrees (card dot (x, y) is upright dot (1023 - x, 639 - y)). Every card dot is set,
// starting from white.
void RenderHologramImage(const MonochromeBitmap& bitmap, bool rotated, HologramImage& image);

}  // namespace qf
