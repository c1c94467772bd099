// The driver for an administrator and for an operator who is an ordinary user: the
// spooler gives the ordinary user the right to print and refuses administering. Every
// window asks the printer its questions for both; each action either reaches the
// printer, or is shown read-only, or tells the user: never silent, and never half done
// (nothing goes to the printer that the driver could not then keep).
#include "tests/wine/sheet_dialogs.h"

#include <functional>

#include "driver/channel/commands.h"
#include "driver/channel/reply.h"
#include "driver/resources/resource.h"
#include "driver/state/document_items.h"

namespace {

enum class User { kAdministrator, kOrdinary };
enum class Outcome { kReachesPrinter, kShownReadOnly, kToldUser, kSilent };

std::ostream& operator<<(std::ostream& out, Outcome outcome) {
    const char* const names[] = {"reaches the printer", "shown read-only", "tells the user", "silent"};
    return out << names[static_cast<int>(outcome)];
}

std::wstring QueryName(std::string_view command) {
    const std::u16string name = qf::QueryValueName(command);
    return std::wstring(reinterpret_cast<const wchar_t*>(name.c_str()));
}

bool Shows(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

class UserKinds : public DeviceSheetDialogs, public ::testing::WithParamInterface<User> {
protected:
    void SetUp() override {
        DeviceSheetDialogs::SetUp();
        card().offsetX = 3;
        card().offsetY = 7;
        if (!Ordinary()) return;
        // The spooler opens the sheets' printer for this user with the right to print, and
        // says in the device sheet's header that the user may not change its settings.
        sim::SimClosePrinter(handle);
        spooler().standardUser = true;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
        header.hPrinter = handle;
        header.Flags = DPS_NOPERMISSION;
    }
    bool Ordinary() const { return GetParam() == User::kOrdinary; }

    // What has reached the printer, the user and the printer's stored settings so far.
    struct Traffic {
        size_t questions, jobs, instructions, messages, stores;
    };
    Traffic Now() {
        return {card().received.size(), spooler().jobs.size(), card().instructions.size(),
                sim::Ui().messageBoxes.size(), spooler().setPrinterLog.size()};
    }
    // The action begins: what follows is its traffic (a dialog's own questions as it
    // opens are not).
    void Act() { before = Now(); }

    // Presses the sheet's button `item` with the dialog scripts `scripts` (a dialog that
    // opens another one runs the next script there); the action starts when the button is
    // pressed unless a script calls Act. `readOnly` is set by a script that finds its
    // dialog showing its settings only.
    Outcome Press(int item, std::vector<sim::DialogScript::Script> scripts) {
        readOnly = false;
        Act();
        sim::DialogScript driver(scripts[0]);
        for (size_t i = 1; i < scripts.size(); ++i) driver.Then(scripts[i]);
        service.PushButton(item);
        EXPECT_EQ(driver.Ran(), static_cast<int>(scripts.size()));
        const Traffic after = Now();
        storedDefaults = after.stores > before.stores;
        if (readOnly) {
            EXPECT_EQ(after.questions + after.jobs + after.instructions,
                      before.questions + before.jobs + before.instructions)
                << "a window shown read-only sends nothing";
            EXPECT_FALSE(storedDefaults) << "a window shown read-only stores nothing";
            return Outcome::kShownReadOnly;
        }
        if (after.questions > before.questions || after.jobs > before.jobs || after.instructions > before.instructions)
            return Outcome::kReachesPrinter;
        return after.messages > before.messages ? Outcome::kToldUser : Outcome::kSilent;
    }

    Traffic before{};
    bool readOnly = false;
    bool storedDefaults = false;  // the action stored the printer's defaults
};

// A settings dialog shows its settings only when its administrator line shows and its
// Apply is disabled; the user then closes it.
bool ReadOnlyDialog(HWND dialog, int applyId) {
    return Shows(dialog, IDC_ADMIN_NOTICE) && !IsEnabled(dialog, applyId);
}

TEST_P(UserKinds, EachWindowReachesThePrinterOrIsShownReadOnly) {
    const std::wstring firmware = MakeFile(L"q862.bin", std::string(14, 'x') + "\x3C\xFF" + std::string(100, 'y'));
    const std::wstring file = MakeFile(L"card.prn", "\x1B" "PRINT\r");
    struct Window {
        const char* name;
        int item;
        std::vector<sim::DialogScript::Script> scripts;
        Outcome administrator, ordinary;
        bool keepsSettings;  // what reaches the printer is also stored in the printer's defaults
    };
    const auto closeWith = [](int id) { return [id](HWND dialog) { sim::ClickButton(dialog, id); }; };
    const Window windows[] = {
        {"Encoder Settings",
         qf::kDeviceItemEncoder,
         {[&](HWND dialog) {
             if ((readOnly = ReadOnlyDialog(dialog, IDC_ENCODER_APPLY))) {
                 EXPECT_FALSE(IsEnabled(dialog, IDC_COERCIVITY_HIGH + 1));
                 EXPECT_TRUE(IsEnabled(dialog, IDC_ENCODER_CANCEL));
                 return sim::ClickButton(dialog, IDC_ENCODER_CANCEL), void();
             }
             sim::ClickButton(dialog, IDC_COERCIVITY_HIGH + 1);
             sim::ClickButton(dialog, IDC_ENCODER_APPLY);
         }},
         Outcome::kReachesPrinter, Outcome::kShownReadOnly, true},
        {"Advanced settings",
         qf::kDeviceItemEncoder,
         {[&](HWND dialog) {
              EXPECT_TRUE(IsEnabled(dialog, IDC_ENCODER_ADVANCED)) << "the track settings can be looked at";
              sim::ClickButton(dialog, IDC_ENCODER_ADVANCED);
              sim::ClickButton(dialog, IDC_ENCODER_CANCEL);
          },
          [&](HWND dialog) {
              if ((readOnly = ReadOnlyDialog(dialog, IDC_TRACKS_APPLY))) {
                  // Another track is chosen to be looked at; its settings stay shown only.
                  sim::ClickButton(dialog, IDC_TRACK_2);
                  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TRACK_2), UINT(BST_CHECKED));
                  EXPECT_FALSE(IsEnabled(dialog, IDC_TRACK_MODE));
                  return sim::ClickButton(dialog, IDCANCEL), void();
              }
              sim::ClickButton(dialog, IDC_TRACK_2);
              sim::ClickButton(dialog, IDC_TRACKS_APPLY);
          }},
         Outcome::kReachesPrinter, Outcome::kShownReadOnly, true},
        {"Single Feed",
         qf::kDeviceItemSingleFeed,
         {[&](HWND dialog) {
             if ((readOnly = ReadOnlyDialog(dialog, IDOK))) {
                 // Enter closes the dialog the user may not change.
                 SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), 0), 0);
                 return;
             }
             sim::ClickButton(dialog, IDC_SINGLE_FEED_ON);
             sim::ClickButton(dialog, IDOK);
         }},
         Outcome::kReachesPrinter, Outcome::kShownReadOnly, false},
        {"Tools: a typed command",
         qf::kDeviceItemTools,
         {[&](HWND dialog) {
             Act();
             sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"MC");
             sim::ClickButton(dialog, IDC_TOOLS_EXECUTE);
             sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
         }},
         Outcome::kReachesPrinter, Outcome::kReachesPrinter, false},
        {"Tools: Set Offset",
         qf::kDeviceItemTools,
         {[&](HWND dialog) {
             Act();
             const std::string status = Text(dialog, IDC_TOOLS_STATUS);
             if ((readOnly = !IsEnabled(dialog, IDC_TOOLS_SET_OFFSET) &&
                             status.find("Only an administrator can change the printer's offsets.") == 0)) {
                 EXPECT_EQ(Text(dialog, IDC_TOOLS_OFFSET_X), "3") << "the offsets are shown";
                 return sim::ClickButton(dialog, IDC_CLOSE_BUTTON), void();
             }
             sim::SetControlText(dialog, IDC_TOOLS_OFFSET_X, L"2");
             sim::ClickButton(dialog, IDC_TOOLS_SET_OFFSET);
             sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
         }},
         Outcome::kReachesPrinter, Outcome::kShownReadOnly, false},
        {"Send File", qf::kDeviceItemTools,
         {[&](HWND tools) {
              sim::ClickButton(tools, IDC_TOOLS_SEND_FILE);
              sim::ClickButton(tools, IDC_CLOSE_BUTTON);
          },
          [&](HWND dialog) {
              Act();
              sim::Ui().fileChoices = {file};
              sim::ClickButton(dialog, IDC_SEND_SELECT);
              sim::ClickButton(dialog, IDC_SEND_BUTTON);
              EXPECT_EQ(Text(dialog, IDC_SEND_STATUS), "File sent successfully.");
              sim::ClickButton(dialog, IDCANCEL);
          }},
         Outcome::kReachesPrinter, Outcome::kReachesPrinter, false},
        {"Device Information", qf::kDeviceItemDeviceInfo, {closeWith(IDC_CLOSE_BUTTON)},
         Outcome::kReachesPrinter, Outcome::kReachesPrinter, false},
        {"F/W Download", qf::kDeviceItemFirmware,
         {[&](HWND dialog) {
             sim::Ui().fileChoices = {firmware};
             sim::ClickButton(dialog, IDC_FW_SELECT);
             Act();
             sim::ClickButton(dialog, IDC_FW_START);
             EXPECT_EQ(Text(dialog, IDC_FW_STATUS), "Firmware DownLoaded Successfully...");
             sim::ClickButton(dialog, IDCANCEL);
         }},
         Outcome::kReachesPrinter, Outcome::kReachesPrinter, false},
    };
    for (const Window& window : windows) {
        SCOPED_TRACE(window.name);
        OpenSheet();
        const Outcome outcome = Press(window.item, window.scripts);
        EXPECT_EQ(outcome, Ordinary() ? window.ordinary : window.administrator);
        if (window.keepsSettings && outcome == Outcome::kReachesPrinter) {
            EXPECT_TRUE(storedDefaults) << "settings the printer got are kept as its defaults";
        }
        service.Cancel();
    }
    EXPECT_EQ(spooler().refusedStores, 0) << "no store is tried that the platform refuses";
}

