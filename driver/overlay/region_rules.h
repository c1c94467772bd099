// The rules of the overlay varnish and hologram region editors: which types use the area
// and the bitmap controls, the check of a typed or stepped coordinate, the reading of a
// coordinate edit's text, and the mapping of card dots onto the preview box.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "driver/channel/commands.h"
#include "driver/settings/private_settings.h"

namespace qf {

// The two kinds of region editor: the overlay varnish of a card side (front or back)
// and the hologram panel.
enum class RegionEditor { Overlay, Hologram };

// Overlay varnish types (list index = code).
constexpr uint16_t kOverlayFull = 0, kOverlayNone = 1, kOverlayArea = 2, kOverlayAreaBlank = 3,
                   kOverlayBitmap = 4, kOverlaySmartcardIso = 5, kOverlaySmartcardAfnor = 6,
                   kOverlayMagneticStripe = 7;
constexpr uint16_t kOverlayTypeCount = 8;

// Hologram types (list index = code).
constexpr uint16_t kHologramFull = 0, kHologramArea = 1, kHologramAreaBlank = 2, kHologramBitmap = 3;
constexpr uint16_t kHologramTypeCount = 4;

// What differs between the two editors.
struct RegionEditorRules {
    uint16_t typeCount;     // entries of the type list
    uint16_t areaType;      // the area is varnished
    uint16_t areaBlankType; // everything but the area is varnished
    uint16_t bitmapType;
    uint32_t upDownMaxX;    // the left and right up-downs go from 0 to this
    uint32_t upDownMaxY;    // the top and bottom up-downs go from 0 to this
};
const RegionEditorRules& RulesOf(RegionEditor editor);

// The area coordinates of a region record.
CardArea AreaOf(const OverlayRegion& region);

// Coordinate indexes as the editors number their edits and up-downs.
constexpr uint32_t kCoordinateLeft = 0, kCoordinateTop = 1, kCoordinateRight = 2, kCoordinateBottom = 3;
// A coordinate edit is read up to this many characters.
constexpr size_t kCoordinateTextChars = 4;

// Whether `value` may become coordinate `index` of `area`: left and right at most 1024,
// top and bottom at most 639, left below right and top below bottom. Any other index is
// accepted.
bool CheckRegionCoordinate(uint32_t index, const CardArea& area, uint32_t value);

// Whether a stored area keeps every rule that CheckRegionCoordinate applies.
bool AreaKeepsInvariant(const CardArea& area);

// The check of a value the user types or steps into an editor. While the stored area
// keeps the invariant this is CheckRegionCoordinate. A stored area that breaks it (values
// that were never checked) may admit no valid edit at all (left 1024 with right 0), so a
// value within its own range (left and right up to 1024, top and bottom up to 639) is
// taken until the area is valid again.
bool CheckCoordinateEdit(uint32_t index, const CardArea& area, uint32_t value);

// The unsigned decimal value of an edit's text; 0 for an empty text. A text holding
// anything but the digits 0..9 (pasted text, a sign) or a value beyond 32 bits gives
// no value, and the caller keeps what it had.
std::optional<uint32_t> ParseDecimalText(std::u16string_view text);

// The controls a type enables: the area group for the two area types, the bitmap group
// for the bitmap type, neither for the others.
bool TypeUsesArea(RegionEditor editor, uint16_t type);
bool TypeUsesBitmap(RegionEditor editor, uint16_t type);

// A rectangle in dialog client pixels, right and bottom exclusive as GDI draws it.
struct PixelRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

bool operator==(const PixelRect& a, const PixelRect& b);

// The preview box inside the preview group box `group` (its rectangle in the dialog's client
// pixels), with the dialog's base units (those of its own font): inside the group's frame
// and below its title, whatever the font.
PixelRect PreviewRectFromGroupBox(const PixelRect& group, int32_t baseUnitX, int32_t baseUnitY);

// A rectangle of card dots with inclusive edges, drawn onto the preview box `preview`:
// the card's 1024 x 640 dots are scaled to the box; rotated, the rectangle is turned by
// 180 degrees as the job turns it (dot x is 1023 - x, row y is 639 - y).
PixelRect MapCardRectToPreview(const PixelRect& preview, const CardArea& card, bool rotated);

// The fixed zone of the smart-card and magnetic-stripe overlay types, in card dots with
// inclusive edges; nothing for other types. Turned, the stripe ends at dot 1023 so that
// it still starts at the box's edge.
std::optional<CardArea> FixedZone(uint16_t overlayType, bool rotated);

// What the preview of a region shows.
enum class PreviewKind {
    Nothing,   // a type the editor does not know
    Box,       // the box in one colour, possibly with a rectangle in the other
    Bitmap,    // the region's bitmap file
};
struct PreviewPlan {
    PreviewKind kind;
    bool boxBlack;            // Box: the box is black (varnish), else white (bare card)
    bool hasRect;             // Box: `rect` is drawn in the other colour
    PixelRect rect;           // preview pixels
};
// The preview of `region` in the box `preview`.
PreviewPlan RegionPreviewPlan(RegionEditor editor, const OverlayRegion& region, const PixelRect& preview);

}  // namespace qf
