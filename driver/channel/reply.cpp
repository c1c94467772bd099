// Reply check and query value names.
#include "driver/channel/reply.h"

#include <cstring>

namespace qf {

Reply CheckReply(bool callSucceeded, const char* buffer, size_t bufferSize, uint32_t count) {
    // A count beyond the buffer means the answer did not fit; the bytes there are not
    // the answer and must not be read.
    if (!callSucceeded || buffer == nullptr || count == 0 || count > bufferSize) {
        return {false, {}};
    }
    const std::string_view received(buffer, count);
    if (received.back() != kAck) return {false, received};
    return {true, received.substr(0, count - 1)};
}

std::string_view UpToFirstZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

std::u16string QueryValueName(std::string_view command) {
    // Copying bytes, not composing units, keeps the command's bytes in their order
    // whatever the byte order of a unit.
    std::u16string name((command.size() + 1) / 2, u'\0');
    if (!command.empty()) std::memcpy(name.data(), command.data(), command.size());
    return name;
}

}  // namespace qf
