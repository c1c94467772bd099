// The rules of the device sheet's items.
#include "driver/sheets/device_items.h"

#include "driver/sheets/document_items.h"

namespace qf {

bool ModelAnswered(std::string_view modelText) { return modelText != kDefaultModelText; }

DeviceItemAvailability DeviceItemsAtOpen(const PrivateSettings& settings, std::string_view modelText) {
    const bool offline = settings.manualRibbon != 0;
    DeviceItemAvailability items{};
    for (bool& enabled : items.enabled) enabled = true;
    items.enabled[kDeviceItemEncoder] = settings.encoderSettings.encoderPresent != 0 || offline;
    items.enabled[kDeviceItemFirmware] = ModelAnswered(modelText) || offline;
    return items;
}

}  // namespace qf
