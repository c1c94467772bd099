// The hologram image stream: column order, run-length packets, escaping and the job.
#include "driver/overlay/hologram_stream.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Swaps the bits of `high` above `shift` with those of `low` below it, in every group
// that `mask` marks: one round of an 8 x 8 bit transpose done on eight columns at once.
void SwapBits(uint64_t& high, uint64_t& low, int shift, uint64_t mask) {
    const uint64_t t = ((high >> shift) ^ low) & mask;
    low ^= t;
    high ^= t << shift;
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
    size_t k = 1;
#if defined(__SSE2__)
    const __m128i value = _mm_set1_epi8(static_cast<char>(p[0]));
    for (; k + 16 <= limit; k += 16) {
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
        const unsigned equal = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(next, value)));
        if (equal != 0xFFFF) return k + static_cast<size_t>(__builtin_ctz(~equal));
    }
#endif
    const uint64_t pattern = kOnes * p[0];
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
    if (j <= last && last >= from + 7) {
        // The last eight positions, overlapping those already seen to hold no pair.
        const size_t k = last - 7;
        const uint64_t x = Load64(p + k) ^ Load64(p + k + 1);
        const uint64_t zero = (x - kOnes) & ~x & kHighs;
        return zero != 0 ? k + static_cast<size_t>(__builtin_ctzll(zero)) / 8 : last + 1;
    }
    for (; j <= last; ++j) {
        if (p[j] == p[j + 1]) return j;
    }
    return last + 1;
}

// The first 0x5B in [from, length), or length.
size_t FindEscape(const uint8_t* p, size_t from, size_t length) {
    constexpr uint64_t kEscapes = kOnes * kHologramEscape;
    size_t k = from;
    for (; k + 8 <= length; k += 8) {
        const uint64_t x = Load64(p + k) ^ kEscapes;
        const uint64_t zero = (x - kOnes) & ~x & kHighs;
        if (zero != 0) return k + static_cast<size_t>(__builtin_ctzll(zero)) / 8;
    }
    while (k < length && p[k] != kHologramEscape) ++k;
    return k;
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

void HologramColumnStreamWords(const HologramImage& image, uint8_t* columns) {
    // Byte column c holds dots 8c (bit 0x80) to 8c + 7 (bit 0x01); the stream takes the
    // byte columns from the right, and within each the bit 0x01 first. Eight rows by
    // eight byte columns are eight words; three rounds of bit swaps between them turn
    // them into eight words by bit, word j holding bit j of every row for each column.
    for (size_t first = 0; first < kHologramRowBytes; first += 8) {
        for (size_t block = 0; block < kHologramColumnBytes; ++block) {
            // Word i is row 7 - i, so that the block's first row ends in the top bit.
            uint64_t w[8];
#pragma GCC unroll 8
            for (size_t i = 0; i < 8; ++i) w[i] = Load64(image.rows + (block * 8 + 7 - i) * kHologramRowBytes + first);
            SwapBits(w[0], w[4], 4, 0x0F0F0F0F0F0F0F0FULL);
            SwapBits(w[1], w[5], 4, 0x0F0F0F0F0F0F0F0FULL);
            SwapBits(w[2], w[6], 4, 0x0F0F0F0F0F0F0F0FULL);
            SwapBits(w[3], w[7], 4, 0x0F0F0F0F0F0F0F0FULL);
            SwapBits(w[0], w[2], 2, 0x3333333333333333ULL);
            SwapBits(w[1], w[3], 2, 0x3333333333333333ULL);
            SwapBits(w[4], w[6], 2, 0x3333333333333333ULL);
            SwapBits(w[5], w[7], 2, 0x3333333333333333ULL);
            SwapBits(w[0], w[1], 1, 0x5555555555555555ULL);
            SwapBits(w[2], w[3], 1, 0x5555555555555555ULL);
            SwapBits(w[4], w[5], 1, 0x5555555555555555ULL);
            SwapBits(w[6], w[7], 1, 0x5555555555555555ULL);
#pragma GCC unroll 8
            for (size_t k = 0; k < 8; ++k) {
                uint8_t* out = columns + (kHologramRowBytes - 1 - first - k) * 8 * kHologramColumnBytes + block;
#pragma GCC unroll 8
                for (size_t bit = 0; bit < 8; ++bit) {
                    out[bit * kHologramColumnBytes] = static_cast<uint8_t>(w[bit] >> (8 * k));
                }
            }
        }
    }
}

#if defined(__SSE2__)
namespace {

// Sixteen rows by sixteen byte columns at a time: a byte transpose gives, per byte
// column, one vector of its sixteen rows; each bit of that column is then one
// movemask, two stream bytes at once.
void ColumnStreamSse2(const HologramImage& image, uint8_t* columns) {
    // Column groups outside, so that the 10 KB of stream they fill stay in the cache.
    for (size_t first = 0; first < kHologramRowBytes; first += 16) {
        for (size_t group = 0; group < kHologramHeight / 16; ++group) {
            // Vector byte b holds row 7 - b for b < 8 and row 23 - b above, so that the
            // movemask's low byte has the group's first row in its top bit and the high
            // byte the ninth row.
            __m128i v[16];
#pragma GCC unroll 16
            for (int b = 0; b < 16; ++b) {
                const size_t row = group * 16 + (b < 8 ? 7 - b : 23 - b);
                v[b] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(image.rows + row * kHologramRowBytes + first));
            }
            // Byte, word, double-word and quad-word interleaves: afterwards v[k] holds
            // byte column first + k of all sixteen vectors.
            __m128i t[16];
            for (int i = 0; i < 8; ++i) {
                t[i] = _mm_unpacklo_epi8(v[2 * i], v[2 * i + 1]);      // columns 0..7
                t[i + 8] = _mm_unpackhi_epi8(v[2 * i], v[2 * i + 1]);  // columns 8..15
            }
            for (int h = 0; h < 2; ++h) {
                for (int q = 0; q < 4; ++q) {
                    v[h * 8 + q] = _mm_unpacklo_epi16(t[h * 8 + 2 * q], t[h * 8 + 2 * q + 1]);
                    v[h * 8 + q + 4] = _mm_unpackhi_epi16(t[h * 8 + 2 * q], t[h * 8 + 2 * q + 1]);
                }
            }
            // v[h*8 + l*4 + q]: columns 8h + 4l .. 8h + 4l + 3, vectors 4q .. 4q + 3.
            for (int hl = 0; hl < 4; ++hl) {
                for (int r = 0; r < 2; ++r) {
                    t[hl * 4 + r] = _mm_unpacklo_epi32(v[hl * 4 + 2 * r], v[hl * 4 + 2 * r + 1]);
                    t[hl * 4 + r + 2] = _mm_unpackhi_epi32(v[hl * 4 + 2 * r], v[hl * 4 + 2 * r + 1]);
                }
            }
            // t[hl*4 + m*2 + r]: columns 4hl + 2m, 4hl + 2m + 1, vectors 8r .. 8r + 7.
            for (int hl = 0; hl < 4; ++hl) {
                for (int m = 0; m < 2; ++m) {
                    v[hl * 4 + 2 * m] = _mm_unpacklo_epi64(t[hl * 4 + m * 2], t[hl * 4 + m * 2 + 1]);
                    v[hl * 4 + 2 * m + 1] = _mm_unpackhi_epi64(t[hl * 4 + m * 2], t[hl * 4 + m * 2 + 1]);
                }
            }
#pragma GCC unroll 16
            for (int k = 0; k < 16; ++k) {
                uint8_t* out = columns + ((kHologramRowBytes - 1 - first - k) * 8) * kHologramColumnBytes + 2 * group;
                __m128i column = v[k];
#pragma GCC unroll 8
                for (int bit = 7; bit >= 0; --bit) {
                    const uint16_t mask = static_cast<uint16_t>(_mm_movemask_epi8(column));
                    std::memcpy(out + bit * kHologramColumnBytes, &mask, sizeof mask);
                    column = _mm_slli_epi64(column, 1);
                }
            }
        }
    }
}

}  // namespace
#endif

