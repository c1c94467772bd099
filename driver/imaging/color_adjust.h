// Colour correction: the two adjustment functions, the per-amount tables that make the
// sample picture quick to recompute, the sample's transform and the check of the sample
// picture file, and which of the eight sliders the ribbon and the document allow.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/settings/private_settings.h"

namespace qf {

// Colour amounts run from -100 to 100; 0 leaves a channel as it is.
constexpr int kColorAmountMin = -100, kColorAmountMax = 100;

// The sliders, by index into `colorAdjust`.
enum ColorSlider : int {
    kColorBlackIntensity = 0,
    kColorRedIntensity,
    kColorGreenIntensity,
    kColorBlueIntensity,
    kColorBlackContrast,
    kColorRedContrast,
    kColorGreenContrast,
    kColorBlueContrast,
};

// An amount limited to -100..100. Stored records may carry anything in the 16 bits;
// the adjustments below are defined on the scale only.
int ClampColorAmount(int amount);

// Shifts a channel by amount x 256 / 100 (the quotient truncated toward zero), limited
// to 0..255; amount 0 leaves the channel unchanged. The amount is first limited to the
// scale.
uint8_t AdjustIntensity(uint8_t channel, int amount);

// Bends a channel's tone curve. Computed in double precision, the result truncated
// toward zero: amount 0 leaves the channel; a positive amount raises channel / 255.5 to
// (255 - amount x 180 / 100) / 255 and scales by 255; amount -100 gives 0; a negative
// amount raises channel / 255.1 to 255 / (255 + amount x 255 / 100) and scales by 230,
// so it never gives more than 230. The quotients by 100 are truncated toward zero. The
// amount is first limited to the scale.
uint8_t AdjustContrast(uint8_t channel, int amount);

// One adjustment of every channel value for one amount.
struct AdjustTable {
    uint8_t value[256];
};
void BuildIntensityTable(int amount, AdjustTable* table);
void BuildContrastTable(int amount, AdjustTable* table);

// The sample picture: 100 x 100 pixels, 24 bits, rows of 300 bytes, blue, green, red.
constexpr int kSampleSide = 100;
constexpr size_t kSamplePixelCount = size_t(kSampleSide) * kSampleSide;
constexpr size_t kSamplePixelBytes = kSamplePixelCount * 3;
constexpr size_t kSampleFileHeaderBytes = 14;
constexpr size_t kSampleInfoHeaderBytes = 40;
constexpr size_t kSampleHeaderBytes = kSampleFileHeaderBytes + kSampleInfoHeaderBytes;
constexpr size_t kSampleFileBytes = kSampleHeaderBytes + kSamplePixelBytes;

// The sample is shown in colour for the ribbons with colour panels or dye black, and in
// grey for every other ribbon.
bool IsColourSample(uint8_t ribbonType);

// The grey of a pixel, weighted 5 red, 9 green, 2 blue, in sixteenths.
uint8_t GreyOf(uint8_t blue, uint8_t green, uint8_t red);

// The sample transform, with what it keeps from one paint to the next: the per-amount
// tables (a table is rebuilt only when the amount it was built for changes, so after one
// slider movement only the tables that slider's amount feeds are made anew) and the
// picture it made (when the source is the same as last time, only the channels whose
// tables changed are computed again).
class SampleTransform {
public:
    SampleTransform();

    // Transforms the sample's 10,000 pixels (`source`, kSamplePixelBytes bytes as the
    // file holds them) with the eight `colorAdjust` amounts: each colour channel through
    // the intensity and then the contrast of its own colour, or, for a grey sample, the
    // pixel's grey through the black intensity and contrast into all three channels.
    // Returns the transformed pixels, kept until the next call.
    const uint8_t* Apply(const uint8_t* source, const int16_t amounts[kColorAdjustCount], bool colour);

    // What the last Apply did, for the tests and the benchmark: tables rebuilt, and
    // channels (blue, green, red; a grey sample counts as three) computed anew.
    int RebuiltTables() const { return rebuilt_; }
    int RecomputedChannels() const { return recomputed_; }

private:
    struct Slot {
        int amount;
        bool built;
        AdjustTable table;
    };
    bool Refresh(Slot& slot, int amount, bool contrast);
    // Brings the tables of pixel channel `c` (0 blue, 1 green, 2 red, 3 grey) to the
    // amounts; true when its combined table changed.
    bool UpdateChannel(int c, const int16_t amounts[kColorAdjustCount]);

    Slot intensity_[4];
    Slot contrast_[4];
    AdjustTable combined_[4];  // the contrast table applied to the intensity table
    bool combinedBuilt_[4];
    uint8_t source_[kSamplePixelBytes];
    uint8_t pixels_[kSamplePixelBytes];
    bool kept_ = false;        // pixels_ is `source_` transformed in the mode `colour_`
    bool colour_ = false;
    int rebuilt_ = 0;
    int recomputed_ = 0;
};

// What the sample file's headers say, once they passed CheckSamplePicture.
struct SampleHeader {
    int32_t width;
    int32_t height;
};

// Checks the bytes read from the sample file (`size` of them, at most kSampleFileBytes
// looked at): the file header must start with "BM" and put the pixels straight after
// the two headers, the info header must be 40 bytes long and say 100 x 100 pixels (rows
// bottom-up), one plane, 24 bits, uncompressed, no palette, and all 30,000 pixel bytes
// must be there. Anything else is not used.
bool CheckSamplePicture(const uint8_t* bytes, size_t size, SampleHeader* header);

// Which of the eight sliders the dialog enables, and which it shows at 0 without
// touching the stored value.
struct ColorSliderStates {
    bool enabled[kColorAdjustCount];
    bool shownAsZero[kColorAdjustCount];
};
ColorSliderStates ColorSliderRules(const PrivateSettings& settings);

// The position a slider shows: 0 when the rules say so, else the stored amount limited
// to the scale.
int ShownColorAmount(const PrivateSettings& settings, const ColorSliderStates& states, int index);

// The eight amounts and the extra byte that Restore defaults writes: those of the
// defaults block when it was read (`block` not null, kPrivateSize bytes), else 0.
void ColorDefaults(const uint8_t* block, int16_t amounts[kColorAdjustCount], uint8_t* extra);

}  // namespace qf
