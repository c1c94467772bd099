// Monochrome BMP files: the check against the bytes read, and the hologram rendering.
#include "driver/overlay/monochrome_bitmap.h"

#include <cstring>
#include <vector>

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
std::vector<Span> Spans(int32_t pixels, uint32_t dots) {
    std::vector<Span> spans(dots);
    for (uint32_t d = 0; d < dots; ++d) {
        const int32_t first = static_cast<int32_t>(int64_t{d} * pixels / dots);
        const int32_t end = static_cast<int32_t>(int64_t{d + 1} * pixels / dots);
        spans[d] = {first, end > first ? end : first + 1};
    }
    return spans;
}

}  // namespace

BitmapCheck CheckMonochromeBitmap(const uint8_t* file, size_t size, MonochromeBitmap* bitmap) {
    if (file == nullptr || size < kBmpFileHeaderBytes + kBmpInfoHeaderBytes) return BitmapCheck::TooShort;
    if (file[0] != 'B' || file[1] != 'M') return BitmapCheck::NotBitmap;
    const uint8_t* info = file + kBmpFileHeaderBytes;
    if (U32(info) < kBmpInfoHeaderBytes) return BitmapCheck::HeaderTooSmall;
    const int32_t width = I32(info + 4);
    const int32_t height = I32(info + 8);
    if (U16(info + 14) != 1) return BitmapCheck::NotMonochrome;
    if (U32(info + 16) != 0) return BitmapCheck::Compressed;
    if (width <= 0 || height <= 0 || width > kBitmapMaxSide || height > kBitmapMaxSide) {
        return BitmapCheck::BadSize;
    }
    // Rows are padded to whole 32-bit words.
    const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
    if (size < kMonochromePixelOffset || (size - kMonochromePixelOffset) / stride < static_cast<size_t>(height)) {
        return BitmapCheck::RowsMissing;
    }
    if (bitmap != nullptr) *bitmap = {width, height, stride, file + kMonochromePixelOffset};
    return BitmapCheck::Ok;
}

bool MonochromeDotIsWhite(const MonochromeBitmap& bitmap, int32_t x, int32_t y) {
    const uint8_t* row = bitmap.rows + static_cast<size_t>(bitmap.height - 1 - y) * bitmap.stride;
    return (row[x / 8] & (0x80u >> (x % 8))) != 0;
}

void RenderHologramImage(const MonochromeBitmap& bitmap, bool rotated, HologramImage& image) {
    // A stretch that shrinks lets black win, so that thin lines survive.
    FillHologramImage(image, true);
    const std::vector<Span> across = Spans(bitmap.width, kHologramWidth);
    const std::vector<Span> down = Spans(bitmap.height, kHologramHeight);
    uint8_t white[kHologramWidth];
    for (uint32_t y = 0; y < kHologramHeight; ++y) {
        std::memset(white, 1, sizeof white);
        for (int32_t sy = down[y].first; sy < down[y].end; ++sy) {
            const uint8_t* row = bitmap.rows + static_cast<size_t>(bitmap.height - 1 - sy) * bitmap.stride;
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
