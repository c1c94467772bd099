// The region editors' rules: coordinate checks, edit text, preview geometry and plans.
#include "driver/overlay/region_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

namespace qf {

std::ostream& operator<<(std::ostream& os, const PixelRect& r) {
    return os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace {

TEST(OverlayRegion, CheckRegionCoordinate) {
    struct Row {
        uint32_t index;
        CardArea area;
        uint32_t value;
        bool accepted;
    };
    const CardArea wide = {0, 0, 1024, 639};
    const Row rows[] = {
        // Left: at most 1024 and below right.
        {kCoordinateLeft, wide, 1024, false},
        {kCoordinateLeft, wide, 1023, true},
        {kCoordinateLeft, {0, 0, 300, 639}, 300, false},
        {kCoordinateLeft, {0, 0, 0xFFFFFFFF, 639}, 1025, false},
        // Right: at most 1024 and above left.
        {kCoordinateRight, {1023, 0, 500, 639}, 1024, true},
        {kCoordinateRight, wide, 1025, false},
        {kCoordinateRight, {100, 0, 500, 639}, 100, false},
        {kCoordinateRight, {100, 0, 500, 639}, 101, true},
        // Top: at most 639 and above bottom.
        {kCoordinateTop, {0, 0, 1024, 639}, 638, true},
        {kCoordinateTop, {0, 0, 1024, 639}, 639, false},
        {kCoordinateTop, {0, 0, 1024, 0xFFFFFFFF}, 640, false},
        // Bottom: at most 639 (the overlay up-downs reach 640) and below top.
        {kCoordinateBottom, {0, 0, 1024, 100}, 639, true},
        {kCoordinateBottom, {0, 0, 1024, 100}, 640, false},
        {kCoordinateBottom, {0, 50, 1024, 100}, 50, false},
        {kCoordinateBottom, {0, 50, 1024, 100}, 51, true},
        // An index outside 0..3 checks nothing.
        {4, wide, 0xFFFFFFFF, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CheckRegionCoordinate(row.index, row.area, row.value), row.accepted)
            << "index " << row.index << " value " << row.value << " area " << row.area.left << " "
            << row.area.top << " " << row.area.right << " " << row.area.bottom;
    }
}

TEST(OverlayRegion, AreaInvariant) {
    EXPECT_TRUE(AreaKeepsInvariant({0, 0, 1024, 639}));
    EXPECT_TRUE(AreaKeepsInvariant({100, 50, 300, 150}));
    EXPECT_FALSE(AreaKeepsInvariant({300, 50, 100, 150}));   // edges swapped
    EXPECT_FALSE(AreaKeepsInvariant({100, 50, 100, 150}));   // no width
    EXPECT_FALSE(AreaKeepsInvariant({0, 0, 1025, 639}));
    EXPECT_FALSE(AreaKeepsInvariant({0, 0, 1024, 640}));
}

TEST(OverlayRegion, EditsRepairABrokenStoredArea) {
    struct Row {
        uint32_t index;
        CardArea area;
        uint32_t value;
        bool accepted;
    };
    const CardArea stuck = {1024, 639, 0, 0};  // no value of any edge passes the usual check
    const Row rows[] = {
        {kCoordinateLeft, stuck, 100, true},
        {kCoordinateLeft, stuck, 1025, false},
        {kCoordinateRight, stuck, 1024, true},
        {kCoordinateTop, stuck, 639, true},
        {kCoordinateBottom, stuck, 640, false},
        // A valid area gets the usual check.
        {kCoordinateRight, {100, 0, 300, 639}, 50, false},
        {kCoordinateRight, {100, 0, 300, 639}, 500, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CheckCoordinateEdit(row.index, row.area, row.value), row.accepted)
            << "index " << row.index << " value " << row.value;
    }
    // Edge by edge the stuck area becomes a valid one.
    CardArea area = stuck;
    for (const auto& [index, value] : {std::pair{kCoordinateLeft, 100u}, {kCoordinateRight, 300u},
                                       {kCoordinateTop, 50u}, {kCoordinateBottom, 150u}}) {
        ASSERT_TRUE(CheckCoordinateEdit(index, area, value)) << "index " << index;
        (index == kCoordinateLeft ? area.left : index == kCoordinateTop ? area.top
                                  : index == kCoordinateRight ? area.right : area.bottom) = value;
    }
    EXPECT_TRUE(AreaKeepsInvariant(area));
}

TEST(OverlayRegion, ParseDecimalText) {
    struct Row {
        std::u16string_view text;
        std::optional<uint32_t> value;
    };
    const Row rows[] = {
        {u"", 0u},
        {u"0", 0u},
        {u"0639", 639u},
        {u"1024", 1024u},
        {u"4294967295", 4294967295u},
        {u"4294967296", std::nullopt},  // beyond 32 bits
        {u"12a", std::nullopt},          // pasted text
        {u"-1", std::nullopt},
        {u" 5", std::nullopt},
        {u"1\u0661", std::nullopt},      // a digit of another script
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ParseDecimalText(row.text), row.value)
            << std::string(row.text.begin(), row.text.end());
    }
    // An edit is read to its first four characters: five digits give the first four.
    EXPECT_EQ(ParseDecimalText(std::u16string_view(u"10245").substr(0, kCoordinateTextChars)), 1024u);
}

TEST(OverlayRegion, EditorRules) {
    EXPECT_EQ(RulesOf(RegionEditor::Overlay).upDownMaxY, 640u);
    EXPECT_EQ(RulesOf(RegionEditor::Hologram).upDownMaxY, 639u);
    EXPECT_EQ(RulesOf(RegionEditor::Overlay).upDownMaxX, 1023u);
    EXPECT_EQ(RulesOf(RegionEditor::Hologram).upDownMaxX, 1023u);

    struct Row {
        RegionEditor editor;
        uint16_t type;
        bool area;
        bool bitmap;
    };
    const Row rows[] = {
        {RegionEditor::Overlay, kOverlayFull, false, false},
        {RegionEditor::Overlay, kOverlayNone, false, false},
        {RegionEditor::Overlay, kOverlayArea, true, false},
        {RegionEditor::Overlay, kOverlayAreaBlank, true, false},
        {RegionEditor::Overlay, kOverlayBitmap, false, true},
        {RegionEditor::Overlay, kOverlaySmartcardIso, false, false},
        {RegionEditor::Overlay, kOverlayMagneticStripe, false, false},
        {RegionEditor::Hologram, kHologramFull, false, false},
        {RegionEditor::Hologram, kHologramArea, true, false},
        {RegionEditor::Hologram, kHologramAreaBlank, true, false},
        {RegionEditor::Hologram, kHologramBitmap, false, true},
        {RegionEditor::Hologram, 4, false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TypeUsesArea(row.editor, row.type), row.area) << "type " << row.type;
        EXPECT_EQ(TypeUsesBitmap(row.editor, row.type), row.bitmap) << "type " << row.type;
    }
}

TEST(OverlayRegion, PreviewRectFromGroupBox) {
    // Base units 6 x 13; a group box of 86 x 56 dialog units at (10, 36) is 129 x 91 pixels
    // at (15, 58).
    EXPECT_EQ(PreviewRectFromGroupBox({15, 58, 144, 149}, 6, 13), (PixelRect{15 + 4, 58 + 16, 144 - 4, 149 - 4}));
    // Base units 8 x 18 (a larger font, as Japanese has): the group is larger and the box
    // keeps its margins in the font's units.
    EXPECT_EQ(PreviewRectFromGroupBox({20, 81, 192, 207}, 8, 18), (PixelRect{20 + 6, 81 + 22, 192 - 6, 207 - 6}));
}

// A preview box of 128 x 86 pixels.
constexpr PixelRect kBox = {12, 29, 140, 115};

TEST(OverlayRegion, CardToPreviewMapping) {
    struct Row {
        const char* what;
        CardArea card;
        bool rotated;
        PixelRect expected;
    };
    const Row rows[] = {
        // The ISO zone: x 85..279, y 197..356. 128·85/1024 = 10, 128·279/1024 = 34,
        // 86·197/640 = 26, 86·356/640 = 47.
        {"ISO zone", *FixedZone(kOverlaySmartcardIso, false), false, {12 + 10, 29 + 26, 12 + 34 + 1, 29 + 47 + 1}},
        // Turned, dot x is 1023 - x and row y is 639 - y, as in the job: the ISO zone is
        // x 744..938, y 283..442; 128·744/1024 = 93, 128·938/1024 = 117, 86·283/640 = 38,
        // 86·442/640 = 59.
        {"ISO zone rotated", *FixedZone(kOverlaySmartcardIso, true), true,
         {12 + 93, 29 + 38, 12 + 117 + 1, 29 + 59 + 1}},
        // The whole card reaches one pixel past the box.
        {"whole card", {0, 0, 1024, 640}, false, {12, 29, 141, 116}},
        // The stripe ends at 1024 upright and at 1023 turned, so that turned it is x 0..1023,
        // y 443..614: 128·1023/1024 = 127, 86·443/640 = 59, 86·614/640 = 82.
        {"stripe", *FixedZone(kOverlayMagneticStripe, false), false, {12, 29 + 3, 141, 29 + 26 + 1}},
        {"stripe rotated", *FixedZone(kOverlayMagneticStripe, true), true, {12, 29 + 59, 12 + 127 + 1, 29 + 82 + 1}},
        {"area", {100, 50, 300, 150}, false, {12 + 12, 29 + 6, 12 + 37 + 1, 29 + 20 + 1}},
        // The job sends the turned area at x 1023 - 300 = 723, y 639 - 150 = 489, 200 x 100
        // dots: x 723..923, y 489..589; 128·723/1024 = 90, 128·923/1024 = 115,
        // 86·489/640 = 65, 86·589/640 = 79.
        {"area rotated", {100, 50, 300, 150}, true, {12 + 90, 29 + 65, 12 + 115 + 1, 29 + 79 + 1}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(MapCardRectToPreview(kBox, row.card, row.rotated), row.expected) << row.what;
    }
    EXPECT_FALSE(FixedZone(kOverlayArea, false).has_value());
}

TEST(OverlayRegion, PreviewPlans) {
    struct Row {
        RegionEditor editor;
        uint16_t type;
        bool rotated;
        PreviewKind kind;
        bool boxBlack;
        bool hasRect;
        PixelRect rect;
    };
    const PixelRect area = MapCardRectToPreview(kBox, {100, 50, 300, 150}, false);
    const PixelRect areaTurned = MapCardRectToPreview(kBox, {100, 50, 300, 150}, true);
    const PixelRect afnor = MapCardRectToPreview(kBox, {85, 97, 243, 257}, false);
    const Row rows[] = {
        {RegionEditor::Overlay, kOverlayFull, false, PreviewKind::Box, true, false, kBox},
        {RegionEditor::Overlay, kOverlayNone, false, PreviewKind::Box, false, false, kBox},
        {RegionEditor::Overlay, kOverlayArea, false, PreviewKind::Box, false, true, area},
        {RegionEditor::Overlay, kOverlayAreaBlank, true, PreviewKind::Box, true, true, areaTurned},
        {RegionEditor::Overlay, kOverlayBitmap, false, PreviewKind::Bitmap, true, false, kBox},
        {RegionEditor::Overlay, kOverlaySmartcardAfnor, false, PreviewKind::Box, true, true, afnor},
        {RegionEditor::Overlay, 8, false, PreviewKind::Nothing, true, false, kBox},
        {RegionEditor::Hologram, kHologramFull, false, PreviewKind::Box, true, false, kBox},
        {RegionEditor::Hologram, kHologramArea, false, PreviewKind::Box, false, true, area},
        {RegionEditor::Hologram, kHologramAreaBlank, true, PreviewKind::Box, true, true, areaTurned},
        {RegionEditor::Hologram, kHologramBitmap, false, PreviewKind::Bitmap, true, false, kBox},
        {RegionEditor::Hologram, 4, false, PreviewKind::Nothing, true, false, kBox},
    };
    for (const Row& row : rows) {
        OverlayRegion region;
        std::memset(&region, 0, sizeof region);
        region.overlayType = row.type;
        region.rotated = row.rotated ? 1 : 0;
        region.left = 100;
        region.top = 50;
        region.right = 300;
        region.bottom = 150;
        const PreviewPlan plan = RegionPreviewPlan(row.editor, region, kBox);
        const char* editor = row.editor == RegionEditor::Overlay ? "overlay" : "hologram";
        EXPECT_EQ(plan.kind, row.kind) << editor << " type " << row.type;
        if (plan.kind != PreviewKind::Box) continue;
        EXPECT_EQ(plan.boxBlack, row.boxBlack) << editor << " type " << row.type;
        EXPECT_EQ(plan.hasRect, row.hasRect) << editor << " type " << row.type;
        if (plan.hasRect) {
            EXPECT_EQ(plan.rect, row.rect) << editor << " type " << row.type;
        }
    }
}

}  // namespace
}  // namespace qf
