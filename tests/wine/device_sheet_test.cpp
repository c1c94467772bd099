// The device property sheet and the About box, through the export and the property-sheet
// service stand-in.
#include "tests/wine/wine_test.h"

#include "sim/dialog_script.h"
#include "sim/property_sheet.h"
#include "tests/wine/process_usage.h"
#include "tests/wine/records.h"

namespace {

enum Item { kModel = 0, kEncoder = 1, kTools = 2, kFirmware = 3, kSingleFeed = 4, kDeviceInfo = 5, kAbout = 6 };

class DeviceSheet : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        stored = DriverRecord();
        Private(stored).encoderSettings.coercivity = 1;
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
        header = DEVICEPROPERTYHEADER{sizeof header, 0, handle, const_cast<LPWSTR>(kTestPrinter)};
    }
    void TearDown() override {
        if (service.IsOpen()) service.Cancel();
        sim::SimClosePrinter(handle);
        DriverTest::TearDown();
    }
    LONG Open() {
        return service.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&header));
    }
    bool Enabled(int index) { return !(service.Item(index)->Flags & OPTIF_DISABLED); }

    Record stored;
    HANDLE handle = nullptr;
    DEVICEPROPERTYHEADER header = {};
    sim::PropertySheetService service;
};

TEST_F(DeviceSheet, OpensWithTheModelAndSevenItems) {
    ASSERT_EQ(Open(), 1);
    COMPROPSHEETUI* page = service.Page();
    ASSERT_NE(page, nullptr) << service.Problem();
    EXPECT_EQ(page->cOptItem, 7);
    EXPECT_EQ(page->pDlgPage, CPSUI_PDLGPAGE_PRINTERPROP);
    EXPECT_STREQ(page->pCallerName, L"Varlo Vestria Card Printer");
    EXPECT_STREQ(page->pOptItemName, L"Varlo Halvard Line Printer");
    EXPECT_EQ(service.Info().Result, 0u);
    const wchar_t* const titles[] = {L"Printer Model/Firmware Version", L"Encoder Settings", L"Tools",
                                     L"F/W Download", L"Single Feed", L"Device Information", L"About"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(service.ItemTitle(i), titles[i]) << "item " << i;
        EXPECT_EQ(service.Item(i)->UserItemID, i);
    }
    EXPECT_EQ(service.CurrentChoice(kModel), L"Vestria Q862k 1.07");
    EXPECT_EQ(service.Item(kTools)->Flags & OPTIF_CALLBACK, 0u) << "Tools has no callback";
    EXPECT_TRUE(Enabled(kAbout));
    EXPECT_EQ(printer().card.received, std::vector<std::string>({"\x1B!V 20\r", "\x1BV\r"}));
}

// A sheet whose encoder dialogs applied nothing has nothing to store: what another
// window stored meanwhile stays.
TEST_F(DeviceSheet, ApplyWithNothingAppliedStoresNothing) {
    ASSERT_EQ(Open(), 1);
    Private(printer().devmode).blackPanel = 2;
    Private(printer().devmode).encoderSettings.coercivity = 0;
    EXPECT_EQ(service.Apply(), CPSUICB_ACTION_ITEMS_APPLIED);
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    EXPECT_EQ(Private(printer().devmode).encoderSettings.coercivity, 0);
    EXPECT_EQ(service.Commit(), -1) << "the device sheet answers SET_RESULT with -1";
}

