// The device sheet's rules: which push buttons can be used.
#include "driver/sheets/device_items.h"

#include <gtest/gtest.h>

#include <string>

#include "driver/sheets/document_items.h"

namespace qf {
namespace {

TEST(DeviceItems, EncoderAndFirmwareButtons) {
    struct Case {
        int encoder, manualRibbon;
        std::string model;
        bool encoderButton, firmwareButton;
    };
    const Case kCases[] = {
        {0, 0, std::string(kDefaultModelText), false, false},
        {1, 0, std::string(kDefaultModelText), true, false},
        {0, 0, "QF-858 V1.0", false, true},
        {1, 0, "QF-858 V1.0", true, true},
        {0, 4, std::string(kDefaultModelText), true, true},
        // Only the exact default text counts as no answer.
        {0, 0, std::string(kDefaultModelText) + " ", false, true},
    };
    for (const Case& c : kCases) {
        PrivateSettings settings{};
        settings.encoderSettings.encoderPresent = static_cast<uint16_t>(c.encoder);
        settings.manualRibbon = static_cast<int16_t>(c.manualRibbon);
        const DeviceItemAvailability items = DeviceItemsAtOpen(settings, c.model);
        const std::string where = "encoder " + std::to_string(c.encoder) + " manualRibbon " +
                                  std::to_string(c.manualRibbon) + " model \"" + c.model + "\"";
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
