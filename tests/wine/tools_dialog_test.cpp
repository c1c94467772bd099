// The Tools dialog and the Send File dialog it opens, through the device sheet's "Tools"
// push button and the dialogs' own controls, against the simulated card printer.
#include "tests/wine/sheet_dialogs.h"

#include "driver/channel/reply.h"
#include "driver/resources/resource.h"
#include "sim/files.h"

namespace {

using Commands = std::vector<std::string>;

std::wstring Widened(std::string_view command) { return std::wstring(command.begin(), command.end()); }

std::wstring QueryName(std::string_view command) {
    const std::u16string name = qf::QueryValueName(command);
    return std::wstring(reinterpret_cast<const wchar_t*>(name.c_str()));
}

int ListCount(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0)); }

class ToolsDialog : public DeviceSheetDialogs {
protected:
    void SetUp() override {
        DeviceSheetDialogs::SetUp();
        card().offsetX = 3;
        card().offsetY = 7;
    }
    // Opens the sheet, presses "Tools" and runs `script` in the dialog.
    void RunTools(sim::DialogScript::Script script) {
        OpenSheet();
        sim::DialogScript driver(std::move(script));
        EXPECT_EQ(service.PushButton(qf::kDeviceItemTools), IDC_CLOSE_BUTTON);
        EXPECT_EQ(driver.Ran(), 1);
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    // Presses a button and returns the commands it sent and the status it left.
    Commands Press(HWND dialog, int id) {
        card().received.clear();
        EXPECT_TRUE(sim::ClickButton(dialog, id)) << "button " << id << " is not there or disabled";
        return card().received;
    }
};

TEST_F(ToolsDialog, OpensWithTheOffsetsInsideADirectModeExchange) {
    card().replies["\x1B!V 1\r"] = "3 ";  // a space before the ACK is not part of the offset
    // Kept replies under both forms of the names; the reads delete the widened form.
    const char* const queries[] = {"\x1BV\r", "\x1BSLAVE\r", "\x1B!V 1\r", "\x1B!V 2\r"};
    for (const char* query : queries) spooler().StoreReply(kTestPrinter, Widened(query), "old");
    HWND seen = nullptr;
    RunTools([&](HWND dialog) {
        seen = dialog;
        EXPECT_EQ(Text(dialog, IDC_TOOLS_OFFSET_X), "3");
        EXPECT_EQ(Text(dialog, IDC_TOOLS_OFFSET_Y), "7");
        EXPECT_TRUE(IsEnabled(dialog, IDC_TOOLS_SET_OFFSET));
        EXPECT_EQ(ListCount(dialog, IDC_TOOLS_TEST_CARD), 3);
        EXPECT_EQ(ListCount(dialog, IDC_TOOLS_CLEANING), 2);
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_TOOLS_TEST_CARD, CB_GETCURSEL, 0, 0), 0);
        for (int id : {IDC_TOOLS_TRACK1_DATA, IDC_TOOLS_TRACK2_DATA, IDC_TOOLS_TRACK3_DATA})
            EXPECT_FALSE(IsEnabled(dialog, id)) << id;
        for (int id : {IDC_TOOLS_TRACK1_BOX, IDC_TOOLS_TRACK3_BOX, IDC_TOOLS_ENCODE, IDC_TOOLS_READ})
            EXPECT_TRUE(IsEnabled(dialog, id)) << id;
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "");
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(card().received, Commands(std::begin(queries), std::end(queries)));
    ASSERT_EQ(spooler().setPrinterLog.size(), 2u);
    EXPECT_EQ(spooler().setPrinterLog[0].attributes, DWORD(PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_DIRECT));
    EXPECT_EQ(spooler().setPrinterLog[1].attributes, DWORD(PRINTER_ATTRIBUTE_LOCAL));
    EXPECT_EQ(sim::Ui().debugTraces,
              Commands({"$$$$$$$$$$$$$ SetPrinter called 1\n", "$$$$$$$$$$$$$ SetPrinter called 2\n"}));
    EXPECT_FALSE(spooler().HasStoredReply(kTestPrinter, Widened("\x1BV\r")));
    EXPECT_FALSE(spooler().HasStoredReply(kTestPrinter, Widened("\x1B!V 1\r")));
    EXPECT_FALSE(spooler().HasStoredReply(kTestPrinter, Widened("\x1B!V 2\r")));
    EXPECT_TRUE(spooler().HasStoredReply(kTestPrinter, Widened("\x1BSLAVE\r"))) << "the SLAVE reply is left alone";
}

