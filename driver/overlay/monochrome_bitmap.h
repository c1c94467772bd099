// Monochrome (1 bit per pixel) BMP files for the overlay and hologram areas: the check of
// a file against the bytes actually read, and the rendering of a checked file into the
// 1024 x 640 hologram image.
//
// The module reads the classic 40-byte information header and the two longer ones that
// image editors write (108 and 124 bytes, whose first 40 bytes are the same fields), takes
// the pixel rows from the file's own pixel offset, bottom row first or, for a negative
// height, top row first, and draws index 0 black and index 1 white whatever colours the
// file names.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/overlay/hologram_stream.h"

namespace qf {

constexpr size_t kBmpFileHeaderBytes = 14;
// The fields the module reads fill the first 40 bytes of every information header it takes.
constexpr size_t kBmpInfoHeaderBytes = 40;
constexpr size_t kBmpV4InfoHeaderBytes = 108;
constexpr size_t kBmpV5InfoHeaderBytes = 124;
// The rows start no further into the file than this: after the longest information header
// and a colour table of 256 entries, more than any writer puts before the rows of a
// two-colour image.
constexpr size_t kBitmapMaxPixelOffset = kBmpFileHeaderBytes + kBmpV5InfoHeaderBytes + 256 * 4;
// The largest width and height the module draws.
constexpr int32_t kBitmapMaxSide = 16384;
// No file the check accepts uses more bytes than this (the largest rows after the furthest
// pixel offset); a reader may stop there instead of taking in a larger file whole.
constexpr size_t kMonochromeFileMaxBytes =
    kBitmapMaxPixelOffset + static_cast<size_t>(kBitmapMaxSide) / 8 * static_cast<size_t>(kBitmapMaxSide);

enum class BitmapCheck {
    Ok,
    TooShort,        // the file header and a 40-byte information header are not both there
    NotBitmap,       // the file does not start with "BM"
    UnknownHeader,   // an information header of a size other than 40, 108 or 124 bytes
    NotOnePlane,     // a plane count other than 1
    NotMonochrome,   // not 1 bit per pixel
    Compressed,      // a compression other than none
    BadSize,         // width or height 0, a negative width, or a side above kBitmapMaxSide
    BadPixelOffset,  // the pixel offset points into the headers or beyond kBitmapMaxPixelOffset
    RowsMissing,     // the rows of the header's size do not fit in the file after the pixel offset
};

// A checked file: its rows as the file stores them, bottom row first unless `topDown`.
struct MonochromeBitmap {
    int32_t width;
    int32_t height;          // always positive; a top-down file has a negative height field
    bool topDown;            // the first row in the file is the picture's top line
    size_t stride;           // bytes per row, a multiple of 4
    const uint8_t* rows;     // points into the file's bytes, at its pixel offset
};

// Checks the `size` bytes read from a file (all of it, or its first kMonochromeFileMaxBytes:
// the header's own size field is not trusted) and on success describes its pixels in
// `bitmap`, which points into `file`.
BitmapCheck CheckMonochromeBitmap(const uint8_t* file, size_t size, MonochromeBitmap* bitmap);

// Line y of a checked bitmap, y counted from the picture's top line.
const uint8_t* MonochromeLine(const MonochromeBitmap& bitmap, int32_t y);

// Whether dot (x, y) of a checked bitmap is white, y counted from the top line.
bool MonochromeDotIsWhite(const MonochromeBitmap& bitmap, int32_t x, int32_t y);

// The hologram image the printer receives for a checked bitmap: the file is stretched
// over the whole 1024 x 640 card upright (its top line at y = 0), a card dot white only
// when every file pixel that falls on it is white; `rotated` turns the result by 180
// degrees (card dot (x, y) is upright dot (1023 - x, 639 - y)). Every card dot is set,
// starting from white. Allocates nothing.
void RenderHologramImage(const MonochromeBitmap& bitmap, bool rotated, HologramImage& image) noexcept;

}  // namespace qf
