// The hologram image stream: packets, escaping, write-outs, column order, the image job,
// and the independent decoder reading all of it back.
#include "driver/overlay/hologram_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "driver/overlay/hologram_decoder.h"
#include "tests/support/hologram_transcription.h"

namespace qf {
namespace {

using Bytes = std::vector<uint8_t>;
using Writes = std::vector<Bytes>;

std::string Hex(const Bytes& bytes, size_t limit = 96) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 0xF];
        out += ' ';
    }
    if (bytes.size() > limit) out += "... (" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

void Collect(void* context, const uint8_t* bytes, size_t length) {
    static_cast<Writes*>(context)->emplace_back(bytes, bytes + length);
}

Bytes Joined(const Writes& writes) {
    Bytes all;
    for (const Bytes& w : writes) all.insert(all.end(), w.begin(), w.end());
    return all;
}

// The writes of encoding `data` byte by byte, and with the block encoder.
Writes EncodeByteByByte(const Bytes& data) {
    Writes writes;
    auto rle = std::make_unique<HologramRle>();
    const ByteSink sink = {Collect, &writes};
    HologramRleReset(*rle);
    for (const uint8_t b : data) HologramRleAdd(*rle, sink, b);
    HologramRleFlush(*rle, sink);
    return writes;
}

Writes EncodeBlock(const Bytes& data) {
    Writes writes;
    auto rle = std::make_unique<HologramRle>();
    HologramRleEncode(*rle, {Collect, &writes}, data.data(), data.size());
    return writes;
}

Bytes Counting(uint8_t first, size_t count) {
    Bytes bytes;
    for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(first + i));
    return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST(HologramStream, WorkedExamples) {
    struct Row {
        const char* what;
        Bytes data;
        Bytes expected;
    };
    const Row rows[] = {
        {"run inside", {0x01, 0x02, 0x02, 0x02, 0x03}, {0x01, 0x01, 0x83, 0x02, 0x01, 0x03}},
        {"run at the end", {0x01, 0x02, 0x03, 0x03}, {0x02, 0x01, 0x02, 0x82, 0x03}},
        {"one byte", {0x07}, {0x01, 0x07}},
        {"nothing", {}, {}},
        {"escaped literal", {0x5B, 0x00}, {0x02, 0x5B, 0x5B, 0x00}},
        {"escaped repeat", {0x5B, 0x5B, 0x5B}, {0x83, 0x5B, 0x5B}},
        {"39 counting bytes", Counting(0x01, 39),
         Concat({{0x1F}, Counting(0x01, 31), {0x08}, Counting(0x20, 8)})},
        {"31-byte literal", Counting(0x01, 31), Concat({{0x1F}, Counting(0x01, 31)})},
        // The 31st byte of a literal is taken even when a run starts with it.
        {"literal full at a run", Concat({Counting(0x01, 30), {0x40, 0x40, 0x40}}),
         Concat({{0x1F}, Counting(0x01, 30), {0x40, 0x82, 0x40}})},
        {"literal of one before a run", {0x01, 0x02, 0x02}, {0x01, 0x01, 0x82, 0x02}},
        {"127 equal", Bytes(127, 0xAA), {0xFF, 0xAA}},
        {"128 equal", Bytes(128, 0xAA), {0xFF, 0xAA, 0x01, 0xAA}},
        {"129 equal", Bytes(129, 0xAA), {0xFF, 0xAA, 0x82, 0xAA}},
        {"255 equal", Bytes(255, 0x00), {0xFF, 0x00, 0xFF, 0x00, 0x01, 0x00}},
    };
    for (const Row& row : rows) {
        const Writes bytewise = EncodeByteByByte(row.data);
        EXPECT_EQ(Joined(bytewise), row.expected) << row.what << ": " << Hex(Joined(bytewise));
        EXPECT_EQ(EncodeBlock(row.data), bytewise) << row.what << ": the block encoder writes differently";
    }
}

