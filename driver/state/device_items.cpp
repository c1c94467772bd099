// The rules of the device sheet's items.
#include "driver/state/device_items.h"

namespace qf {

DeviceItemAvailability DeviceItemsAtOpen(const PrivateSettings& settings, bool modelAnswered) {
    const bool offline = settings.manualRibbon != 0;
    DeviceItemAvailability items{};
    for (bool& enabled : items.enabled) enabled = true;
    items.enabled[kDeviceItemEncoder] = settings.encoderSettings.encoderPresent != 0 || offline;
    items.enabled[kDeviceItemFirmware] = modelAnswered || offline;
    return items;
}

}  // namespace qf
