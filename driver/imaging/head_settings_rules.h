// The head settings' rules: which of the eleven print-head sliders the installed ribbon
// can use, and how a stored level is shown.
#pragma once

#include <cstdint>

#include "driver/settings/private_settings.h"

namespace qf {

// The print-head levels run from 0 to 10; the built-in default is the middle.
constexpr int kHeadLevelMin = 0, kHeadLevelMax = 10;
constexpr uint8_t kHeadLevelDefault = 5;

// The sliders, by index into `headSettings`.
enum HeadSlider : int {
    kHeadOverlayContrast = 0,   // "Overlay Varnish (O)"
    kHeadResinBlackContrast,    // "Black (Kr)"
    kHeadHologramContrast,      // "Hologram / Varnish (H)"
    kHeadYellowIntensity,
    kHeadMagentaIntensity,
    kHeadCyanIntensity,
    kHeadDyeBlackIntensity,     // "Black (Kd)"
    kHeadYellowContrast,
    kHeadMagentaContrast,
    kHeadCyanContrast,
    kHeadDyeBlackContrast,
};

// The enabled sliders as a mask, bit i for slider i: the ribbon decides, and for the
// unknown monochrome ribbon its kind. Codes without panels to adjust enable none.
uint16_t EnabledHeadSliders(uint8_t ribbonType, uint8_t monoRibbonKind);

inline bool HeadSliderEnabled(uint16_t mask, int index) { return (mask >> index) & 1u; }

// The level a slider shows for a stored byte: a value above the scale shows at its top.
int ShownHeadLevel(uint8_t stored);

// The eleven levels that Restore defaults writes: those of the defaults block when it
// was read (`block` not null, kPrivateSize bytes), else the built-in default for each.
void HeadDefaults(const uint8_t* block, uint8_t levels[kHeadSettingCount]);

}  // namespace qf
