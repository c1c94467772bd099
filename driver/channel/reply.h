// The two halves of a query as the port side sees them: the value name that carries a
// command, and the check that tells a complete reply from anything else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qf {

// The printer ends every answer with ACK.
constexpr char kAck = '\x06';

struct Reply {
    // The call succeeded and the printer's answer lies whole in the buffer, ending with ACK.
    bool complete;
    // Complete: the answer without its ACK. Otherwise the bytes the port side reported,
    // when the call succeeded and they lie inside the buffer; else empty.
    std::string_view text;
};

// Checks what the port side returned for a query: `buffer` of `bufferSize` bytes, the
// byte count it reported and whether the call succeeded. A count of 0, a count larger
// than the buffer or a last byte other than ACK is no complete reply. Nothing outside
// the buffer is read; `text` points into `buffer`.
Reply CheckReply(bool callSucceeded, const char* buffer, size_t bufferSize, uint32_t count);

// An answer as a text control shows it, and as every rule reads it: up to its first
// zero byte.
std::string_view UpToFirstZero(std::string_view text);

// The value name that carries `command` to the port side. The platform reads the name
// as 16-bit units up to a zero unit, and the port side takes its bytes up to the first
// zero byte as the command. The result holds the command's bytes unchanged, padded with
// a zero byte to a whole unit when its length is odd; its terminating zero unit ends
// the platform's read right after the command.
std::u16string QueryValueName(std::string_view command);

}  // namespace qf