// The device sheet asks its questions for both users; only the administrator's page may
// change the printer's settings. Tools says as it opens what an ordinary user cannot do
// there: set the offsets, and (the printer cannot be switched) print directly.
TEST_P(UserKinds, TheDeviceSheetAndToolsOpenForEither) {
    printer().devmode = stored;
    ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&header)), 1);
    EXPECT_EQ(card().received, std::vector<std::string>({"\x1B!V 20\r", "\x1BV\r"}));
    EXPECT_EQ((service.Page()->Flags & CPSUIF_UPDATE_PERMISSION) != 0, !Ordinary());
    std::string status;
    sim::DialogScript tools([&](HWND dialog) {
        status = Text(dialog, IDC_TOOLS_STATUS);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    service.PushButton(qf::kDeviceItemTools);
    EXPECT_EQ(tools.Ran(), 1);
    EXPECT_EQ(status, Ordinary() ? "Only an administrator can change the printer's offsets.\r\n"
                                   "The printer is not in direct printing: commands wait for the jobs already in its "
                                   "queue."
                                 : "");
    EXPECT_EQ(printer().attributes & PRINTER_ATTRIBUTE_DIRECT, 0u) << "nobody leaves the printer switched";
}

// Printing Preferences ask the printer its encoder, ribbon and model for either user,
// show the ribbon it reports and hand out the same record; the ribbon correction an
// ordinary user may not store stays in the document's record for an administrator's visit.
TEST_P(UserKinds, PrintingPreferencesAskThePrinter) {
    Record workingStored = stored;
    Private(workingStored).ribbonType = 5;  // YMC; the printer reports YMCKO
    printer().devmode = workingStored;
    Record out(qf::kRecordSize, 0xCD);
    DOCUMENTPROPERTYHEADER document = PreferencesHeader(handle, kTestPrinter, out);
    sim::PropertySheetService sheet;
    ASSERT_EQ(sheet.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&document)),
              1);
    EXPECT_EQ(card().received, std::vector<std::string>({"\x1B!V 20\r", "\x1B!RIBBON\r", "\x1B" "V\r"}));
    EXPECT_EQ(sheet.CurrentChoice(qf::kItemRibbon), L"YMCKO");
    sheet.Commit();
    EXPECT_EQ(Private(out).ribbonType, 0) << "the document's record takes the reported ribbon";
    EXPECT_EQ(spooler().refusedStores, 0) << "no store is tried that the platform refuses";
    EXPECT_EQ(Private(printer().devmode).ribbonType, Ordinary() ? 5 : 0)
        << "the printer's defaults are corrected by an administrator";
}

// A kept reply the user may not delete is left in the registry, and is never taken for an
// answer: every question goes to the port side, which asks the printer afresh.
TEST_P(UserKinds, AKeptReplyIsNeverTakenForAnAnswer) {
    card().model = "Vestria Q862k 1.07";
    OpenSheet();
    service.Cancel();
    EXPECT_NE(spooler().HasStoredReply(kTestPrinter, QueryName(qf::kModelQuery)), !Ordinary());
    EXPECT_EQ(spooler().refusedRegistryWrites > 0, Ordinary());
    card().commandFaults[std::string(qf::kModelQuery)] = sim::PortFault::kNoAnswer;
    OpenSheet();
    EXPECT_EQ(service.CurrentChoice(qf::kDeviceItemModel), L"Varlo Vestria Card Printer");
}

INSTANTIATE_TEST_SUITE_P(OrdinaryUser, UserKinds, ::testing::Values(User::kAdministrator, User::kOrdinary),
                         [](const ::testing::TestParamInfo<User>& kind) {
                             return kind.param == User::kOrdinary ? "OrdinaryUser" : "Administrator";
                         });

}  // namespace