TEST(HologramStream, WriteOutPoints) {
    // A full literal is written at once; the flush writes the rest, here nothing.
    EXPECT_EQ(EncodeByteByByte(Counting(0x01, 31)), (Writes{Concat({{0x1F}, Counting(0x01, 31)}), {}}));

    // Runs of two: 2-byte repeat packets, written out when 2000 bytes are held.
    Bytes pairs;
    for (int i = 0; i < 1001; ++i) pairs.insert(pairs.end(), 2, static_cast<uint8_t>(i % 2));
    const Writes writes = EncodeByteByByte(pairs);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].size(), 2000u);
    EXPECT_EQ(writes[1], (Bytes{0x82, 0x00}));
    EXPECT_EQ(EncodeBlock(pairs), writes);

    // A run that the end of the data closes is written by the flush alone; a run that
    // reaches 127 is written at once, and the flush then writes nothing.
    const Bytes endsInRun(pairs.begin(), pairs.begin() + 2000);
    EXPECT_EQ(EncodeByteByByte(endsInRun), (Writes{Bytes(writes[0].begin(), writes[0].end())}));
    EXPECT_EQ(EncodeBlock(endsInRun), EncodeByteByByte(endsInRun));
    Bytes endsInLongRun(pairs.begin(), pairs.begin() + 1998);
    endsInLongRun.insert(endsInLongRun.end(), 127, 0x33);
    const Writes longRun = EncodeByteByByte(endsInLongRun);
    ASSERT_EQ(longRun.size(), 2u);
    EXPECT_EQ(longRun[0].size(), 2000u);
    EXPECT_TRUE(longRun[1].empty());
    EXPECT_EQ(EncodeBlock(endsInLongRun), longRun);

    // A literal does not trigger the write-out; the repeat packet after it does.
    Bytes literalLast(pairs.begin(), pairs.begin() + 1998);  // 999 packets, 1998 bytes
    literalLast.insert(literalLast.end(), {0x05, 0x06, 0x07, 0x07, 0x09});
    const Writes mixed = EncodeByteByByte(literalLast);
    ASSERT_EQ(mixed.size(), 2u);
    EXPECT_EQ(mixed[0].size(), 1998u + 3 + 2);
    EXPECT_EQ(mixed[1], (Bytes{0x01, 0x09}));
    EXPECT_EQ(EncodeBlock(literalLast), mixed);
}

TEST(HologramStream, WriteEscapedDataPieces) {
    const auto pieces = [](const Bytes& data) {
        Writes writes;
        WriteEscapedData({Collect, &writes}, data.data(), data.size());
        return writes;
    };
    EXPECT_EQ(pieces({0x01, 0x02}), (Writes{{0x01, 0x02}}));
    EXPECT_EQ(pieces({0x00, 0x5B, 0x01}), (Writes{{0x00, 0x5B}, {0x5B}, {0x01}}));
    EXPECT_EQ(pieces({0x5B}), (Writes{{0x5B}, {0x5B}, {}}));
    EXPECT_EQ(pieces({0x5B, 0x5B}), (Writes{{0x5B}, {0x5B}, {0x5B}, {0x5B}, {}}));
    EXPECT_EQ(pieces({}), (Writes{{}}));
}

// Bytes with runs and literals of every length, from a seed.
Bytes Structured(uint32_t seed, size_t size) {
    std::mt19937 random(seed);
    Bytes data;
    while (data.size() < size) {
        const uint32_t kind = random() % 4;
        const size_t length = 1 + random() % (kind == 0 ? 300 : 40);
        if (kind == 0) {
            data.insert(data.end(), length, static_cast<uint8_t>(random()));
        } else if (kind == 1) {
            // Few values, so that pairs turn up inside literals.
            for (size_t i = 0; i < length; ++i) data.push_back(static_cast<uint8_t>(0x5A + random() % 3));
        } else {
            for (size_t i = 0; i < length; ++i) data.push_back(static_cast<uint8_t>(random()));
        }
    }
    data.resize(size);
    return data;
}

