// The offline ribbon list: which ribbon code each entry stands for.
#include "driver/settings/private_settings.h"

namespace qf {
namespace {

// Ribbon codes of the offline list entries 1..10, in list order.
constexpr uint8_t kManualRibbonCodes[] = {8, 7, 0, 12, 1, 6, 5, 2, 3, 4};
constexpr int kManualRibbonCount = sizeof(kManualRibbonCodes) / sizeof(kManualRibbonCodes[0]);
constexpr uint8_t kManualRibbonFallback = 1;

}  // namespace

uint8_t RibbonFromManualIndex(int manualIndex) {
    if (manualIndex < 1 || manualIndex > kManualRibbonCount) return kManualRibbonFallback;
    return kManualRibbonCodes[manualIndex - 1];
}

}  // namespace qf
