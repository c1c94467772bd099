// The document property sheet through its export, driven by the property-sheet service
// stand-in against the simulated printer.
#include "tests/wine/wine_test.h"

#include <cstring>

#include "driver/settings/module_state.h"
#include "driver/sheets/document_sheet.h"
#include "sim/dialog_script.h"
#include "sim/property_sheet.h"
#include "tests/wine/records.h"

namespace {

enum Item { kOrientation = 1, kRotation = 2, kRibbon = 4, kBothSides = 5, kPrintMode = 6, kMonoConversion = 7,
            kBlackPanel = 8, kBlackBitmap = 9, kPrintingMode = 14, kCopies = 15 };

class DocumentSheet : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        stored = DriverRecord();
        Private(stored).ribbonType = 0;  // YMCKO, what the simulated printer reports
        Private(stored).encoderSettings.encoderPresent = 1;
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
        out.assign(qf::kRecordSize, 0xCD);
        header = DOCUMENTPROPERTYHEADER();
        header.cbSize = sizeof header;
        header.hPrinter = handle;
        header.pszPrinterName = const_cast<LPWSTR>(kTestPrinter);
        header.pdmOut = Devmode(out);
        header.cbOut = qf::kRecordSize;
        header.fMode = DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT;
    }
    void TearDown() override {
        if (service.IsOpen()) service.Cancel();
        sim::SimClosePrinter(handle);
        DriverTest::TearDown();
    }
    LONG Open() {
        return service.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&header));
    }
    bool Enabled(int index) { return !(service.Item(index)->Flags & OPTIF_DISABLED); }
    std::wstring Choice(int index) { return service.CurrentChoice(index); }
    int Choices(int index) { return service.Item(index)->pOptType->Count; }

    Record stored;
    Record out;
    HANDLE handle = nullptr;
    DOCUMENTPROPERTYHEADER header = {};
    sim::PropertySheetService service;
};

TEST_F(DocumentSheet, OpensWithItsSixteenItems) {
    ASSERT_EQ(Open(), 1);
    COMPROPSHEETUI* page = service.Page();
    ASSERT_NE(page, nullptr) << service.Problem();
    EXPECT_EQ(page->cOptItem, 16);
    EXPECT_EQ(page->Flags, CPSUIF_UPDATE_PERMISSION | CPSUIF_ABOUT_CALLBACK);
    EXPECT_EQ(page->pDlgPage, CPSUI_PDLGPAGE_TREEVIEWONLY);
    EXPECT_STREQ(page->pCallerName, L"Varlo Halvard Line Printer");
    EXPECT_STREQ(page->pOptItemName, L"Varlo Halvard Line Printer");
    EXPECT_EQ(page->CallerVersion, 0x0400);
    EXPECT_EQ(service.Info().Result, 0u);

    struct Row {
        const wchar_t* title;
        int type;  // -1: header item
        BYTE level;
        bool callback;
    };
    const Row rows[] = {
        {L"Paper / Output", -1, 0, false},           {L"Orientation", TVOT_2STATES, 1, false},
        {L"180° Rotation", TVOT_LISTBOX, 1, true},     {L"Color Adjustment", TVOT_PUSHBUTTON, 0, true},
        {L"Ribbon Type", TVOT_LISTBOX, 0, true},       {L"Print on both sides", TVOT_2STATES, 0, true},
        {L"Front and Back", TVOT_LISTBOX, 0, true},    {L"Monochrome Conversion", TVOT_LISTBOX, 0, true},
        {L"Black Panel", TVOT_LISTBOX, 0, true},       {L"Black Bitmap", TVOT_2STATES, 0, true},
        {L"Front Overlay Varnish", TVOT_PUSHBUTTON, 0, true}, {L"Back Overlay Varnish", TVOT_PUSHBUTTON, 0, true},
        {L"Hologram / Varnish", TVOT_PUSHBUTTON, 0, true},    {L"Head Settings", TVOT_PUSHBUTTON, 0, true},
        {L"Printing Mode", TVOT_LISTBOX, 0, true},     {L"Copies", TVOT_UDARROW, 0, true},
    };
    for (int i = 0; i < 16; ++i) {
        const OPTITEM* item = service.Item(i);
        EXPECT_EQ(service.ItemTitle(i), rows[i].title) << "item " << i;
        EXPECT_EQ(item->UserItemID, i) << "item " << i;
        EXPECT_EQ(item->Level, rows[i].level) << "item " << i;
        EXPECT_EQ((item->Flags & OPTIF_CALLBACK) != 0, rows[i].callback) << "item " << i;
        if (rows[i].type < 0)
            EXPECT_EQ(item->pOptType, nullptr) << "item " << i;
        else
            EXPECT_EQ(item->pOptType->Type, rows[i].type) << "item " << i;
    }
    EXPECT_EQ(service.Item(kCopies)->DMPubID, DMPUB_COPIES_COLLATE);
    EXPECT_EQ(Choice(kRibbon), L"YMCKO");
    EXPECT_EQ(Choice(kCopies), L"1");
    // The sheet asked the printer for its encoder, its ribbon and its model, and the
    // ribbon had not changed.
    EXPECT_EQ(printer().card.received,
              std::vector<std::string>({"\x1B!V 20\r", "\x1B!RIBBON\r", "\x1BV\r"}));
    EXPECT_TRUE(sim::Ui().messageBoxes.empty());
}

