// Firmware files: what kind of firmware a file holds and its check byte, judged from the
// bytes at its start, and the framing of the firmware job that carries a file to the
// printer when the port side cannot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qf {

enum class FirmwareType : uint8_t {
    kRefused,    // not a firmware file the printer takes
    kPrinter,    // "Printer F/W"
    kLaminator,  // "Laminator F/W"
};

// Where a file is read to classify it: how many bytes of its start are enough, and the
// length below which no file is firmware.
constexpr size_t kFirmwareClassifyBytes = 281;
constexpr size_t kFirmwareMinimumBytes = 16;

// One row of the classification, tried in order: the first row whose byte tests and
// marker match the file decides its type and where its check byte is.
enum class ByteTest : uint8_t { kAny, kIsFF, kNotFF };
struct FirmwareClassRule {
    ByteTest byte14;
    ByteTest byte15;
    bool laminatorMarker;  // bytes 277..280 spell "N796"
    FirmwareType type;
    size_t checkByteOffset;
};
inline constexpr FirmwareClassRule kFirmwareClassRules[] = {
    {ByteTest::kNotFF, ByteTest::kIsFF, false, FirmwareType::kPrinter, 14},
    {ByteTest::kIsFF, ByteTest::kNotFF, false, FirmwareType::kLaminator, 15},
    {ByteTest::kAny, ByteTest::kAny, true, FirmwareType::kLaminator, 275},
};
inline constexpr std::string_view kLaminatorMarker = "N796";
constexpr size_t kLaminatorMarkerOffset = 277;

struct FirmwareClass {
    FirmwareType type;
    uint8_t checkByte;  // meaningful unless the file is refused
};

// Classifies a file from the bytes read from its start (`start`, as many as the file has,
// kFirmwareClassifyBytes are enough). Only bytes that exist are read: a test of a byte
// beyond the end does not match, so a file shorter than kFirmwareMinimumBytes is refused
// and one shorter than kFirmwareClassifyBytes is known only by bytes 14 and 15.
FirmwareClass ClassifyFirmware(std::string_view start);

// The check byte as the dialog shows it: "0x", the byte in upper-case hexadecimal
// without a leading zero, then "FF" (0x3C gives "0x3CFF", 0x0A gives "0xAFF").
std::string CheckByteText(uint8_t checkByte);

// The firmware job: the header "\eDC " with the file size (4 bytes, most significant
// first), the file in blocks of at most kFirmwareBlockBytes, then the trailer 0xFF CR.
constexpr size_t kFirmwareBlockBytes = 4096;

// The size the header announces for a file of `fileSize` bytes; nothing for a file too
// large for four bytes, which cannot be sent.
std::optional<uint32_t> FirmwareAnnouncedSize(uint64_t fileSize);

// What the job does after one read of the file.
enum class FirmwareStep : uint8_t {
    kWriteBlock,    // write the bytes read and read again
    kWriteTrailer,  // the whole file is sent: write the trailer and end the job
    kAbort,         // abort the job: the printer must not take a body that differs from the header
};
// After a read of `bytesRead` bytes (0 at the end of the file), with `sent` bytes of the
// body already written and `announced` in the header: a read error, a file that ends
// before the announced size or yields more than it abort the job.
FirmwareStep NextFirmwareStep(uint32_t announced, uint64_t sent, bool readSucceeded, size_t bytesRead);

// Every write of the job for a whole file, in order: header, blocks, trailer. Empty for a
// file too large to announce.
std::vector<std::string> FirmwareJobWrites(std::string_view file);

}  // namespace qf
