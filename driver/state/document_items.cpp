// The rules of the document sheet's items and the corrections made when it opens.
#include "driver/state/document_items.h"

#include <initializer_list>

namespace qf {
namespace {

bool OneOf(int value, std::initializer_list<int> values) {
    for (int v : values) {
        if (v == value) return true;
    }
    return false;
}

}  // namespace

bool BothSidesAvailable(std::string_view modelText) { return IsDuplexModel(modelText); }

bool MonoConversionAvailable(const PrivateSettings& settings) {
    const int r = settings.ribbonType, k = settings.monoRibbonKind, m = settings.printModeIndex;
    if (OneOf(r, {kRibbonKResin, kRibbonKro})) return true;
    if (r == kRibbonUnknownMono && k == kMonoKResin) return true;
    if (settings.printBothSides != 1) return false;
    return (OneOf(r, {kRibbonYmcko, kRibbonYmckuv}) && OneOf(m, {0, 2})) ||
           (OneOf(r, {kRibbonYmck, kRibbonYmckk, kRibbonYmcuvk}) && m == 0) ||
           (r == kRibbonYmckok && OneOf(m, {0, 1, 3}));
}

bool BlackPanelAvailable(const PrivateSettings& settings) {
    const int r = settings.ribbonType, m = settings.printModeIndex;
    const bool oneSide = settings.printBothSides == 0, bothSides = settings.printBothSides == 1;
    return OneOf(r, {kRibbonYmckk, kRibbonYmcuvk}) ||
           (OneOf(r, {kRibbonYmcko, kRibbonYmckuv}) && (oneSide || m == 1)) ||
           (r == kRibbonYmck && (oneSide || m != 0)) ||
           (r == kRibbonYmckok && !(bothSides && m == 1));
}

bool BlackBitmapAvailable(const PrivateSettings& settings) {
    return BlackPanelAvailable(settings) && settings.blackPanel == kBlackPanelExceptColorPicture;
}

bool FrontOverlayAvailable(const PrivateSettings& settings) {
    if (settings.printingMode == kPrintingModeEncodeOnly) return false;
    const int r = settings.ribbonType, k = settings.monoRibbonKind, m = settings.printModeIndex;
    const bool bothSides = settings.printBothSides == 1;
    return OneOf(r, {kRibbonKdo, kRibbonKro, kRibbonClearVarnish}) ||
           (OneOf(r, {kRibbonYmcko, kRibbonYmckuv}) && !(bothSides && m == 2)) ||
           (r == kRibbonYmckok && !(bothSides && OneOf(m, {1, 3}))) ||
           (r == kRibbonUnknownMono && k == kMonoClearVarnish);
}

bool BackOverlayAvailable(const PrivateSettings& settings) {
    if (settings.printingMode == kPrintingModeEncodeOnly || settings.printBothSides != 1) return false;
    const int r = settings.ribbonType, k = settings.monoRibbonKind, m = settings.printModeIndex;
    return OneOf(r, {kRibbonKdo, kRibbonKro, kRibbonClearVarnish}) ||
           (OneOf(r, {kRibbonYmcko, kRibbonYmckuv}) && OneOf(m, {1, 2, 3})) ||
           (r == kRibbonYmckok && OneOf(m, {1, 2})) ||
           (r == kRibbonUnknownMono && k == kMonoClearVarnish);
}

bool HologramAvailableAtOpen(const PrivateSettings& settings) {
    const int r = settings.ribbonType, k = settings.monoRibbonKind;
    return OneOf(r, {kRibbonHologram, kRibbonClearVarnish}) || k == kMonoClearVarnish ||
           (r == kRibbonUnknownMono && k == kMonoHologram);
}

bool HologramAvailableForKind(uint8_t monoKind) {
    return monoKind == kMonoClearVarnish || monoKind == kMonoHologram;
}

bool EncodeOnlyOffered(const PrivateSettings& settings) {
    return settings.encoderSettings.encoderPresent != 0 || settings.manualRibbon != 0;
}

RibbonItemView RibbonItem(const PrivateSettings& settings, std::string_view modelText) {
    if (settings.manualRibbon != 0) {
        return {RibbonItemForm::kOfflineList, settings.manualRibbon - 1, false, false};
    }
    if (settings.ribbonType == kRibbonUnknownMono) {
        return {RibbonItemForm::kMonoKinds, settings.monoRibbonKind, !IsModel796(modelText), false};
    }
    return {RibbonItemForm::kRibbonName, 0, false, settings.ribbonType != kRibbonKResin};
}

int RotationChoices(const PrivateSettings& settings) {
    return settings.printBothSides != 0 ? kRotationChoicesBothSides : kRotationChoicesOneSide;
}

DocumentItemAvailability DocumentItemsAtOpen(const PrivateSettings& settings, std::string_view modelText) {
    DocumentItemAvailability items{};
    for (bool& enabled : items.enabled) enabled = true;
    items.enabled[kItemBothSides] = BothSidesAvailable(modelText);
    items.enabled[kItemMonoConversion] = MonoConversionAvailable(settings);
    items.enabled[kItemBlackPanel] = BlackPanelAvailable(settings);
    items.enabled[kItemBlackBitmap] = BlackBitmapAvailable(settings);
    items.enabled[kItemFrontOverlay] = FrontOverlayAvailable(settings);
    items.enabled[kItemBackOverlay] = BackOverlayAvailable(settings);
    items.enabled[kItemHologram] = HologramAvailableAtOpen(settings);
    items.encodeOnlyOffered = EncodeOnlyOffered(settings);
    items.rotationChoices = RotationChoices(settings);
    items.ribbon = RibbonItem(settings, modelText);
    return items;
}

void FoldRotation(PrivateSettings& settings) {
    if (settings.printBothSides != 0) return;
    if (settings.rotate180 == 2) settings.rotate180 = 0;
    if (settings.rotate180 == 3) settings.rotate180 = 1;
}

PrintModes ResetPrintModeIndex(PrivateSettings& settings) {
    const PrintModes modes =
        PrintModeList(settings.ribbonType, settings.monoRibbonKind, settings.printBothSides != 0);
    if (settings.printModeIndex < 0 || settings.printModeIndex >= modes.count) settings.printModeIndex = 0;
    return modes;
}

void NormaliseAtOpen(PrivateSettings& settings, std::string_view modelText) {
    // Rotation item: the list offers the back-side rotations only while both sides print.
    FoldRotation(settings);

    // Ribbon item: a "796" model offers no clear-varnish or hologram monochrome kind.
    const RibbonItemView ribbon = RibbonItem(settings, modelText);
    if (ribbon.form == RibbonItemForm::kMonoKinds && !ribbon.varnishKindsOffered &&
        HologramAvailableForKind(settings.monoRibbonKind)) {
        settings.monoRibbonKind = kMonoKResin;
    }

    // Both-sides item: off on a model that prints one side; the rotation folds again so it
    // fits the two-entry list the sheet then shows.
    if (!BothSidesAvailable(modelText)) {
        settings.printBothSides = 0;
        FoldRotation(settings);
    }

    // Print-mode item.
    ResetPrintModeIndex(settings);

    // Printing-mode item: a list of "Print" and "Encode Only".
    if (settings.printingMode != kPrintingModePrint && settings.printingMode != kPrintingModeEncodeOnly) {
        settings.printingMode = kPrintingModePrint;
    }
    if (!EncodeOnlyOffered(settings)) settings.printingMode = kPrintingModePrint;
}

}  // namespace qf
