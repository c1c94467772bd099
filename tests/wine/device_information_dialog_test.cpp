// The Device Information dialog, through the device sheet's "Device Information" push
// button and the document sheet's "Printer/Ribbon Details" button.
#include "tests/wine/sheet_dialogs.h"

#include "driver/resources/resource.h"

namespace {

using Commands = std::vector<std::string>;

// The fields of the dialog in screen order, as the user reads them.
struct Shown {
    std::string model, serial, encoder, smartCard, panels, ribbon, remaining;
    bool operator==(const Shown& other) const {
        return model == other.model && serial == other.serial && encoder == other.encoder &&
               smartCard == other.smartCard && panels == other.panels && ribbon == other.ribbon &&
               remaining == other.remaining;
    }
};
std::ostream& operator<<(std::ostream& out, const Shown& s) {
    return out << "{" << s.model << " | " << s.serial << " | " << s.encoder << " | " << s.smartCard << " | "
               << s.panels << " | " << s.ribbon << " | " << s.remaining << "}";
}

Shown Read(HWND dialog) {
    return {Text(dialog, IDC_INFO_MODEL),   Text(dialog, IDC_INFO_SERIAL), Text(dialog, IDC_INFO_ENCODER),
            Text(dialog, IDC_INFO_SMART_CARD), Text(dialog, IDC_INFO_PANELS), Text(dialog, IDC_INFO_RIBBON),
            Text(dialog, IDC_INFO_REMAINING)};
}

class DeviceInformationDialog : public DeviceSheetDialogs {
protected:
    Shown ShowInformation() {
        OpenSheet();
        Shown shown;
        sim::DialogScript driver([&](HWND dialog) {
            shown = Read(dialog);
            sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
        });
        EXPECT_EQ(service.PushButton(qf::kDeviceItemDeviceInfo), IDC_CLOSE_BUTTON);
        EXPECT_EQ(driver.Ran(), 1);
        return shown;
    }
};

TEST_F(DeviceInformationDialog, AFullAnswer) {
    card().model = "Vestria Q862kB 1.07 862kH";
    card().replies["\x1B!NL\r"] = "!1234 panels";
    EXPECT_EQ(ShowInformation(),
              (Shown{"Vestria Q862kB 1.07 862kH", "Q862K-000123", "Yes", "Contact Encoder", "1234", "YMCKO", "214"}));
    EXPECT_EQ(card().received, Commands({"\x1B!RIBBON\r", "\x1B!RIBLEN\r", "\x1B!V 20\r", "\x1BV\r", "\x1B%SERIE\r",
                                         "\x1B!NL\r"}));
    EXPECT_TRUE(spooler().setPrinterLog.empty()) << "no direct-mode switch";
}

// Device Information finds the ribbon list as the document sheet does: beside the driver
// file first (a current installation), then in the driver directory's version-2 folder.
TEST_F(DeviceInformationDialog, TheRibbonListIsFoundWhereTheSheetFindsIt) {
    for (const RibbonListPlacement& placement : kRibbonListPlacements) {
        PlaceRibbonLists(placement);
        EXPECT_EQ(ShowInformation().ribbon, placement.name ? sim::Utf8(placement.name) : "Unknown") << placement.where;
        service.Cancel();
    }
}

TEST_F(DeviceInformationDialog, WhatIsShownWhenThePrinterDoesNotTell) {
    struct Case {
        const char* what;
        std::map<std::string, sim::PortFault> faults;
        std::map<std::string, std::string> replies;
        Shown shown;
        size_t queries;
    };
    const Case cases[] = {
        {"silent printer: one question only", {{"\x1B!RIBBON\r", sim::PortFault::kNoAnswer}}, {},
         {"", "", "", "", "", "Unknown", "N/A"}, 1},
        {"incomplete ribbon reply: the rest is still asked", {{"\x1B!RIBBON\r", sim::PortFault::kNoAck}}, {},
         {"Vestria Q862k 1.07", "Q862K-000123", "Yes", "No", "1520", "Unknown", "N/A"}, 5},
        {"no count left, no encoder, no panel count", {{"\x1B!NL\r", sim::PortFault::kNoAck}},
         {{"\x1B!RIBLEN\r", "0"}, {"\x1B!V 20\r", "0"}, {"\x1B!RIBBON\r", "99"}},
         {"Vestria Q862k 1.07", "Q862K-000123", "No", "No", " ", "Unknown", "N/A"}, 6},
        {"a remaining count of ACK alone shows its empty text", {}, {{"\x1B!RIBLEN\r", ""}},
         {"Vestria Q862k 1.07", "Q862K-000123", "Yes", "No", "1520", "YMCKO", ""}, 6},
    };
    for (const Case& c : cases) {
        card().commandFaults = c.faults;
        card().replies = c.replies;
        EXPECT_EQ(ShowInformation(), c.shown) << c.what;
        EXPECT_EQ(card().received.size(), c.queries) << c.what;
        service.Cancel();
    }
}

TEST_F(DeviceInformationDialog, TheDocumentSheetsDetailsButtonAsksItsPrinter) {
    Record record = DriverRecord();
    Private(record).ribbonType = 0;
    Private(record).encoderSettings.encoderPresent = 1;
    printer().devmode = record;
    Record out(qf::kRecordSize, 0);
    DOCUMENTPROPERTYHEADER document = PreferencesHeader(handle, kTestPrinter, out);
    ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&document)),
              1);
    const int ribbonItem = qf::kItemRibbon;
    EXPECT_FALSE(service.Item(ribbonItem)->Flags & OPTIF_EXT_DISABLED);
    card().received.clear();
    Shown shown;
    sim::DialogScript driver([&](HWND dialog) {
        EXPECT_EQ(sim::WindowTitle(dialog), L"Device Information");
        shown = Read(dialog);
        sim::ClickButton(dialog, IDC_HELP_BUTTON);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(service.ExtendedPush(ribbonItem), IDC_CLOSE_BUTTON);
    EXPECT_EQ(shown, (Shown{"Vestria Q862k 1.07", "Q862K-000123", "Yes", "No", "1520", "YMCKO", "214"}));
    EXPECT_EQ(card().received.size(), 6u);
    EXPECT_TRUE(sim::Ui().helpCalls.empty()) << "no help file is installed beside the module";
    ASSERT_EQ(sim::Ui().shellCalls.size(), 1u);
    EXPECT_EQ(sim::Ui().shellCalls[0].file, sim::ProgramDirectory() + L"qf862k-device-information.html");
}

}  // namespace
