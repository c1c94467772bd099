// Ribbon tables, the catalogue's keys and values, model classification and print modes.
#include "driver/settings/ribbons.h"

#include <array>
#include <limits>

namespace qf {
namespace {

// Ribbon code of each printer ribbon number from 0; numbers past the end are unknown.
constexpr std::array<uint8_t, 31> kRibbonOfPrinterNumber = {
    kRibbonNone,                                    // 0
    kRibbonUnknownMono,                             // 1
    kRibbonYmcko, kRibbonYmck, kRibbonYmckk,        // 2, 3, 4
    kRibbonYmckok, kRibbonYmc,                      // 5, 6
    kRibbonKResin, kRibbonKResin, kRibbonKResin,    // 7 to 13
    kRibbonKResin, kRibbonKResin, kRibbonKResin, kRibbonKResin,
    kRibbonYmcko, kRibbonYmck,                      // 14, 15
    kRibbonKdo, kRibbonKro, kRibbonScratchOff,      // 16, 17, 18
    kRibbonHologram, kRibbonHologram,               // 19, 20
    kRibbonClearVarnish,                            // 21
    kRibbonYmckuv, kRibbonYmcuvk, kRibbonYmcuvk,    // 22, 23, 24
    kRibbonYmckuv, kRibbonYmcuvk, kRibbonYmcuvk,    // 25, 26, 27
    kRibbonKd, kRibbonNone, kRibbonYmcko,           // 28, 29, 30
};

struct PrintModeRow {
    PrintModeText oneSide;
    PrintModes bothSides;
};

// The print modes of ribbon codes 0..13, in the order the user sees them.
constexpr std::array<PrintModeRow, 14> kPrintModes = {{
    {kFrontYmcko, {3, {kFrontYmcoBackK, kFrontYmckoBackYmcko, kFrontYmcBackKo}}},       // YMCKO
    {kFrontK, {1, {kFrontAndBackK}}},                                                   // K resin
    {kFrontKdo, {1, {kFrontKdoBackKdo}}},                                               // KdO
    {kFrontKro, {1, {kFrontKroBackKro}}},                                               // KrO
    {kFrontHologram, {1, {kFrontAndBackHologram}}},                                     // hologram
    {kFrontYmc, {1, {kFrontYmcBackYmc}}},                                               // YMC
    {kFrontYmck, {2, {kFrontYmcBackK, kFrontYmckBackYmck}}},                            // YMCK
    {kFrontYmck, {2, {kFrontYmckBackK, kFrontYmckBackYmck}}},                           // YMCKK
    {kFrontYmcko, {4, {kFrontYmckoBackK, kFrontYmcBackKo, kFrontYmckoBackYmcko, kFrontYmckBackK}}},  // YMCKOK
    {kFrontClearVarnish, {1, {kFrontAndBackClearVarnish}}},                             // clear varnish
    {kFrontScratchOff, {1, {kFrontAndBackScratchOff}}},                                 // scratch-off
    {kPrintYmckuv, {3, {kFrontYmcuvBackK, kFrontYmckuvBackYmckuv, kFrontYmcBackKuv}}},  // YMCKUv
    {kPrintYmcuvk, {2, {kFrontYmcuvBackK, kFrontYmcuvBackYmcuv}}},                      // YMCUvK
    {kFrontThermal, {1, {kFrontAndBackThermal}}},                                       // Kd
}};

// The unknown monochrome ribbon prints like the ribbon of its kind.
uint8_t RibbonOfMonoKind(uint8_t monoKind) {
    switch (monoKind) {
    case kMonoScratchOff: return kRibbonScratchOff;
    case kMonoClearVarnish: return kRibbonClearVarnish;
    case kMonoHologram: return kRibbonHologram;
    default: return kRibbonKResin;
    }
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

uint8_t RibbonFromPrinterNumber(int32_t number) {
    if (number < 0 || static_cast<size_t>(number) >= kRibbonOfPrinterNumber.size()) return kRibbonNone;
    return kRibbonOfPrinterNumber[static_cast<size_t>(number)];
}

int32_t ParseRibbonNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate as a negative number so that the smallest 32-bit value fits too.
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 - (text[i] - '0');
        if (value < kMin) {
            value = kMin - 1;  // held just past the limit: the result saturates
        }
    }
    if (negative) return static_cast<int32_t>(value < kMin ? kMin : value);
    return static_cast<int32_t>(-value > kMax ? kMax : -value);
}

uint8_t RibbonFromReply(std::string_view text) {
    return RibbonFromPrinterNumber(ParseRibbonNumber(text));
}

bool IsEncoderReply(std::string_view text) { return !text.empty() && text.front() == '1'; }

uint8_t RibbonNameIndex(uint32_t code) {
    const uint8_t ribbon = static_cast<uint8_t>(code & 0xFFu);
    return ribbon <= kRibbonUnknownMono ? ribbon : kRibbonNone;
}

RibbonChange RibbonChangeNotice(uint32_t code) {
    const uint8_t ribbon = static_cast<uint8_t>(code & 0xFFu);
    if (ribbon > kRibbonUnknownMono) return RibbonChange::kNoRibbon;
    if (ribbon == kRibbonUnknownMono) return RibbonChange::kChangedMonochrome;
    return RibbonChange::kChanged;
}

std::u16string RibbonCataloguePath(std::u16string_view driverDirectory) {
    std::u16string path(driverDirectory);
    if (path.empty() || path.back() != u'\\') path += u"\\2\\";
    path += kRibbonCatalogueFile;
    return path;
}

std::u16string RibbonCatalogueKey(int32_t number) {
    const std::string digits = std::to_string(static_cast<int16_t>(static_cast<uint32_t>(number) & 0xFFFFu));
    return std::u16string(digits.begin(), digits.end());
}

std::u16string_view CutCatalogueValue(std::u16string_view value) {
    value = value.substr(0, value.find(u'\0'));
    return value.substr(0, kRibbonCatalogueValueChars);
}

uint8_t ClassifyModel(std::string_view modelText) {
    struct Class {
        std::string_view number;
        uint8_t modelClass;
    };
    static constexpr Class kClasses[] = {
        {"511", kModel511}, {"513", kModel513}, {"517", kModel517},
        {"519", kModel519}, {"858", kModelDuplex}, {"862", kModelDuplex},
    };
    for (const Class& c : kClasses) {
        if (Contains(modelText, c.number)) return c.modelClass;
    }
    return kModelOther;
}

bool IsDuplexModel(std::string_view modelText) {
    return Contains(modelText, "858") || Contains(modelText, "862");
}

bool IsModel796(std::string_view modelText) { return Contains(modelText, "796"); }

bool IsModel511Or513(std::string_view modelText) {
    return Contains(modelText, "511") || Contains(modelText, "513");
}

PrintModes PrintModeList(uint8_t ribbon, uint8_t monoKind, bool bothSides) {
    if (ribbon == kRibbonUnknownMono) ribbon = RibbonOfMonoKind(monoKind);
    if (ribbon >= kPrintModes.size()) return {1, {kNoPrintMode}};
    const PrintModeRow& row = kPrintModes[ribbon];
    return bothSides ? row.bothSides : PrintModes{1, {row.oneSide}};
}

}  // namespace qf
