// The reply check at the edges of the buffer, and the value names that carry queries.
#include "driver/channel/reply.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace qf {
namespace {

TEST(Reply, CompleteOnlyWithAckInsideTheBuffer) {
    struct Row {
        const char* what;
        std::string bytes;  // the buffer, exactly this long, so that any read past it is caught
        uint32_t count;
        bool succeeded;
        bool complete;
        std::string text;
    };
    const Row rows[] = {
        {"count fills the buffer", "12\x06", 3, true, true, "12"},
        {"count short of the buffer", std::string("3 \x06\0\0\0", 6), 3, true, true, "3 "},
        {"ACK alone", "\x06", 1, true, true, ""},
        {"count one over the buffer", "12\x06", 4, true, false, ""},
        {"count far over the buffer", "12\x06", 0xFFFFFFFFu, true, false, ""},
        {"empty reply", "\x06\x06", 0, true, false, ""},
        {"no ACK", "1234", 4, true, false, "1234"},
        {"ACK before the count's end", "12\x06" "4", 4, true, false, std::string("12\x06" "4")},
        {"failed call", "12\x06", 3, false, false, ""},
    };
    for (const Row& row : rows) {
        auto buffer = std::make_unique<char[]>(row.bytes.size());
        std::memcpy(buffer.get(), row.bytes.data(), row.bytes.size());
        const Reply reply = CheckReply(row.succeeded, buffer.get(), row.bytes.size(), row.count);
        EXPECT_EQ(reply.complete, row.complete) << row.what;
        EXPECT_EQ(std::string(reply.text), row.text) << row.what;
    }
    EXPECT_FALSE(CheckReply(true, nullptr, 0, 0).complete);
    EXPECT_FALSE(CheckReply(true, nullptr, 32, 3).complete);
}

// The platform reads the name in 16-bit units up to a zero unit; the port side reads its
// bytes up to the first zero byte. Both must end right after the command.
TEST(Reply, ValueNameEndsRightAfterTheCommand) {
    for (const std::string command : {"\x1BV\r", "\x1B!V 1\r", "\x1B!RIBBON\r", "\x1B+O 3\r\x1B+OY 12\r", ""}) {
        const std::u16string name = QueryValueName(command);
        const size_t units = (command.size() + 1) / 2;
        ASSERT_EQ(name.size(), units) << command.size() << " bytes";
        const auto* bytes = reinterpret_cast<const char*>(name.c_str());
        EXPECT_EQ(std::string(bytes), command);            // up to the first zero byte
        EXPECT_EQ(std::u16string(name.c_str()).size(), units);  // up to the first zero unit
        EXPECT_EQ(name.c_str()[units], u'\0');
    }
}

}  // namespace
}  // namespace qf