TEST_F(DocumentSheet, APrinterWithAnotherRibbonIsAnnouncedAndAdopted) {
    struct Case {
        int number;
        uint8_t code;
        const wchar_t* text;
        int ribbonChoices;
    };
    // The message names the ribbon as the ribbon item does, by the ribbon list's name.
    const Case cases[] = {
        {6, 5, L"Ribbon changed to YMC.", 1},
        {8, 1, L"Ribbon changed to K Blue Resin.", 1},
        {1, 14, L"Ribbon changed to Monochrome. Please choose the type of monochrome ribbon installed in "
                L"your printer.", 4},
    };
    for (const Case& c : cases) {
        printer().devmode = stored;
        printer().card.ribbonNumber = c.number;
        spooler().setPrinterLog.clear();
        sim::Ui().messageBoxes.clear();
        ASSERT_EQ(Open(), 1);
        ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u) << c.number;
        EXPECT_EQ(sim::Ui().messageBoxes[0].text, c.text);
        EXPECT_EQ(Choices(kRibbon), c.ribbonChoices);
        // Opened on the printer's default, the corrected record is stored back.
        ASSERT_EQ(spooler().setPrinterLog.size(), 1u);
        Record written = spooler().setPrinterLog[0].devmode;
        EXPECT_EQ(Private(written).ribbonType, c.code);
        service.Cancel();
    }
}

TEST_F(DocumentSheet, APrinterThatDoesNotAnswerKeepsTheRecord) {
    printer().card.fault = sim::PortFault::kNoAnswer;
    Private(printer().devmode).ribbonType = 6;
    ASSERT_EQ(Open(), 1);
    EXPECT_TRUE(sim::Ui().messageBoxes.empty());
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    // Without a model answer the card cannot be printed on both sides.
    EXPECT_FALSE(Enabled(kBothSides));
    EXPECT_EQ(service.Item(kBothSides)->Sel, 0);
    EXPECT_EQ(Choices(kPrintMode), 1);
}

TEST_F(DocumentSheet, AOneSidedModelFoldsTheRotation) {
    printer().card.model = "Vestria Q511 2.00";
    Private(printer().devmode).printBothSides = 1;
    Private(printer().devmode).rotate180 = 3;
    ASSERT_EQ(Open(), 1);
    EXPECT_FALSE(Enabled(kBothSides));
    EXPECT_EQ(service.Item(kBothSides)->Sel, 0);
    EXPECT_EQ(Choices(kRotation), 2);
    EXPECT_EQ(Choice(kRotation), L"Front");
}

