// Printer replies under arbitrary bytes, with any byte count the port side may report:
// the reply check and every parser of a reply (ribbon number, model classes, offsets,
// status and track texts, the device information fields) read only the buffer, and the
// texts they make stay within their limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver/channel/reply.h"
#include "driver/settings/ribbons.h"
#include "driver/tools/device_information.h"
#include "driver/tools/tool_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    // The first four bytes are the count the port side reports; the buffer is the rest,
    // on the heap at its exact size.
    uint32_t count = 0;
    std::memcpy(&count, data, sizeof count);
    const bool succeeded = (count & 0x80000000u) == 0;
    count &= 0x7FFFFFFFu;
    if (count > 0x10000) count %= 0x200;
    const std::vector<char> buffer(data + 4, data + size);

    const qf::Reply reply = qf::CheckReply(succeeded, buffer.data(), buffer.size(), count);
    if (reply.text.size() > buffer.size()) std::abort();
    const std::string_view text = qf::UpToFirstZero(reply.text);
    qf::RibbonFromReply(text);
    qf::ClassifyModel(std::string(text));
    qf::ParseOffsetText(text);
    qf::OffsetTextOverLimit(text);
    if (qf::ToolsStatusOf(succeeded, buffer.data(), buffer.size(), count).text.size() > buffer.size()) std::abort();
    qf::ToolsOffsetYAllowed(succeeded, buffer.data(), buffer.size(), count);
    qf::OffsetFromReply(succeeded, buffer.data(), buffer.size(), count);
    qf::TrackReadFromReply(succeeded, buffer.data(), buffer.size(), count);
    qf::PanelCountText(text);
    qf::RemainingCount(reply.complete, text);
    qf::SmartCardOption(text);

    // The device information dialog's questions, each answered from the same bytes with
    // the count cut to the question's buffer as the port side would.
    const qf::DeviceInformation info = qf::GatherDeviceInformation(
        [&](std::string_view, char* out, size_t outSize, uint32_t* outCount) {
            const size_t n = buffer.size() < outSize ? buffer.size() : outSize;
            std::memcpy(out, buffer.data(), n);
            *outCount = count;
            return succeeded;
        },
        [](std::string_view key) { return std::u16string(key.begin(), key.end()); },
        qf::DeviceInformationTexts{u"Unknown", u"N/A", u"Yes", u"No", {u"1", u"2", u"3", u"4", u"5", u"6"}},
        [](std::string_view bytes) { return std::u16string(bytes.begin(), bytes.end()); });
    if (info.model.size() > buffer.size() + 16 || info.ribbonType.size() > 31) std::abort();
    return 0;
}
