// Monochrome bitmap files: the check against the bytes read, the rendering into the
// hologram image, and what the printer receives for a file.
#include "driver/overlay/monochrome_bitmap.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driver/overlay/hologram_decoder.h"

namespace qf {
namespace {

using Bytes = std::vector<uint8_t>;
using DotFunction = std::function<bool(int32_t x, int32_t y)>;  // upright, true = white

void Put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A 1-bit BMP file as paint programs write it: bottom row first, rows padded to 4 bytes.
Bytes MakeBmp(int32_t width, int32_t height, const DotFunction& white) {
    const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
    Bytes file(62 + stride * static_cast<size_t>(height), 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<uint32_t>(file.size()));
    Put32(file, 10, 62);
    Put32(file, 14, 40);
    Put32(file, 18, static_cast<uint32_t>(width));
    Put32(file, 22, static_cast<uint32_t>(height));
    Put16(file, 26, 1);
    Put16(file, 28, 1);
    Put32(file, 38, 11811);
    Put32(file, 42, 11811);
    // A colour table the module ignores: index 0 white, index 1 black.
    Put32(file, 54, 0xFFFFFF);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = file.data() + 62 + static_cast<size_t>(height - 1 - y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            if (white(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    return file;
}

const DotFunction kAllWhite = [](int32_t, int32_t) { return true; };

TEST(MonochromeBitmap, Check) {
    const Bytes good = MakeBmp(1024, 640, kAllWhite);
    struct Row {
        const char* what;
        Bytes file;
        BitmapCheck expected;
    };
    const auto with = [&good](size_t at, uint32_t value, bool wide = true) {
        Bytes f = good;
        if (wide) Put32(f, at, value); else Put16(f, at, value);
        return f;
    };
    const auto cut = [](const Bytes& f, size_t size) { return Bytes(f.begin(), f.begin() + size); };
    const Bytes odd = MakeBmp(33, 3, kAllWhite);  // rows of 8 bytes
    const Row rows[] = {
        {"1024 x 640", good, BitmapCheck::Ok},
        {"33 x 3", odd, BitmapCheck::Ok},
        {"1 x 1", MakeBmp(1, 1, kAllWhite), BitmapCheck::Ok},
        {"empty", {}, BitmapCheck::TooShort},
        {"file header only", cut(good, 14), BitmapCheck::TooShort},
        {"information header cut", cut(good, 53), BitmapCheck::TooShort},
        {"headers without colours", cut(good, 54), BitmapCheck::RowsMissing},
        {"not BM", with(0, 0x4D42 ^ 0x0101, false), BitmapCheck::NotBitmap},
        {"core header", with(14, 12), BitmapCheck::HeaderTooSmall},
        // A longer information header is read for its first 40 bytes; the rows are still
        // taken from offset 62.
        {"longer information header", with(14, 124), BitmapCheck::Ok},
        {"24 bits", with(28, 24, false), BitmapCheck::NotMonochrome},
        {"no bit count", with(28, 0, false), BitmapCheck::NotMonochrome},
        {"compressed", with(30, 1), BitmapCheck::Compressed},
        {"width 0", with(18, 0), BitmapCheck::BadSize},
        {"height 0", with(22, 0), BitmapCheck::BadSize},
        {"negative width", with(18, static_cast<uint32_t>(-1024)), BitmapCheck::BadSize},
        {"top-down (negative height)", with(22, static_cast<uint32_t>(-640)), BitmapCheck::BadSize},
        {"huge width", with(18, 0x7FFFFFFF), BitmapCheck::BadSize},
        {"huge height", with(22, 16385), BitmapCheck::BadSize},
        // The header claims more rows than the file has.
        {"one byte short", cut(good, good.size() - 1), BitmapCheck::RowsMissing},
        {"taller than its rows", with(22, 641), BitmapCheck::RowsMissing},
        {"wider than its rows", with(18, 1025), BitmapCheck::RowsMissing},
        {"largest size, small file", with(22, 16384), BitmapCheck::RowsMissing},
        {"odd rows cut", cut(odd, odd.size() - 1), BitmapCheck::RowsMissing},
        // The size field is not what counts: the bytes read are.
        {"size field too large", with(2, 0xFFFFFFFF), BitmapCheck::Ok},
        {"size field too small", with(2, 14), BitmapCheck::Ok},
        {"one byte long", [&good] { Bytes f = good; f.push_back(0); return f; }(), BitmapCheck::Ok},
    };
    for (const Row& row : rows) {
        MonochromeBitmap bitmap = {};
        EXPECT_EQ(CheckMonochromeBitmap(row.file.data(), row.file.size(), &bitmap), row.expected) << row.what;
    }
    MonochromeBitmap bitmap = {};
    ASSERT_EQ(CheckMonochromeBitmap(odd.data(), odd.size(), &bitmap), BitmapCheck::Ok);
    EXPECT_EQ(bitmap.width, 33);
    EXPECT_EQ(bitmap.height, 3);
    EXPECT_EQ(bitmap.stride, 8u);
    EXPECT_EQ(bitmap.rows, odd.data() + 62);
}

std::unique_ptr<HologramImage> Render(const Bytes& file, bool rotated) {
    MonochromeBitmap bitmap = {};
    EXPECT_EQ(CheckMonochromeBitmap(file.data(), file.size(), &bitmap), BitmapCheck::Ok);
    auto image = std::make_unique<HologramImage>();
    FillHologramImage(*image, false);  // whatever was there before must not show
    RenderHologramImage(bitmap, rotated, *image);
    return image;
}

// An asymmetric card: black dots at a few places, white elsewhere.
bool AsymmetricWhite(int32_t x, int32_t y) {
    return !((x == 0 && y == 0) || (x == 1023 && y == 5) || (x == 7 && y == 639) || (x == 300 && y == 200) ||
             (y == 100 && x >= 600 && x < 640));
}

TEST(MonochromeBitmap, RenderingPlacesEveryDot) {
    const Bytes file = MakeBmp(1024, 640, AsymmetricWhite);
    for (const bool rotated : {false, true}) {
        const auto image = Render(file, rotated);
        int wrong = 0;
        for (int32_t y = 0; y < 640 && wrong < 5; ++y) {
            for (int32_t x = 0; x < 1024 && wrong < 5; ++x) {
                // Unrotated the card holds the file upright; rotated, turned by 180 degrees.
                const bool expected = rotated ? AsymmetricWhite(1023 - x, 639 - y) : AsymmetricWhite(x, y);
                if (HologramDotIsWhite(*image, x, y) != expected) {
                    ADD_FAILURE() << (rotated ? "rotated" : "upright") << " dot " << x << ", " << y;
                    ++wrong;
                }
            }
        }
    }
}

TEST(MonochromeBitmap, RenderingStretches) {
    // Two pixels side by side cover the card's halves.
    const auto halves = Render(MakeBmp(2, 1, [](int32_t x, int32_t) { return x == 1; }), false);
    EXPECT_FALSE(HologramDotIsWhite(*halves, 511, 0));
    EXPECT_TRUE(HologramDotIsWhite(*halves, 512, 639));
    const auto turned = Render(MakeBmp(2, 1, [](int32_t x, int32_t) { return x == 1; }), true);
    EXPECT_TRUE(HologramDotIsWhite(*turned, 511, 0));
    EXPECT_FALSE(HologramDotIsWhite(*turned, 512, 639));

    // Shrinking keeps a lone black pixel.
    const auto shrunk = Render(MakeBmp(2048, 1280, [](int32_t x, int32_t y) { return !(x == 1001 && y == 3); }), false);
    EXPECT_FALSE(HologramDotIsWhite(*shrunk, 500, 1));
    int black = 0;
    for (uint8_t b : shrunk->rows) black += 8 - __builtin_popcount(b);
    EXPECT_EQ(black, 1);
}

TEST(MonochromeBitmap, FirstImageByteOfTheJob) {
    // Black card with one white dot: the first image byte carries it in its top bit when
    // the dot is at the top right upright, or at the bottom left when rotated.
    struct Row {
        int32_t x, y;
        bool rotated;
    };
    for (const Row& row : {Row{1023, 0, false}, Row{0, 639, true}}) {
        const auto image = Render(MakeBmp(1024, 640, [row](int32_t x, int32_t y) { return x == row.x && y == row.y; }),
                                  row.rotated);
        std::vector<uint8_t> columns(kHologramImageBytes);
        HologramColumnStream(*image, columns.data());
        EXPECT_EQ(columns[0], 0x80) << row.x << ", " << row.y << (row.rotated ? " rotated" : "");
    }
}

TEST(MonochromeBitmap, JobDecodedIsTheFileOnTheCard) {
    // File, rendering, job bytes, decoder: the card the printer lays is the file upright,
    // or turned when rotated, on both sides.
    const Bytes file = MakeBmp(1024, 640, AsymmetricWhite);
    for (const bool rotated : {false, true}) {
        const auto image = Render(file, rotated);
        HologramJobContent content;
        std::string error;
        ASSERT_TRUE(DecodeHologramImageJob(HologramImageJobBytes(*image, 4, 2, true), content, &error)) << error;
        ASSERT_EQ(content.sides.size(), 2u);
        for (const HologramImage& side : content.sides) {
            for (const auto& dot : {std::pair{0, 0}, {1023, 5}, {7, 639}, {300, 200}, {620, 100}, {1, 0}}) {
                const int32_t x = rotated ? 1023 - dot.first : dot.first;
                const int32_t y = rotated ? 639 - dot.second : dot.second;
                EXPECT_EQ(HologramDotIsWhite(side, x, y), AsymmetricWhite(dot.first, dot.second))
                    << dot.first << ", " << dot.second << (rotated ? " rotated" : "");
            }
        }
    }
}

}  // namespace
}  // namespace qf
