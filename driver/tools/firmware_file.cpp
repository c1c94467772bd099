// Firmware classification and the firmware job's framing.
#include "driver/tools/firmware_file.h"

#include "driver/channel/commands.h"

namespace qf {
namespace {

constexpr uint8_t kFilled = 0xFF;

// The byte at `offset` when the file has it.
std::optional<uint8_t> ByteAt(std::string_view start, size_t offset) {
    if (offset >= start.size()) return std::nullopt;
    return static_cast<uint8_t>(start[offset]);
}

bool Matches(ByteTest test, std::optional<uint8_t> byte) {
    switch (test) {
        case ByteTest::kAny: return true;
        case ByteTest::kIsFF: return byte && *byte == kFilled;
        case ByteTest::kNotFF: return byte && *byte != kFilled;
    }
    return false;
}

bool HasLaminatorMarker(std::string_view start) {
    return start.size() >= kLaminatorMarkerOffset + kLaminatorMarker.size() &&
           start.substr(kLaminatorMarkerOffset, kLaminatorMarker.size()) == kLaminatorMarker;
}

}  // namespace

FirmwareClass ClassifyFirmware(std::string_view start) {
    if (start.size() < kFirmwareMinimumBytes) return {FirmwareType::kRefused, 0};
    const std::optional<uint8_t> byte14 = ByteAt(start, 14), byte15 = ByteAt(start, 15);
    const bool marker = HasLaminatorMarker(start);
    for (const FirmwareClassRule& rule : kFirmwareClassRules) {
        if (!Matches(rule.byte14, byte14) || !Matches(rule.byte15, byte15)) continue;
        if (rule.laminatorMarker && !marker) continue;
        const std::optional<uint8_t> check = ByteAt(start, rule.checkByteOffset);
        if (!check) continue;
        return {rule.type, *check};
    }
    return {FirmwareType::kRefused, 0};
}

std::string CheckByteText(uint8_t checkByte) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text = "0x";
    if (checkByte >= 0x10) text += kHex[checkByte >> 4];
    text += kHex[checkByte & 0xF];
    text += "FF";
    return text;
}

std::optional<uint32_t> FirmwareAnnouncedSize(uint64_t fileSize) {
    if (fileSize > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(fileSize);
}

FirmwareStep NextFirmwareStep(uint32_t announced, uint64_t sent, bool readSucceeded, size_t bytesRead) {
    if (!readSucceeded || sent > announced) return FirmwareStep::kAbort;
    if (bytesRead == 0) return sent == announced ? FirmwareStep::kWriteTrailer : FirmwareStep::kAbort;
    if (bytesRead > announced - sent) return FirmwareStep::kAbort;
    return FirmwareStep::kWriteBlock;
}

std::vector<std::string> FirmwareJobWrites(std::string_view file) {
    const std::optional<uint32_t> size = FirmwareAnnouncedSize(file.size());
    if (!size) return {};
    std::vector<std::string> writes = {FirmwareHeader(*size)};
    for (size_t at = 0; at < file.size(); at += kFirmwareBlockBytes) {
        writes.emplace_back(file.substr(at, kFirmwareBlockBytes));
    }
    writes.emplace_back(kFirmwareTrailer);
    return writes;
}

}  // namespace qf
