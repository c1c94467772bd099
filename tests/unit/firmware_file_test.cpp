// Firmware classification from the bytes a file has, the check-byte text, and the
// firmware job's framing.
#include "driver/tools/firmware_file.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qf {
namespace {

// A file of `size` zero bytes with some bytes set; a marker is written as far as the
// file reaches.
std::string File(size_t size, const std::map<size_t, uint8_t>& bytes, std::string_view marker = {}) {
    std::string file(size, '\0');
    for (const auto& [offset, value] : bytes) {
        if (offset < size) file[offset] = static_cast<char>(value);
    }
    for (size_t i = 0; i < marker.size() && kLaminatorMarkerOffset + i < size; ++i) {
        file[kLaminatorMarkerOffset + i] = marker[i];
    }
    return file;
}

TEST(FirmwareFile, Classification) {
    struct Row {
        const char* what;
        std::string file;
        FirmwareType type;
        uint8_t checkByte;
    };
    const Row rows[] = {
        {"printer firmware", File(281, {{14, 0x3C}, {15, 0xFF}}), FirmwareType::kPrinter, 0x3C},
        {"laminator firmware by bytes 14 and 15", File(281, {{14, 0xFF}, {15, 0x0A}}), FirmwareType::kLaminator, 0x0A},
        {"laminator by its marker, both 0xFF", File(281, {{14, 0xFF}, {15, 0xFF}, {275, 0x5B}}, "N796"),
         FirmwareType::kLaminator, 0x5B},
        {"laminator by its marker, neither 0xFF", File(4000, {{14, 0x01}, {15, 0x02}, {275, 0xC0}}, "N796"),
         FirmwareType::kLaminator, 0xC0},
        {"both 0xFF without the marker", File(281, {{14, 0xFF}, {15, 0xFF}}), FirmwareType::kRefused, 0},
        {"neither 0xFF without the marker", File(281, {{14, 0x10}, {15, 0x20}}, "N797"), FirmwareType::kRefused, 0},
        {"the marker is case-sensitive", File(281, {{14, 0xFF}, {15, 0xFF}}, "n796"), FirmwareType::kRefused, 0},
        // Short files: only the bytes that exist are read.
        {"16 bytes of printer firmware", File(16, {{14, 0x3C}, {15, 0xFF}}), FirmwareType::kPrinter, 0x3C},
        {"16 bytes of laminator firmware", File(16, {{14, 0xFF}, {15, 0x00}}), FirmwareType::kLaminator, 0x00},
        {"marker cut by the end of the file", File(280, {{14, 0xFF}, {15, 0xFF}, {275, 0x5B}}, "N796"),
         FirmwareType::kRefused, 0},
        {"short file with both 0xFF", File(100, {{14, 0xFF}, {15, 0xFF}}), FirmwareType::kRefused, 0},
        {"15 bytes", File(15, {{14, 0x3C}}), FirmwareType::kRefused, 0},
        {"15 bytes, byte 14 0xFF", File(15, {{14, 0xFF}}), FirmwareType::kRefused, 0},
        {"empty file", File(0, {}), FirmwareType::kRefused, 0},
    };
    for (const Row& row : rows) {
        // Exactly the file's bytes, so that a read past its end is caught.
        auto bytes = std::make_unique<char[]>(row.file.size() + 1);
        std::copy(row.file.begin(), row.file.end(), bytes.get());
        const FirmwareClass found = ClassifyFirmware(std::string_view(bytes.get(), row.file.size()));
        EXPECT_EQ(found.type, row.type) << row.what;
        if (row.type != FirmwareType::kRefused) {
            EXPECT_EQ(found.checkByte, row.checkByte) << row.what;
        }
    }
}

TEST(FirmwareFile, CheckByteText) {
    const std::pair<uint8_t, const char*> rows[] = {
        {0x3C, "0x3CFF"}, {0x0A, "0xAFF"}, {0x00, "0x0FF"}, {0x10, "0x10FF"}, {0xFF, "0xFFFF"}, {0xA0, "0xA0FF"},
    };
    for (const auto& [byte, text] : rows) {
        EXPECT_EQ(CheckByteText(byte), text) << int(byte);
    }
}

TEST(FirmwareFile, JobFraming) {
    for (const size_t size : {size_t{0}, size_t{1}, size_t{4096}, size_t{4097}, size_t{8192 + 5}}) {
        std::string file(size, '\0');
        for (size_t i = 0; i < size; ++i) file[i] = static_cast<char>(i * 7);
        const std::vector<std::string> writes = FirmwareJobWrites(file);
        ASSERT_GE(writes.size(), 2u) << size;

        const std::string header = {'\x1B', 'D', 'C', ' ', static_cast<char>(size >> 24),
                                    static_cast<char>(size >> 16), static_cast<char>(size >> 8),
                                    static_cast<char>(size)};
        EXPECT_EQ(writes.front(), header) << size;
        EXPECT_EQ(writes.back(), "\xFF\r") << size;

        std::string body;
        for (size_t i = 1; i + 1 < writes.size(); ++i) {
            EXPECT_GT(writes[i].size(), 0u) << size << " block " << i;
            EXPECT_LE(writes[i].size(), kFirmwareBlockBytes) << size << " block " << i;
            body += writes[i];
        }
        EXPECT_EQ(body, file) << size;
        EXPECT_EQ(writes.size() - 2, (size + kFirmwareBlockBytes - 1) / kFirmwareBlockBytes) << size;
    }
    EXPECT_EQ(FirmwareJobWrites(std::string(0x10203, 'x')).front(), std::string("\x1B" "DC \x00\x01\x02\x03", 8));
}

TEST(FirmwareFile, BodyMustMatchTheAnnouncedSize) {
    struct Row {
        const char* what;
        uint32_t announced;
        uint64_t sent;
        bool readSucceeded;
        size_t bytesRead;
        FirmwareStep step;
    };
    const Row rows[] = {
        {"a block", 10000, 0, true, 4096, FirmwareStep::kWriteBlock},
        {"the last block", 10000, 8192, true, 1808, FirmwareStep::kWriteBlock},
        {"end of the file at the size", 10000, 10000, true, 0, FirmwareStep::kWriteTrailer},
        {"empty file", 0, 0, true, 0, FirmwareStep::kWriteTrailer},
        {"read error", 10000, 4096, false, 0, FirmwareStep::kAbort},
        {"file shorter than announced", 10000, 8192, true, 0, FirmwareStep::kAbort},
        {"file longer than announced", 10000, 8192, true, 1809, FirmwareStep::kAbort},
        {"file grown after the header", 0, 0, true, 1, FirmwareStep::kAbort},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(NextFirmwareStep(row.announced, row.sent, row.readSucceeded, row.bytesRead), row.step) << row.what;
    }
    EXPECT_EQ(FirmwareAnnouncedSize(0xFFFFFFFFull), 0xFFFFFFFFu);
    EXPECT_EQ(FirmwareAnnouncedSize(0x100000000ull), std::nullopt);
}

}  // namespace
}  // namespace qf
