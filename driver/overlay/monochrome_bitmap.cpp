// Monochrome BMP files: the check against the bytes read, and the hologram rendering.
#include "driver/overlay/monochrome_bitmap.h"

#include <cstring>

namespace qf {
namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

// The file pixels [first, end) that fall on each of `dots` card dots when `pixels`
// pixels are stretched over them; every dot gets at least one pixel.
struct Span {
    int32_t first;
    int32_t end;
};
template <size_t dots>
void Spans(int32_t pixels, Span (&spans)[dots]) {
    for (size_t d = 0; d < dots; ++d) {
        const int32_t first = static_cast<int32_t>(static_cast<int64_t>(d) * pixels / static_cast<int64_t>(dots));
        const int32_t end = static_cast<int32_t>(static_cast<int64_t>(d + 1) * pixels / static_cast<int64_t>(dots));
        spans[d] = {first, end > first ? end : first + 1};
    }
}

bool KnownInfoHeader(uint32_t size) {
    return size == kBmpInfoHeaderBytes || size == kBmpV4InfoHeaderBytes || size == kBmpV5InfoHeaderBytes;
}

}  // namespace

BitmapCheck CheckMonochromeBitmap(const uint8_t* file, size_t size, MonochromeBitmap* bitmap) {
    if (file == nullptr || size < kBmpFileHeaderBytes + kBmpInfoHeaderBytes) return BitmapCheck::TooShort;
    if (file[0] != 'B' || file[1] != 'M') return BitmapCheck::NotBitmap;
    const uint32_t pixelOffset = U32(file + 10);
    const uint8_t* info = file + kBmpFileHeaderBytes;
    const uint32_t infoSize = U32(info);
    if (!KnownInfoHeader(infoSize)) return BitmapCheck::UnknownHeader;
    const int32_t width = I32(info + 4);
    const int64_t heightField = I32(info + 8);
    if (U16(info + 12) != 1) return BitmapCheck::NotOnePlane;
    if (U16(info + 14) != 1) return BitmapCheck::NotMonochrome;
    if (U32(info + 16) != 0) return BitmapCheck::Compressed;
    // A negative height is a picture stored top line first.
    const bool topDown = heightField < 0;
    const int64_t height = topDown ? -heightField : heightField;
    if (width <= 0 || height == 0 || width > kBitmapMaxSide || height > kBitmapMaxSide) return BitmapCheck::BadSize;
    // The rows may not overlap the headers, and a reader that stops at
    // kMonochromeFileMaxBytes must still hold all of them.
    if (pixelOffset < kBmpFileHeaderBytes + infoSize || pixelOffset > kBitmapMaxPixelOffset)
        return BitmapCheck::BadPixelOffset;
    // Rows are padded to whole 32-bit words.
    const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
    if (size < pixelOffset || (size - pixelOffset) / stride < static_cast<size_t>(height)) return BitmapCheck::RowsMissing;
    if (bitmap != nullptr) *bitmap = {width, static_cast<int32_t>(height), topDown, stride, file + pixelOffset};
    return BitmapCheck::Ok;
}

const uint8_t* MonochromeLine(const MonochromeBitmap& bitmap, int32_t y) {
    const int32_t stored = bitmap.topDown ? y : bitmap.height - 1 - y;
    return bitmap.rows + static_cast<size_t>(stored) * bitmap.stride;
}

bool MonochromeDotIsWhite(const MonochromeBitmap& bitmap, int32_t x, int32_t y) {
    return (MonochromeLine(bitmap, y)[x / 8] & (0x80u >> (x % 8))) != 0;
}

void RenderHologramImage(const MonochromeBitmap& bitmap, bool rotated, HologramImage& image) noexcept {
    // A stretch that shrinks lets black win, so that thin lines survive.
    FillHologramImage(image, true);
    Span across[kHologramWidth];
    Span down[kHologramHeight];
    Spans(bitmap.width, across);
    Spans(bitmap.height, down);
    uint8_t white[kHologramWidth];
    for (uint32_t y = 0; y < kHologramHeight; ++y) {
        std::memset(white, 1, sizeof white);
        for (int32_t sy = down[y].first; sy < down[y].end; ++sy) {
            const uint8_t* row = MonochromeLine(bitmap, sy);
            for (uint32_t x = 0; x < kHologramWidth; ++x) {
                for (int32_t sx = across[x].first; white[x] != 0 && sx < across[x].end; ++sx) {
                    white[x] = (row[sx / 8] >> (7 - sx % 8)) & 1;
                }
            }
        }
        // Eight dots to a byte, the leftmost in the top bit; turned, the card's row and
        // dot order run backwards.
        uint8_t* out = image.rows + (rotated ? kHologramHeight - 1 - y : y) * kHologramRowBytes;
        for (uint32_t c = 0; c < kHologramRowBytes; ++c) {
            uint8_t byte = 0;
            for (uint32_t k = 0; k < 8; ++k) {
                const uint32_t x = rotated ? kHologramWidth - 1 - (8 * c + k) : 8 * c + k;
                byte = static_cast<uint8_t>((byte << 1) | white[x]);
            }
            out[c] = byte;
        }
    }
}

}  // namespace qf
