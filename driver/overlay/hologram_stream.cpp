// The hologram image stream: column order, run-length packets, escaping and the job.
#include "driver/overlay/hologram_stream.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "driver/channel/commands.h"

namespace qf {
namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "word scans read the first byte in the low bits");

constexpr uint8_t kMaxLiteral = 31;
constexpr uint8_t kMaxRepeat = 127;
constexpr uint8_t kRepeatBase = 0x80;
constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighs = 0x8080808080808080ULL;

uint64_t Load64(const uint8_t* p) {
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// Transposes the 8 x 8 bit matrix whose byte i is row i: afterwards byte j holds what
// was bit j of every row, row i in bit i.
uint64_t Transpose8x8(uint64_t x) {
    uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
    x ^= t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
    x ^= t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
    x ^= t ^ (t << 28);
    return x;
}

void WriteOut(HologramRle& rle, const ByteSink& sink) {
    WriteEscapedData(sink, rle.buffer, rle.outputPosition);
    rle.outputPosition = 0;
}

void Append(HologramRle& rle, uint8_t byte) { rle.buffer[rle.outputPosition++] = byte; }

// A repeat packet ends; a long buffer goes out at this packet boundary.
void CloseRepeat(HologramRle& rle, const ByteSink& sink, uint8_t count) {
    Append(rle, static_cast<uint8_t>(kRepeatBase + count));
    Append(rle, rle.pending);
    if (rle.outputPosition >= kHologramWriteThreshold) WriteOut(rle, sink);
}

// How many bytes from p[0] on equal p[0], looking at no more than `limit` bytes.
size_t RunLength(const uint8_t* p, size_t limit) {
    const uint64_t pattern = kOnes * p[0];
    size_t k = 1;
    for (; k + 8 <= limit; k += 8) {
        const uint64_t differ = Load64(p + k) ^ pattern;
        if (differ != 0) return k + static_cast<size_t>(__builtin_ctzll(differ)) / 8;
    }
    while (k < limit && p[k] == p[0]) ++k;
    return k;
}

// The first j in [from, last] with p[j] == p[j + 1], or last + 1 when there is none;
// p[last + 1] must be readable.
size_t FirstEqualPair(const uint8_t* p, size_t from, size_t last) {
    size_t j = from;
    for (; j + 7 <= last; j += 8) {
        const uint64_t x = Load64(p + j) ^ Load64(p + j + 1);
        // The lowest flagged byte is always a zero byte of x (higher flags may be borrows).
        const uint64_t zero = (x - kOnes) & ~x & kHighs;
        if (zero != 0) return j + static_cast<size_t>(__builtin_ctzll(zero)) / 8;
    }
    for (; j <= last; ++j) {
        if (p[j] == p[j + 1]) return j;
    }
    return last + 1;
}

void WriteText(const ByteSink& sink, const std::string& text) {
    sink.write(sink.context, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void AppendToWrites(void* context, const uint8_t* bytes, size_t length) {
    static_cast<std::vector<std::string>*>(context)->emplace_back(reinterpret_cast<const char*>(bytes), length);
}

void AppendToBytes(void* context, const uint8_t* bytes, size_t length) {
    static_cast<std::string*>(context)->append(reinterpret_cast<const char*>(bytes), length);
}

}  // namespace

void FillHologramImage(HologramImage& image, bool white) {
    std::memset(image.rows, white ? 0xFF : 0x00, sizeof image.rows);
}

bool HologramDotIsWhite(const HologramImage& image, uint32_t x, uint32_t y) {
    return (image.rows[y * kHologramRowBytes + x / 8] & (0x80u >> (x % 8))) != 0;
}

void SetHologramDot(HologramImage& image, uint32_t x, uint32_t y, bool white) {
    uint8_t& byte = image.rows[y * kHologramRowBytes + x / 8];
    const uint8_t mask = static_cast<uint8_t>(0x80u >> (x % 8));
    byte = white ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
}

void HologramColumnStream(const HologramImage& image, uint8_t* columns) {
    // Byte column c holds dots 8c (bit 0x80) to 8c + 7 (bit 0x01); the stream takes the
    // byte columns from the right, and within each the bit 0x01 first. Eight rows of a
    // byte column are one 8 x 8 block; its transpose gives the eight dot columns' bytes.
    for (size_t c = 0; c < kHologramRowBytes; ++c) {
        uint8_t* out = columns + (kHologramRowBytes - 1 - c) * 8 * kHologramColumnBytes;
        for (size_t block = 0; block < kHologramColumnBytes; ++block) {
            const uint8_t* p = image.rows + block * 8 * kHologramRowBytes + c;
            // The block's first row goes into the high byte, so that it lands in each
            // column byte's most significant bit.
            uint64_t x = 0;
            for (size_t i = 0; i < 8; ++i) x = (x << 8) | p[i * kHologramRowBytes];
            x = Transpose8x8(x);
            for (size_t bit = 0; bit < 8; ++bit) {
                out[bit * kHologramColumnBytes + block] = static_cast<uint8_t>(x >> (8 * bit));
            }
        }
    }
}

void WriteEscapedData(const ByteSink& sink, const uint8_t* bytes, size_t length) {
    static const uint8_t kSecond = kHologramEscape;
    size_t cut = 0;
    while (cut < length) {
        const void* hit = std::memchr(bytes + cut, kHologramEscape, length - cut);
        if (hit == nullptr) break;
        const size_t at = static_cast<size_t>(static_cast<const uint8_t*>(hit) - bytes);
        sink.write(sink.context, bytes + cut, at + 1 - cut);
        sink.write(sink.context, &kSecond, 1);
        cut = at + 1;
    }
    sink.write(sink.context, bytes + cut, length - cut);
}

void HologramRleReset(HologramRle& rle) {
    rle.mode = RleMode::Empty;
    rle.pending = 0;
    rle.runLength = 0;
    rle.countPosition = 0;
    rle.outputPosition = 0;
}

void HologramRleAdd(HologramRle& rle, const ByteSink& sink, uint8_t byte) {
    switch (rle.mode) {
    case RleMode::Empty:
        rle.pending = byte;
        rle.mode = RleMode::One;
        break;
    case RleMode::One:
        if (byte == rle.pending) {
            rle.runLength = 2;
            rle.mode = RleMode::Repeat;
        } else {
            // The count byte counts the pending byte too until it is placed.
            rle.countPosition = rle.outputPosition;
            Append(rle, 2);
            Append(rle, rle.pending);
            rle.pending = byte;
            rle.mode = RleMode::Literal;
        }
        break;
    case RleMode::Literal:
        if (byte == rle.pending) {
            // The pending byte leaves the literal and starts a run.
            --rle.buffer[rle.countPosition];
            rle.runLength = 2;
            rle.mode = RleMode::Repeat;
        } else {
            Append(rle, rle.pending);
            rle.pending = byte;
            if (++rle.buffer[rle.countPosition] == kMaxLiteral) {
                Append(rle, byte);
                WriteOut(rle, sink);
                rle.mode = RleMode::Empty;
            }
        }
        break;
    case RleMode::Repeat:
        if (byte == rle.pending) {
            if (++rle.runLength == kMaxRepeat) {
                CloseRepeat(rle, sink, kMaxRepeat);
                rle.mode = RleMode::Empty;
            }
        } else {
            CloseRepeat(rle, sink, rle.runLength);
            rle.pending = byte;
            rle.mode = RleMode::One;
        }
        break;
    }
}

void HologramRleFlush(HologramRle& rle, const ByteSink& sink) {
    switch (rle.mode) {
    case RleMode::Empty:
        break;
    case RleMode::One:
        Append(rle, 1);
        Append(rle, rle.pending);
        break;
    case RleMode::Repeat:
        Append(rle, static_cast<uint8_t>(kRepeatBase + rle.runLength));
        Append(rle, rle.pending);
        break;
    case RleMode::Literal:
        Append(rle, rle.pending);
        break;
    }
    rle.mode = RleMode::Empty;
    WriteOut(rle, sink);
}

void HologramRleEncode(HologramRle& rle, const ByteSink& sink, const uint8_t* bytes, size_t length) {
    // Each step starts where the byte machine would be empty (or holding one byte that
    // opens the next packet, which is the same): a run of two or more becomes a repeat
    // packet; otherwise a literal runs to the byte before the first pair of equal bytes,
    // or to the end, or to 31 bytes, whose last byte is taken even when it starts a pair.
    HologramRleReset(rle);
    uint8_t* const out = rle.buffer;
    size_t pos = 0;
    size_t i = 0;
    while (i < length) {
        const size_t left = length - i;
        const size_t run = RunLength(bytes + i, left < kMaxRepeat ? left : kMaxRepeat);
        if (run >= 2) {
            out[pos++] = static_cast<uint8_t>(kRepeatBase + run);
            out[pos++] = bytes[i];
            i += run;
            // A run closed by the end of the data is written out by the flush alone.
            if ((run == kMaxRepeat || i < length) && pos >= kHologramWriteThreshold) {
                WriteEscapedData(sink, out, pos);
                pos = 0;
            }
            continue;
        }
        if (left == 1) {
            out[pos++] = 1;
            out[pos++] = bytes[i];
            break;
        }
        // Pairs that start inside the first 30 bytes end the literal.
        const size_t last = std::min(length - 2, i + kMaxLiteral - 2);
        const size_t pair = FirstEqualPair(bytes, i + 1, last);
        size_t count;
        if (pair <= last) {
            count = pair - i;
        } else if (left < kMaxLiteral) {
            count = left;
        } else {
            count = kMaxLiteral;
        }
        out[pos++] = static_cast<uint8_t>(count);
        std::memcpy(out + pos, bytes + i, count);
        pos += count;
        i += count;
        if (count == kMaxLiteral) {
            WriteEscapedData(sink, out, pos);
            pos = 0;
        }
    }
    rle.outputPosition = static_cast<uint16_t>(pos);
    WriteOut(rle, sink);
}

void WriteHologramSide(HologramRle& rle, const ByteSink& sink, const HologramImage& image) {
    HologramColumnStream(image, rle.columns);
    HologramRleEncode(rle, sink, rle.columns, kHologramImageBytes);
}

void WriteHologramImageJob(HologramRle& rle, const ByteSink& sink, const HologramImage& image,
                           uint32_t contrast, uint32_t copies, bool bothSides) {
    for (const HologramImageStep& step : HologramImageSequence(contrast, copies, bothSides)) {
        if (step.sideImage) {
            WriteHologramSide(rle, sink, image);
        } else {
            WriteText(sink, step.command);
        }
    }
}

std::vector<std::string> HologramImageJobWrites(const HologramImage& image, uint32_t contrast,
                                                uint32_t copies, bool bothSides) {
    std::vector<std::string> writes;
    auto rle = std::make_unique<HologramRle>();
    WriteHologramImageJob(*rle, {AppendToWrites, &writes}, image, contrast, copies, bothSides);
    return writes;
}

std::string HologramImageJobBytes(const HologramImage& image, uint32_t contrast, uint32_t copies,
                                  bool bothSides) {
    std::string bytes;
    auto rle = std::make_unique<HologramRle>();
    WriteHologramImageJob(*rle, {AppendToBytes, &bytes}, image, contrast, copies, bothSides);
    return bytes;
}

}  // namespace qf
