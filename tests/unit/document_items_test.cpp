// The document sheet's rules: item availability from the settings and the model text,
// the ribbon item's lists, and the corrections made when the sheet opens.
#include "driver/state/document_items.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace qf {
namespace {

constexpr const char* kDuplexModel = "QF-858 Card Printer V2.1";
constexpr const char* kOtherDuplexModel = "QF-862 Card Printer";
constexpr const char* kModel796 = "QF-796 Card Printer";

// The inputs the items depend on.
struct Inputs {
    int ribbon;
    int kind;
    int bothSides;
    int printMode;
    int printingMode;
    int blackPanel;
    int encoder;
    int manualRibbon;
};

PrivateSettings Settings(const Inputs& in) {
    PrivateSettings s{};
    s.signature = kSettingsSignature;
    s.ribbonType = static_cast<uint8_t>(in.ribbon);
    s.monoRibbonKind = static_cast<uint8_t>(in.kind);
    s.printBothSides = static_cast<int16_t>(in.bothSides);
    s.printModeIndex = static_cast<int16_t>(in.printMode);
    s.printingMode = static_cast<int16_t>(in.printingMode);
    s.blackPanel = static_cast<uint8_t>(in.blackPanel);
    s.encoderSettings.encoderPresent = static_cast<uint16_t>(in.encoder);
    s.manualRibbon = static_cast<int16_t>(in.manualRibbon);
    return s;
}

std::string Describe(const Inputs& in) {
    return "ribbon " + std::to_string(in.ribbon) + " kind " + std::to_string(in.kind) + " bothSides " +
           std::to_string(in.bothSides) + " printMode " + std::to_string(in.printMode) + " printingMode " +
           std::to_string(in.printingMode) + " blackPanel " + std::to_string(in.blackPanel) + " encoder " +
           std::to_string(in.encoder) + " manualRibbon " + std::to_string(in.manualRibbon);
}

TEST(DocumentItems, AvailabilityTable) {
    // Expected availability of items 7 (Monochrome Conversion), 8 (Black Panel),
    // 9 (Black Bitmap), 10 (Front Overlay), 11 (Back Overlay), 12 (Hologram) and of the
    // "Encode Only" choice, worked out case by case from the sheet's rules.
    struct Case {
        Inputs in;
        bool mono, panel, bitmap, front, back, hologram, encodeOnly;
    };
    const Case kCases[] = {
        //  r   k  b  m  pm bp enc man    7      8      9      10     11     12     EO
        // YMCKO and YMCKUv: the print mode decides on two sides.
        {{0, 0, 0, 0, 0, 0, 0, 0}, false, true, false, true, false, false, false},
        {{0, 0, 0, 1, 0, 3, 0, 0}, false, true, true, true, false, false, false},
        {{0, 0, 1, 0, 0, 3, 1, 0}, true, false, false, true, false, false, true},
        {{0, 0, 1, 1, 0, 3, 0, 0}, false, true, true, true, true, false, false},
        {{0, 0, 1, 2, 0, 0, 0, 0}, true, false, false, false, true, false, false},
        {{0, 0, 1, 3, 0, 0, 0, 0}, false, false, false, true, true, false, false},
        {{11, 0, 1, 2, 0, 0, 0, 0}, true, false, false, false, true, false, false},
        {{11, 0, 1, 1, 1, 3, 1, 0}, false, true, true, false, false, false, true},
        // Monochrome ribbons.
        {{1, 0, 0, 0, 0, 3, 0, 0}, true, false, false, false, false, false, false},
        {{1, 0, 1, 0, 0, 0, 0, 0}, true, false, false, false, false, false, false},
        {{3, 0, 0, 0, 0, 0, 0, 0}, true, false, false, true, false, false, false},
        {{3, 0, 1, 0, 0, 0, 0, 0}, true, false, false, true, true, false, false},
        {{2, 0, 0, 0, 0, 0, 0, 0}, false, false, false, true, false, false, false},
        {{2, 0, 1, 0, 1, 0, 1, 0}, false, false, false, false, false, false, true},
        {{9, 0, 1, 0, 0, 0, 0, 0}, false, false, false, true, true, true, false},
        {{4, 0, 0, 0, 0, 0, 0, 0}, false, false, false, false, false, true, false},
        {{10, 0, 1, 0, 0, 3, 0, 0}, false, false, false, false, false, false, false},
        {{13, 0, 0, 0, 0, 0, 0, 0}, false, false, false, false, false, false, false},
        {{15, 0, 0, 0, 0, 0, 0, 0}, false, false, false, false, false, false, false},
        // YMCK, YMCKK, YMCUvK.
        {{6, 0, 0, 0, 0, 3, 0, 0}, false, true, true, false, false, false, false},
        {{6, 0, 1, 0, 0, 3, 0, 0}, true, false, false, false, false, false, false},
        {{6, 0, 1, 1, 0, 3, 0, 0}, false, true, true, false, false, false, false},
        {{5, 0, 1, 0, 0, 3, 0, 0}, false, false, false, false, false, false, false},
        {{7, 0, 1, 0, 0, 2, 0, 0}, true, true, false, false, false, false, false},
        {{7, 0, 1, 1, 0, 3, 0, 0}, false, true, true, false, false, false, false},
        {{12, 0, 0, 0, 0, 3, 0, 0}, false, true, true, false, false, false, false},
        {{12, 0, 1, 1, 0, 0, 0, 0}, false, true, false, false, false, false, false},
        // YMCKOK: four print modes on two sides.
        {{8, 0, 0, 0, 0, 3, 0, 0}, false, true, true, true, false, false, false},
        {{8, 0, 1, 0, 0, 0, 0, 0}, true, true, false, true, false, false, false},
        {{8, 0, 1, 1, 0, 3, 0, 0}, true, false, false, false, true, false, false},
        {{8, 0, 1, 2, 0, 0, 0, 0}, false, true, false, true, true, false, false},
        {{8, 0, 1, 3, 0, 0, 0, 0}, true, true, false, false, false, false, false},
        {{8, 0, 1, 2, 1, 0, 1, 0}, false, true, false, false, false, false, true},
        // The unknown monochrome ribbon and its kinds.
        {{14, 0, 0, 0, 0, 3, 0, 0}, true, false, false, false, false, false, false},
        {{14, 1, 1, 0, 0, 0, 0, 0}, false, false, false, false, false, false, false},
        {{14, 2, 1, 0, 0, 0, 0, 0}, false, false, false, true, true, true, false},
        {{14, 2, 0, 0, 0, 0, 0, 0}, false, false, false, true, false, true, false},
        {{14, 2, 1, 0, 1, 0, 1, 0}, false, false, false, false, false, true, true},
        {{14, 3, 0, 0, 0, 0, 0, 0}, false, false, false, false, false, true, false},
        // A stored clear-varnish kind offers the hologram item with any ribbon; the hologram
        // kind only with the unknown monochrome ribbon.
        {{5, 2, 0, 0, 0, 0, 0, 0}, false, false, false, false, false, true, false},
        {{5, 3, 0, 0, 0, 0, 0, 0}, false, false, false, false, false, false, false},
        // The offline configuration offers "Encode Only" without an encoder.
        {{0, 0, 0, 0, 0, 0, 0, 3}, false, true, false, true, false, false, true},
        {{8, 0, 1, 1, 1, 0, 0, 1}, true, false, false, false, false, false, true},
    };
    for (const Case& c : kCases) {
        const DocumentItemAvailability items = DocumentItemsAtOpen(Settings(c.in), kDuplexModel);
        const std::string where = Describe(c.in);
        EXPECT_EQ(items.enabled[kItemMonoConversion], c.mono) << where;
        EXPECT_EQ(items.enabled[kItemBlackPanel], c.panel) << where;
        EXPECT_EQ(items.enabled[kItemBlackBitmap], c.bitmap) << where;
        EXPECT_EQ(items.enabled[kItemFrontOverlay], c.front) << where;
        EXPECT_EQ(items.enabled[kItemBackOverlay], c.back) << where;
        EXPECT_EQ(items.enabled[kItemHologram], c.hologram) << where;
        EXPECT_EQ(items.encodeOnlyOffered, c.encodeOnly) << where;
        for (int item : {kItemPaperOutput, kItemOrientation, kItemRotation, kItemColorAdjust, kItemRibbon,
                         kItemBothSides, kItemPrintMode, kItemHeadSettings, kItemPrintingMode, kItemCopies}) {
            EXPECT_TRUE(items.enabled[item]) << "item " << item << ", " << where;
        }
    }
}

TEST(DocumentItems, BothSidesAndRotationListFollowModelAndSides) {
    struct Case {
        const char* model;
        bool bothSides;
    };
    const Case kCases[] = {
        {kDuplexModel, true}, {kOtherDuplexModel, true}, {kModel796, false},
        {"QF-85 862", true},  {"QF-8588", true},         {"", false},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(DocumentItemsAtOpen(PrivateSettings{}, c.model).enabled[kItemBothSides], c.bothSides)
            << "model \"" << c.model << "\"";
    }

    PrivateSettings settings{};
    EXPECT_EQ(DocumentItemsAtOpen(settings, kDuplexModel).rotationChoices, 2);
    settings.printBothSides = 1;
    EXPECT_EQ(DocumentItemsAtOpen(settings, kDuplexModel).rotationChoices, 4);
}

TEST(DocumentItems, HologramAfterKindChoice) {
    const bool kExpected[] = {false, false, true, true, false};
    for (uint8_t kind = 0; kind < 5; ++kind) {
        EXPECT_EQ(HologramAvailableForKind(kind), kExpected[kind]) << "kind " << int(kind);
    }
}

TEST(DocumentItems, RibbonItemForms) {
    struct Case {
        int manualRibbon, ribbon, kind;
        const char* model;
        RibbonItemForm form;
        int selection;
        bool varnishKinds, details;
    };
    const Case kCases[] = {
        {1, 8, 0, kDuplexModel, RibbonItemForm::kOfflineList, 0, false, false},
        {10, 4, 0, kDuplexModel, RibbonItemForm::kOfflineList, 9, false, false},
        // The offline list wins over a stored unknown monochrome ribbon.
        {5, 14, 2, kModel796, RibbonItemForm::kOfflineList, 4, false, false},
        {0, 14, 1, kDuplexModel, RibbonItemForm::kMonoKinds, 1, true, false},
        {0, 14, 3, kDuplexModel, RibbonItemForm::kMonoKinds, 3, true, false},
        {0, 14, 0, kModel796, RibbonItemForm::kMonoKinds, 0, false, false},
        {0, 1, 0, kDuplexModel, RibbonItemForm::kRibbonName, 0, false, false},
        {0, 0, 0, kDuplexModel, RibbonItemForm::kRibbonName, 0, false, true},
        {0, 9, 2, kModel796, RibbonItemForm::kRibbonName, 0, false, true},
        {0, 15, 0, kDuplexModel, RibbonItemForm::kRibbonName, 0, false, true},
    };
    for (const Case& c : kCases) {
        PrivateSettings settings{};
        settings.manualRibbon = static_cast<int16_t>(c.manualRibbon);
        settings.ribbonType = static_cast<uint8_t>(c.ribbon);
        settings.monoRibbonKind = static_cast<uint8_t>(c.kind);
        const RibbonItemView view = DocumentItemsAtOpen(settings, c.model).ribbon;
        const std::string where = "manualRibbon " + std::to_string(c.manualRibbon) + " ribbon " +
                                  std::to_string(c.ribbon) + " kind " + std::to_string(c.kind) + " model " +
                                  c.model;
        EXPECT_EQ(static_cast<int>(view.form), static_cast<int>(c.form)) << where;
        EXPECT_EQ(view.selection, c.selection) << where;
        EXPECT_EQ(view.varnishKindsOffered, c.varnishKinds) << where;
        EXPECT_EQ(view.detailsButton, c.details) << where;
    }
}

TEST(DocumentItems, NormaliseAtOpenCases) {
    struct State {
        int bothSides, rotation, kind, printMode, printingMode;
    };
    struct Case {
        const char* model;
        int ribbon, encoder, manualRibbon;
        State before, after;
    };
    const Case kCases[] = {
        // One-sided model: both sides off, back rotations folded, print mode of the one-side list.
        {"", 0, 1, 0, {1, 3, 0, 2, 0}, {0, 1, 0, 0, 0}},
        {kModel796, 8, 1, 0, {1, 2, 0, 3, 1}, {0, 0, 0, 0, 1}},
        {kDuplexModel, 0, 1, 0, {1, 3, 0, 2, 0}, {1, 3, 0, 2, 0}},
        {kOtherDuplexModel, 0, 1, 0, {0, 2, 0, 0, 0}, {0, 0, 0, 0, 0}},
        {kOtherDuplexModel, 0, 1, 0, {0, 3, 0, 0, 0}, {0, 1, 0, 0, 0}},
        {kDuplexModel, 0, 1, 0, {0, 1, 0, 0, 0}, {0, 1, 0, 0, 0}},
        // The print-mode index against the length of its list.
        {kDuplexModel, 8, 1, 0, {1, 0, 0, 3, 0}, {1, 0, 0, 3, 0}},
        {kDuplexModel, 8, 1, 0, {1, 0, 0, 4, 0}, {1, 0, 0, 0, 0}},
        {kDuplexModel, 8, 1, 0, {0, 0, 0, 1, 0}, {0, 0, 0, 0, 0}},
        {kDuplexModel, 6, 1, 0, {1, 0, 0, 1, 0}, {1, 0, 0, 1, 0}},
        {kDuplexModel, 6, 1, 0, {1, 0, 0, 2, 0}, {1, 0, 0, 0, 0}},
        {kDuplexModel, 6, 1, 0, {1, 0, 0, -1, 0}, {1, 0, 0, 0, 0}},
        // A "796" model has no clear-varnish or hologram kind of the unknown monochrome ribbon.
        {kModel796, 14, 1, 0, {0, 0, 2, 0, 0}, {0, 0, 0, 0, 0}},
        {kModel796, 14, 1, 0, {0, 0, 3, 0, 0}, {0, 0, 0, 0, 0}},
        {kModel796, 14, 1, 0, {0, 0, 1, 0, 0}, {0, 0, 1, 0, 0}},
        {kDuplexModel, 14, 1, 0, {0, 0, 3, 0, 0}, {0, 0, 3, 0, 0}},
        {kModel796, 9, 1, 0, {0, 0, 2, 0, 0}, {0, 0, 2, 0, 0}},
        // The printing mode: "Print" or "Encode Only", the latter only with an encoder or offline.
        {kDuplexModel, 0, 1, 0, {0, 0, 0, 0, 2}, {0, 0, 0, 0, 0}},
        {kDuplexModel, 0, 1, 0, {0, 0, 0, 0, 3}, {0, 0, 0, 0, 0}},
        {kDuplexModel, 0, 1, 0, {0, 0, 0, 0, -1}, {0, 0, 0, 0, 0}},
        {kDuplexModel, 0, 1, 0, {0, 0, 0, 0, 1}, {0, 0, 0, 0, 1}},
        {kDuplexModel, 0, 0, 0, {0, 0, 0, 0, 1}, {0, 0, 0, 0, 0}},
        {kDuplexModel, 0, 0, 3, {0, 0, 0, 0, 1}, {0, 0, 0, 0, 1}},
    };
    for (const Case& c : kCases) {
        PrivateSettings s{};
        s.ribbonType = static_cast<uint8_t>(c.ribbon);
        s.encoderSettings.encoderPresent = static_cast<uint16_t>(c.encoder);
        s.manualRibbon = static_cast<int16_t>(c.manualRibbon);
        s.printBothSides = static_cast<int16_t>(c.before.bothSides);
        s.rotate180 = static_cast<int16_t>(c.before.rotation);
        s.monoRibbonKind = static_cast<uint8_t>(c.before.kind);
        s.printModeIndex = static_cast<int16_t>(c.before.printMode);
        s.printingMode = static_cast<int16_t>(c.before.printingMode);
        NormaliseAtOpen(s, c.model);
        const std::string where = std::string("model \"") + c.model + "\" ribbon " + std::to_string(c.ribbon) +
                                  " before bothSides " + std::to_string(c.before.bothSides) + " rotation " +
                                  std::to_string(c.before.rotation) + " kind " + std::to_string(c.before.kind) +
                                  " printMode " + std::to_string(c.before.printMode) + " printingMode " +
                                  std::to_string(c.before.printingMode);
        EXPECT_EQ(s.printBothSides, c.after.bothSides) << where;
        EXPECT_EQ(s.rotate180, c.after.rotation) << where;
        EXPECT_EQ(s.monoRibbonKind, c.after.kind) << where;
        EXPECT_EQ(s.printModeIndex, c.after.printMode) << where;
        EXPECT_EQ(s.printingMode, c.after.printingMode) << where;
        EXPECT_EQ(s.ribbonType, c.ribbon) << where;
    }
}

TEST(DocumentItems, NormalisedSettingsKeepTheInvariants) {
    // Whatever was stored, the settings the sheet shows satisfy its invariants, and a
    // second normalisation changes nothing.
    const char* const kModels[] = {"", kDuplexModel, kModel796, "QF-796/862"};
    for (const char* model : kModels) {
        for (int ribbon = 0; ribbon <= 15; ++ribbon) {
            for (int kind = 0; kind <= 3; ++kind) {
                for (int bothSides = 0; bothSides <= 1; ++bothSides) {
                    for (int rotation = 0; rotation <= 3; ++rotation) {
                        for (int printMode = 0; printMode <= 4; ++printMode) {
                            for (int printingMode = 0; printingMode <= 3; ++printingMode) {
                                for (int encoder = 0; encoder <= 1; ++encoder) {
                                    PrivateSettings s{};
                                    s.ribbonType = static_cast<uint8_t>(ribbon);
                                    s.monoRibbonKind = static_cast<uint8_t>(kind);
                                    s.printBothSides = static_cast<int16_t>(bothSides);
                                    s.rotate180 = static_cast<int16_t>(rotation);
                                    s.printModeIndex = static_cast<int16_t>(printMode);
                                    s.printingMode = static_cast<int16_t>(printingMode);
                                    s.encoderSettings.encoderPresent = static_cast<uint16_t>(encoder);
                                    NormaliseAtOpen(s, model);
                                    const std::string where =
                                        std::string("model \"") + model + "\" " +
                                        Describe({ribbon, kind, bothSides, printMode, printingMode, 0, encoder, 0}) +
                                        " rotation " + std::to_string(rotation);
                                    const std::string_view text = model;
                                    const bool duplex = text.find("858") != text.npos || text.find("862") != text.npos;
                                    if (!duplex) {
                                        ASSERT_EQ(s.printBothSides, 0) << where;
                                    }
                                    if (s.printBothSides == 0) {
                                        ASSERT_LE(s.rotate180, 1) << where;
                                    }
                                    const PrintModes modes =
                                        PrintModeList(s.ribbonType, s.monoRibbonKind, s.printBothSides != 0);
                                    ASSERT_LT(s.printModeIndex, modes.count) << where;
                                    ASSERT_TRUE(s.printingMode == 0 || (s.printingMode == 1 && encoder == 1)) << where;
                                    if (text.find("796") != text.npos && ribbon == kRibbonUnknownMono) {
                                        ASSERT_LE(s.monoRibbonKind, 1) << where;
                                    }
                                    PrivateSettings again = s;
                                    NormaliseAtOpen(again, model);
                                    ASSERT_EQ(0, memcmp(&again, &s, sizeof s)) << where;
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}

// What the sheet adopts from the printer's report when it opens: each question counts on
// its own, for every combination of what became of the two questions.
TEST(DocumentItems, AdoptingThePrintersReport) {
    constexpr QuestionOutcome kAnswered = QuestionOutcome::kAnswered, kNoAnswer = QuestionOutcome::kNoAnswer, kFailed = QuestionOutcome::kCallFailed;
    struct Row {
        PrinterReport report;
        bool ribbonChanged;
        uint8_t ribbon;
        uint16_t encoderPresent;
        bool ribbonUnknown;
    };
    // The settings hold ribbon 0 (YMCKO) and an encoder; the printer reports ribbon 6 and,
    // where it answers the encoder question, no encoder.
    const Row rows[] = {
        // encoder question, encoder, ribbon question, ribbon | adopted
        {{kAnswered, false, kAnswered, 6}, true, 6, 0, false},
        {{kAnswered, false, kNoAnswer, 15}, false, 0, 0, true},
        {{kAnswered, false, kFailed, 15}, false, 0, 0, true},
        {{kNoAnswer, false, kAnswered, 6}, true, 6, 1, false},
        {{kNoAnswer, false, kNoAnswer, 15}, false, 0, 1, false},  // nothing answered: no notice
        {{kNoAnswer, false, kFailed, 15}, false, 0, 1, false},
        {{kFailed, false, kAnswered, 6}, true, 6, 1, false},  // old firmware without the encoder question
        {{kFailed, false, kNoAnswer, 15}, false, 0, 1, false},
        {{kFailed, false, kFailed, 15}, false, 0, 1, false},
        // The same ribbon again, an encoder answer of "1", and a reported "no ribbon".
        {{kAnswered, true, kAnswered, 0}, false, 0, 1, false},
        {{kFailed, false, kAnswered, 15}, true, 15, 1, false},
    };
    for (const Row& row : rows) {
        PrivateSettings settings{};
        settings.ribbonType = 0;
        settings.encoderSettings.encoderPresent = 1;
        const PrinterAdoption got = AdoptPrinterReport(settings, row.report, false);
        SCOPED_TRACE(testing::Message() << "encoder asked " << int(row.report.encoderAsked) << " reported "
                                        << row.report.encoder << ", ribbon asked " << int(row.report.ribbonAsked)
                                        << " reported " << int(row.report.ribbon));
        EXPECT_EQ(got.ribbonChanged, row.ribbonChanged);
        EXPECT_EQ(got.ribbon, row.ribbon);
        EXPECT_EQ(got.encoderChanged, row.encoderPresent != 1);
        EXPECT_EQ(got.encoderPresent, row.encoderPresent);
        EXPECT_EQ(got.ribbonUnknown, row.ribbonUnknown);
    }
}

// An encoder that appears is adopted; the offline configuration keeps the user's ribbon,
// always offers the encoder and tells nothing.
TEST(DocumentItems, AdoptingAnEncoderAndTheOfflineConfiguration) {
    struct Row {
        uint16_t encoder;
        PrinterReport report;
        bool offline;
        bool ribbonChanged;
        bool encoderChanged;
        uint16_t encoderPresent;
    };
    const Row rows[] = {
        {0, {QuestionOutcome::kAnswered, true, QuestionOutcome::kAnswered, 0}, false, false, true, 1},
        {0, {QuestionOutcome::kAnswered, true, QuestionOutcome::kAnswered, 5}, true, false, true, 1},
        {1, {QuestionOutcome::kAnswered, false, QuestionOutcome::kAnswered, 0}, true, false, false, 1},
        {0, {QuestionOutcome::kCallFailed, false, QuestionOutcome::kCallFailed, 15}, true, false, true, 1},
        {1, {QuestionOutcome::kAnswered, false, QuestionOutcome::kCallFailed, 15}, true, false, false, 1},
    };
    for (const Row& row : rows) {
        PrivateSettings settings{};
        settings.encoderSettings.encoderPresent = row.encoder;
        const PrinterAdoption got = AdoptPrinterReport(settings, row.report, row.offline);
        SCOPED_TRACE(testing::Message() << "encoder " << row.encoder << " offline " << row.offline);
        EXPECT_EQ(got.ribbonChanged, row.ribbonChanged);
        EXPECT_EQ(got.encoderChanged, row.encoderChanged);
        EXPECT_EQ(got.encoderPresent, row.encoderPresent);
        EXPECT_FALSE(got.ribbonUnknown);
    }
}

// The device sheet's rule for the encoder flag it stores.
TEST(DocumentItems, TheEncoderFlagAfterItsQuestion) {
    for (uint16_t current : {0, 1}) {
        EXPECT_EQ(EncoderAfterQuestion(current, QuestionOutcome::kAnswered, true), 1);
        EXPECT_EQ(EncoderAfterQuestion(current, QuestionOutcome::kAnswered, false), 0) << "an answer of \"0\" clears it";
        EXPECT_EQ(EncoderAfterQuestion(current, QuestionOutcome::kNoAnswer, false), current);
        EXPECT_EQ(EncoderAfterQuestion(current, QuestionOutcome::kCallFailed, false), current);
    }
}

}  // namespace
}  // namespace qf
