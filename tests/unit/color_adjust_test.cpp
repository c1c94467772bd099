// Colour correction: the two adjustments, their tables, the sample transform, the sample
// file check and the slider rules.
#include "driver/imaging/color_adjust.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "driver/settings/ribbons.h"

namespace qf {
namespace {

// The adjustments written out once more, straight from their definitions, to check the
// module's functions and tables against.
int IntensityByDefinition(int channel, int amount) {
    if (amount == 0) return channel;
    const int value = channel + amount * 256 / 100;
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

int ContrastByDefinition(int channel, int amount) {
    if (amount == 0) return channel;
    if (amount > 0) {
        const double exponent = (255.0 - amount * 180 / 100) / 255.0;
        return static_cast<int>(std::pow(channel / 255.5, exponent) * 255.0);
    }
    if (amount == -100) return 0;
    const int offset = amount * 255 / 100;
    return static_cast<int>(std::pow(channel / 255.1, 255.0 / (255 + offset)) * 230.0);
}

TEST(ColorAdjust, WorkedExamples) {
    struct Case {
        bool contrast;
        int channel, amount, expected;
    };
    const Case cases[] = {
        {false, 200, 50, 255}, {false, 100, -10, 75}, {false, 128, -50, 0}, {false, 77, 0, 77},
        {true, 128, 50, 163},  {true, 200, 50, 217},  {true, 100, -10, 81}, {true, 128, -50, 58},
        {true, 255, -1, 229},  {true, 255, 0, 255},   {true, 255, -100, 0},
    };
    for (const Case& c : cases) {
        const uint8_t channel = static_cast<uint8_t>(c.channel);
        const int got = c.contrast ? AdjustContrast(channel, c.amount) : AdjustIntensity(channel, c.amount);
        EXPECT_EQ(got, c.expected) << (c.contrast ? "contrast " : "intensity ") << c.channel << " with " << c.amount;
    }
}

TEST(ColorAdjust, TablesMatchTheDefinitionForEveryChannelAndAmount) {
    AdjustTable intensity, contrast;
    for (int amount = kColorAmountMin; amount <= kColorAmountMax; ++amount) {
        BuildIntensityTable(amount, &intensity);
        BuildContrastTable(amount, &contrast);
        for (int v = 0; v < 256; ++v) {
            ASSERT_EQ(intensity.value[v], IntensityByDefinition(v, amount)) << "intensity " << v << " with " << amount;
            ASSERT_EQ(contrast.value[v], ContrastByDefinition(v, amount)) << "contrast " << v << " with " << amount;
            if (amount < 0) {
                ASSERT_LE(contrast.value[v], 230) << v << " with " << amount;
            }
        }
    }
}

// A digest of every table, which the Windows build's tests compare with the same
// constant: the module's tables there are the ones checked here against the definition.
TEST(ColorAdjust, TheTablesDigestIsTheOneTheWindowsBuildChecks) {
    uint64_t digest = 1469598103934665603ull;  // FNV-1a
    AdjustTable table;
    for (int amount = kColorAmountMin; amount <= kColorAmountMax; ++amount) {
        BuildContrastTable(amount, &table);
        for (uint8_t v : table.value) digest = (digest ^ v) * 1099511628211ull;
        BuildIntensityTable(amount, &table);
        for (uint8_t v : table.value) digest = (digest ^ v) * 1099511628211ull;
    }
    EXPECT_EQ(digest, 0x1b591799815936b9ull);
}

TEST(ColorAdjust, AmountsOffTheScaleCountAsItsEnds) {
    // A stored record may hold any 16-bit value; none may reach a division by zero or an
    // infinity cast to an integer.
    for (int amount : {-32768, -101, 101, 32767}) {
        const int end = amount < 0 ? -100 : 100;
        for (int v : {0, 1, 128, 255}) {
            const uint8_t channel = static_cast<uint8_t>(v);
            EXPECT_EQ(AdjustIntensity(channel, amount), AdjustIntensity(channel, end)) << v << " with " << amount;
            EXPECT_EQ(AdjustContrast(channel, amount), AdjustContrast(channel, end)) << v << " with " << amount;
        }
    }
}

std::vector<uint8_t> TestPixels() {
    std::vector<uint8_t> pixels(kSamplePixelBytes);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i * 37 + i / 300) & 0xFF);
    return pixels;
}

// What a transform of `source` must give, pixel by pixel, from the definitions.
std::vector<uint8_t> ByDefinition(const std::vector<uint8_t>& source, const int16_t amounts[8], bool colour) {
    std::vector<uint8_t> out(source.size());
    for (size_t p = 0; p < kSamplePixelCount; ++p) {
        const uint8_t* in = &source[p * 3];
        uint8_t* to = &out[p * 3];
        if (colour) {
            to[0] = static_cast<uint8_t>(ContrastByDefinition(IntensityByDefinition(in[0], amounts[3]), amounts[7]));
            to[1] = static_cast<uint8_t>(ContrastByDefinition(IntensityByDefinition(in[1], amounts[2]), amounts[6]));
            to[2] = static_cast<uint8_t>(ContrastByDefinition(IntensityByDefinition(in[2], amounts[1]), amounts[5]));
        } else {
            const int grey = (2 * in[0] + 5 * in[2] + 9 * in[1]) >> 4;
            to[0] = to[1] = to[2] =
                static_cast<uint8_t>(ContrastByDefinition(IntensityByDefinition(grey, amounts[0]), amounts[4]));
        }
    }
    return out;
}

std::vector<uint8_t> Result(const uint8_t* pixels) { return std::vector<uint8_t>(pixels, pixels + kSamplePixelBytes); }

TEST(ColorAdjust, TheSampleTransformFollowsEachPixelThroughBothAdjustments) {
    const int16_t amounts[kColorAdjustCount] = {-30, 20, -45, 60, 35, -15, 70, -80};
    const std::vector<uint8_t> source = TestPixels();
    for (bool colour : {true, false}) {
        auto transform = std::make_unique<SampleTransform>();
        const std::vector<uint8_t> got = Result(transform->Apply(source.data(), amounts, colour));
        const std::vector<uint8_t> expected = ByDefinition(source, amounts, colour);
        for (size_t i = 0; i < got.size(); ++i)
            ASSERT_EQ(got[i], expected[i]) << (colour ? "colour" : "grey") << " pixel " << i / 3 << " channel " << i % 3;
    }
}

TEST(ColorAdjust, ARepaintRecomputesOnlyWhatTheMovedSliderFeeds) {
    int16_t amounts[kColorAdjustCount] = {10, 20, 30, 40, 50, 60, 70, 80};
    std::vector<uint8_t> source = TestPixels();
    auto transform = std::make_unique<SampleTransform>();
    transform->Apply(source.data(), amounts, true);
    EXPECT_EQ(transform->RebuiltTables(), 6);
    EXPECT_EQ(transform->RecomputedChannels(), 3);

    struct Step {
        const char* what;
        int slider;           // moved to `amount`; -1: none
        int amount;
        bool colour;
        bool newSource;       // the file changed between the paints
        int tables, channels; // rebuilt, recomputed
    };
    const Step steps[] = {
        {"red contrast moved", kColorRedContrast, 61, true, false, 1, 1},
        {"blue intensity moved", kColorBlueIntensity, -3, true, false, 1, 1},
        {"red contrast moved back", kColorRedContrast, 60, true, false, 1, 1},
        {"nothing moved", -1, 0, true, false, 0, 0},
        {"black moved, colour sample", kColorBlackIntensity, -5, true, false, 0, 0},
        {"the same source in grey", -1, 0, false, false, 2, 3},
        {"black contrast moved, grey sample", kColorBlackContrast, 7, false, false, 1, 3},
        {"grey, nothing moved", -1, 0, false, false, 0, 0},
        {"back to colour", -1, 0, true, false, 0, 3},
        {"another picture", -1, 0, true, true, 0, 3},
    };
    for (const Step& step : steps) {
        if (step.slider >= 0) amounts[step.slider] = static_cast<int16_t>(step.amount);
        if (step.newSource) source[1234] ^= 0xFF;
        const std::vector<uint8_t> got = Result(transform->Apply(source.data(), amounts, step.colour));
        EXPECT_EQ(transform->RebuiltTables(), step.tables) << step.what;
        EXPECT_EQ(transform->RecomputedChannels(), step.channels) << step.what;
        // What is kept is still right: the picture equals the definition's.
        EXPECT_TRUE(got == ByDefinition(source, amounts, step.colour)) << step.what;
    }
}

TEST(ColorAdjust, ColourAndGreySamplesByRibbon) {
    for (int ribbon = 0; ribbon < 16; ++ribbon) {
        const bool colour = ribbon == 0 || ribbon == 2 || ribbon == 5 || ribbon == 6 || ribbon == 7 || ribbon == 8 ||
                            ribbon == 11 || ribbon == 12 || ribbon == 13;
        EXPECT_EQ(IsColourSample(static_cast<uint8_t>(ribbon)), colour) << "ribbon " << ribbon;
    }
    EXPECT_EQ(GreyOf(255, 255, 255), 255);
    EXPECT_EQ(GreyOf(0, 0, 255), 79);    // red: 5 x 255 / 16
    EXPECT_EQ(GreyOf(0, 255, 0), 143);   // green: 9 x 255 / 16
    EXPECT_EQ(GreyOf(255, 0, 0), 31);    // blue: 2 x 255 / 16
}

std::vector<uint8_t> SampleFile() {
    std::vector<uint8_t> file(kSampleFileBytes, 0x80);
    const uint8_t header[54] = {'B', 'M', 0x66, 0x75, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                                40,  0,   0,    0,    100, 0, 0, 0, 100, 0, 0, 0, 1, 0, 24, 0,
                                0,   0,   0,    0,    0x30, 0x75, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,
                                0,   0,   0,    0,    0, 0, 0, 0};
    std::memcpy(file.data(), header, sizeof header);
    return file;
}

void Put32(std::vector<uint8_t>& file, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(ColorAdjust, OnlyA100By100UncompressedTrueColourSampleIsUsed) {
    SampleHeader header{};
    std::vector<uint8_t> good = SampleFile();
    ASSERT_TRUE(CheckSamplePicture(good.data(), good.size(), &header));
    EXPECT_EQ(header.width, 100);
    EXPECT_EQ(header.height, 100);
    Put32(good, 34, 0);  // no image size given
    EXPECT_TRUE(CheckSamplePicture(good.data(), good.size(), nullptr));

    struct Case {
        const char* what;
        size_t at;       // offset of the 32-bit (or 16-bit) field to change; SIZE_MAX: truncate
        uint32_t value;
        bool word;
    };
    const Case cases[] = {
        {"not a bitmap", 0, 0x4D42 ^ 0x0101, true},
        {"the tag the other way round", 0, 0x424D, true},
        {"B without M", 0, 0x0042, true},
        {"pixels elsewhere", 10, 1078, false},
        {"a shorter info header", 14, 12, false},
        {"99 pixels wide", 18, 99, false},
        {"99 lines", 22, 99, false},
        {"top-down rows", 22, uint32_t(-100), false},
        {"two planes", 26, 2, true},
        {"8 bits", 28, 8, true},
        {"32 bits", 28, 32, true},
        {"run-length compressed", 30, 1, false},
        {"an image size it does not have", 34, 60000, false},
        {"an image size one byte short", 34, 29999, false},
        {"an image size one byte long", 34, 30001, false},
        {"an image size of one byte", 34, 1, false},
        {"a palette", 46, 256, false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file = SampleFile();
        if (c.word) {
            file[c.at] = static_cast<uint8_t>(c.value);
            file[c.at + 1] = static_cast<uint8_t>(c.value >> 8);
        } else {
            Put32(file, c.at, c.value);
        }
        EXPECT_FALSE(CheckSamplePicture(file.data(), file.size(), &header)) << c.what;
    }
    for (size_t size : {size_t(0), size_t(53), size_t(54), kSampleFileBytes - 1})
        EXPECT_FALSE(CheckSamplePicture(good.data(), size, &header)) << size << " bytes";
    EXPECT_FALSE(CheckSamplePicture(nullptr, kSampleFileBytes, &header));
}

TEST(ColorAdjust, SliderRulesByRibbonAndDocument) {
    // Columns: black sliders enabled, colour sliders enabled, black sliders shown at 0.
    struct Case {
        int ribbon, bothSides, printMode, monoConversion;
        bool black, colours, zero;
    };
    const Case cases[] = {
        // The monochrome ribbons: black only, held at 0 while monochrome conversion is on.
        {1, 0, 0, 0, true, false, false},    {1, 0, 0, 1, false, false, true},
        {3, 0, 0, 2, false, false, true},    {3, 1, 1, 0, true, false, false},
        {14, 0, 0, 0, true, false, false},   {14, 0, 0, 1, false, false, true},
        // No black to adjust.
        {2, 0, 0, 1, false, true, false},    {5, 1, 1, 0, false, true, false},   {13, 0, 0, 0, false, true, false},
        // Colour with a black panel: black only on two sides outside the black-back mode.
        {0, 0, 0, 0, false, true, false},    {0, 1, 0, 0, true, true, false},    {0, 1, 1, 0, false, true, false},
        {0, 1, 2, 1, true, true, false},     {6, 1, 1, 0, false, true, false},   {7, 1, 3, 0, true, true, false},
        {11, 1, 1, 0, false, true, false},   {12, 0, 2, 0, false, true, false},  {12, 1, 0, 0, true, true, false},
        {8, 1, 1, 0, true, true, false},     {8, 1, 2, 0, false, true, false},   {8, 0, 0, 0, false, true, false},
        // Everything else: all eight.
        {4, 0, 0, 1, true, true, false},     {9, 0, 0, 0, true, true, false},    {10, 1, 1, 0, true, true, false},
        {15, 0, 0, 0, true, true, false},
    };
    for (const Case& c : cases) {
        PrivateSettings s{};
        s.ribbonType = static_cast<uint8_t>(c.ribbon);
        s.printBothSides = static_cast<int16_t>(c.bothSides);
        s.printModeIndex = static_cast<int16_t>(c.printMode);
        s.monoConversion = static_cast<int16_t>(c.monoConversion);
        const ColorSliderStates states = ColorSliderRules(s);
        for (int i = 0; i < kColorAdjustCount; ++i) {
            const bool black = i == 0 || i == 4;
            EXPECT_EQ(states.enabled[i], black ? c.black : c.colours)
                << "ribbon " << c.ribbon << " both sides " << c.bothSides << " mode " << c.printMode << " conversion "
                << c.monoConversion << " slider " << i;
            EXPECT_EQ(states.shownAsZero[i], black && c.zero) << "ribbon " << c.ribbon << " slider " << i;
        }
    }
}

TEST(ColorAdjust, ShownAmountsAndDefaults) {
    PrivateSettings s{};
    s.ribbonType = kRibbonKResin;
    s.monoConversion = 1;
    const int16_t stored[kColorAdjustCount] = {40, -250, 100, -100, -7, 300, 0, -32768};
    std::memcpy(s.colorAdjust, stored, sizeof stored);
    const ColorSliderStates states = ColorSliderRules(s);
    const int shown[kColorAdjustCount] = {0, -100, 100, -100, 0, 100, 0, -100};
    for (int i = 0; i < kColorAdjustCount; ++i) EXPECT_EQ(ShownColorAmount(s, states, i), shown[i]) << i;

    std::vector<uint8_t> block(kPrivateSize, 0);
    const int16_t defaults[kColorAdjustCount] = {1, -2, 3, -4, 5, -6, 7, -8};
    std::memcpy(&block[offsetof(PrivateSettings, colorAdjust)], defaults, sizeof defaults);
    block[offsetof(PrivateSettings, colorAdjustExtra)] = 9;
    int16_t amounts[kColorAdjustCount];
    uint8_t extra = 0xFF;
    ColorDefaults(block.data(), amounts, &extra);
    EXPECT_EQ(0, std::memcmp(amounts, defaults, sizeof defaults));
    EXPECT_EQ(extra, 9);
    ColorDefaults(nullptr, amounts, &extra);
    for (int16_t a : amounts) EXPECT_EQ(a, 0);
    EXPECT_EQ(extra, 0);
}

}  // namespace
}  // namespace qf
