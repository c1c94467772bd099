// The rules of the document sheet's sixteen items: which are available, which list the
// ribbon item shows, and the corrections made to the settings when the sheet opens.
#pragma once

#include <cstdint>
#include <string_view>

#include "driver/settings/printer_report.h"
#include "driver/settings/private_settings.h"
#include "driver/settings/ribbons.h"

namespace qf {

// The document sheet's items, in array order.
enum DocumentItem : int {
    kItemPaperOutput = 0,
    kItemOrientation,
    kItemRotation,
    kItemColorAdjust,
    kItemRibbon,
    kItemBothSides,
    kItemPrintMode,
    kItemMonoConversion,
    kItemBlackPanel,
    kItemBlackBitmap,
    kItemFrontOverlay,
    kItemBackOverlay,
    kItemHologram,
    kItemHeadSettings,
    kItemPrintingMode,
    kItemCopies,
    kDocumentItemCount
};

// The choices of the "Printing Mode" item.
constexpr int16_t kPrintingModePrint = 0, kPrintingModeEncodeOnly = 1;
// The "Except in Color Picture" choice of the black panel, the one that offers the black bitmap.
constexpr uint8_t kBlackPanelExceptColorPicture = 3;

// Entries of the 180-degree rotation list for one side and for both sides.
constexpr int kRotationChoicesOneSide = 2, kRotationChoicesBothSides = 4;
// Entries of the offline ribbon list and of the monochrome kind list.
constexpr int kOfflineRibbonChoices = 10, kMonoKindChoices = 4;

// The three lists the ribbon item can show.
enum class RibbonItemForm : uint8_t {
    kOfflineList,  // the ten fixed ribbons of the offline configuration
    kMonoKinds,    // the four kinds of the unknown monochrome ribbon
    kRibbonName,   // one entry, the name of the installed ribbon
};

struct RibbonItemView {
    RibbonItemForm form;
    int selection;            // manualRibbon - 1, monoRibbonKind, or 0
    bool varnishKindsOffered; // kMonoKinds: "Clear Varnish" and "Hologram / Varnish" can be chosen
    bool detailsButton;       // kRibbonName: the "Printer/Ribbon Details" extended push button
};

// The availability of every item as the sheet builds it at open.
struct DocumentItemAvailability {
    bool enabled[kDocumentItemCount];
    bool encodeOnlyOffered;   // the "Encode Only" choice of the printing-mode item
    int rotationChoices;      // kRotationChoicesOneSide or kRotationChoicesBothSides
    RibbonItemView ribbon;
};

// Prints both sides of a card: the model text names a duplex model.
bool BothSidesAvailable(std::string_view modelText);
// "Monochrome Conversion", "Black Panel", "Black Bitmap", "Front Overlay Varnish" and
// "Back Overlay Varnish", from the ribbon, kind, both-sides, print-mode, printing-mode and
// black-panel values. The callback re-evaluates these five with the same rules.
bool MonoConversionAvailable(const PrivateSettings& settings);
bool BlackPanelAvailable(const PrivateSettings& settings);
bool BlackBitmapAvailable(const PrivateSettings& settings);
bool FrontOverlayAvailable(const PrivateSettings& settings);
bool BackOverlayAvailable(const PrivateSettings& settings);
// "Hologram / Varnish" when the sheet opens.
bool HologramAvailableAtOpen(const PrivateSettings& settings);
// "Hologram / Varnish" after the user picks a monochrome kind: a clear-varnish or hologram kind.
bool HologramAvailableForKind(uint8_t monoKind);
// "Encode Only" can be chosen when the printer has an encoder or the configuration is offline.
bool EncodeOnlyOffered(const PrivateSettings& settings);
// The list the ribbon item shows, its selection and its extras.
RibbonItemView RibbonItem(const PrivateSettings& settings, std::string_view modelText);
// Entries of the rotation list for the settings' both-sides value.
int RotationChoices(const PrivateSettings& settings);

// The availability of every item for settings already normalised by NormaliseAtOpen.
DocumentItemAvailability DocumentItemsAtOpen(const PrivateSettings& settings, std::string_view modelText);

// While one side is printed, the back-side rotations fold onto the front: 2 becomes 0,
// 3 becomes 1.
void FoldRotation(PrivateSettings& settings);
// The print modes of the settings' ribbon, kind and both-sides value; a `printModeIndex`
// outside the list is reset to the first mode.
PrintModes ResetPrintModeIndex(PrivateSettings& settings);

// Corrects the settings as the document sheet does when it opens, step by step in item
// order so each step sees the values the previous one left: the rotation fold, the
// monochrome kinds a "796" model lacks, both sides off on a model that prints one side,
// the print-mode index against its list, the printing mode against its choices.
void NormaliseAtOpen(PrivateSettings& settings, std::string_view modelText);

}  // namespace qf