TEST_F(ToolsDialog, NoSwitchWhenThePrinterIsAlreadyDirect) {
    printer().attributes |= PRINTER_ATTRIBUTE_DIRECT;
    RunTools([&](HWND dialog) {
        Press(dialog, IDC_TOOLS_EJECT_PRINTER);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    EXPECT_TRUE(sim::Ui().debugTraces.empty());
}

TEST_F(ToolsDialog, AModelWithoutThirdTrackOffersNoOffsetYAndClearsTheThirdTrack) {
    card().model = "Vestria Q511 1.00";
    Private(stored).thirdTrackWord = 5;
    lstrcpyA(Private(stored).thirdTrackText, "stale");
    RunTools([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_TOOLS_OFFSET_Y), "7") << "read, but not offered";
        EXPECT_FALSE(IsEnabled(dialog, IDC_TOOLS_OFFSET_Y));
        EXPECT_TRUE(IsEnabled(dialog, IDC_TOOLS_OFFSET_X));
        EXPECT_FALSE(IsEnabled(dialog, IDC_TOOLS_TRACK3_BOX));
        EXPECT_FALSE(IsEnabled(dialog, IDC_TOOLS_TRACK3_DATA));
        EXPECT_TRUE(IsEnabled(dialog, IDC_TOOLS_TRACK2_BOX));
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    // The switches store the attributes only; the one record stored, inside the
    // exchange, is the printer's own with the third track cleared.
    ASSERT_EQ(spooler().setPrinterLog.size(), 3u);
    EXPECT_TRUE(spooler().setPrinterLog[0].devmode.empty());
    EXPECT_TRUE(spooler().setPrinterLog[2].devmode.empty());
    Record written = spooler().setPrinterLog[1].devmode;
    ASSERT_EQ(written.size(), qf::kRecordSize);
    EXPECT_EQ(Private(written).thirdTrackWord, 0);
    EXPECT_STREQ(Private(written).thirdTrackText, "");
}

// A third track the driver cleared but could not keep in the printer's defaults is told,
// as the other stores are.
TEST_F(ToolsDialog, AThirdTrackClearThatCannotBeStoredIsTold) {
    card().model = "Vestria Q511 1.00";
    Private(stored).thirdTrackWord = 5;
    lstrcpyA(Private(stored).thirdTrackText, "stale");
    sim::Ui().messageBoxes.clear();
    printer().storesFail = true;
    RunTools([&](HWND dialog) { sim::ClickButton(dialog, IDC_CLOSE_BUTTON); });
    printer().storesFail = false;
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
    EXPECT_EQ(sim::Ui().messageBoxes[0].text.rfind(L"The change could not be kept", 0), 0u)
        << sim::Utf8(sim::Ui().messageBoxes[0].text);
    EXPECT_EQ(Private(printer().devmode).thirdTrackWord, 5);
}

TEST_F(ToolsDialog, CommandsAndTheStatusTheyLeave) {
    card().commandReply = "READY";
    RunTools([&](HWND dialog) {
        // Typed and executed: the reply with its ACK shown.
        sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"V");
        EXPECT_EQ(Press(dialog, IDC_TOOLS_EXECUTE), Commands({"\x1BV\r"}));
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "Vestria Q862k 1.07<ACK>");
        EXPECT_EQ(spooler().looseWrites.size(), 1u);
        EXPECT_FALSE(spooler().HasStoredReply(kTestPrinter, QueryName("\x1BV\r"))) << "deleted by its own name";
        // Typing empties the status; Execute with nothing typed does nothing at all.
        sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"");
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "");
        EXPECT_EQ(Press(dialog, IDC_TOOLS_EJECT_PRINTER), Commands({"\x1BMC\r"}));
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "READY<ACK>");
        const size_t switches = spooler().setPrinterLog.size();
        EXPECT_EQ(Press(dialog, IDC_TOOLS_EXECUTE), Commands());
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "READY<ACK>");
        EXPECT_EQ(spooler().setPrinterLog.size(), switches) << "no exchange for an empty command";

        EXPECT_EQ(Press(dialog, IDC_TOOLS_EJECT_FEEDER), Commands({"\x1BME\r"}));
        SendDlgItemMessageW(dialog, IDC_TOOLS_TEST_CARD, CB_SETCURSEL, 2, 0);
        EXPECT_EQ(Press(dialog, IDC_TOOLS_PRINT), Commands({"\x1B" "A 2\r"}));
        EXPECT_TRUE(IsEnabled(dialog, IDC_TOOLS_PRINT)) << "enabled again after the reply";

        card().commandFaults["\x1BMC\r"] = sim::PortFault::kNoAck;
        Press(dialog, IDC_TOOLS_EJECT_PRINTER);
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "READY") << "a reply without ACK as it came";
        card().commandFaults["\x1BMC\r"] = sim::PortFault::kNoAnswer;
        Press(dialog, IDC_TOOLS_EJECT_PRINTER);
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "Printer has no response");
        card().commandFaults["\x1BMC\r"] = sim::PortFault::kEmptyReply;
        Press(dialog, IDC_TOOLS_EJECT_PRINTER);
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "Printer has no response");
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    // After every command query the end bytes go to the printer handle, outside any job.
    ASSERT_FALSE(spooler().looseWrites.empty());
    for (const sim::LooseWrite& write : spooler().looseWrites)
        EXPECT_EQ(std::string(write.bytes.begin(), write.bytes.end()), "\x1B.\r");
    EXPECT_TRUE(spooler().jobs.empty());
}

