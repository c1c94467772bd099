// The hologram dialog's jobs: copies, and one card of the whole-card and area types.
#include "driver/overlay/hologram_job.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "driver/overlay/region_rules.h"

namespace qf {
namespace {

using Commands = std::vector<std::string>;

TEST(HologramJob, Copies) {
    struct Row {
        uint32_t copies;
        bool accepted;
        uint32_t cards;
    };
    for (const Row& row : {Row{0, true, 1}, Row{1, true, 1}, Row{2, true, 2}, Row{1500, true, 1500},
                           Row{1501, false, 1501}}) {
        EXPECT_EQ(HologramCopiesAccepted(row.copies), row.accepted) << row.copies;
        EXPECT_EQ(HologramCardCount(row.copies), row.cards) << row.copies;
    }
}

TEST(HologramJob, CardCommandsByType) {
    PrivateSettings settings;
    std::memset(&settings, 0, sizeof settings);
    settings.headSettings[2] = 6;
    OverlayRegion& region = settings.hologramOverlay.region;
    region.left = 100;
    region.top = 50;
    region.right = 300;
    region.bottom = 150;
    struct Row {
        uint16_t type;
        bool rotated;
        bool bothSides;
        Commands expected;
    };
    const Row rows[] = {
        {kHologramFull, false, false, {"\x1B+CH 6\r", "\x1BIH 30\r", "\x1BMO\r"}},
        {kHologramFull, true, true, {"\x1B+CH 6\r", "\x1BIH 30\r", "\x1BMF\r", "\x1BIH 30\r", "\x1BMO\r"}},
        {kHologramArea, false, false,
         {"\x1B+CH 6\r", "\x1B" "F\r", "\x1BL 0 0 1023 639 0\r", "\x1BL 100 50 200 100 1\r", "\x1BIH 31\r",
          "\x1BMO\r"}},
        {kHologramArea, true, false,
         {"\x1B+CH 6\r", "\x1B" "F\r", "\x1BL 0 0 1023 639 0\r", "\x1BL 723 489 200 100 1\r", "\x1BIH 31\r",
          "\x1BMO\r"}},
        {kHologramAreaBlank, false, true,
         {"\x1B+CH 6\r", "\x1B" "F\r", "\x1BL 0 0 1023 639 1\r", "\x1BL 100 50 200 100 0\r", "\x1BIH 31\r",
          "\x1BMF\r", "\x1B" "F\r", "\x1BL 0 0 1023 639 1\r", "\x1BL 100 50 200 100 0\r", "\x1BIH 31\r",
          "\x1BMO\r"}},
        {kHologramBitmap, false, false, {}},  // the image job instead
        {4, false, false, {}},
    };
    for (const Row& row : rows) {
        region.overlayType = row.type;
        region.rotated = row.rotated ? 1 : 0;
        settings.printBothSides = row.bothSides ? 1 : 0;
        EXPECT_EQ(HologramCardCommands(settings), row.expected) << "type " << row.type << " rotated " << row.rotated;
    }
}

}  // namespace
}  // namespace qf
