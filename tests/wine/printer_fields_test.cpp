// What the driver's stores leave of the printer's record. The device sheet is one page of
// the printer's Properties window, beside the platform's own pages that change the
// printer's port, sharing, comment and attributes; every window of the driver that stores
// into the printer must leave what those pages set after the sheet opened.
#include "tests/wine/sheet_dialogs.h"

#include <functional>

#include "driver/resources/resource.h"

namespace {

constexpr DWORD kOtherPagesBits =
    PRINTER_ATTRIBUTE_SHARED | PRINTER_ATTRIBUTE_KEEPPRINTEDJOBS | PRINTER_ATTRIBUTE_ENABLE_BIDI;

// Every field the platform's other pages change, each to a value of its own.
sim::PrinterFields ChangedFields() {
    sim::PrinterFields fields;
    fields.shareName = L"Badges";
    fields.portName = L"USB002";
    fields.comment = L"Reception desk";
    fields.location = L"Building B";
    fields.sepFile = L"C:\\Windows\\System32\\pcl.sep";
    fields.printProcessor = L"CardPrint";
    fields.datatype = L"NT EMF 1.008";
    fields.parameters = L"copies=1";
    fields.priority = 7;
    fields.defaultPriority = 3;
    fields.startTime = 60;
    fields.untilTime = 1380;
    return fields;
}

std::string Describe(const sim::PrinterFields& f) {
    return sim::Utf8(L"share " + f.shareName + L", port " + f.portName + L", comment " + f.comment + L", location " +
                     f.location + L", separator " + f.sepFile + L", processor " + f.printProcessor + L", datatype " +
                     f.datatype + L", parameters " + f.parameters) +
           ", priorities " + std::to_string(f.priority) + "/" + std::to_string(f.defaultPriority) + ", times " +
           std::to_string(f.startTime) + "-" + std::to_string(f.untilTime);
}

class PrinterFields : public DeviceSheetDialogs {
protected:
    // Presses the device sheet's button `item` and runs `script` in the dialog it opens.
    void InDialog(int item, sim::DialogScript::Script script) {
        sim::DialogScript driver(std::move(script));
        service.PushButton(item);
        EXPECT_EQ(driver.Ran(), 1);
    }
    void InTools(sim::DialogScript::Script script) { InDialog(qf::kDeviceItemTools, std::move(script)); }
    void Press(HWND dialog, int id) { EXPECT_TRUE(sim::ClickButton(dialog, id)) << "button " << id; }
};

// A table of windows: each is worked after another page changed every field of the
// printer, with direct printing off or (set by that page) on; the sheet closes with OK.
// Every field is then what the other page set, direct printing is as that page left it,
// and no store wrote the printer's security descriptor.
TEST_F(PrinterFields, EveryWindowLeavesWhatTheOtherPagesSet) {
    const std::wstring prn = MakeFile(L"card.prn", "\x1B" "PRINT\r");
    std::vector<uint8_t> firmware(300, 0x11);
    firmware[14] = 0x3C;
    firmware[15] = 0xFF;
    const std::wstring firmwareFile = MakeFile(L"q862.bin", std::string(firmware.begin(), firmware.end()));
    const auto closeTools = [this](HWND dialog) { Press(dialog, IDC_CLOSE_BUTTON); };
    struct Window {
        const char* name;
        bool offline;
        std::function<void()> work;
    };
    const Window windows[] = {
        {"Tools opened and closed", false, [&] { InTools(closeTools); }},
        {"a free command", false,
         [&] {
             InTools([&](HWND dialog) {
                 sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"V");
                 Press(dialog, IDC_TOOLS_EXECUTE);
                 Press(dialog, IDC_CLOSE_BUTTON);
             });
         }},
        {"offsets read and set", false,
         [&] {
             InTools([&](HWND dialog) {
                 sim::SetControlText(dialog, IDC_TOOLS_OFFSET_X, L"2");
                 Press(dialog, IDC_TOOLS_SET_OFFSET);
                 Press(dialog, IDC_CLOSE_BUTTON);
             });
         }},
        {"encode", false,
         [&] {
             InTools([&](HWND dialog) {
                 Press(dialog, IDC_TOOLS_TRACK1_BOX);
                 sim::SetControlText(dialog, IDC_TOOLS_TRACK1_DATA, L"ABC");
                 Press(dialog, IDC_TOOLS_ENCODE);
                 Press(dialog, IDC_CLOSE_BUTTON);
             });
         }},
        {"read tracks", false,
         [&] {
             InTools([&](HWND dialog) {
                 Press(dialog, IDC_TOOLS_TRACK1_BOX);
                 Press(dialog, IDC_TOOLS_READ);
                 Press(dialog, IDC_CLOSE_BUTTON);
             });
         }},
        {"firmware offline", true,
         [&] {
             sim::Ui().fileChoices = {firmwareFile};
             InDialog(qf::kDeviceItemFirmware, [&](HWND dialog) {
                 Press(dialog, IDC_FW_SELECT);
                 Press(dialog, IDC_FW_START);
                 Press(dialog, IDCANCEL);
             });
         }},
        {"Send File", false,
         [&] {
             sim::Ui().fileChoices = {prn};
             sim::DialogScript driver([&](HWND tools) {
                 Press(tools, IDC_TOOLS_SEND_FILE);
                 Press(tools, IDC_CLOSE_BUTTON);
             });
             driver.Then([&](HWND dialog) {
                 Press(dialog, IDC_SEND_SELECT);
                 Press(dialog, IDC_SEND_BUTTON);
                 Press(dialog, IDCANCEL);
             });
             service.PushButton(qf::kDeviceItemTools);
             EXPECT_EQ(driver.Ran(), 2);
         }},
        {"Device Information", false,
         [&] { InDialog(qf::kDeviceItemDeviceInfo, [&](HWND dialog) { Press(dialog, IDC_CLOSE_BUTTON); }); }},
        {"Encoder Apply", false,
         [&] {
             InDialog(qf::kDeviceItemEncoder, [&](HWND dialog) {
                 Press(dialog, IDC_COERCIVITY_HIGH);
                 Press(dialog, IDC_ENCODER_APPLY);
             });
         }},
        {"Advanced Apply", false,
         [&] {
             sim::DialogScript driver([&](HWND encoder) {
                 Press(encoder, IDC_ENCODER_ADVANCED);
                 Press(encoder, IDC_ENCODER_CANCEL);
             });
             driver.Then([&](HWND dialog) { Press(dialog, IDC_TRACKS_APPLY); });
             service.PushButton(qf::kDeviceItemEncoder);
             EXPECT_EQ(driver.Ran(), 2);
         }},
        {"Single Feed Apply", false,
         [&] {
             InDialog(qf::kDeviceItemSingleFeed, [&](HWND dialog) {
                 Press(dialog, IDC_SINGLE_FEED_OFF);
                 Press(dialog, IDOK);
             });
         }},
        {"the sheet's Apply", false, [&] { service.Apply(); }},
    };
    const sim::PrinterFields changed = ChangedFields();
    for (const Window& w : windows) {
        for (const bool directBefore : {false, true}) {
            const std::string what = std::string(w.name) + (directBefore ? ", direct printing on before" : "");
            Private(stored).manualRibbon = w.offline ? 1 : 0;
            printer().fields = sim::PrinterFields();
            printer().attributes = PRINTER_ATTRIBUTE_LOCAL;
            OpenSheet();
            const std::vector<uint8_t> security = printer().security;
            printer().fields = changed;
            const DWORD otherPages = PRINTER_ATTRIBUTE_LOCAL | kOtherPagesBits |
                                     (directBefore ? DWORD(PRINTER_ATTRIBUTE_DIRECT) : 0);
            printer().attributes = otherPages;
            w.work();
            service.Apply();
            service.Commit();
            EXPECT_EQ(Describe(printer().fields), Describe(changed)) << what;
            EXPECT_EQ(printer().attributes, otherPages) << what;
            EXPECT_EQ(printer().name, kTestPrinter) << what;
            EXPECT_EQ(printer().security, security) << what;
            for (const sim::SetPrinterCall& call : spooler().setPrinterLog)
                EXPECT_FALSE(call.securityWritten) << what << ": a store handed on the security descriptor";
            if (service.IsOpen()) service.Cancel();
        }
    }
    Private(stored).manualRibbon = 0;
}

// A printer renamed on the General page while the device sheet is open is never named
// back by a store: the sheet's windows then reach no printer of the old name, and say so.
TEST_F(PrinterFields, ARenameOnAnotherPageIsKept) {
    OpenSheet();
    sim::Printer& renamed = printer();
    renamed.name = L"Badge Printer";
    InTools([&](HWND dialog) {
        sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"V");
        Press(dialog, IDC_TOOLS_EXECUTE);
        Press(dialog, IDC_CLOSE_BUTTON);
    });
    InDialog(qf::kDeviceItemEncoder, [&](HWND dialog) {
        Press(dialog, IDC_COERCIVITY_HIGH);
        Press(dialog, IDC_ENCODER_APPLY);
        Press(dialog, IDC_ENCODER_CANCEL);
    });
    service.Apply();
    service.Commit();
    EXPECT_EQ(renamed.name, L"Badge Printer");
    for (const sim::SetPrinterCall& call : spooler().setPrinterLog)
        EXPECT_EQ(call.name, L"Badge Printer") << "a store named the printer back";
}

}  // namespace
