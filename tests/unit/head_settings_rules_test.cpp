// The head settings' enabling table, the shown levels and the defaults.
#include "driver/imaging/head_settings_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace qf {
namespace {

// Slider ids 1800..1810 as written in the table, turned into a mask.
uint16_t Sliders(std::initializer_list<int> ids) {
    uint16_t mask = 0;
    for (int id : ids) mask = static_cast<uint16_t>(mask | (1u << (id - 1800)));
    return mask;
}

TEST(HeadSettingsRules, EnablingTableByRibbonAndKind) {
    const uint16_t fullColour = Sliders({1800, 1801, 1803, 1804, 1805, 1807, 1808, 1809});
    const uint16_t colourWithBlack = Sliders({1801, 1803, 1804, 1805, 1807, 1808, 1809});
    const uint16_t expected[16] = {
        fullColour,                                   // 0 YMCKO
        Sliders({1801}),                              // 1 K
        Sliders({1800, 1806, 1810}),                  // 2 KdO
        Sliders({1800, 1801}),                        // 3 KrO
        Sliders({1802}),                              // 4 Hologram
        Sliders({1803, 1804, 1805, 1807, 1808, 1809}),  // 5 YMC
        colourWithBlack,                              // 6 YMCK
        colourWithBlack,                              // 7 YMCKK
        fullColour,                                   // 8 YMCKOK
        0, 0,                                         // 9, 10
        fullColour,                                   // 11 YMCKUv
        colourWithBlack,                              // 12 YMCUvK
        Sliders({1806, 1810}),                        // 13 Kd
        0,                                            // 14: by kind, below
        0,                                            // 15 none
    };
    for (int ribbon = 0; ribbon < 16; ++ribbon) {
        if (ribbon == 14) continue;
        for (int kind : {0, 2, 3})  // the kind counts only for the unknown monochrome ribbon
            EXPECT_EQ(EnabledHeadSliders(static_cast<uint8_t>(ribbon), static_cast<uint8_t>(kind)), expected[ribbon])
                << "ribbon " << ribbon << " kind " << kind;
    }
    const uint16_t byKind[6] = {Sliders({1801}), 0, Sliders({1800, 1802}), Sliders({1802}), 0, 0};
    for (int kind = 0; kind < 6; ++kind)
        EXPECT_EQ(EnabledHeadSliders(14, static_cast<uint8_t>(kind)), byKind[kind]) << "kind " << kind;
    EXPECT_EQ(EnabledHeadSliders(200, 0), 0);
}

TEST(HeadSettingsRules, ShownLevelsAndDefaults) {
    EXPECT_EQ(ShownHeadLevel(0), 0);
    EXPECT_EQ(ShownHeadLevel(10), 10);
    EXPECT_EQ(ShownHeadLevel(11), 10);
    EXPECT_EQ(ShownHeadLevel(255), 10);

    std::vector<uint8_t> block(kPrivateSize, 0xEE);
    const uint8_t levels[kHeadSettingCount] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::memcpy(&block[3224], levels, sizeof levels);
    uint8_t got[kHeadSettingCount] = {};
    HeadDefaults(block.data(), got);
    EXPECT_EQ(0, std::memcmp(got, levels, sizeof levels));
    HeadDefaults(nullptr, got);
    for (uint8_t level : got) EXPECT_EQ(level, 5);
}

}  // namespace
}  // namespace qf
