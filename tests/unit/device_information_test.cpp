// The Device Information questions against a scripted printer, and the field texts.
#include "driver/tools/device_information.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "driver/channel/commands.h"

namespace qf {
namespace {

struct Answer {
    std::string bytes;
    bool succeeds = true;
    int64_t count = -1;  // < 0: the length of `bytes`
};

// A printer that answers from a table, as the port side does: a reply larger than the
// buffer fails the call with its size as the count. Unlisted commands get no answer.
struct ScriptedPrinter {
    std::map<std::string, Answer> answers;
    std::vector<std::string> asked;

    bool Query(std::string_view command, char* buffer, size_t size, uint32_t* count) {
        asked.emplace_back(command);
        const auto found = answers.find(std::string(command));
        if (found == answers.end()) return false;
        const Answer& answer = found->second;
        *count = static_cast<uint32_t>(answer.count < 0 ? answer.bytes.size() : answer.count);
        if (answer.bytes.size() > size) return false;
        std::memcpy(buffer, answer.bytes.data(), answer.bytes.size());
        return answer.succeeds;
    }
};

struct Gathered {
    DeviceInformation info;
    std::vector<std::string> asked;
    std::vector<std::string> keys;  // ribbon keys looked up in the catalogue
};

// The fixed texts come from the caller (the module's string table): here a translated one,
// so that a text written into the rules would show.
const DeviceInformationTexts kTexts{u"Inconnu",
                                    u"N/D",
                                    u"Oui",
                                    u"Non",
                                    {u"Encodeur contact", u"Encodeur contact et HID iCLASS", u"Encodeur contact et MIFARE",
                                     u"Station contact", u"HID iCLASS seul", u"MIFARE sans contact"}};

// The printer's bytes as the user reads them: here each byte one character.
std::u16string Widened(std::string_view bytes) {
    std::u16string text;
    for (const char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
    return text;
}

Gathered Gather(const std::map<std::string, Answer>& answers, const std::u16string& ribbonName = u"YMCKO") {
    ScriptedPrinter printer{answers, {}};
    Gathered gathered;
    gathered.info = GatherDeviceInformation(
        [&](std::string_view command, char* buffer, size_t size, uint32_t* count) {
            return printer.Query(command, buffer, size, count);
        },
        [&](std::string_view key) {
            gathered.keys.emplace_back(key);
            return ribbonName;
        },
        kTexts, Widened);
    gathered.asked = printer.asked;
    return gathered;
}

const std::string kRibbon(kRibbonQuery), kRemaining(kRibbonRemainingQuery), kEncoder(kEncoderQuery),
    kModel(kModelQuery), kSerial(kSerialNumberQuery), kPanels(kPanelCountQuery);

std::map<std::string, Answer> FullAnswer() {
    return {{kRibbon, {"2\x06"}},
            {kRemaining, {"154\x06"}},
            {kEncoder, {"1\x06"}},
            {kModel, {"Vestria Q862kB 1.07\x06"}},
            {kSerial, {"SN0042\x06"}},
            {kPanels, {"!1234 xyz\x06"}}};
}

TEST(DeviceInformation, FullAnswer) {
    const Gathered g = Gather(FullAnswer());
    EXPECT_TRUE(g.info.ribbonAnswered);
    EXPECT_EQ(g.info.ribbonType, u"YMCKO");
    EXPECT_EQ(g.keys, std::vector<std::string>{"2"});
    EXPECT_EQ(g.info.remainingCount, u"154");
    EXPECT_EQ(g.info.encoder, u"Oui");
    EXPECT_EQ(g.info.model, u"Vestria Q862kB 1.07");
    EXPECT_EQ(g.info.smartCard, u"Encodeur contact");
    EXPECT_EQ(g.info.serialNumber, u"SN0042");
    EXPECT_EQ(g.info.panelsPrinted, u"1234");
    EXPECT_EQ(g.asked, (std::vector<std::string>{kRibbon, kRemaining, kEncoder, kModel, kSerial, kPanels}));
}

TEST(DeviceInformation, SilentPrinterIsAskedOnce) {
    const std::map<std::string, Answer> silences[] = {
        {},                                    // every call fails
        {{kRibbon, {""}}},                     // an empty reply
        {{kRibbon, {"2\x06", true, 106}}},     // a count beyond the 105-byte buffer
    };
    for (const auto& answers : silences) {
        const Gathered g = Gather(answers);
        EXPECT_FALSE(g.info.ribbonAnswered);
        EXPECT_EQ(g.info.ribbonType, u"Inconnu");
        EXPECT_EQ(g.info.remainingCount, u"N/D");
        for (const std::u16string* field : {&g.info.encoder, &g.info.model, &g.info.smartCard, &g.info.serialNumber,
                                         &g.info.panelsPrinted}) {
            EXPECT_EQ(*field, u"");
        }
        EXPECT_EQ(g.asked, std::vector<std::string>{kRibbon});
    }
}

TEST(DeviceInformation, PartialAnswers) {
    // A ribbon reply without ACK: no catalogue, no remaining count, the rest is asked.
    std::map<std::string, Answer> answers = FullAnswer();
    answers[kRibbon] = {"2"};
    answers[kEncoder] = {"0\x06"};
    answers[kModel] = {"Vestria Q862k"};  // not complete
    answers[kSerial] = {"SN0042", false};
    answers[kPanels] = {"!1234 "};
    Gathered g = Gather(answers);
    EXPECT_TRUE(g.info.ribbonAnswered);
    EXPECT_EQ(g.info.ribbonType, u"Inconnu");
    EXPECT_EQ(g.info.remainingCount, u"N/D");
    EXPECT_TRUE(g.keys.empty());
    EXPECT_EQ(g.info.encoder, u"Non");
    EXPECT_EQ(g.info.model, u"");
    EXPECT_EQ(g.info.smartCard, u"Non");
    EXPECT_EQ(g.info.serialNumber, u"");
    EXPECT_EQ(g.info.panelsPrinted, u" ");
    EXPECT_EQ(g.asked, (std::vector<std::string>{kRibbon, kEncoder, kModel, kSerial, kPanels}));

    // A reply that fills the buffer exactly is read whole; the catalogue name is cut.
    answers = FullAnswer();
    answers[kSerial] = {std::string(104, 'S') + "\x06"};
    answers[kRemaining] = {"0\x06"};
    g = Gather(answers, std::u16string(40, u'R'));
    EXPECT_EQ(g.info.serialNumber, std::u16string(104, u'S'));
    EXPECT_EQ(g.info.ribbonType, std::u16string(31, u'R'));
    EXPECT_EQ(g.info.remainingCount, u"N/D");

    // An ACK alone names no ribbon.
    answers[kRibbon] = {"\x06"};
    g = Gather(answers);
    EXPECT_EQ(g.info.ribbonType, u"Inconnu");
    EXPECT_TRUE(g.keys.empty());
}

TEST(DeviceInformation, FieldTexts) {
    // A reply of ACK alone is complete, and its empty text does not start with '0'.
    const std::pair<const char*, std::optional<std::string>> remaining[] = {
        {"154", "154"}, {"0", std::nullopt}, {"05", std::nullopt}, {"", ""}, {"1 0", "1 0"},
    };
    for (const auto& [reply, shown] : remaining) {
        EXPECT_EQ(RemainingCount(true, reply), shown) << "\"" << reply << "\"";
    }
    EXPECT_EQ(RemainingCount(false, "154"), std::nullopt);
    EXPECT_EQ(RemainingCount(false, ""), std::nullopt);

    const std::pair<std::string, const char*> panels[] = {
        {"!1234 xyz", "1234"}, {"1234", "1234"}, {"!0", "0"}, {"", "0"}, {"!!5", "0"}, {" 12", "0"},
        {"12ab", "12"}, {"99999999999", "4294967295"}, {std::string("7\0" "9", 3), "7"},
    };
    for (const auto& [reply, shown] : panels) {
        EXPECT_EQ(PanelCountText(reply), shown) << "\"" << reply << "\"";
    }

    const std::pair<const char*, int> smartCards[] = {
        {"Vestria Q862kB 1.07", 0},
        {"Q862kC", 1},
        {"Q862kD", 2},
        {"Q862kE", 3},
        {"Q862kF", 4},
        {"Q862kH", 5},
        {"Q862kH 862kB", 0},  // the table's order decides, not the text's
        {"Q862k 1.07", kNoSmartCard},
        {"Q862kb", kNoSmartCard},
        {"", kNoSmartCard},
    };
    for (const auto& [model, option] : smartCards) {
        EXPECT_EQ(SmartCardOption(model), option) << model;
        // The dialog shows the option's text, or "No" for none.
        std::map<std::string, Answer> answers = FullAnswer();
        answers[kModel] = {std::string(model) + "\x06"};
        const Gathered g = Gather(answers);
        EXPECT_EQ(g.info.smartCard, option == kNoSmartCard ? kTexts.no : kTexts.smartCards[static_cast<size_t>(option)])
            << model;
    }
}

// What the remaining count shows for each reply to "\e!RIBLEN\r".
TEST(DeviceInformation, RemainingCountField) {
    struct Row {
        const char* what;
        Answer answer;
        std::u16string shown;
    };
    const Row rows[] = {
        {"a count", {"154\x06"}, u"154"},
        {"ACK alone: its empty text", {"\x06"}, u""},
        {"a count starting with 0", {"0\x06"}, u"N/D"},
        {"no ACK", {"154"}, u"N/D"},
        {"no answer", {"154\x06", false}, u"N/D"},
    };
    for (const Row& row : rows) {
        std::map<std::string, Answer> answers = FullAnswer();
        answers[kRemaining] = row.answer;
        EXPECT_EQ(Gather(answers).info.remainingCount, row.shown) << row.what;
    }
}

}  // namespace
}  // namespace qf
