// The hologram dialog's jobs: copies, and one card of the whole-card and area types.
#include "driver/overlay/hologram_job.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "driver/channel/commands.h"
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

TEST(HologramJob, OnlyAnAreaOnTheCardWithAPositiveSizeIsSent) {
    PrivateSettings settings;
    std::memset(&settings, 0, sizeof settings);
    settings.headSettings[2] = 6;
    OverlayRegion& region = settings.hologramOverlay.region;
    struct Row {
        const char* what;
        CardArea area;
        bool refused;
    };
    const Row rows[] = {
        {"inside", {100, 50, 300, 150}, false},
        {"the whole card", {0, 0, 1024, 639}, false},
        {"one dot at the far corner", {1023, 638, 1024, 639}, false},
        {"every byte 0xFF", {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, true},
        {"empty", {0, 0, 0, 0}, true},
        {"no width", {300, 50, 300, 150}, true},
        {"no height", {100, 150, 300, 150}, true},
        {"left and right swapped", {300, 50, 100, 150}, true},
        {"top and bottom swapped", {100, 150, 300, 50}, true},
        {"right beyond the card", {100, 50, 1025, 150}, true},
        {"bottom beyond the card", {100, 50, 300, 640}, true},
        {"left beyond the card", {2000, 50, 3000, 150}, true},
        {"top beyond the card", {100, 700, 300, 800}, true},
    };
    for (const uint16_t type : {kHologramArea, kHologramAreaBlank}) {
        for (const bool rotated : {false, true}) {
            for (const Row& row : rows) {
                region.overlayType = type;
                region.rotated = rotated ? 1 : 0;
                region.left = row.area.left;
                region.top = row.area.top;
                region.right = row.area.right;
                region.bottom = row.area.bottom;
                EXPECT_EQ(HologramAreaRefused(settings), row.refused) << row.what << " type " << type;
                // A refused area gives no commands at all; an accepted one a whole card.
                EXPECT_EQ(HologramCardCommands(settings).size(), row.refused ? 0u : 6u)
                    << row.what << " type " << type << " rotated " << rotated;
            }
        }
    }
    // The other types carry no area, whatever the record holds there.
    region.left = region.top = region.right = region.bottom = 0xFFFFFFFF;
    for (const uint16_t type : {kHologramFull, kHologramBitmap, uint16_t{4}}) {
        region.overlayType = type;
        EXPECT_FALSE(HologramAreaRefused(settings)) << "type " << type;
    }
    region.overlayType = kHologramFull;
    EXPECT_EQ(HologramCardCommands(settings).size(), 3u);
}

// The types the print button can send; a record from elsewhere may hold any number.
TEST(HologramJob, PrintableTypes) {
    PrivateSettings settings{};
    const struct {
        uint16_t type;
        bool printable;
    } rows[] = {{kHologramFull, true}, {kHologramArea, true}, {kHologramAreaBlank, true},
                {kHologramBitmap, true}, {4, false}, {0xFFFF, false}};
    for (const auto& row : rows) {
        settings.hologramOverlay.region.overlayType = row.type;
        EXPECT_EQ(HologramTypePrintable(settings), row.printable) << "type " << row.type;
    }
}

}  // namespace
}  // namespace qf