void HologramColumnStream(const HologramImage& image, uint8_t* columns) {
#if defined(__SSE2__)
    ColumnStreamSse2(image, columns);
#else
    HologramColumnStreamWords(image, columns);
#endif
}

void WriteEscapedData(const ByteSink& sink, const uint8_t* bytes, size_t length) {
    static const uint8_t kSecond = kHologramEscape;
    size_t cut = 0;
    for (size_t at = FindEscape(bytes, 0, length); at < length; at = FindEscape(bytes, cut, length)) {
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
        // A byte unlike the next one, the usual case in a literal, needs no scan.
        const size_t run = left == 1 || bytes[i + 1] != bytes[i]
                               ? 1
                               : RunLength(bytes + i, left < kMaxRepeat ? left : kMaxRepeat);
        if (run >= 2) {
            out[pos++] = static_cast<uint8_t>(kRepeatBase + run);
            out[pos++] = bytes[i];
            i += run;
            // A run closed by the end of the data is written out by the flush alone.
            if (pos >= kHologramWriteThreshold && (run == kMaxRepeat || i < length)) {
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
        const size_t pair = last > i && bytes[i + 2] == bytes[i + 1] ? i + 1 : FirstEqualPair(bytes, i + 1, last);
        size_t count;
        if (pair <= last) {
            count = pair - i;
        } else if (left < kMaxLiteral) {
            count = left;
        } else {
            count = kMaxLiteral;
        }
        out[pos++] = static_cast<uint8_t>(count);
        if (length - i >= 32) {
            // Two fixed-size moves; bytes past the literal are overwritten by what follows.
            std::memcpy(out + pos, bytes + i, 16);
            std::memcpy(out + pos + 16, bytes + i + 16, 16);
        } else {
            std::memcpy(out + pos, bytes + i, count);
        }
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

bool HologramImageJobWrites(const HologramImage& image, uint32_t contrast, uint32_t copies, bool bothSides,
                            std::vector<std::string>* writes) noexcept {
    writes->clear();
    try {
        auto rle = std::make_unique<HologramRle>();
        WriteHologramImageJob(*rle, {AppendToWrites, writes}, image, contrast, copies, bothSides);
        return true;
    } catch (const std::bad_alloc&) {
        // Part of the job's writes would lay a card with part of its image.
        std::vector<std::string>().swap(*writes);
        return false;
    }
}

std::string HologramImageJobBytes(const HologramImage& image, uint32_t contrast, uint32_t copies,
                                  bool bothSides) {
    std::string bytes;
    auto rle = std::make_unique<HologramRle>();
    WriteHologramImageJob(*rle, {AppendToBytes, &bytes}, image, contrast, copies, bothSides);
    return bytes;
}

}  // namespace qf
