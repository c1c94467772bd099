// The hologram jobs of the whole-card and area types.
#include "driver/overlay/hologram_job.h"

#include <new>

#include "driver/channel/commands.h"
#include "driver/overlay/region_rules.h"

namespace qf {

namespace {
constexpr int kHologramHeadSetting = 2;  // the "Hologram / Varnish (H)" level
}  // namespace

bool HologramCopiesAccepted(uint32_t copies) { return copies <= kHologramMaxCopies; }

uint32_t HologramCardCount(uint32_t copies) { return copies == 0 ? 1 : copies; }

bool HologramTypePrintable(const PrivateSettings& settings) {
    switch (settings.hologramOverlay.region.overlayType) {
    case kHologramFull:
    case kHologramArea:
    case kHologramAreaBlank:
    case kHologramBitmap:
        return true;
    default:
        return false;
    }
}

uint8_t HologramContrast(const PrivateSettings& settings) { return settings.headSettings[kHologramHeadSetting]; }

bool HologramAreaRefused(const PrivateSettings& settings) {
    const OverlayRegion& region = settings.hologramOverlay.region;
    return TypeUsesArea(RegionEditor::Hologram, region.overlayType) && !AreaKeepsInvariant(AreaOf(region));
}

std::vector<std::string> HologramCardCommands(const PrivateSettings& settings) noexcept {
    const OverlayRegion& region = settings.hologramOverlay.region;
    const uint8_t contrast = HologramContrast(settings);
    const bool bothSides = settings.printBothSides != 0;
    try {
        switch (region.overlayType) {
        case kHologramFull:
            return HologramWholeCardSequence(contrast, bothSides);
        case kHologramArea:
        case kHologramAreaBlank:
            if (HologramAreaRefused(settings)) return {};
            return HologramAreaSequence(contrast, region.overlayType == kHologramAreaBlank, region.rotated != 0,
                                        AreaOf(region), bothSides);
        default:
            return {};
        }
    } catch (const std::bad_alloc&) {
        // No job is better than part of one.
        return {};
    }
}

}  // namespace qf