TEST(HologramStream, RoundTripThroughTheDecoder) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        const Bytes data = seed % 2 ? Structured(seed, kHologramImageBytes) : [seed] {
            std::mt19937 random(seed);
            Bytes noise(kHologramImageBytes);
            for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
            return noise;
        }();
        const Writes writes = EncodeBlock(data);
        ASSERT_EQ(writes, EncodeByteByByte(data)) << "seed " << seed;
        const Bytes stream = Joined(writes);
        Bytes decoded(kHologramImageBytes);
        size_t consumed = 0;
        std::string error;
        ASSERT_TRUE(DecodeHologramPackets(stream.data(), stream.size(), decoded.data(), decoded.size(), &consumed,
                                          &error))
            << "seed " << seed << ": " << error;
        EXPECT_EQ(consumed, stream.size()) << "seed " << seed;
        EXPECT_EQ(decoded, data) << "seed " << seed;
    }
}

TEST(HologramStream, DecoderRefusesMalformedStreams) {
    struct Row {
        const char* what;
        Bytes stream;
    };
    Bytes whole;
    for (int i = 0; i < 645; ++i) whole.insert(whole.end(), {0xFF, 0x00});
    const Row rows[] = {
        {"no packet starts with 0x00", Concat({{0x00}, whole})},
        {"no packet starts with 0x20", Concat({{0x20}, whole})},
        {"no packet starts with 0x81", Concat({{0x81, 0x00}, whole})},
        {"stream ends early", whole},
        {"stream ends inside a packet", Concat({whole, {0x85}})},
        {"repeat past the image", Concat({whole, {0x86, 0x00}})},
        {"literal past the image", Concat({whole, {0x06, 1, 2, 3, 4, 5, 6}})},
        {"0x5B not doubled", Concat({{0x02, 0x5B, 0x00}, whole})},
    };
    for (const Row& row : rows) {
        Bytes columns(kHologramImageBytes);
        size_t consumed = 0;
        std::string error;
        EXPECT_FALSE(DecodeHologramPackets(row.stream.data(), row.stream.size(), columns.data(), columns.size(),
                                           &consumed, &error))
            << row.what;
        EXPECT_FALSE(error.empty()) << row.what;
    }
}

std::unique_ptr<HologramImage> Filled(bool white) {
    auto image = std::make_unique<HologramImage>();
    FillHologramImage(*image, white);
    return image;
}

TEST(HologramStream, ColumnStreamCorners) {
    // A single white dot on black: the only set bit of the stream, and where it is.
    struct Row {
        uint32_t x, y;
        size_t index;
        uint8_t value;
    };
    const Row rows[] = {
        {1023, 0, 0, 0x80},                            // top right: the very first bit
        {1023, 639, 79, 0x01},                         // bottom right: end of the first column
        {0, 0, kHologramImageBytes - 80, 0x80},        // top left: start of the last column
        {0, 639, kHologramImageBytes - 1, 0x01},       // bottom left: the very last bit
        {1016, 8, 7 * 80 + 1, 0x80},                   // dot 8c of byte column 127 comes eighth
    };
    for (const Row& row : rows) {
        auto image = Filled(false);
        SetHologramDot(*image, row.x, row.y, true);
        Bytes columns(kHologramImageBytes);
        HologramColumnStream(*image, columns.data());
        Bytes expected(kHologramImageBytes, 0);
        expected[row.index] = row.value;
        EXPECT_EQ(columns, expected) << "dot " << row.x << ", " << row.y;
    }
}

// Images on which the fast side pass must write exactly what the bit-by-bit one writes.
std::vector<std::pair<std::string, std::unique_ptr<HologramImage>>> SampleImages() {
    std::vector<std::pair<std::string, std::unique_ptr<HologramImage>>> images;
    images.emplace_back("white", Filled(true));
    images.emplace_back("black", Filled(false));
    auto checker = Filled(false);
    auto stripes = Filled(false);
    auto random = Filled(false);
    std::mt19937 generator(7);
    for (uint32_t y = 0; y < kHologramHeight; ++y) {
        for (uint32_t x = 0; x < kHologramWidth; ++x) {
            SetHologramDot(*checker, x, y, (x + y) % 2 == 0);
            SetHologramDot(*stripes, x, y, (x / 3) % 2 == 0);
        }
    }
    for (uint8_t& b : random->rows) b = static_cast<uint8_t>(generator());
    images.emplace_back("checkerboard", std::move(checker));
    images.emplace_back("stripes", std::move(stripes));
    images.emplace_back("random", std::move(random));
    const uint32_t corners[4][2] = {{0, 0}, {1023, 0}, {0, 639}, {1023, 639}};
    for (const auto& corner : corners) {
        auto dot = Filled(true);
        SetHologramDot(*dot, corner[0], corner[1], false);
        images.emplace_back("dot " + std::to_string(corner[0]) + "," + std::to_string(corner[1]), std::move(dot));
    }
    return images;
}

