// Colour correction arithmetic, the sample's tables and transform, the sample file check
// and the slider rules.
#include "driver/imaging/color_adjust.h"

#include <cmath>
#include <cstring>

#include "driver/settings/ribbons.h"

namespace qf {
namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint8_t Limit(int value) { return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value); }

// The `colorAdjust` entries that feed each pixel channel: blue, green, red, grey.
constexpr int kIntensityOf[4] = {kColorBlueIntensity, kColorGreenIntensity, kColorRedIntensity,
                                 kColorBlackIntensity};
constexpr int kContrastOf[4] = {kColorBlueContrast, kColorGreenContrast, kColorRedContrast, kColorBlackContrast};
constexpr int kGreyChannel = 3;

}  // namespace

int ClampColorAmount(int amount) {
    return amount < kColorAmountMin ? kColorAmountMin : amount > kColorAmountMax ? kColorAmountMax : amount;
}

uint8_t AdjustIntensity(uint8_t channel, int amount) {
    amount = ClampColorAmount(amount);
    if (amount == 0) return channel;
    return Limit(channel + amount * 256 / 100);
}

uint8_t AdjustContrast(uint8_t channel, int amount) {
    amount = ClampColorAmount(amount);
    if (amount == 0) return channel;
    double result;
    if (amount > 0) {
        const double exponent = double(255 - amount * 180 / 100) / 255.0;
        result = std::pow(channel / 255.5, exponent) * 255.0;
    } else if (amount == kColorAmountMin) {
        return 0;
    } else {
        const int offset = amount * 255 / 100;
        result = std::pow(channel / 255.1, 255.0 / double(255 + offset)) * 230.0;
    }
    // Both curves stay inside 0..255 for channels 0..255; the limit only guards the cast.
    return Limit(static_cast<int>(result));
}

void BuildIntensityTable(int amount, AdjustTable* table) {
    for (int v = 0; v < 256; ++v) table->value[v] = AdjustIntensity(static_cast<uint8_t>(v), amount);
}

void BuildContrastTable(int amount, AdjustTable* table) {
    for (int v = 0; v < 256; ++v) table->value[v] = AdjustContrast(static_cast<uint8_t>(v), amount);
}

bool IsColourSample(uint8_t ribbonType) {
    switch (ribbonType) {
    case kRibbonYmcko: case kRibbonKdo: case kRibbonYmc: case kRibbonYmck: case kRibbonYmckk:
    case kRibbonYmckok: case kRibbonYmckuv: case kRibbonYmcuvk: case kRibbonKd:
        return true;
    default:
        return false;
    }
}

uint8_t GreyOf(uint8_t blue, uint8_t green, uint8_t red) {
    return static_cast<uint8_t>((2 * blue + 5 * red + 9 * green) >> 4);
}

SampleTables::SampleTables() {
    std::memset(intensity_, 0, sizeof intensity_);
    std::memset(contrast_, 0, sizeof contrast_);
    std::memset(composed_, 0, sizeof composed_);
    std::memset(composedValid_, 0, sizeof composedValid_);
}

bool SampleTables::Refresh(Slot& slot, int amount, bool contrast) {
    amount = ClampColorAmount(amount);
    if (slot.built && slot.amount == amount) return false;
    if (contrast)
        BuildContrastTable(amount, &slot.table);
    else
        BuildIntensityTable(amount, &slot.table);
    slot.amount = amount;
    slot.built = true;
    ++rebuilt_;
    return true;
}

void SampleTables::Update(const int16_t amounts[kColorAdjustCount], bool colour) {
    rebuilt_ = 0;
    const int first = colour ? 0 : kGreyChannel;
    const int last = colour ? kGreyChannel : kGreyChannel + 1;
    for (int c = first; c < last; ++c) {
        const bool intensityNew = Refresh(intensity_[c], amounts[kIntensityOf[c]], false);
        const bool contrastNew = Refresh(contrast_[c], amounts[kContrastOf[c]], true);
        if (intensityNew || contrastNew || !composedValid_[c]) {
            const uint8_t* first_ = intensity_[c].table.value;
            const uint8_t* second = contrast_[c].table.value;
            for (int v = 0; v < 256; ++v) composed_[c].value[v] = second[first_[v]];
            composedValid_[c] = true;
        }
    }
}