TEST_F(DeviceSheet, WithoutPrinterInformationNoPageIsAdded) {
    header.hPrinter = reinterpret_cast<HANDLE>(0x999);
    EXPECT_EQ(Open(), -1);
    EXPECT_EQ(service.Page(), nullptr);
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
    EXPECT_EQ(sim::Ui().messageBoxes[0].text, L"System Error");
    service.Cancel();

    using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);
    SetLastError(0);
    EXPECT_EQ(Export<SheetsFn>("DrvDevicePropertySheets")(nullptr, reinterpret_cast<LPARAM>(&header)), -1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(DeviceSheet, APrinterThatDoesNotAnswerShowsTheDefaultModel) {
    printer().card.fault = sim::PortFault::kNoAck;
    ASSERT_EQ(Open(), 1);
    EXPECT_EQ(service.CurrentChoice(kModel), L"Varlo Vestria Card Printer");
    EXPECT_FALSE(Enabled(kFirmware));
}

// The encoder flag of the stored settings follows an answer to the encoder question and
// is kept when the question got none (a printer briefly unreachable keeps its encoder).
TEST_F(DeviceSheet, TheEncoderFlagIsKeptWhenItsQuestionGotNoAnswer) {
    struct Row {
        sim::PortFault fault;
        bool encoder;  // what the printer answers
        uint16_t stored;
        bool offered;  // "Encoder Settings" available
    };
    const Row rows[] = {
        {sim::PortFault::kNone, false, 1, false},     {sim::PortFault::kNone, true, 0, true},
        {sim::PortFault::kEmptyReply, false, 1, true}, {sim::PortFault::kEmptyReply, false, 0, false},
        {sim::PortFault::kNoAnswer, false, 1, true},   {sim::PortFault::kNoAnswer, false, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "fault " << int(row.fault) << " stored " << row.stored);
        Private(stored).encoderSettings.encoderPresent = row.stored;
        printer().devmode = stored;
        printer().card.encoder = row.encoder;
        printer().card.commandFaults = {{"\x1B!V 20\r", row.fault}};
        ASSERT_EQ(Open(), 1);
        EXPECT_EQ(Enabled(kEncoder), row.offered);
        EXPECT_EQ(service.CurrentChoice(kModel), L"Vestria Q862k 1.07") << "the model is asked all the same";
        service.Cancel();
    }
}

TEST_F(DeviceSheet, MaintenanceButtonsFollowTheirRules) {
    struct Case {
        const char* what;
        sim::PortFault fault;
        int16_t manualRibbon;
        bool firmware;
    };
    const Case cases[] = {
        {"an answering printer", sim::PortFault::kNone, 0, true},
        {"a silent printer", sim::PortFault::kNoAnswer, 0, false},
        {"the offline configuration", sim::PortFault::kNoAnswer, 2, true},
    };
    for (const Case& c : cases) {
        printer().card.fault = c.fault;
        Private(stored).manualRibbon = c.manualRibbon;
        printer().devmode = stored;
        ASSERT_EQ(Open(), 1) << c.what;
        EXPECT_TRUE(Enabled(kTools)) << c.what;
        EXPECT_TRUE(Enabled(kDeviceInfo)) << c.what;
        EXPECT_EQ(Enabled(kFirmware), c.firmware) << c.what;
        service.Cancel();
    }
}

// The About box paints the logo from the driver's directory, scaled into its place. The
// logo is read once as the box opens: a paint asks the spooler nothing and uses up no
// drawing objects.
COLORREF LogoPixel(HWND dialog) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    HDC dc = GetDC(dialog);
    const COLORREF pixel = GetPixel(dc, 40, 40);
    ReleaseDC(dialog, dc);
    return pixel;
}

TEST_F(DeviceSheet, AboutBoxPaintsTheLogoWhenThereIsOne) {
    printer().driverPath = spooler().DriverFile(L"qf862kui.dll");
    ASSERT_EQ(Open(), 1);
    std::wstring version;
    COLORREF withLogo = 0, afterPaints = 0;
    size_t gdiBefore = 0, gdiAfter = 0;
    int opensBefore = 0, opensAfter = 0;
    sim::DialogScript script([&](HWND dialog) {
        version = sim::ControlText(dialog, 2068);
        withLogo = LogoPixel(dialog);
        gdiBefore = ProcessUsage::Now().gdiObjects;
        opensBefore = spooler().opens;
        DeleteFileW(spooler().DriverFile(L"VrloLogo.bmp").c_str());
        for (int i = 0; i < 50; ++i) afterPaints = LogoPixel(dialog);
        opensAfter = spooler().opens;
        gdiAfter = ProcessUsage::Now().gdiObjects;
        sim::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(service.PushButton(kAbout), IDOK);
    EXPECT_EQ(script.Ran(), 1);
    EXPECT_EQ(version, L"Version 4.00.07");
    EXPECT_GT(GetBValue(withLogo), GetRValue(withLogo) + 60) << std::hex << withLogo << " is not the logo's blue";
    EXPECT_EQ(afterPaints, withLogo) << "the box keeps the logo it read as it opened";
    EXPECT_EQ(opensAfter, opensBefore) << "a paint opens no printer";
    EXPECT_LE(gdiAfter, gdiBefore) << "paints released what they made";
}

}  // namespace
