// Bitmap files under arbitrary bytes: the check never reads outside the bytes it is given,
// and whatever it accepts renders (upright and turned) within them.
//
// An input whose first byte is even is taken as the file itself. Otherwise the rest of it
// follows a 1-bit header whose width, height and size field come from the input, so that
// files the check accepts, or nearly accepts, are common enough for the rendering to be
// tried often.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "driver/overlay/monochrome_bitmap.h"

namespace {

void Put32(std::vector<uint8_t>& file, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> FileFrom(const uint8_t* data, size_t size) {
    if (size == 0 || data[0] % 2 == 0) return std::vector<uint8_t>(data, data + size);
    // Byte 1 width, 2 height (signed, so that 0 and negative sizes come up), 3 a size
    // field; the rest the rows.
    uint8_t fields[3] = {};
    std::memcpy(fields, data + 1, size - 1 < sizeof fields ? size - 1 : sizeof fields);
    const size_t used = 1 + sizeof fields < size ? 1 + sizeof fields : size;
    std::vector<uint8_t> file(62, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, fields[2] * 1000u);
    Put32(file, 10, 62);
    Put32(file, 14, 40);
    Put32(file, 18, static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(fields[0]))));
    Put32(file, 22, static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(fields[1]))));
    file[26] = 1;
    file[28] = 1;
    file.insert(file.end(), data + used, data + size);
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto image = std::make_unique<qf::HologramImage>();
    // Exactly the file's bytes on the heap, so that AddressSanitizer sees any read past them.
    const std::vector<uint8_t> file = FileFrom(data, size);
    qf::MonochromeBitmap bitmap = {};
    if (qf::CheckMonochromeBitmap(file.data(), file.size(), &bitmap) != qf::BitmapCheck::Ok) return 0;
    const size_t rowsEnd =
        static_cast<size_t>(bitmap.rows - file.data()) + bitmap.stride * static_cast<size_t>(bitmap.height);
    if (bitmap.width <= 0 || bitmap.height <= 0 || rowsEnd > file.size()) std::abort();
    qf::RenderHologramImage(bitmap, size % 4 == 1, *image);
    return 0;
}
