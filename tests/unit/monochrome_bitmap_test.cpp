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

// How a 1-bit BMP file lays out its headers and rows.
struct Layout {
    uint32_t infoSize = 40;   // 40, or 108 and 124 as image editors write by default
    bool topDown = false;     // negative height: the top line first
    uint32_t gap = 0;         // bytes between the colour table and the rows
};

// A 1-bit BMP file: rows padded to 4 bytes, bottom row first unless the layout says
// otherwise, after the information header and a two-entry colour table.
Bytes MakeBmp(int32_t width, int32_t height, const DotFunction& white, const Layout& layout = Layout()) {
    const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
    const size_t table = 14 + layout.infoSize;
    const size_t offset = table + 8 + layout.gap;
    Bytes file(offset + stride * static_cast<size_t>(height), 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<uint32_t>(file.size()));
    Put32(file, 10, static_cast<uint32_t>(offset));
    Put32(file, 14, layout.infoSize);
    Put32(file, 18, static_cast<uint32_t>(width));
    Put32(file, 22, static_cast<uint32_t>(layout.topDown ? -height : height));
    Put16(file, 26, 1);
    Put16(file, 28, 1);
    Put32(file, 38, 11811);
    Put32(file, 42, 11811);
    // A colour table the module ignores: index 0 white, index 1 black.
    Put32(file, table, 0xFFFFFF);
    // The gap holds bytes that would show as a pattern if they were taken for rows.
    for (size_t at = table + 8; at < offset; ++at) file[at] = 0xA5;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t stored = layout.topDown ? y : height - 1 - y;
        uint8_t* row = file.data() + offset + static_cast<size_t>(stored) * stride;
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
    const Bytes topDown = MakeBmp(1024, 640, kAllWhite, {40, true, 0});
    const Bytes v4 = MakeBmp(64, 40, kAllWhite, {108, false, 0});
    const Bytes v5 = MakeBmp(64, 40, kAllWhite, {124, true, 16});
    const auto offsetAt = [&good](uint32_t offset) {
        Bytes f = good;
        Put32(f, 10, offset);
        return f;
    };
    const Row rows[] = {
        {"1024 x 640", good, BitmapCheck::Ok},
        {"33 x 3", odd, BitmapCheck::Ok},
        {"1 x 1", MakeBmp(1, 1, kAllWhite), BitmapCheck::Ok},
        {"top-down (negative height)", topDown, BitmapCheck::Ok},
        {"top-down 1 x 1", MakeBmp(1, 1, kAllWhite, {40, true, 0}), BitmapCheck::Ok},
        {"108-byte information header", v4, BitmapCheck::Ok},
        {"124-byte information header, top-down, rows after a gap", v5, BitmapCheck::Ok},
        {"empty", {}, BitmapCheck::TooShort},
        {"file header only", cut(good, 14), BitmapCheck::TooShort},
        {"information header cut", cut(good, 53), BitmapCheck::TooShort},
        {"headers without colours", cut(good, 54), BitmapCheck::RowsMissing},
        {"not BM", with(0, 0x4D42 ^ 0x0101, false), BitmapCheck::NotBitmap},
        {"core header", with(14, 12), BitmapCheck::UnknownHeader},
        {"52-byte information header", with(14, 52), BitmapCheck::UnknownHeader},
        {"64-byte information header", with(14, 64), BitmapCheck::UnknownHeader},
        {"information header of 41 bytes", with(14, 41), BitmapCheck::UnknownHeader},
        {"information header of 0xFFFFFFFF bytes", with(14, 0xFFFFFFFF), BitmapCheck::UnknownHeader},
        {"no plane", with(26, 0, false), BitmapCheck::NotOnePlane},
        {"two planes", with(26, 2, false), BitmapCheck::NotOnePlane},
        {"24 bits", with(28, 24, false), BitmapCheck::NotMonochrome},
        {"no bit count", with(28, 0, false), BitmapCheck::NotMonochrome},
        {"compressed", with(30, 1), BitmapCheck::Compressed},
        {"width 0", with(18, 0), BitmapCheck::BadSize},
        {"height 0", with(22, 0), BitmapCheck::BadSize},
        {"negative width", with(18, static_cast<uint32_t>(-1024)), BitmapCheck::BadSize},
        {"huge width", with(18, 0x7FFFFFFF), BitmapCheck::BadSize},
        {"huge height", with(22, 16385), BitmapCheck::BadSize},
        {"huge top-down height", with(22, static_cast<uint32_t>(-16385)), BitmapCheck::BadSize},
        {"most negative height", with(22, 0x80000000), BitmapCheck::BadSize},
        // The pixel offset is the file's own; it may not point into the headers nor
        // past the rows' furthest start.
        {"rows at the end of the information header", offsetAt(54), BitmapCheck::Ok},
        {"rows inside the information header", offsetAt(53), BitmapCheck::BadPixelOffset},
        {"rows at offset 0", offsetAt(0), BitmapCheck::BadPixelOffset},
        {"rows inside a 124-byte header", with(14, 124), BitmapCheck::BadPixelOffset},
        {"rows too far into the file", offsetAt(kBitmapMaxPixelOffset + 1), BitmapCheck::BadPixelOffset},
        {"rows at offset 0xFFFFFFFF", offsetAt(0xFFFFFFFF), BitmapCheck::BadPixelOffset},
        {"rows one byte later", offsetAt(63), BitmapCheck::RowsMissing},
        // The header claims more rows than the file has.
        {"one byte short", cut(good, good.size() - 1), BitmapCheck::RowsMissing},
        {"top-down one byte short", cut(topDown, topDown.size() - 1), BitmapCheck::RowsMissing},
        {"124-byte header one byte short", cut(v5, v5.size() - 1), BitmapCheck::RowsMissing},
        {"taller than its rows", with(22, 641), BitmapCheck::RowsMissing},
        {"top-down taller than its rows", with(22, static_cast<uint32_t>(-641)), BitmapCheck::RowsMissing},
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
    // What a checked file's description holds: the rows at the file's own offset.
    struct Described {
        const char* what;
        const Bytes* file;
        int32_t width, height;
        bool topDown;
        size_t stride, offset;
    };
    for (const Described& d : {Described{"33 x 3", &odd, 33, 3, false, 8, 62},
                               Described{"top-down", &topDown, 1024, 640, true, 128, 62},
                               Described{"108-byte header", &v4, 64, 40, false, 8, 130},
                               Described{"124-byte header", &v5, 64, 40, true, 8, 162}}) {
        MonochromeBitmap bitmap = {};
        ASSERT_EQ(CheckMonochromeBitmap(d.file->data(), d.file->size(), &bitmap), BitmapCheck::Ok) << d.what;
        EXPECT_EQ(bitmap.width, d.width) << d.what;
        EXPECT_EQ(bitmap.height, d.height) << d.what;
        EXPECT_EQ(bitmap.topDown, d.topDown) << d.what;
        EXPECT_EQ(bitmap.stride, d.stride) << d.what;
        EXPECT_EQ(bitmap.rows, d.file->data() + d.offset) << d.what;
    }
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

// The layouts a file can have, each of which must give the same card.
struct NamedLayout {
    const char* what;
    Layout layout;
};
const NamedLayout kLayouts[] = {
    {"classic", {40, false, 0}},
    {"top-down", {40, true, 0}},
    {"108-byte header", {108, false, 0}},
    {"124-byte header, top-down, rows after a gap", {124, true, 20}},
};

TEST(MonochromeBitmap, RenderingPlacesEveryDot) {
    for (const NamedLayout& layout : kLayouts) {
        const Bytes file = MakeBmp(1024, 640, AsymmetricWhite, layout.layout);
        MonochromeBitmap bitmap = {};
        ASSERT_EQ(CheckMonochromeBitmap(file.data(), file.size(), &bitmap), BitmapCheck::Ok) << layout.what;
        for (const auto& dot : {std::pair{0, 0}, {1, 0}, {1023, 5}, {7, 639}, {6, 639}}) {
            EXPECT_EQ(MonochromeDotIsWhite(bitmap, dot.first, dot.second), AsymmetricWhite(dot.first, dot.second))
                << layout.what << " file dot " << dot.first << ", " << dot.second;
        }
        for (const bool rotated : {false, true}) {
            const auto image = Render(file, rotated);
            int wrong = 0;
            for (int32_t y = 0; y < 640 && wrong < 5; ++y) {
                for (int32_t x = 0; x < 1024 && wrong < 5; ++x) {
                    // Unrotated the card holds the file upright; rotated, turned by 180 degrees.
                    const bool expected = rotated ? AsymmetricWhite(1023 - x, 639 - y) : AsymmetricWhite(x, y);
                    if (HologramDotIsWhite(*image, x, y) != expected) {
                        ADD_FAILURE() << layout.what << (rotated ? ", rotated" : ", upright") << " dot " << x << ", "
                                      << y;
                        ++wrong;
                    }
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
    // or turned when rotated, on both sides, whatever the file's layout.
    for (const NamedLayout& layout : kLayouts) {
        const Bytes file = MakeBmp(1024, 640, AsymmetricWhite, layout.layout);
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
                        << layout.what << " " << dot.first << ", " << dot.second << (rotated ? " rotated" : "");
                }
            }
        }
    }
}

}  // namespace
}  // namespace qf