TEST_F(ToolsDialog, QuestionsThatStopACommand) {
    AnswerNoTo(L"Please remove the ribbon");
    RunTools([&](HWND dialog) {
        sim::ClickButton(dialog, IDC_TOOLS_EJECT_PRINTER);
        EXPECT_EQ(Press(dialog, IDC_TOOLS_CLEAN), Commands()) << "cleaning cancelled";
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "");

        EXPECT_EQ(Press(dialog, IDC_TOOLS_ENCODE), Commands()) << "nothing ticked";
        ASSERT_FALSE(sim::Ui().messageBoxes.empty());
        EXPECT_EQ(sim::Ui().messageBoxes.back().text, L"No data to encode.");
        EXPECT_EQ(sim::Ui().messageBoxes.back().flags, UINT(MB_OK | MB_ICONERROR));

        sim::ClickButton(dialog, IDC_TOOLS_TRACK2_BOX);
        EXPECT_TRUE(IsEnabled(dialog, IDC_TOOLS_TRACK2_DATA));
        sim::SetControlText(dialog, IDC_TOOLS_TRACK2_DATA, L"4455");
        EXPECT_EQ(Press(dialog, IDC_TOOLS_ENCODE), Commands({"\x1B&B 2 4455\r\x1B&E*\r"}));
        EXPECT_EQ(sim::Ui().messageBoxes.back().text, L"Please put appropriate card in feeder.");
        sim::ClickButton(dialog, IDC_TOOLS_TRACK2_BOX);
        EXPECT_FALSE(IsEnabled(dialog, IDC_TOOLS_TRACK2_DATA));
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_EQ(card().tracks[1], "4455") << "the printer encoded the card";
}

TEST_F(ToolsDialog, OffsetsAreCheckedAndSet) {
    RunTools([&](HWND dialog) {
        sim::SetControlText(dialog, IDC_TOOLS_OFFSET_X, L"2");
        EXPECT_TRUE(sim::Ui().messageBoxes.empty());
        sim::SetControlText(dialog, IDC_TOOLS_OFFSET_X, L"25");
        ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
        EXPECT_EQ(sim::Ui().messageBoxes[0].text, L"Offset could not be more than 24.");
        EXPECT_EQ(Text(dialog, IDC_TOOLS_OFFSET_X), "2");

        // Only X filled in: only X is sent, after the question.
        sim::SetControlText(dialog, IDC_TOOLS_OFFSET_Y, L"");
        EXPECT_EQ(Press(dialog, IDC_TOOLS_SET_OFFSET), Commands({"\x1B+O 2\r"}));
        EXPECT_EQ(sim::Ui().messageBoxes.back().flags, UINT(MB_YESNO | MB_ICONEXCLAMATION));

        // Refused: the printer's offsets come back into the edits.
        AnswerNoTo(L"Warning/Confirmation");
        sim::SetControlText(dialog, IDC_TOOLS_OFFSET_X, L"9");
        EXPECT_EQ(Press(dialog, IDC_TOOLS_SET_OFFSET),
                  Commands({"\x1BV\r", "\x1BSLAVE\r", "\x1B!V 1\r", "\x1B!V 2\r"}));
        EXPECT_EQ(Text(dialog, IDC_TOOLS_OFFSET_X), "2");
        EXPECT_EQ(Text(dialog, IDC_TOOLS_OFFSET_Y), "7");
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "");
        EXPECT_EQ(ListCount(dialog, IDC_TOOLS_TEST_CARD), 3) << "the lists are filled once";
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
}

TEST_F(ToolsDialog, OffsetsThatCannotBeReadCannotBeSet) {
    card().commandFaults["\x1B!V 2\r"] = sim::PortFault::kNoAck;
    RunTools([&](HWND dialog) {
        EXPECT_TRUE(IsEnabled(dialog, IDC_TOOLS_OFFSET_X));
        EXPECT_FALSE(IsEnabled(dialog, IDC_TOOLS_OFFSET_Y));
        EXPECT_FALSE(IsEnabled(dialog, IDC_TOOLS_SET_OFFSET));
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
}

TEST_F(ToolsDialog, TrackReadsStopAtAReplyWithoutAck) {
    for (const char* query : {"\x1B&L1\r", "\x1B&L2\r"}) spooler().StoreReply(kTestPrinter, Widened(query), "old");
    RunTools([&](HWND dialog) {
        sim::ClickButton(dialog, IDC_TOOLS_TRACK1_BOX);
        sim::ClickButton(dialog, IDC_TOOLS_TRACK2_BOX);
        EXPECT_EQ(Press(dialog, IDC_TOOLS_READ), Commands({"\x1B&L1\r", "\x1B&L2\r"}));
        EXPECT_EQ(Text(dialog, IDC_TOOLS_TRACK1_DATA), "ABC123");
        EXPECT_EQ(Text(dialog, IDC_TOOLS_TRACK2_DATA), "12345");
        EXPECT_FALSE(spooler().HasStoredReply(kTestPrinter, Widened("\x1B&L1\r")));

        card().commandFaults["\x1B&L1\r"] = sim::PortFault::kNoAck;
        EXPECT_EQ(Press(dialog, IDC_TOOLS_READ), Commands({"\x1B&L1\r"}));
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "ABC123");
        EXPECT_EQ(Text(dialog, IDC_TOOLS_TRACK1_DATA), "");
        EXPECT_EQ(Text(dialog, IDC_TOOLS_TRACK2_DATA), "");
        EXPECT_TRUE(IsEnabled(dialog, IDC_TOOLS_READ));

        AnswerNoTo(L"Please put appropriate card");
        EXPECT_EQ(Press(dialog, IDC_TOOLS_READ), Commands()) << "no card: nothing read";
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
}

// A read whose printer cannot be opened reads nothing: the track edits do not keep what
// they showed as if it had been read, and the status line says the printer gave no answer.
TEST_F(ToolsDialog, AReadWhosePrinterCannotBeOpenedShowsNothingRead) {
    RunTools([&](HWND dialog) {
        sim::ClickButton(dialog, IDC_TOOLS_TRACK1_BOX);
        sim::SetControlText(dialog, IDC_TOOLS_TRACK1_DATA, L"TYPED");
        printer().openable = false;
        EXPECT_EQ(Press(dialog, IDC_TOOLS_READ), Commands());
        printer().openable = true;
        EXPECT_EQ(Text(dialog, IDC_TOOLS_TRACK1_DATA), "");
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "Printer has no response");
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
}

TEST_F(ToolsDialog, WithoutAnEncoderTheEncodingGroupIsDisabled) {
    card().encoder = false;
    RunTools([&](HWND dialog) {
        for (int id : {IDC_TOOLS_TRACK1_BOX, IDC_TOOLS_TRACK2_BOX, IDC_TOOLS_TRACK3_BOX, IDC_TOOLS_TRACK1_DATA,
                       IDC_TOOLS_ENCODE, IDC_TOOLS_READ})
            EXPECT_FALSE(IsEnabled(dialog, id)) << id;
        EXPECT_EQ(ListCount(dialog, IDC_TOOLS_TEST_CARD), 2);
        EXPECT_EQ(ListCount(dialog, IDC_TOOLS_CLEANING), 1);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
}

TEST_F(ToolsDialog, APrinterThatCannotBeOpenedIsNeitherAskedNorSwitchedAndTheUserIsTold) {
    OpenSheet();
    printer().openable = false;
    sim::DialogScript driver([&](HWND dialog) {
        EXPECT_EQ(ListCount(dialog, IDC_TOOLS_TEST_CARD), 0);
        sim::ClickButton(dialog, IDC_TOOLS_CLEAN);
        sim::ClickButton(dialog, IDC_TOOLS_EJECT_PRINTER);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    service.PushButton(qf::kDeviceItemTools);
    // No question is asked; each press tells that its command did not reach the printer.
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 2u);
    for (const sim::MessageBoxRecord& box : sim::Ui().messageBoxes)
        EXPECT_EQ(box.text, L"The command did not reach the printer.");
    EXPECT_TRUE(card().received.empty());
    EXPECT_TRUE(spooler().setPrinterLog.empty());
}

TEST_F(ToolsDialog, OfflineCommandsAreJobsAndTheConfigurationStays) {
    Private(stored).manualRibbon = 3;
    RunTools([&](HWND dialog) {
        EXPECT_TRUE(IsEnabled(dialog, IDC_TOOLS_SET_OFFSET));
        EXPECT_FALSE(IsEnabled(dialog, IDC_TOOLS_READ));
        EXPECT_FALSE(IsEnabled(dialog, IDC_TOOLS_TRACK1_DATA));
        EXPECT_EQ(ListCount(dialog, IDC_TOOLS_TEST_CARD), 3);
        sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"CLEAN");
        sim::ClickButton(dialog, IDC_TOOLS_EXECUTE);
        EXPECT_EQ(Text(dialog, IDC_TOOLS_STATUS), "");
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    EXPECT_TRUE(card().received.size() == 1 && card().received[0] == "\x1B" "CLEAN\r") << "only the job reached it";
    ASSERT_EQ(spooler().jobs.size(), 1u);
    EXPECT_EQ(spooler().jobs[0].documentName, L"VESTRIATOOL");
    EXPECT_TRUE(spooler().jobs[0].ended);
    EXPECT_TRUE(spooler().looseWrites.empty());
    ASSERT_FALSE(spooler().setPrinterLog.empty());
    for (const sim::SetPrinterCall& call : spooler().setPrinterLog)
        EXPECT_TRUE(call.devmode.empty()) << "the switches store the attributes only";
    EXPECT_EQ(Private(printer().devmode).manualRibbon, 3) << "the offline configuration is kept";
}

// A path with a character the ANSI code page has no place for would reach the port side
// as another path (best fit makes U+2215 a "/", a full-width letter its ASCII letter),
// here the path of a real printer file: chosen or typed, it is refused with a message
// and nothing is sent.
TEST_F(ToolsDialog, SendFileRefusesAPathThePortSideCannotTakeAsItIs) {
    const std::wstring prn = MakeFile(L"card.prn", "\x1B" "PRINT\r");
    const size_t slash = prn.rfind(L'\\');
    const std::wstring division = prn.substr(0, slash) + L"\u2215" + prn.substr(slash + 1);
    const std::wstring fullwidth = prn.substr(0, slash + 1) + L"\uFF43" + prn.substr(slash + 2);
    sim::Ui().fileChoices = {division, fullwidth, prn};
    OpenSheet();
    std::vector<bool> sendable;
    std::string status;
    sim::DialogScript driver([&](HWND tools) {
        sim::ClickButton(tools, IDC_TOOLS_SEND_FILE);
        sim::ClickButton(tools, IDC_CLOSE_BUTTON);
    });
    driver.Then([&](HWND dialog) {
        for (int choice = 0; choice < 3; ++choice) {
            sim::ClickButton(dialog, IDC_SEND_SELECT);
            sendable.push_back(IsEnabled(dialog, IDC_SEND_BUTTON));
        }
        SetDlgItemTextW(dialog, IDC_SEND_PATH, fullwidth.c_str());
        sim::ClickButton(dialog, IDC_SEND_BUTTON);
        status = Text(dialog, IDC_SEND_STATUS);
        sim::ClickButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(service.PushButton(qf::kDeviceItemTools), IDC_CLOSE_BUTTON);
    EXPECT_EQ(driver.Ran(), 2);
    EXPECT_EQ(sendable, std::vector<bool>({false, false, true}));
    EXPECT_EQ(status, "Error sending file.");
    const std::wstring refusal =
        L"The file name cannot be used: it has characters this printer's port cannot take. Rename the file or "
        L"choose another.";
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 3u);
    for (const sim::MessageBoxRecord& box : sim::Ui().messageBoxes) {
        EXPECT_EQ(box.text, refusal);
        EXPECT_EQ(box.flags & MB_ICONMASK, UINT(MB_ICONERROR));
    }
    EXPECT_TRUE(card().instructions.empty());
}

TEST_F(ToolsDialog, SendFileHandsEitherInstructionToThePortSide) {
    const std::wstring prn = MakeFile(L"card.prn", "\x1B" "PRINT\r");
    sim::Ui().fileChoices = {L"", prn};
    OpenSheet();
    std::vector<std::string> statuses;
    sim::DialogScript driver([&](HWND tools) {
        sim::ClickButton(tools, IDC_TOOLS_SEND_FILE);
        sim::ClickButton(tools, IDC_CLOSE_BUTTON);
    });
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(sim::WindowTitle(dialog), L"Send File");
        EXPECT_FALSE(IsEnabled(dialog, IDC_SEND_BUTTON));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SEND_PRN), UINT(BST_CHECKED));
        sim::ClickButton(dialog, IDC_SEND_SELECT);  // cancelled
        EXPECT_FALSE(IsEnabled(dialog, IDC_SEND_BUTTON));
        EXPECT_EQ(Text(dialog, IDC_SEND_PATH), "");
        sim::ClickButton(dialog, IDC_SEND_SELECT);
        EXPECT_EQ(Text(dialog, IDC_SEND_PATH), sim::Utf8(prn));
        EXPECT_EQ(Text(dialog, IDC_SEND_STATUS), "Status: ");
        sim::ClickButton(dialog, IDC_SEND_BUTTON);
        statuses.push_back(Text(dialog, IDC_SEND_STATUS));
        sim::ClickButton(dialog, IDC_SEND_TEXT);
        sim::ClickButton(dialog, IDC_SEND_BUTTON);
        statuses.push_back(Text(dialog, IDC_SEND_STATUS));
        card().failingInstructions.insert(sim::PortVerb::kSendCommands);
        sim::ClickButton(dialog, IDC_SEND_BUTTON);
        statuses.push_back(Text(dialog, IDC_SEND_STATUS));
        // A typed path longer than its buffer is refused whole, never cut to the name of
        // another file.
        card().failingInstructions.clear();
        const std::wstring folder = prn.substr(0, prn.rfind(L'\\') + 1);
        const std::wstring longest = MakeFile(std::wstring(259 - folder.size() - 4, L'f') + L".prn", "\x1B" "X\r");
        EXPECT_EQ(longest.size(), 259u);
        SetDlgItemTextW(dialog, IDC_SEND_PATH, (longest + L"n").c_str());
        sim::ClickButton(dialog, IDC_SEND_BUTTON);
        statuses.push_back(Text(dialog, IDC_SEND_STATUS));
        EXPECT_TRUE(IsEnabled(dialog, IDC_SEND_BUTTON));
        sim::ClickButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(service.PushButton(qf::kDeviceItemTools), IDC_CLOSE_BUTTON);
    EXPECT_EQ(driver.Ran(), 2);
    EXPECT_EQ(statuses, Commands({"File sent successfully.", "File sent successfully.", "Error sending file.",
                                  "Error sending file."}));
    ASSERT_EQ(card().instructions.size(), 2u);
    EXPECT_EQ(card().instructions[0].verb, "PrintFile");
    EXPECT_EQ(card().instructions[0].path, Ansi(prn));
    EXPECT_EQ(card().instructions[0].contents, std::vector<uint8_t>({0x1B, 'P', 'R', 'I', 'N', 'T', '\r'}));
    EXPECT_EQ(card().instructions[1].verb, "sendcmds");
    ASSERT_EQ(sim::Ui().openFileDialogs.size(), 2u);
    const sim::OpenFileRecord& asked = sim::Ui().openFileDialogs[0];
    EXPECT_EQ(asked.filter, L"Printer Files(*.prn);Text Files(*.txt)|*.prn;*.txt|");
    EXPECT_EQ(asked.defaultExtension, L"bin");
    EXPECT_EQ(asked.flags, DWORD(OFN_CREATEPROMPT | OFN_NOLONGNAMES));
    EXPECT_EQ(asked.maxFile, 260u);
}

}  // namespace
