// The device-capability table.
#include "driver/settings/capabilities.h"

namespace qf {
namespace {

constexpr CapabilityAnswer Plain(int32_t result) {
    return {result, CapabilityOutput::kNone, 0, 0};
}
constexpr CapabilityAnswer Word(int32_t result, int32_t value) {
    return {result, CapabilityOutput::kWord, value, 0};
}
constexpr CapabilityAnswer Point(int32_t result, int32_t x, int32_t y) {
    return {result, CapabilityOutput::kPoint, x, y};
}
constexpr CapabilityAnswer Text(int32_t result, int32_t stringId) {
    return {result, CapabilityOutput::kString, stringId, 0};
}
constexpr CapabilityAnswer FormName(int32_t result) {
    return {result, CapabilityOutput::kFormName, 0, 0};
}

}  // namespace

CapabilityAnswer AnswerCapability(uint32_t capability, bool haveDevmode, int16_t orientation) {
    const uint16_t index = static_cast<uint16_t>(capability & 0xFFFFu);
    switch (index) {
    case kDcFields: return Plain(static_cast<int32_t>(kPublicFields));
    case kDcPapers: return Word(1, kCardPaperId);
    case kDcPaperSize:
        if (haveDevmode && orientation == 2) return Point(1, kCardWidth, kCardHeight);
        return Point(1, kCardHeight, kCardWidth);
    case kDcMinExtent: return Point(0, 1, 1);
    case kDcMaxExtent:
        if (!haveDevmode) return Plain(0);
        if (orientation == 1) return Point(0, kCardHeight, kCardWidth);
        return Point(0, kCardWidth, kCardHeight);
    case kDcBins: return Word(1, kCardFeederBinId);
    case kDcDuplex: return Plain(1);
    case kDcSize: return Plain(kPublicSize);
    case kDcExtra: return Plain(kPrivateSize);
    case kDcVersion: return Plain(kSpecVersion);
    case kDcDriver: return Plain(1);
    case kDcBinNames: return Text(1, kStrBinName);
    case kDcEnumResolutions: return Point(1, 300, 300);
    case kDcFileDependencies: return Plain(0);
    case kDcTrueType: return Plain(1);
    case kDcPaperNames: return FormName(1);
    case kDcOrientation: return Plain(90);
    case kDcCopies: return Plain(999);
    case kDcBinAdjust: return Plain(0);
    case kDcMediaReady: return FormName(1);
    case kDcStaple: return Plain(0);
    case kDcColorDevice: return Plain(1);
    default: return Plain(-1);  // 20 to 28, 31 and every unknown index
    }
}

int CapabilityStringChars(uint32_t capability) {
    // A bin name slot is shorter than the loaded text; the text is cut to the slot
    // so that the caller's buffer is never overrun.
    return (capability & 0xFFFFu) == kDcBinNames ? kBinNameSlotChars : kLoadedNameChars;
}

}  // namespace qf
