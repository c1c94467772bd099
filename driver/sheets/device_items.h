// The rules of the device sheet's seven items: which of its push buttons can be used.
#pragma once

#include <string_view>

#include "driver/settings/private_settings.h"

namespace qf {

// The device sheet's items, in array order.
enum DeviceItem : int {
    kDeviceItemModel = 0,
    kDeviceItemEncoder,
    kDeviceItemTools,
    kDeviceItemFirmware,
    kDeviceItemSingleFeed,
    kDeviceItemDeviceInfo,
    kDeviceItemAbout,
    kDeviceItemCount
};

struct DeviceItemAvailability {
    bool enabled[kDeviceItemCount];
};

// The printer answered the model query: the model text is not the default one.
bool ModelAnswered(std::string_view modelText);

// "Encoder Settings" needs an encoder or the offline configuration; "F/W Download" needs a
// model answer or the offline configuration; the other items are always available.
DeviceItemAvailability DeviceItemsAtOpen(const PrivateSettings& settings, std::string_view modelText);

}  // namespace qf
