// The rules of the device sheet's seven items: which of its push buttons can be used.
#pragma once

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

// "Encoder Settings" needs an encoder or the offline configuration; "F/W Download" needs the
// printer's answer to the model query or the offline configuration; the other items are
// always available.
DeviceItemAvailability DeviceItemsAtOpen(const PrivateSettings& settings, bool modelAnswered);

}  // namespace qf
