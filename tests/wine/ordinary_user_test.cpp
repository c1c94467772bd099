// The driver for an operator who is an ordinary user: the spooler gives the right to print
// and refuses administering. What such a user may do reaches the printer; a store the
// platform refuses is not tried on the way.
#include "tests/wine/sheet_dialogs.h"

#include "driver/resources/resource.h"
#include "driver/state/document_items.h"

namespace {

class OrdinaryUser : public DeviceSheetDialogs {
protected:
    void SetUp() override {
        DeviceSheetDialogs::SetUp();
        sim::SimClosePrinter(handle);
        spooler().standardUser = true;
        // The spooler opens the sheets' printer for this user with the right to print.
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
        header.hPrinter = handle;
        header.Flags = DPS_NOPERMISSION;
    }
};

// Printing Preferences ask the printer its encoder, ribbon and model as for an
// administrator, show the ribbon it reports and hand out the same record; the ribbon
// correction the user may not store stays in the document's record.
TEST_F(OrdinaryUser, PrintingPreferencesAskThePrinter) {
    Record workingStored = stored;
    Private(workingStored).ribbonType = 5;  // YMC; the printer reports YMCKO
    printer().devmode = workingStored;
    Record out(qf::kRecordSize, 0xCD);
    DOCUMENTPROPERTYHEADER document = {};
    document.cbSize = sizeof document;
    document.hPrinter = handle;
    document.pszPrinterName = const_cast<LPWSTR>(kTestPrinter);
    document.pdmOut = Devmode(out);
    document.cbOut = qf::kRecordSize;
    document.fMode = DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT;
    sim::PropertySheetService sheet;
    ASSERT_EQ(sheet.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&document)),
              1);
    EXPECT_EQ(card().received, std::vector<std::string>({"\x1B!V 20\r", "\x1B!RIBBON\r", "\x1B" "V\r"}));
    EXPECT_EQ(sheet.CurrentChoice(qf::kItemRibbon), L"YMCKO");
    sheet.Commit();
    EXPECT_EQ(Private(out).ribbonType, 0) << "the document's record takes the reported ribbon";
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    EXPECT_EQ(spooler().refusedStores, 0) << "no store is tried that the platform refuses";
    EXPECT_EQ(Private(printer().devmode).ribbonType, 5) << "the printer's defaults wait for an administrator";
}

// Tools runs its exchanges with the user's right to print: the offsets are read and a
// typed command reaches the printer, without the direct-printing switch.
TEST_F(OrdinaryUser, ToolsCommandsReachThePrinter) {
    card().commandReply = "READY";
    OpenSheet();
    std::string status;
    sim::DialogScript tools([&](HWND dialog) {
        sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"MC");
        sim::ClickButton(dialog, IDC_TOOLS_EXECUTE);
        status = Text(dialog, IDC_TOOLS_STATUS);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    service.PushButton(qf::kDeviceItemTools);
    EXPECT_EQ(tools.Ran(), 1);
    ASSERT_FALSE(card().received.empty());
    EXPECT_EQ(card().received.back(), "\x1BMC\r");
    EXPECT_EQ(status, "READY<ACK>");
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    EXPECT_EQ(spooler().refusedStores, 0);
    EXPECT_EQ(printer().attributes & PRINTER_ATTRIBUTE_DIRECT, 0u);
}

}  // namespace
