// The hologram image and the byte stream that carries it to the printer: the 1024 x 640
// one-bit image, its column order, the run-length packets (`HologramRle`), the escaping
// of 0x5B (`WriteEscapedData`) and the whole image job for one card and its copies.
//
// Packets: a literal is a count byte k (1..31) followed by k data bytes; a repeat is a
// byte 0x80 + n (n = 2..127) followed by the one byte repeated n times. Count bytes never
// take the values 0x20..0x81, so the printer's 0x5B escape only ever doubles data bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qf {

constexpr uint32_t kHologramWidth = 1024;   // dots across, x from the left
constexpr uint32_t kHologramHeight = 640;   // dots down, y from the top
constexpr size_t kHologramRowBytes = kHologramWidth / 8;
constexpr size_t kHologramColumnBytes = kHologramHeight / 8;
constexpr size_t kHologramImageBytes = kHologramRowBytes * kHologramHeight;  // 81 920
// The encoder's output buffer; it is written out at packet boundaries long before it fills.
constexpr size_t kHologramOutputBytes = 65536;
// After a repeat packet the buffer is written out once it holds this many bytes.
constexpr size_t kHologramWriteThreshold = 2000;
constexpr uint8_t kHologramEscape = 0x5B;

// The image the printer lays: row y (0 at the top) is 128 bytes, the most significant
// bit of byte c is dot x = 8c. A set bit is a white dot (bare card), a clear bit a dot of
// hologram.
struct HologramImage {
    uint8_t rows[kHologramImageBytes];
};

void FillHologramImage(HologramImage& image, bool white);
bool HologramDotIsWhite(const HologramImage& image, uint32_t x, uint32_t y);
void SetHologramDot(HologramImage& image, uint32_t x, uint32_t y, bool white);

// The image in the order the printer takes it: columns x = 1023 down to 0, each as 80
// bytes from the top row down, the first row in the most significant bit.
// `columns` receives kHologramImageBytes bytes.
// Uses the processor's vector instructions where it has them.
void HologramColumnStream(const HologramImage& image, uint8_t* columns);
// The same with 64-bit words only: the form for processors without vector instructions.
void HologramColumnStreamWords(const HologramImage& image, uint8_t* columns);

// Where the job's bytes go, one call per write to the printer.
struct ByteSink {
    void (*write)(void* context, const uint8_t* bytes, size_t length);
    void* context;
};

// Writes `bytes` with every 0x5B followed by a second 0x5B: each stretch up to and
// including a 0x5B is one write, the extra 0x5B another, and the rest a last write (of
// zero bytes when nothing is left).
void WriteEscapedData(const ByteSink& sink, const uint8_t* bytes, size_t length);

// The run-length encoder of one side's image (about 150 KB: allocate it, one per job).
enum class RleMode : uint8_t { Empty, One, Repeat, Literal };
struct HologramRle {
    RleMode mode;
    uint8_t pending;          // the byte not yet placed in a packet
    uint8_t runLength;        // Repeat: how often `pending` came in a row
    uint16_t countPosition;   // Literal: where its count byte is
    uint16_t outputPosition;  // bytes held in `buffer`
    uint8_t buffer[kHologramOutputBytes];
    uint8_t columns[kHologramImageBytes];  // the side's image in column order
};

// Starts a side: empty buffer, no pending byte.
void HologramRleReset(HologramRle& rle);
// Adds one byte. The buffer is written out (escaped) after every literal that reaches 31
// bytes, and after a repeat packet once it holds kHologramWriteThreshold bytes.
void HologramRleAdd(HologramRle& rle, const ByteSink& sink, uint8_t byte);
// Closes the open packet and writes out the buffer, also when it is empty.
void HologramRleFlush(HologramRle& rle, const ByteSink& sink);

// Encodes a whole side from a reset encoder and flushes it: the same packets and the same
// writes as HologramRleReset, HologramRleAdd for every byte and HologramRleFlush, but
// runs are found and literal stretches copied a word at a time.
void HologramRleEncode(HologramRle& rle, const ByteSink& sink, const uint8_t* bytes, size_t length);

// One side's image data: the column stream, encoded and escaped.
void WriteHologramSide(HologramRle& rle, const ByteSink& sink, const HologramImage& image);

// The whole image job: the H-panel contrast, "\eMASTER\r", the image for the front (and
// after "\eMF\r" for the back when `bothSides`), "\eMO\r", then the further cards
// (copies 0 and 1 both give one card), which reuse the image the printer holds.
void WriteHologramImageJob(HologramRle& rle, const ByteSink& sink, const HologramImage& image,
                           uint32_t contrast, uint32_t copies, bool bothSides);

// The same job as its list of writes. False, with `writes` empty, when the encoder and
// its output buffer or the list itself cannot be allocated: no part of the job is then
// sent, since a job without its image would end as if whole.
bool HologramImageJobWrites(const HologramImage& image, uint32_t contrast, uint32_t copies, bool bothSides,
                            std::vector<std::string>* writes) noexcept;
// The same job as one byte string.
std::string HologramImageJobBytes(const HologramImage& image, uint32_t contrast, uint32_t copies,
                                  bool bothSides);

}  // namespace qf
