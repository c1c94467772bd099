// The hologram stream read back: packets, escapes, columns and the job's framing.
#include "driver/overlay/hologram_decoder.h"

#include <cstring>

#include "driver/channel/commands.h"

namespace qf {
namespace {

// Reads bytes from a stream, remembering how far it got and why it stopped.
struct Reader {
    const uint8_t* bytes;
    size_t size;
    size_t at;
    std::string* error;

    bool Fail(const std::string& why) {
        if (error != nullptr) *error = why + " at byte " + std::to_string(at);
        return false;
    }

    // One data byte of a packet; the printer reads 0x5B 0x5B as one 0x5B.
    bool DataByte(uint8_t* value) {
        if (at >= size) return Fail("stream ends inside a packet");
        *value = bytes[at++];
        if (*value == kHologramEscape) {
            if (at >= size || bytes[at] != kHologramEscape) return Fail("0x5B not doubled");
            ++at;
        }
        return true;
    }

    bool Expect(std::string_view text, const char* what) {
        if (size - at < text.size() || std::memcmp(bytes + at, text.data(), text.size()) != 0) {
            return Fail(std::string("expected ") + what);
        }
        at += text.size();
        return true;
    }

    bool Next(std::string_view text) const {
        return size - at >= text.size() && std::memcmp(bytes + at, text.data(), text.size()) == 0;
    }
};

bool ReadSide(Reader& reader, HologramImage& image) {
    std::vector<uint8_t> columns(kHologramImageBytes);
    size_t consumed = 0;
    if (!DecodeHologramPackets(reader.bytes + reader.at, reader.size - reader.at, columns.data(),
                               kHologramImageBytes, &consumed, reader.error)) {
        if (reader.error != nullptr) *reader.error += " of the image starting at byte " + std::to_string(reader.at);
        return false;
    }
    reader.at += consumed;
    HologramImageFromColumns(columns.data(), image);
    return true;
}

}  // namespace

bool DecodeHologramPackets(const uint8_t* bytes, size_t size, uint8_t* out, size_t length, size_t* consumed,
                           std::string* error) {
    Reader reader = {bytes, size, 0, error};
    size_t filled = 0;
    while (filled < length) {
        if (reader.at >= size) return reader.Fail("stream ends after " + std::to_string(filled) + " data bytes");
        const size_t packetAt = reader.at;
        const uint8_t head = bytes[reader.at++];
        if (head >= 1 && head <= 31) {
            // A literal: the count, then that many bytes as they are.
            if (filled + head > length) {
                reader.at = packetAt;
                return reader.Fail("literal runs past the end");
            }
            for (uint8_t k = 0; k < head; ++k) {
                if (!reader.DataByte(&out[filled++])) return false;
            }
        } else if (head >= 0x82) {
            // A repeat: 0x80 plus the count, then the byte to repeat.
            const size_t count = head - 0x80u;
            if (filled + count > length) {
                reader.at = packetAt;
                return reader.Fail("repeat runs past the end");
            }
            uint8_t value = 0;
            if (!reader.DataByte(&value)) return false;
            std::memset(out + filled, value, count);
            filled += count;
        } else {
            reader.at = packetAt;
            return reader.Fail("no packet starts with " + std::to_string(head));
        }
    }
    *consumed = reader.at;
    return true;
}

void HologramImageFromColumns(const uint8_t* columns, HologramImage& image) {
    // Column k of the stream is dot x = 1023 - k; its byte q holds rows 8q (most
    // significant bit) to 8q + 7.
    for (uint32_t k = 0; k < kHologramWidth; ++k) {
        const uint32_t x = kHologramWidth - 1 - k;
        for (uint32_t q = 0; q < kHologramColumnBytes; ++q) {
            const uint8_t byte = columns[k * kHologramColumnBytes + q];
            for (uint32_t b = 0; b < 8; ++b) {
                SetHologramDot(image, x, 8 * q + b, ((byte >> (7 - b)) & 1) != 0);
            }
        }
    }
}

bool DecodeHologramImageJob(std::string_view job, HologramJobContent& content, std::string* error) {
    Reader reader = {reinterpret_cast<const uint8_t*>(job.data()), job.size(), 0, error};
    content = HologramJobContent();

    // "\e+CH n\r"
    if (!reader.Expect("\x1B+CH ", "the H contrast command")) return false;
    uint64_t contrast = 0;
    const size_t digitsAt = reader.at;
    while (reader.at < reader.size && reader.bytes[reader.at] >= '0' && reader.bytes[reader.at] <= '9') {
        contrast = contrast * 10 + (reader.bytes[reader.at++] - '0');
        if (contrast > UINT32_MAX) return reader.Fail("contrast too large");
    }
    if (reader.at == digitsAt) return reader.Fail("contrast without digits");
    if (!reader.Expect("\r", "CR after the contrast")) return false;
    content.contrast = static_cast<uint32_t>(contrast);

    if (!reader.Expect(kImageJobStart, "\\eMASTER\\r")) return false;
    for (int side = 0; side < 2; ++side) {
        if (side == 1) {
            if (!reader.Next(kNextSide)) break;
            reader.at += kNextSide.size();
            content.bothSides = true;
        }
        if (!reader.Expect(kImageSideHeader, "the image header")) return false;
        content.sides.emplace_back();
        if (!ReadSide(reader, content.sides.back())) return false;
        if (!reader.Expect(kImageEnd, "CR after the image")) return false;
        if (!reader.Expect(kHologramByDefinition, "\\eIH 31\\r after the image")) return false;
    }
    if (!reader.Expect(kCardEnd, "\\eMO\\r")) return false;
    content.cards = 1;

    // Each further card lays the image the printer holds.
    while (reader.at < reader.size) {
        if (!reader.Expect(kHologramByDefinition, "\\eIH 31\\r of a further card")) return false;
        if (content.bothSides) {
            if (!reader.Expect(kNextSide, "\\eMF\\r of a further card")) return false;
            if (!reader.Expect(kHologramByDefinition, "\\eIH 31\\r of a further card's back")) return false;
        }
        if (!reader.Expect(kCardEnd, "\\eMO\\r of a further card")) return false;
        ++content.cards;
    }
    return true;
}

}  // namespace qf