TEST_F(DocumentSheet, SelectionsReevaluateTheDependentItems) {
    ASSERT_EQ(Open(), 1);
    // YMCKO on one side: black panel offered, monochrome conversion not.
    EXPECT_TRUE(Enabled(kBlackPanel));
    EXPECT_FALSE(Enabled(kMonoConversion));
    EXPECT_EQ(service.Select(kBothSides, 1), CPSUICB_ACTION_OPTIF_CHANGED);
    EXPECT_EQ(Choices(kPrintMode), 3);
    EXPECT_EQ(Choices(kRotation), 4);
    EXPECT_EQ(Choice(kPrintMode), L"Front YMCO, Back K");
    EXPECT_TRUE(Enabled(kMonoConversion));  // both sides, first mode
    EXPECT_FALSE(Enabled(kBlackPanel));
    EXPECT_EQ(service.Select(kPrintMode, 1), CPSUICB_ACTION_OPTIF_CHANGED);
    EXPECT_FALSE(Enabled(kMonoConversion));
    EXPECT_TRUE(Enabled(kBlackPanel));
    EXPECT_FALSE(Enabled(kBlackBitmap));
    service.Select(kBlackPanel, 3);
    EXPECT_TRUE(Enabled(kBlackBitmap));
    // Back to one side: the print mode is out of range again and resets.
    service.Select(kBothSides, 0);
    EXPECT_EQ(Choices(kPrintMode), 1);
    EXPECT_EQ(service.Item(kPrintMode)->Sel, 0);
    EXPECT_EQ(Choices(kRotation), 2);
}

TEST_F(DocumentSheet, TheRibbonItemOffersDetailsExceptForKResin) {
    ASSERT_EQ(Open(), 1);
    EXPECT_TRUE(service.Item(kRibbon)->Flags & OPTIF_EXT_IS_EXTPUSH);
    EXPECT_EQ(service.ExtendedPushTitle(kRibbon), L"Printer/Ribbon Details");
    service.Cancel();
    printer().card.ribbonNumber = 7;  // K resin, code 1
    ASSERT_EQ(Open(), 1);
    EXPECT_FALSE(service.Item(kRibbon)->Flags & OPTIF_EXT_IS_EXTPUSH);
}

TEST_F(DocumentSheet, CommitHandsOutTheEditedRecord) {
    ASSERT_EQ(Open(), 1);
    service.Select(kOrientation, 0);
    service.Select(kCopies, 0);
    service.Select(kBlackPanel, 2);
    EXPECT_EQ(service.Apply(), CPSUICB_ACTION_ITEMS_APPLIED);
    EXPECT_EQ(service.Commit(), 1);
    EXPECT_EQ(service.Info().Result, ULONG_PTR(CPSUI_OK));
    EXPECT_EQ(Devmode(out)->dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(Devmode(out)->dmCopies, 1) << "0 copies are stored as 1";
    EXPECT_EQ(Private(out).blackPanel, 2);
    EXPECT_EQ(service.Reasons(), std::vector<WORD>({PROPSHEETUI_REASON_INIT, PROPSHEETUI_REASON_SET_RESULT,
                                                     PROPSHEETUI_REASON_DESTROY}));

    // The committed private block is what the next document gets.
    using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
    Record next(qf::kRecordSize, 0);
    Record in = DriverRecord();
    EXPECT_EQ(Export<DocPropsFn>("DrvDocumentProperties")(nullptr, handle, nullptr, Devmode(next), Devmode(in),
                                                          DM_OUT_BUFFER),
              1);
    EXPECT_EQ(Private(next).blackPanel, 2);
}

TEST_F(DocumentSheet, UndoAfterApplyRestoresTheOpening) {
    ASSERT_EQ(Open(), 1);
    service.Select(kBothSides, 1);
    service.Select(kBlackPanel, 3);
    service.Apply();
    EXPECT_EQ(service.Undo(), CPSUICB_ACTION_NONE);
    service.Commit();
    EXPECT_EQ(Private(out).printBothSides, Private(stored).printBothSides);
    EXPECT_EQ(Private(out).blackPanel, Private(stored).blackPanel);
}

TEST_F(DocumentSheet, CommitCopiesNothingPastTheCallersBuffer) {
    GuardedBlock shortOut(100);
    std::memset(shortOut.data(), 0xCD, 100);
    header.pdmOut = shortOut.devmode();
    header.cbOut = 100;
    ASSERT_EQ(Open(), 1);
    service.Commit();
    EXPECT_NE(service.Info().Result, ULONG_PTR(CPSUI_OK)) << "nothing was committed";
    for (int i = 0; i < 100; ++i) ASSERT_EQ(shortOut.data()[i], 0xCD);
    header.pdmOut = nullptr;
    ASSERT_EQ(Open(), 1);
    service.Commit();
}

TEST_F(DocumentSheet, NothingToEditOpensNoSheet) {
    struct Case {
        const char* what;
        Record devmode;
        HANDLE printerHandle;
    };
    Record foreign = stored;
    Private(foreign).signature = 0;
    const Case cases[] = {{"printer information unreadable", stored, reinterpret_cast<HANDLE>(0x777)},
                          {"foreign stored record", foreign, nullptr},
                          {"no stored record", {}, nullptr}};
    for (const Case& c : cases) {
        printer().devmode = c.devmode;
        header.hPrinter = c.printerHandle ? c.printerHandle : handle;
        sim::Ui().messageBoxes.clear();
        EXPECT_LT(Open(), 0) << c.what;
        EXPECT_EQ(service.Page(), nullptr) << c.what;
        ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u) << c.what;
        EXPECT_EQ(sim::Ui().messageBoxes[0].text, L"System Error");
        service.Cancel();
    }
}

