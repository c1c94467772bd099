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

SampleTransform::SampleTransform() {
    std::memset(intensity_, 0, sizeof intensity_);
    std::memset(contrast_, 0, sizeof contrast_);
    std::memset(combined_, 0, sizeof combined_);
    std::memset(combinedBuilt_, 0, sizeof combinedBuilt_);
}

bool SampleTransform::Refresh(Slot& slot, int amount, bool contrast) {
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

bool SampleTransform::UpdateChannel(int c, const int16_t amounts[kColorAdjustCount]) {
    const bool intensityNew = Refresh(intensity_[c], amounts[kIntensityOf[c]], false);
    const bool contrastNew = Refresh(contrast_[c], amounts[kContrastOf[c]], true);
    if (!intensityNew && !contrastNew && combinedBuilt_[c]) return false;
    const uint8_t* first = intensity_[c].table.value;
    const uint8_t* second = contrast_[c].table.value;
    for (int v = 0; v < 256; ++v) combined_[c].value[v] = second[first[v]];
    combinedBuilt_[c] = true;
    return true;
}

const uint8_t* SampleTransform::Apply(const uint8_t* source, const int16_t amounts[kColorAdjustCount], bool colour) {
    rebuilt_ = recomputed_ = 0;
    const bool sameSource = kept_ && colour == colour_ && std::memcmp(source, source_, kSamplePixelBytes) == 0;
    if (!sameSource) std::memcpy(source_, source, kSamplePixelBytes);
    kept_ = true;
    colour_ = colour;
    if (colour) {
        bool changed[3];
        for (int c = 0; c < 3; ++c) changed[c] = UpdateChannel(c, amounts);
        if (!sameSource) {
            const uint8_t* blue = combined_[0].value;
            const uint8_t* green = combined_[1].value;
            const uint8_t* red = combined_[2].value;
            // All lookups of a pixel before its stores: the bytes written could alias the
            // tables as far as the compiler knows, and this order keeps the lookups apart.
            const uint8_t* from = source_;
            uint8_t* to = pixels_;
            for (size_t i = 0; i < kSamplePixelBytes; i += 3) {
                const uint8_t b = blue[from[i]], g = green[from[i + 1]], r = red[from[i + 2]];
                to[i] = b;
                to[i + 1] = g;
                to[i + 2] = r;
            }
            recomputed_ = 3;
        } else {
            for (int c = 0; c < 3; ++c) {
                if (!changed[c]) continue;
                const uint8_t* table = combined_[c].value;
                for (size_t i = size_t(c); i < kSamplePixelBytes; i += 3) pixels_[i] = table[source_[i]];
                ++recomputed_;
            }
        }
    } else if (UpdateChannel(kGreyChannel, amounts) || !sameSource) {
        const uint8_t* grey = combined_[kGreyChannel].value;
        for (size_t i = 0; i < kSamplePixelBytes; i += 3)
            pixels_[i] = pixels_[i + 1] = pixels_[i + 2] = grey[GreyOf(source_[i], source_[i + 1], source_[i + 2])];
        recomputed_ = 3;
    }
    return pixels_;
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