void TransformSample(uint8_t* pixels, const int16_t amounts[kColorAdjustCount], bool colour,
                     SampleTables& tables) {
    tables.Update(amounts, colour);
    uint8_t* const end = pixels + kSamplePixelBytes;
    if (colour) {
        const uint8_t* blue = tables.Channel(0);
        const uint8_t* green = tables.Channel(1);
        const uint8_t* red = tables.Channel(2);
        // Reads before writes: the pixels are bytes, which may alias the tables as far
        // as the compiler knows, and this order lets it keep the lookups apart.
        for (uint8_t* p = pixels; p != end; p += 3) {
            const uint8_t b = blue[p[0]], g = green[p[1]], r = red[p[2]];
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    } else {
        const uint8_t* grey = tables.Channel(kGreyChannel);
        for (uint8_t* p = pixels; p != end; p += 3) {
            const uint8_t v = grey[GreyOf(p[0], p[1], p[2])];
            p[0] = p[1] = p[2] = v;
        }
    }
}

bool CheckSamplePicture(const uint8_t* bytes, size_t size, SampleHeader* header) {
    if (!bytes || size < kSampleFileBytes) return false;
    const uint8_t* info = bytes + kSampleFileHeaderBytes;
    const bool fileHeaderFits = bytes[0] == 'B' && bytes[1] == 'M' && Le32(bytes + 10) == kSampleHeaderBytes;
    const int32_t width = static_cast<int32_t>(Le32(info + 4));
    const int32_t height = static_cast<int32_t>(Le32(info + 8));
    const uint32_t sizeImage = Le32(info + 20);
    const bool infoFits = Le32(info) == kSampleInfoHeaderBytes && width == kSampleSide && height == kSampleSide &&
                          Le16(info + 12) == 1 && Le16(info + 14) == 24 && Le32(info + 16) == 0 &&
                          (sizeImage == 0 || sizeImage == kSamplePixelBytes) && Le32(info + 32) == 0;
    if (!fileHeaderFits || !infoFits) return false;
    if (header) *header = SampleHeader{width, height};
    return true;
}

ColorSliderStates ColorSliderRules(const PrivateSettings& settings) {
    ColorSliderStates states{};
    bool black = true, colours = true, blackAtZero = false;
    switch (settings.ribbonType) {
    case kRibbonKResin: case kRibbonKro: case kRibbonUnknownMono:
        colours = false;
        blackAtZero = settings.monoConversion != 0;
        black = !blackAtZero;
        break;
    case kRibbonKdo: case kRibbonYmc: case kRibbonKd:
        black = false;
        break;
    case kRibbonYmcko: case kRibbonYmck: case kRibbonYmckk: case kRibbonYmckok: case kRibbonYmckuv:
    case kRibbonYmcuvk: {
        // On two sides the black sliders follow the print mode that prints the back in black.
        const int16_t blackBackMode = settings.ribbonType == kRibbonYmckok ? 2 : 1;
        black = settings.printBothSides != 0 && settings.printModeIndex != blackBackMode;
        break;
    }
    default:
        break;
    }
    for (int i = 0; i < kColorAdjustCount; ++i) {
        const bool isBlack = i == kColorBlackIntensity || i == kColorBlackContrast;
        states.enabled[i] = isBlack ? black : colours;
        states.shownAsZero[i] = isBlack && blackAtZero;
    }
    return states;
}

int ShownColorAmount(const PrivateSettings& settings, const ColorSliderStates& states, int index) {
    if (states.shownAsZero[index]) return 0;
    return ClampColorAmount(settings.colorAdjust[index]);
}

void ColorDefaults(const uint8_t* block, int16_t amounts[kColorAdjustCount], uint8_t* extra) {
    if (block) {
        std::memcpy(amounts, block + offsetof(PrivateSettings, colorAdjust), sizeof(int16_t) * kColorAdjustCount);
        *extra = block[offsetof(PrivateSettings, colorAdjustExtra)];
    } else {
        std::memset(amounts, 0, sizeof(int16_t) * kColorAdjustCount);
        *extra = 0;
    }
}

}  // namespace qf