TEST_F(DocumentSheet, AboutShowsTheVersion) {
    ASSERT_EQ(Open(), 1);
    std::wstring version;
    sim::DialogScript script([&](HWND dialog) {
        version = sim::ControlText(dialog, 2068);
        sim::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(service.About(), CPSUICB_ACTION_ITEMS_APPLIED);
    EXPECT_EQ(script.Ran(), 1);
    EXPECT_EQ(version, L"Version 4.00.07");
}

// What became of the encoder and the ribbon question, every combination: the printer has
// ribbon number 6 (YMC, code 5) and no encoder, the stored settings YMCKO and an encoder.
struct QuestionRow {
    sim::PortFault encoderFault;
    sim::PortFault ribbonFault;
};
const QuestionRow kQuestionRows[] = {
    {sim::PortFault::kNone, sim::PortFault::kNone},
    {sim::PortFault::kNone, sim::PortFault::kEmptyReply},
    {sim::PortFault::kNone, sim::PortFault::kNoAnswer},
    {sim::PortFault::kEmptyReply, sim::PortFault::kNone},
    {sim::PortFault::kEmptyReply, sim::PortFault::kEmptyReply},
    {sim::PortFault::kEmptyReply, sim::PortFault::kNoAnswer},
    {sim::PortFault::kNoAnswer, sim::PortFault::kNone},
    {sim::PortFault::kNoAnswer, sim::PortFault::kEmptyReply},
    {sim::PortFault::kNoAnswer, sim::PortFault::kNoAnswer},
};
void AskWith(sim::Printer& printer, const QuestionRow& row) {
    printer.card.ribbonNumber = 6;
    printer.card.encoder = false;
    printer.card.commandFaults = {{"\x1B!V 20\r", row.encoderFault}, {"\x1B!RIBBON\r", row.ribbonFault}};
}

TEST_F(DocumentSheet, EachPrinterQuestionCountsOnItsOwn) {
    for (const QuestionRow& row : kQuestionRows) {
        SCOPED_TRACE(testing::Message() << "encoder fault " << int(row.encoderFault) << ", ribbon fault "
                                        << int(row.ribbonFault));
        const bool encoderAnswered = row.encoderFault == sim::PortFault::kNone;
        const bool ribbonAnswered = row.ribbonFault == sim::PortFault::kNone;
        printer().devmode = stored;
        AskWith(printer(), row);
        // Another window stores both fields while the printer is asked: the opening store
        // writes only what the printer answered.
        bool storedByOther = false;
        printer().whileAsked = [this, &storedByOther] {
            if (storedByOther) return;
            storedByOther = true;
            Record other = printer().devmode;
            Private(other).ribbonType = 9;
            Private(other).encoderSettings.encoderPresent = 7;
            printer().devmode = other;
        };
        sim::Ui().messageBoxes.clear();
        ASSERT_EQ(Open(), 1);
        printer().whileAsked = nullptr;
        Record now = printer().devmode;
        EXPECT_EQ(Private(now).ribbonType, ribbonAnswered ? 5 : 9);
        EXPECT_EQ(Private(now).encoderSettings.encoderPresent, encoderAnswered ? 0 : 7);
        // The item names what the printer reported; the settings keep their ribbon.
        EXPECT_EQ(Choice(kRibbon), ribbonAnswered ? L"YMC" : L"None");
        EXPECT_EQ(service.ChoiceText(kPrintMode, 0), ribbonAnswered ? L"Front YMC" : L"Front YMCKO");
        service.Commit();
        EXPECT_EQ(Private(out).ribbonType, ribbonAnswered ? 5 : 0);
        EXPECT_EQ(Private(out).encoderSettings.encoderPresent, encoderAnswered ? 0 : 1);
        const wchar_t* notice = ribbonAnswered    ? L"Ribbon changed to YMC."
                                : encoderAnswered ? L"There is no ribbon or unable to communicate to printer."
                                                  : nullptr;
        if (notice) {
            ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
            EXPECT_EQ(sim::Ui().messageBoxes[0].text, notice);
        } else {
            EXPECT_TRUE(sim::Ui().messageBoxes.empty()) << "a printer that answers nothing gives no message";
        }
    }
}

// Without a sheet, in a module whose cache is empty (this program's own copy of the
// operation, its module state reset for each row): the record handed out and the stored
// defaults take what the printer answered, each question on its own, and no message.
TEST_F(DocumentSheet, WithoutASheetEachPrinterQuestionCountsOnItsOwn) {
    for (const QuestionRow& row : kQuestionRows) {
        SCOPED_TRACE(testing::Message() << "encoder fault " << int(row.encoderFault) << ", ribbon fault "
                                        << int(row.ribbonFault));
        const bool encoderAnswered = row.encoderFault == sim::PortFault::kNone;
        const bool ribbonAnswered = row.ribbonFault == sim::PortFault::kNone;
        ResetModuleState(Driver());
        printer().devmode = stored;
        AskWith(printer(), row);
        spooler().setPrinterLog.clear();
        sim::Ui().messageBoxes.clear();
        header.fMode = DM_COPY;
        EXPECT_EQ(DocumentPropertiesWithoutSheet(&header), 1);
        EXPECT_EQ(Private(out).ribbonType, ribbonAnswered ? 5 : 0);
        EXPECT_EQ(Private(out).encoderSettings.encoderPresent, encoderAnswered ? 0 : 1);
        if (encoderAnswered || ribbonAnswered) {
            ASSERT_EQ(spooler().setPrinterLog.size(), 1u);
            Record written = spooler().setPrinterLog[0].devmode;
            EXPECT_EQ(Private(written).ribbonType, ribbonAnswered ? 5 : 0);
            EXPECT_EQ(Private(written).encoderSettings.encoderPresent, encoderAnswered ? 0 : 1);
        } else {
            EXPECT_TRUE(spooler().setPrinterLog.empty());
        }
        EXPECT_TRUE(sim::Ui().messageBoxes.empty());
    }
}

using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);

TEST_F(DocumentSheet, WithoutASheetNoUserInterfaceIsShown) {
    auto sheets = Export<SheetsFn>("DrvDocumentPropertySheets");
    EXPECT_EQ(sheets(nullptr, 0), -1);
    header.fMode = 0;
    header.cbOut = 0;
    EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), 4068);
    EXPECT_EQ(header.cbOut, 4068u);
    header.fMode = DM_IN_BUFFER | DM_IN_PROMPT;  // neither DM_UPDATE nor DM_COPY (= DM_OUT_BUFFER)
    EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
    header.fMode = DM_COPY | DM_NOPERMISSION;
    EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
    for (uint8_t b : out) ASSERT_EQ(b, 0xCD) << "nothing was written";
    header.fMode = DM_COPY;
    EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
    EXPECT_EQ(Private(out).signature, qf::kSettingsSignature);
    EXPECT_TRUE(sim::Ui().messageBoxes.empty());
}