TEST(HologramStream, FastSidePassMatchesBitByBit) {
    auto rle = std::make_unique<HologramRle>();
    for (const auto& [name, image] : SampleImages()) {
        Writes fast, plain;
        WriteHologramSide(*rle, {Collect, &fast}, *image);
        WriteHologramSideBitByBit(*rle, {Collect, &plain}, *image);
        EXPECT_EQ(fast, plain) << name << ": fast " << Hex(Joined(fast)) << "\nplain " << Hex(Joined(plain));
        // The word form, for processors without vector instructions, gives the same stream.
        Bytes columns(kHologramImageBytes), words(kHologramImageBytes);
        HologramColumnStream(*image, columns.data());
        HologramColumnStreamWords(*image, words.data());
        EXPECT_EQ(words, columns) << name;
    }
}

std::string ByteText(std::initializer_list<uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(HologramStream, WhiteAndBlackImageJobs) {
    // One copy, one side, H contrast 5.
    std::string white = "\x1B+CH 5\r\x1BMASTER\r\x1B" "F\r\x1BG 0 0 12 640 1024 0\r\x1BZ";
    std::string black = white;
    for (int i = 0; i < 645; ++i) {
        white += ByteText({0xFF, 0xFF});
        black += ByteText({0xFF, 0x00});
    }
    white += ByteText({0x85, 0xFF});
    black += ByteText({0x85, 0x00});
    for (std::string* job : {&white, &black}) *job += "\r\x1BIH 31\r\x1BMO\r";

    EXPECT_EQ(HologramImageJobBytes(*Filled(true), 5, 1, false), white);
    EXPECT_EQ(HologramImageJobBytes(*Filled(false), 5, 1, false), black);
    // Every command is a write of its own; the image is one write of 1 292 bytes.
    std::vector<std::string> writes;
    ASSERT_TRUE(HologramImageJobWrites(*Filled(true), 5, 1, false, &writes));
    ASSERT_EQ(writes.size(), 7u);
    EXPECT_EQ(writes[3].size(), 1292u);
}

TEST(HologramStream, ImageJobReadBack) {
    auto image = Filled(true);
    std::mt19937 generator(3);
    for (int i = 0; i < 20000; ++i) SetHologramDot(*image, generator() % 1024, generator() % 640, false);
    for (int y = 0; y < 40; ++y) std::fill_n(image->rows + (100 + y) * kHologramRowBytes + 10, 20, 0x5B);

    struct Row {
        uint32_t copies;
        bool bothSides;
        uint32_t cards;
    };
    for (const Row& row : {Row{0, false, 1}, Row{1, true, 1}, Row{3, true, 3}, Row{2, false, 2}}) {
        const std::string job = HologramImageJobBytes(*image, 7, row.copies, row.bothSides);
        HologramJobContent content;
        std::string error;
        ASSERT_TRUE(DecodeHologramImageJob(job, content, &error)) << error;
        EXPECT_EQ(content.contrast, 7u);
        EXPECT_EQ(content.bothSides, row.bothSides);
        EXPECT_EQ(content.cards, row.cards);
        ASSERT_EQ(content.sides.size(), row.bothSides ? 2u : 1u);
        for (const HologramImage& side : content.sides) {
            EXPECT_EQ(0, std::memcmp(side.rows, image->rows, kHologramImageBytes));
        }
    }

    // A job cut short or with a stray byte is not a job.
    const std::string job = HologramImageJobBytes(*image, 7, 2, false);
    HologramJobContent content;
    EXPECT_FALSE(DecodeHologramImageJob(job.substr(0, job.size() - 1), content, nullptr));
    EXPECT_FALSE(DecodeHologramImageJob(job + "x", content, nullptr));
}

}  // namespace
}  // namespace qf
