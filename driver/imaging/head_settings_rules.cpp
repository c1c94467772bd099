// The head settings' enabling table.
#include "driver/imaging/head_settings_rules.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>

#include "driver/settings/ribbons.h"

namespace qf {
namespace {

constexpr uint16_t Bits(std::initializer_list<int> sliders) {
    uint16_t mask = 0;
    for (int s : sliders) mask = static_cast<uint16_t>(mask | (1u << s));
    return mask;
}

constexpr uint16_t kColourPanels = Bits({kHeadYellowIntensity, kHeadMagentaIntensity, kHeadCyanIntensity,
                                         kHeadYellowContrast, kHeadMagentaContrast, kHeadCyanContrast});
constexpr uint16_t kOverlay = Bits({kHeadOverlayContrast});
constexpr uint16_t kResinBlack = Bits({kHeadResinBlackContrast});
constexpr uint16_t kHologram = Bits({kHeadHologramContrast});
constexpr uint16_t kDyeBlack = Bits({kHeadDyeBlackIntensity, kHeadDyeBlackContrast});

// By ribbon code 0..15; the unknown monochrome ribbon (14) is decided by its kind.
constexpr uint16_t kByRibbon[16] = {
    kColourPanels | kResinBlack | kOverlay,  // 0 YMCKO
    kResinBlack,                             // 1 K
    kOverlay | kDyeBlack,                    // 2 KdO
    kOverlay | kResinBlack,                  // 3 KrO
    kHologram,                               // 4 Hologram
    kColourPanels,                           // 5 YMC
    kColourPanels | kResinBlack,             // 6 YMCK
    kColourPanels | kResinBlack,             // 7 YMCKK
    kColourPanels | kResinBlack | kOverlay,  // 8 YMCKOK
    0,                                       // 9 clear varnish
    0,                                       // 10 scratch off
    kColourPanels | kResinBlack | kOverlay,  // 11 YMCKUv
    kColourPanels | kResinBlack,             // 12 YMCUvK
    kDyeBlack,                               // 13 Kd
    0,                                       // 14 unknown monochrome, by kind below
    0,                                       // 15 none
};

}  // namespace

uint16_t EnabledHeadSliders(uint8_t ribbonType, uint8_t monoRibbonKind) {
    if (ribbonType == kRibbonUnknownMono) {
        switch (monoRibbonKind) {
        case kMonoKResin: return kResinBlack;
        case kMonoClearVarnish: return kOverlay | kHologram;
        case kMonoHologram: return kHologram;
        default: return 0;
        }
    }
    return ribbonType < 16 ? kByRibbon[ribbonType] : 0;
}

int ShownHeadLevel(uint8_t stored) { return stored > kHeadLevelMax ? kHeadLevelMax : stored; }

void HeadDefaults(const uint8_t* block, uint8_t levels[kHeadSettingCount]) {
    if (block)
        std::memcpy(levels, block + offsetof(PrivateSettings, headSettings), kHeadSettingCount);
    else
        std::memset(levels, kHeadLevelDefault, kHeadSettingCount);
}

}  // namespace qf