// In a fresh module: the first record fetched with DM_COPY exactly updates the stored
// defaults of a printer whose ribbon changed; any other mode leaves them.
void FetchWithChangedRibbon(DWORD mode, bool expectRefresh) {
    sim::Spooler::Get().Reset(sim::ProgramDirectory());
    Record stored = DriverRecord();
    Private(stored).ribbonType = 3;
    sim::Printer& printer = sim::Spooler::Get().AddPrinter(kTestPrinter);
    printer.devmode = stored;
    printer.card.ribbonNumber = 6;  // YMC, code 5
    HANDLE handle = nullptr;
    ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
    Record out(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER header = {sizeof header, 0, handle, const_cast<LPWSTR>(kTestPrinter), nullptr,
                                     Devmode(out), qf::kRecordSize, mode};
    EXPECT_EQ(Export<SheetsFn>("DrvDocumentPropertySheets")(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
    const auto& log = sim::Spooler::Get().setPrinterLog;
    if (expectRefresh) {
        EXPECT_EQ(Private(out).ribbonType, 5);
        ASSERT_EQ(log.size(), 1u);
        Record written = log[0].devmode;
        EXPECT_EQ(Private(written).ribbonType, 5);
    } else {
        EXPECT_EQ(Private(out).ribbonType, 3);
        EXPECT_TRUE(log.empty());
    }
    sim::SimClosePrinter(handle);
    EXPECT_EQ(sim::Spooler::Get().OpenHandleCount(), 0);
}

TEST(FreshSheet, FetchingWithCopyRefreshesTheStoredDefaults) { FetchWithChangedRibbon(DM_COPY, true); }
TEST(FreshSheet, FetchingWithOtherModesLeavesTheStoredDefaults) {
    FetchWithChangedRibbon(DM_COPY | DM_UPDATE, false);
}

// In a fresh module, an input record of the offline configuration: the ribbon comes from
// the user's pick in the fixed list, the model is not asked, and the encoder is offered.
TEST(FreshSheet, TheOfflineConfigurationUsesTheFixedRibbonList) {
    sim::Spooler::Get().Reset(sim::ProgramDirectory());
    sim::Printer& printer = sim::Spooler::Get().AddPrinter(kTestPrinter);
    printer.devmode = DriverRecord();
    HANDLE handle = nullptr;
    ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
    Record in = DriverRecord();
    Private(in).manualRibbon = 3;  // "YMCKO"
    Private(in).ribbonType = 15;
    Record out(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER header = {sizeof header, 0, handle, const_cast<LPWSTR>(kTestPrinter), Devmode(in),
                                     Devmode(out), qf::kRecordSize, DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT};
    {
        sim::PropertySheetService service;
        ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&header)),
                  1);
        ASSERT_NE(service.Page(), nullptr) << service.Problem();
        EXPECT_EQ(service.Item(kRibbon)->pOptType->Count, 10);
        EXPECT_EQ(service.CurrentChoice(kRibbon), L"YMCKO");
        EXPECT_EQ(service.ChoiceText(kPrintingMode, 1), L"Encode Only");
        EXPECT_FALSE(service.Item(kPrintingMode)->pOptType->pOptParam[1].Flags & OPTPF_DISABLED);
        EXPECT_FALSE(service.CanChange(kBothSides)) << "the default model prints one side";
        for (const std::string& command : printer.card.received) EXPECT_NE(command, "\x1BV\r");
        // Picking another ribbon of the list sets the ribbon with it.
        service.Select(kRibbon, 0);  // "YMCKOK"
        service.Apply();
        service.Commit();
    }
    EXPECT_EQ(Private(out).manualRibbon, 1);
    EXPECT_EQ(Private(out).ribbonType, 8);
    EXPECT_EQ(Private(out).encoderSettings.encoderPresent, 1);
    sim::SimClosePrinter(handle);
}

}  // namespace
