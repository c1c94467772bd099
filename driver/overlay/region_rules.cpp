// The region editors' rules: types, coordinate checks, edit text and preview geometry.
#include "driver/overlay/region_rules.h"

namespace qf {
namespace {

// The overlay editors' up-downs go one dot further down than a bottom may; the check of
// the stepped value refuses it.
constexpr RegionEditorRules kOverlayRules = {kOverlayTypeCount, kOverlayArea, kOverlayAreaBlank,
                                             kOverlayBitmap, 1023, 640};
constexpr RegionEditorRules kHologramRules = {kHologramTypeCount, kHologramArea, kHologramAreaBlank,
                                              kHologramBitmap, 1023, 639};

struct ZoneRow {
    uint16_t type;
    CardArea zone;
};
constexpr ZoneRow kFixedZones[] = {
    {kOverlaySmartcardIso, {85, 197, 279, 356}},
    {kOverlaySmartcardAfnor, {85, 97, 243, 257}},
    {kOverlayMagneticStripe, {0, 25, 1024, 196}},
};

}  // namespace

const RegionEditorRules& RulesOf(RegionEditor editor) {
    return editor == RegionEditor::Hologram ? kHologramRules : kOverlayRules;
}

CardArea AreaOf(const OverlayRegion& region) {
    return {region.left, region.top, region.right, region.bottom};
}

bool CheckRegionCoordinate(uint32_t index, const CardArea& area, uint32_t value) {
    switch (index) {
    case kCoordinateLeft:
        return value <= kAreaMaxX && value < area.right;
    case kCoordinateTop:
        return value <= kAreaMaxY && value < area.bottom;
    case kCoordinateRight:
        return value <= kAreaMaxX && value > area.left;
    case kCoordinateBottom:
        return value <= kAreaMaxY && value > area.top;
    default:
        return true;
    }
}

bool AreaKeepsInvariant(const CardArea& area) {
    return CheckRegionCoordinate(kCoordinateLeft, area, area.left) &&
           CheckRegionCoordinate(kCoordinateTop, area, area.top) &&
           CheckRegionCoordinate(kCoordinateRight, area, area.right) &&
           CheckRegionCoordinate(kCoordinateBottom, area, area.bottom);
}

bool CheckCoordinateEdit(uint32_t index, const CardArea& area, uint32_t value) {
    if (AreaKeepsInvariant(area)) return CheckRegionCoordinate(index, area, value);
    switch (index) {
    case kCoordinateLeft:
    case kCoordinateRight:
        return value <= kAreaMaxX;
    case kCoordinateTop:
    case kCoordinateBottom:
        return value <= kAreaMaxY;
    default:
        return true;
    }
}

std::optional<uint32_t> ParseDecimalText(std::u16string_view text) {
    uint64_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - u'0');
        if (value > UINT32_MAX) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

bool TypeUsesArea(RegionEditor editor, uint16_t type) {
    const RegionEditorRules& rules = RulesOf(editor);
    return type == rules.areaType || type == rules.areaBlankType;
}

bool TypeUsesBitmap(RegionEditor editor, uint16_t type) { return type == RulesOf(editor).bitmapType; }

bool operator==(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

PixelRect PreviewRectFromGroupBox(const PixelRect& group, int32_t baseUnitX, int32_t baseUnitY) {
    // In dialog units: 3 across inside the frame at each side, 3 down above the bottom,
    // and 10 down from the top, which clears the title (a line of the font is 8).
    PixelRect box;
    box.left = group.left + 3 * baseUnitX / 4;
    box.top = group.top + 10 * baseUnitY / 8;
    box.right = group.right - 3 * baseUnitX / 4;
    box.bottom = group.bottom - 3 * baseUnitY / 8;
    return box;
}

PixelRect MapCardRectToPreview(const PixelRect& preview, const CardArea& card, bool rotated) {
    // Products first, then truncating divisions; 64 bits hold any stored coordinate.
    const int64_t w = int64_t{preview.right} - preview.left;
    const int64_t h = int64_t{preview.bottom} - preview.top;
    const auto sx = [w](int64_t x) { return w * x / kCardDotsAcross; };
    const auto sy = [h](int64_t y) { return h * y / kCardDotsDown; };
    // Turned, the rectangle is the one the printer is sent: card dot x is dot 1023 - x and
    // row y is row 639 - y, so that the preview shows where the job puts the area.
    int64_t cardLeft = card.left, cardTop = card.top, cardRight = card.right, cardBottom = card.bottom;
    if (rotated) {
        constexpr int64_t kLastDot = kCardDotsAcross - 1, kLastRow = kCardDotsDown - 1;
        cardLeft = kLastDot - card.right;
        cardTop = kLastRow - card.bottom;
        cardRight = kLastDot - card.left;
        cardBottom = kLastRow - card.top;
    }
    const int64_t left = preview.left + sx(cardLeft);
    const int64_t top = preview.top + sy(cardTop);
    const int64_t right = preview.left + sx(cardRight) + 1;
    const int64_t bottom = preview.top + sy(cardBottom) + 1;
    const auto clip = [](int64_t v) {
        return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
    };
    return {clip(left), clip(top), clip(right), clip(bottom)};
}

std::optional<CardArea> FixedZone(uint16_t overlayType, bool rotated) {
    for (const ZoneRow& row : kFixedZones) {
        if (row.type != overlayType) continue;
        CardArea zone = row.zone;
        if (overlayType == kOverlayMagneticStripe && rotated) zone.right = 1023;
        return zone;
    }
    return std::nullopt;
}

PreviewPlan RegionPreviewPlan(RegionEditor editor, const OverlayRegion& region, const PixelRect& preview) {
    const uint16_t type = region.overlayType;
    const bool rotated = region.rotated != 0;
    const RegionEditorRules& rules = RulesOf(editor);
    PreviewPlan plan = {PreviewKind::Box, true, false, preview};

    if (type >= rules.typeCount) {
        plan.kind = PreviewKind::Nothing;
    } else if (type == rules.bitmapType) {
        plan.kind = PreviewKind::Bitmap;
    } else if (TypeUsesArea(editor, type)) {
        plan.boxBlack = type == rules.areaBlankType;
        plan.hasRect = true;
        plan.rect = MapCardRectToPreview(preview, AreaOf(region), rotated);
    } else if (editor == RegionEditor::Overlay && type == kOverlayNone) {
        plan.boxBlack = false;
    } else if (const std::optional<CardArea> zone =
                   editor == RegionEditor::Overlay ? FixedZone(type, rotated) : std::nullopt) {
        plan.hasRect = true;
        plan.rect = MapCardRectToPreview(preview, *zone, rotated);
    }
    return plan;
}

}  // namespace qf
