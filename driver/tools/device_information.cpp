// The Device Information questions and the texts of their answers.
#include "driver/tools/device_information.h"

#include <array>

#include "driver/channel/commands.h"
#include "driver/channel/reply.h"
#include "driver/settings/ribbons.h"

namespace qf {
namespace {

// One question with the dialog's reply buffer.
struct Answer {
    bool callSucceeded;
    uint32_t count;
    Reply reply;
};

Answer Ask(const DeviceQuery& query, std::string_view command, std::array<char, kDeviceReplyBytes>& buffer) {
    buffer.fill('\0');
    uint32_t count = 0;
    const bool succeeded = query(command, buffer.data(), buffer.size(), &count);
    return {succeeded, count, CheckReply(succeeded, buffer.data(), buffer.size(), count)};
}

std::string CompleteText(const Reply& reply) {
    return reply.complete ? std::string(UpToFirstZero(reply.text)) : std::string();
}

}  // namespace

int SmartCardOption(std::string_view modelText) {
    for (size_t i = 0; i < kSmartCardModelCodes.size(); ++i) {
        if (modelText.find(kSmartCardModelCodes[i]) != std::string_view::npos) return static_cast<int>(i);
    }
    return kNoSmartCard;
}

std::string PanelCountText(std::string_view replyText) {
    std::string_view text = UpToFirstZero(replyText);
    text = text.substr(0, text.find(' '));
    if (!text.empty() && text.front() == '!') text.remove_prefix(1);
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > UINT32_MAX) value = UINT32_MAX;
    }
    return std::to_string(value);
}

std::optional<std::string> RemainingCount(bool complete, std::string_view replyText) {
    const std::string_view text = UpToFirstZero(replyText);
    if (!complete || (!text.empty() && text.front() == '0')) return std::nullopt;
    return std::string(text);
}

DeviceInformation GatherDeviceInformation(const DeviceQuery& query, const RibbonNameLookup& ribbonName,
                                          const DeviceInformationTexts& texts, const PrinterText& printerText) {
    DeviceInformation info{};
    std::array<char, kDeviceReplyBytes> buffer{};

    const Answer ribbon = Ask(query, kRibbonQuery, buffer);
    info.ribbonType = texts.unknown;
    info.remainingCount = texts.notAvailable;
    // No bytes at all: the printer is not there; asking it more would only wait again.
    if (!ribbon.callSucceeded || ribbon.count == 0 || ribbon.count > buffer.size()) return info;
    info.ribbonAnswered = true;

    if (ribbon.reply.complete) {
        const std::string_view key = UpToFirstZero(ribbon.reply.text);
        if (!key.empty()) info.ribbonType = std::u16string(CutCatalogueValue(ribbonName(key)));
        const Answer remaining = Ask(query, kRibbonRemainingQuery, buffer);
        const std::optional<std::string> count = RemainingCount(remaining.reply.complete, remaining.reply.text);
        info.remainingCount = count ? printerText(*count) : texts.notAvailable;
    }

    const Answer encoder = Ask(query, kEncoderQuery, buffer);
    info.encoder = encoder.reply.complete && IsEncoderReply(encoder.reply.text) ? texts.yes : texts.no;

    const std::string model = CompleteText(Ask(query, kModelQuery, buffer).reply);
    info.model = printerText(model);
    const int smartCard = SmartCardOption(model);
    info.smartCard = smartCard == kNoSmartCard ? texts.no : texts.smartCards[static_cast<size_t>(smartCard)];

    info.serialNumber = printerText(CompleteText(Ask(query, kSerialNumberQuery, buffer).reply));

    const Answer panels = Ask(query, kPanelCountQuery, buffer);
    info.panelsPrinted =
        panels.reply.complete ? printerText(PanelCountText(panels.reply.text)) : std::u16string(kNoPanelCountText);
    return info;
}

}  // namespace qf
