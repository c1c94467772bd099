// The device sheet's rules: which push buttons can be used.
#include "driver/state/device_items.h"

#include <gtest/gtest.h>

#include <string>

namespace qf {
namespace {

TEST(DeviceItems, EncoderAndFirmwareButtons) {
    struct Case {
        int encoder, manualRibbon;
        bool modelAnswered;
        bool encoderButton, firmwareButton;
    };
    const Case kCases[] = {
        {0, 0, false, false, false}, {1, 0, false, true, false}, {0, 0, true, false, true},
        {1, 0, true, true, true},    {0, 4, false, true, true},
    };
    for (const Case& c : kCases) {
        PrivateSettings settings{};
        settings.encoderSettings.encoderPresent = static_cast<uint16_t>(c.encoder);
        settings.manualRibbon = static_cast<int16_t>(c.manualRibbon);
        const DeviceItemAvailability items = DeviceItemsAtOpen(settings, c.modelAnswered);
        const std::string where = "encoder " + std::to_string(c.encoder) + " manualRibbon " +
                                  std::to_string(c.manualRibbon) + " model answered " + std::to_string(c.modelAnswered);
        EXPECT_EQ(items.enabled[kDeviceItemEncoder], c.encoderButton) << where;
        EXPECT_EQ(items.enabled[kDeviceItemFirmware], c.firmwareButton) << where;
        for (int item : {kDeviceItemModel, kDeviceItemTools, kDeviceItemSingleFeed, kDeviceItemDeviceInfo,
                         kDeviceItemAbout}) {
            EXPECT_TRUE(items.enabled[item]) << "item " << item << ", " << where;
        }
    }
}

}  // namespace
}  // namespace qf
