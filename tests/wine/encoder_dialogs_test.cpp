// The encoder settings, advanced track settings and single feed dialogs, opened through
// the device sheet's push buttons and worked through their real controls against the
// simulated printer.
#include "tests/wine/wine_test.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "driver/resources/resource.h"
#include "driver/state/device_items.h"
#include "sim/dialog_script.h"
#include "sim/property_sheet.h"
#include "tests/wine/records.h"

namespace {

enum Item { kEncoder = 1, kSingleFeed = 4 };

enum Control {
    kMacro = 1600, kStartData = 1601, kEndData = 1602, kAdvanced = 1603, kRestore = 1604, kEncoderCancel = 1605,
    kHigh = 1620, kLow = 1621, kNoChange = 1622, kReversed = 1623, kNormal = 1624, kIsoJis = 1625, kJis2 = 1626,
    kAamva = 1627, kEncoderApply = 1655, kHelp = 1006,
    kTrack1 = 1628, kTrack2 = 1629, kTrack3 = 1630, kMode = 1631, kDensity = 1640, kStartChar = 1645,
    kStopChar = 1646, kStartPosition = 1647, kCharParityNone = 1648, kLrcParityNone = 1651, kTracksApply = 1654,
    kFeedOff = 1004, kFeedOn = 1005,
};

using Blocks = std::vector<std::string>;

const std::string W0 = "\x1B&W 0\r", W1 = "\x1B&W 1\r", C1 = "\x1B&C 1\r", C0 = "\x1B&C 0\r";
const std::string T1A = "\x1B&CDEW 1 A\r", T1Q = "\x1B&CDER 1 Q\r", T2B = "\x1B&CDEW 2 B\r", T2R = "\x1B&CDER 2 R\r",
                  T3C = "\x1B&CDEW 3 C\r", T3S = "\x1B&CDER 3 S\r", T3c1 = "\x1B&CDEW 3 c1\r",
                  T3s1 = "\x1B&CDER 3 s1\r";
const std::string D1_210 = "\x1B&D 1 210\r", D1_75 = "\x1B&D 1 75\r", D2_75 = "\x1B&D 2 75\r",
                  D3_210 = "\x1B&D 3 210\r";

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// The checked radio of a group, as its offset from the group's first id; -1 when none.
int CheckedOf(HWND dialog, int first, int count) {
    for (int i = 0; i < count; ++i)
        if (Checked(dialog, first + i)) return i;
    return -1;
}

std::wstring Selected(HWND dialog, int id) {
    const LRESULT index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return L"(none)";
    wchar_t text[64] = {};
    SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

// Picks list entry `index` as the user does: the selection, then CBN_SELCHANGE.
void Pick(HWND dialog, int id, int index) {
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The texts of every child window, in order.
std::vector<std::wstring> ChildTexts(HWND dialog) {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts.push_back(sim::WindowTitle(child));
    return texts;
}

bool HasText(const std::vector<std::wstring>& texts, const std::wstring& text) {
    for (const std::wstring& t : texts)
        if (t == text) return true;
    return false;
}

std::string Visible(const std::vector<std::vector<uint8_t>>& blocks) {
    std::string out;
    for (const auto& block : blocks) out += "[" + sim::Visible(std::string(block.begin(), block.end())) + "]";
    return out;
}

std::string Visible(const Blocks& blocks) {
    std::string out;
    for (const std::string& block : blocks) out += "[" + sim::Visible(block) + "]";
    return out;
}

qf::EncoderSettings EncoderOf(const Record& record) {
    qf::EncoderSettings settings{};
    if (record.size() < size_t(qf::kRecordSize)) return settings;  // a store that carried no record
    const uint16_t publicSize = reinterpret_cast<const DEVMODEW*>(record.data())->dmSize;
    std::memcpy(&settings, record.data() + publicSize + 36, sizeof settings);
    return settings;
}

// The bytes in which two encoder records differ, as "offset: actual != expected"; empty
// when they are the same.
std::string Differences(const qf::EncoderSettings& actual, const qf::EncoderSettings& expected) {
    const auto* a = reinterpret_cast<const uint8_t*>(&actual);
    const auto* e = reinterpret_cast<const uint8_t*>(&expected);
    std::string out;
    for (size_t i = 0; i < sizeof actual; ++i)
        if (a[i] != e[i]) out += std::to_string(i) + ": " + std::to_string(a[i]) + " != " + std::to_string(e[i]) + "; ";
    return out;
}

// Whether two records differ only in the 52 bytes of the encoder record.
bool SameOutsideEncoder(const Record& a, const Record& b) {
    if (a.size() != b.size()) return false;
    const size_t start = reinterpret_cast<const DEVMODEW*>(a.data())->dmSize + 36u;
    for (size_t i = 0; i < a.size(); ++i)
        if ((i < start || i >= start + 52) && a[i] != b[i]) return false;
    return true;
}

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

class EncoderDialogs : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        stored = DriverRecord();
        qf::EncoderSettings& e = Private(stored).encoderSettings;
        e.encoderPresent = 0x0101;  // what the committed copy receives; the printer's answer is 1
        e.macroEnabled = 0;
        std::memcpy(e.startOfData, "<<\0\0\0\0\0\0\0", 10);
        std::memcpy(e.endOfData, ">>\0\0\0\0\0\0\0", 10);
        e.coercivity = 1;
        e.encoderPosition = 0;
        e.encoderType = 0;
        e.currentTrack = 1;
        e.tracks[0] = qf::TrackSettings{4, 0, 1, 2, 3, 1, 2};
        e.tracks[1] = qf::TrackSettings{1, 0, 65, 90, 7, 0, 0};
        e.tracks[2] = qf::TrackSettings{2, 1, 66, 91, 8, 2, 1};
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
        header = DEVICEPROPERTYHEADER{sizeof header, 0, handle, const_cast<LPWSTR>(kTestPrinter)};
    }
    void TearDown() override {
        if (service.IsOpen()) service.Cancel();
        sim::SimClosePrinter(handle);
        DriverTest::TearDown();
    }
    void Open() {
        printer().devmode = stored;
        ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&header)),
                  1);
        printer().card.received.clear();
        spooler().setPrinterLog.clear();
        spooler().jobs.clear();
        ASSERT_TRUE(service.CanChange(kEncoder));
    }
    void Reopen() {
        service.Cancel();
        Open();
    }
    // Runs the encoder dialog with `script`; returns its result.
    INT_PTR Encoder(sim::DialogScript::Script script) {
        sim::DialogScript driver(std::move(script));
        const INT_PTR result = service.PushButton(kEncoder);
        EXPECT_EQ(driver.Ran(), 1);
        EXPECT_TRUE(driver.Unexpected().empty());
        return result;
    }
    // Runs the advanced dialog, opened from the encoder dialog of `sheet` (this fixture's
    // sheet when none is named), then cancels the latter.
    INT_PTR Advanced(sim::DialogScript::Script script, sim::PropertySheetService* sheet = nullptr) {
        INT_PTR result = 0;
        sim::DialogScript driver([&](HWND dialog) {
            sim::ClickButton(dialog, kAdvanced);
            sim::ClickButton(dialog, kEncoderCancel);
        });
        driver.Then([&](HWND dialog) {
            script(dialog);
            if (IsWindowVisible(dialog)) result = -2;
        });
        (sheet ? *sheet : service).PushButton(kEncoder);
        EXPECT_EQ(driver.Ran(), 2);
        EXPECT_TRUE(driver.Unexpected().empty());
        return result;
    }
    // Opens Tools from `sheet` and closes it: a direct-mode exchange of its own.
    void OpenAndCloseTools(sim::PropertySheetService& sheet) {
        sim::DialogScript close([](HWND dialog) { sim::ClickButton(dialog, IDC_CLOSE_BUTTON); });
        sheet.PushButton(qf::kDeviceItemTools);
        EXPECT_EQ(close.Ran(), 1);
    }
    // A firmware file the download accepts, in the driver directory.
    std::wstring FirmwareFile() {
        const std::wstring firmware = spooler().DriverFile(L"q862.bin");
        std::vector<uint8_t> bytes(300, 0x11);
        bytes[14] = 0x3C;
        bytes[15] = 0xFF;
        WriteBytes(firmware, bytes);
        return firmware;
    }
    // Downloads `firmware` from `sheet`'s F/W Download dialog.
    void DownloadFirmware(sim::PropertySheetService& sheet, const std::wstring& firmware) {
        sim::Ui().fileChoices = {firmware};
        sim::DialogScript download([](HWND dialog) {
            sim::ClickButton(dialog, IDC_FW_SELECT);
            sim::ClickButton(dialog, IDC_FW_START);
            sim::ClickButton(dialog, IDCANCEL);
        });
        sheet.PushButton(qf::kDeviceItemFirmware);
        EXPECT_EQ(download.Ran(), 1);
    }
    const sim::RawJob& OnlyJob() {
        static sim::RawJob none;
        EXPECT_EQ(spooler().jobs.size(), 1u);
        return spooler().jobs.empty() ? none : spooler().jobs[0];
    }
    Record Saved() {
        EXPECT_EQ(spooler().setPrinterLog.size(), 1u);
        return spooler().setPrinterLog.empty() ? Record() : spooler().setPrinterLog[0].devmode;
    }

    Record stored;
    HANDLE handle = nullptr;
    DEVICEPROPERTYHEADER header = {};
    sim::PropertySheetService service;
};

TEST_F(EncoderDialogs, TheButtonsFollowTheirRules) {
    struct Case {
        bool encoder;
        int16_t manualRibbon;
        bool encoderButton;
    };
    const Case cases[] = {{true, 0, true}, {false, 0, false}, {false, 2, true}};
    for (const Case& c : cases) {
        printer().card.encoder = c.encoder;
        Private(stored).manualRibbon = c.manualRibbon;
        printer().devmode = stored;
        ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&header)),
                  1);
        EXPECT_EQ(service.CanChange(kEncoder), c.encoderButton) << c.encoder << " " << c.manualRibbon;
        EXPECT_TRUE(service.CanChange(kSingleFeed)) << c.encoder << " " << c.manualRibbon;
        sim::DialogScript cancel([](HWND dialog) { sim::ClickButton(dialog, kEncoderCancel); });
        EXPECT_EQ(service.PushButton(kEncoder) == sim::PropertySheetService::kRefused, !c.encoderButton);
        EXPECT_EQ(cancel.Ran(), c.encoderButton ? 1 : 0);
        service.Cancel();
    }
}

TEST_F(EncoderDialogs, TheEncoderDialogShowsTheCommittedSettings) {
    Open();
    std::vector<std::wstring> texts;
    Encoder([&](HWND dialog) {
        EXPECT_EQ(sim::WindowTitle(dialog), L"Encoder settings");
        texts = ChildTexts(dialog);
        EXPECT_FALSE(Checked(dialog, kMacro));
        EXPECT_EQ(sim::ControlText(dialog, kStartData), L"<<");
        EXPECT_EQ(sim::ControlText(dialog, kEndData), L">>");
        EXPECT_EQ(CheckedOf(dialog, kHigh, 3), 1);
        EXPECT_EQ(CheckedOf(dialog, kReversed, 2), 0);
        EXPECT_EQ(CheckedOf(dialog, kIsoJis, 3), 0);
        EXPECT_TRUE(Enabled(dialog, kReversed));
        EXPECT_TRUE(Enabled(dialog, kNormal));
        EXPECT_TRUE(Enabled(dialog, kAdvanced));
        EXPECT_EQ(SendDlgItemMessageW(dialog, kStartData, EM_GETLIMITTEXT, 0, 0), 9);
        EXPECT_EQ(SendDlgItemMessageW(dialog, kEndData, EM_GETLIMITTEXT, 0, 0), 9);
        sim::ClickButton(dialog, kHelp);
        sim::ClickButton(dialog, kEncoderCancel);
    });
    for (const wchar_t* text :
         {L"Enable macro processing", L"Start of data:", L"End of data:", L"Advanced settings", L"HiCo/LoCo",
          L"High Coercivity", L"Low Coercivity", L"No Change", L"Encoder position", L"Reversed", L"Normal",
          L"Encoder type", L"ISO/JIS", L"JIS2", L"AAMVA", L"Sample",
          L"~C0&&B 1 2222\n~12222\n<start_of_data>12222<end_of_data>",
          L"The \"start of data\" characters must be immediately followed by a one-digit number representing the "
          L"track where data will be written.",
          L"Use the normal Windows default fonts.", L"Restore Defaults", L"Apply", L"Cancel", L"Help"})
        EXPECT_TRUE(HasText(texts, text)) << sim::Utf8(text);
    EXPECT_TRUE(sim::Ui().helpCalls.empty()) << "no help file is installed beside the module";
    ASSERT_EQ(sim::Ui().shellCalls.size(), 1u);
    EXPECT_EQ(sim::Ui().shellCalls[0].file, sim::ProgramDirectory() + L"qf862k-encoder-settings.html");
    EXPECT_TRUE(spooler().jobs.empty());
}

TEST_F(EncoderDialogs, ApplySendsTheSetupAndStoresTheRecord) {
    Open();
    const INT_PTR result = Encoder([](HWND dialog) {
        sim::ClickButton(dialog, kMacro);
        sim::SetControlText(dialog, kStartData, L"[[");
        sim::SetControlText(dialog, kEndData, L"]]");
        sim::ClickButton(dialog, kHigh);
        sim::ClickButton(dialog, kNormal);
        sim::ClickButton(dialog, kAamva);
        EXPECT_FALSE(Enabled(dialog, kAdvanced)) << "AAMVA has no advanced settings";
        sim::ClickButton(dialog, kEncoderApply);
    });
    EXPECT_EQ(result, kEncoderApply);
    const sim::RawJob& job = OnlyJob();
    EXPECT_EQ(job.documentName, L"VESTRIAENCODER");
    EXPECT_EQ(job.datatype, L"RAW");
    EXPECT_TRUE(job.ended);
    // AAMVA: the formats ISO1, ISO2, ISO1 whatever the stored modes (4 bit, ISO2, ISO3).
    EXPECT_EQ(Visible(job.blocks), Visible(Blocks{W0, C1, T1A, T1Q, T2B, T2R, T3c1, T3s1}));

    qf::EncoderSettings expected = Private(stored).encoderSettings;
    expected.macroEnabled = 1;
    std::memcpy(expected.startOfData, "[[", 3);
    std::memcpy(expected.endOfData, "]]", 3);
    expected.coercivity = 0;
    expected.encoderPosition = 1;
    expected.encoderType = 2;
    const Record saved = Saved();
    EXPECT_EQ(spooler().setPrinterLog[0].level, 8u) << "the default record alone";
    EXPECT_EQ(Differences(EncoderOf(saved), expected), "") << "presence, track and modes as committed";
    EXPECT_TRUE(SameOutsideEncoder(saved, stored));
    EXPECT_EQ(printer().devmode, saved);
    bool traced = false;
    for (const std::string& trace : sim::Ui().debugTraces) traced |= trace == "$$$$$$$$$$$$$ SetPrinter called 3\n";
    EXPECT_TRUE(traced);

    // The part is stored already: the device sheet's Apply does not store it again.
    spooler().setPrinterLog.clear();
    service.Apply();
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    EXPECT_EQ(Differences(EncoderOf(printer().devmode), expected), "");
}

TEST_F(EncoderDialogs, TypeAndCoercivityDecideTheCommands) {
    struct Case {
        const char* name;
        int type, coercivity, position;
        Blocks job;
        bool positionsEnabled;
    };
    const Case cases[] = {
        {"JIS2: no position, track 1's formats only", kJis2, kLow, -1, {C0, "\x1B&CDEW 1 E_4\r", "\x1B&CDER 1 U_4\r"},
         false},
        {"No Change: no coercivity", kIsoJis, kNoChange, kReversed,
         {W1, "\x1B&CDEW 1 E_4\r", "\x1B&CDER 1 U_4\r", T2B, T2R, T3C, T3S}, true},
    };
    for (const Case& c : cases) {
        Open();
        bool positions = false;
        Encoder([&](HWND dialog) {
            sim::ClickButton(dialog, c.type);
            sim::ClickButton(dialog, c.coercivity);
            if (c.position > 0) sim::ClickButton(dialog, c.position);
            positions = Enabled(dialog, kReversed) || Enabled(dialog, kNormal);
            EXPECT_TRUE(Enabled(dialog, kAdvanced)) << c.name;
            sim::ClickButton(dialog, kEncoderApply);
        });
        EXPECT_EQ(positions, c.positionsEnabled) << c.name;
        EXPECT_EQ(Visible(OnlyJob().blocks), Visible(c.job)) << c.name;
        service.Cancel();
    }
}

TEST_F(EncoderDialogs, APrinterWithoutReversedPositionShowsAndSendsNormal) {
    printer().card.model = "Vestria Q796 2.01";
    Open();
    Encoder([](HWND dialog) {
        EXPECT_FALSE(Enabled(dialog, kReversed));
        EXPECT_TRUE(Enabled(dialog, kNormal));
        EXPECT_EQ(CheckedOf(dialog, kReversed, 2), 1) << "stored reversed shows Normal";
        sim::ClickButton(dialog, kJis2);
        sim::ClickButton(dialog, kIsoJis);
        EXPECT_FALSE(Enabled(dialog, kReversed)) << "choosing ISO/JIS again keeps Reversed off";
        sim::ClickButton(dialog, kEncoderApply);
    });
    ASSERT_FALSE(OnlyJob().blocks.empty());
    EXPECT_EQ(sim::Visible(std::string(OnlyJob().blocks[0].begin(), OnlyJob().blocks[0].end())), sim::Visible(W0));
    EXPECT_EQ(EncoderOf(Saved()).encoderPosition, 1);
}

TEST_F(EncoderDialogs, ThePrinterOfTheLastSheetDoesNotDecideForAnother) {
    printer().card.model = "Vestria Q796 2.01";
    Open();
    // The next sheet's printer is in the offline configuration: it is not asked its model.
    Private(stored).manualRibbon = 3;
    Reopen();
    Encoder([](HWND dialog) {
        EXPECT_TRUE(Enabled(dialog, kReversed));
        EXPECT_EQ(CheckedOf(dialog, kReversed, 2), 0);
        sim::ClickButton(dialog, kEncoderCancel);
    });
}

TEST_F(EncoderDialogs, RestoreDefaultsTakesTheDataFileOnlyWhenItIsWhole) {
    std::vector<uint8_t> block = DefaultsBlock();
    qf::EncoderSettings fromFile = reinterpret_cast<qf::PrivateSettings*>(block.data())->encoderSettings;
    fromFile.macroEnabled = 0;
    std::memcpy(fromFile.startOfData, "#(\0", 3);
    std::memcpy(fromFile.endOfData, ")#\0", 3);
    fromFile.coercivity = 0;
    fromFile.encoderType = 2;
    fromFile.currentTrack = 2;
    fromFile.tracks[0].mode = 7;
    std::memcpy(block.data() + 36, &fromFile, sizeof fromFile);
    const std::wstring path = spooler().DriverFile(L"restore.dat");
    printer().dataFile = path;

    struct Case {
        size_t size;
        bool signature;  // the file's block carries the settings signature
        const wchar_t *start, *end;
        bool macro;
        int coercivity, type;
    };
    // The driver default's rule too: exact size and the signature.
    const Case cases[] = {{3855, true, L"${", L"}$", true, 2, 0}, {3856, true, L"#(", L")#", false, 0, 2},
                          {3857, true, L"${", L"}$", true, 2, 0}, {3856, false, L"${", L"}$", true, 2, 0}};
    for (const Case& c : cases) {
        std::vector<uint8_t> file = block;
        file.resize(c.size, 0);
        if (!c.signature) file[0] = file[1] = 0;
        WriteBytes(path, file);
        Open();
        // Restore Defaults, then Cancel: nothing is kept.
        Encoder([&](HWND dialog) {
            sim::ClickButton(dialog, kRestore);
            EXPECT_EQ(sim::ControlText(dialog, kStartData), c.start) << c.size;
            EXPECT_EQ(sim::ControlText(dialog, kEndData), c.end) << c.size;
            EXPECT_EQ(Checked(dialog, kMacro), c.macro) << c.size;
            EXPECT_EQ(CheckedOf(dialog, kHigh, 3), c.coercivity) << c.size;
            EXPECT_EQ(CheckedOf(dialog, kIsoJis, 3), c.type) << c.size;
            sim::ClickButton(dialog, kEncoderCancel);
        });
        EXPECT_TRUE(spooler().jobs.empty());
        EXPECT_TRUE(spooler().setPrinterLog.empty());
        EXPECT_EQ(printer().devmode, stored);
        // Restore Defaults, then Apply: the general part only.
        Encoder([&](HWND dialog) {
            EXPECT_EQ(sim::ControlText(dialog, kStartData), L"<<") << "the committed copy was untouched";
            sim::ClickButton(dialog, kRestore);
            sim::ClickButton(dialog, kEncoderApply);
        });
        const qf::EncoderSettings saved = EncoderOf(Saved());
        const qf::EncoderSettings& before = Private(stored).encoderSettings;
        EXPECT_EQ(saved.encoderPresent, before.encoderPresent) << c.size;
        EXPECT_EQ(saved.currentTrack, before.currentTrack) << c.size;
        EXPECT_EQ(std::memcmp(saved.tracks, before.tracks, sizeof saved.tracks), 0) << c.size;
        EXPECT_EQ(saved.encoderType, c.type) << c.size;
        service.Cancel();
    }
}

TEST_F(EncoderDialogs, CancelAndTheCloseBoxKeepNothing) {
    Open();
    for (bool closeBox : {false, true}) {
        const INT_PTR result = Encoder([&](HWND dialog) {
            sim::ClickButton(dialog, kMacro);
            sim::SetControlText(dialog, kStartData, L"ZZ");
            sim::ClickButton(dialog, kJis2);
            sim::ClickButton(dialog, kRestore);
            sim::ClickButton(dialog, kHigh);
            if (closeBox)
                SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
                sim::ClickButton(dialog, kEncoderCancel);
        });
        EXPECT_EQ(result, kEncoderCancel) << closeBox;
    }
    EXPECT_TRUE(spooler().jobs.empty());
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    EXPECT_EQ(printer().devmode, stored);
    Encoder([](HWND dialog) {
        EXPECT_EQ(sim::ControlText(dialog, kStartData), L"<<");
        EXPECT_EQ(CheckedOf(dialog, kHigh, 3), 1);
        EXPECT_EQ(CheckedOf(dialog, kIsoJis, 3), 0);
        sim::ClickButton(dialog, kEncoderCancel);
    });
    // Nothing was applied: the sheet's Apply has nothing to store.
    spooler().setPrinterLog.clear();
    service.Apply();
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    EXPECT_EQ(printer().devmode, stored);
}

// Nothing is half done: when the settings cannot be kept in the printer's defaults (a
// stored record that is not this driver's, or a user the platform refuses administering
// on a sheet whose header did not say so), Apply sends nothing, tells the user and stays
// open; the stored record is left alone.
TEST_F(EncoderDialogs, ApplyThatCannotStoreSendsNothingAndTellsTheUser) {
    Record foreign = stored;
    Devmode(foreign)->dmDriverExtra = 3000;
    foreign.resize(qf::kPublicSize + 3000);
    Record unsigned_ = stored;
    Private(unsigned_).signature = 0;
    Record shortRecord = stored;  // a public part shorter than this driver's
    shortRecord.erase(shortRecord.begin() + 100, shortRecord.begin() + qf::kPublicSize);
    Devmode(shortRecord)->dmSize = 100;
    struct Case {
        const char* what;
        Record record;
        bool ordinaryUser;
    };
    const Case cases[] = {
        {"foreign record", foreign, false},
        {"unsigned record", unsigned_, false},
        {"short public part", shortRecord, false},
        {"ordinary user", stored, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open();
        printer().devmode = c.record;
        spooler().standardUser = c.ordinaryUser;
        sim::Ui().messageBoxes.clear();
        bool stayedOpen = false;
        Encoder([&](HWND dialog) {
            sim::ClickButton(dialog, kHigh);
            sim::ClickButton(dialog, kEncoderApply);
            stayedOpen = IsWindowVisible(dialog) != FALSE;
            if (stayedOpen) sim::ClickButton(dialog, kEncoderCancel);
        });
        EXPECT_TRUE(stayedOpen);
        EXPECT_TRUE(spooler().jobs.empty()) << "settings the driver cannot keep were sent";
        EXPECT_TRUE(spooler().setPrinterLog.empty());
        EXPECT_EQ(printer().devmode, c.record);
        ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
        EXPECT_EQ(sim::Ui().messageBoxes[0].text.rfind(L"The settings cannot be kept", 0), 0u)
            << sim::Utf8(sim::Ui().messageBoxes[0].text);
        EXPECT_EQ(service.Apply(), CPSUICB_ACTION_ITEMS_APPLIED);
        EXPECT_TRUE(spooler().setPrinterLog.empty()) << "nor does the sheet's Apply store it";
        EXPECT_EQ(sim::Ui().messageBoxes.size(), 1u) << "the sheet has nothing waiting";
        spooler().standardUser = false;
        service.Cancel();
    }
}

// The printer took the settings and the store then failed (another program left a record
// that is not this driver's meanwhile): the user is told, the dialog ends as applied, and
// the sheet's Apply tries the store again, telling the user when it fails once more and
// storing the part once it can.
TEST_F(EncoderDialogs, AStoreRefusedAfterTheJobIsToldAndRetried) {
    Record foreign = stored;
    Private(foreign).signature = 0;
    Open();
    printer().whenJobEnds = [&] { printer().devmode = foreign; };
    sim::Ui().messageBoxes.clear();
    Encoder([](HWND dialog) {
        sim::ClickButton(dialog, kHigh);
        sim::ClickButton(dialog, kEncoderApply);
    });
    printer().whenJobEnds = nullptr;
    EXPECT_EQ(spooler().jobs.size(), 1u) << "the printer has the settings";
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
    EXPECT_EQ(sim::Ui().messageBoxes[0].text.rfind(L"The printer has taken the settings", 0), 0u)
        << sim::Utf8(sim::Ui().messageBoxes[0].text);

    EXPECT_EQ(service.Apply(), CPSUICB_ACTION_ITEMS_APPLIED);
    EXPECT_EQ(sim::Ui().messageBoxes.size(), 2u) << "the sheet's retry failed silently";
    EXPECT_TRUE(spooler().setPrinterLog.empty());

    printer().devmode = stored;
    EXPECT_EQ(service.Apply(), CPSUICB_ACTION_ITEMS_APPLIED);
    EXPECT_EQ(sim::Ui().messageBoxes.size(), 2u);
    ASSERT_EQ(spooler().setPrinterLog.size(), 1u) << "the retry stores the part";
    EXPECT_EQ(EncoderOf(spooler().setPrinterLog[0].devmode).coercivity, 0);
    EXPECT_EQ(spooler().setPrinterLog[0].level, 8u);
    service.Cancel();
}

// Two windows on one printer: another window's Tools exchange has the printer in direct
// printing and switches it back between this store's read and its write. The store hands
// on the default record alone, so the bit stays as the other window left it and the
// printer does not stay in direct printing.
TEST_F(EncoderDialogs, AStoreDoesNotPutBackTheDirectPrintingBit) {
    Open();
    printer().attributes = PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_DIRECT;
    printer().afterRead = [&] { printer().attributes &= ~DWORD(PRINTER_ATTRIBUTE_DIRECT); };
    Encoder([](HWND dialog) {
        sim::ClickButton(dialog, kHigh);
        sim::ClickButton(dialog, kEncoderApply);
    });
    printer().afterRead = nullptr;
    ASSERT_EQ(spooler().setPrinterLog.size(), 1u);
    EXPECT_EQ(EncoderOf(spooler().setPrinterLog[0].devmode).coercivity, 0);
    EXPECT_EQ(printer().attributes, DWORD(PRINTER_ATTRIBUTE_LOCAL)) << "the store put the direct-printing bit back";
    service.Cancel();
}

TEST_F(EncoderDialogs, DelimitersWithoutTheirZeroAreShownCut) {
    std::memset(Private(stored).encoderSettings.startOfData, 'X', 10);
    Private(stored).encoderSettings.reserved25 = 'Y';  // the byte after endOfData's field ... and coercivity's
    Open();
    Encoder([](HWND dialog) {
        EXPECT_EQ(sim::ControlText(dialog, kStartData), L"XXXXXXXXX");
        sim::ClickButton(dialog, kEncoderApply);
    });
    EXPECT_EQ(Differences(EncoderOf(Saved()), Private(stored).encoderSettings), "") << "the stored bytes stay";
}

TEST_F(EncoderDialogs, StoredValuesOutsideTheChoicesShowAValidChoice) {
    qf::EncoderSettings& e = Private(stored).encoderSettings;
    e.coercivity = 9;
    e.encoderPosition = 5;
    e.encoderType = 7;
    e.currentTrack = 6;
    e.tracks[2] = qf::TrackSettings{12, 5, 1, 2, 3, 9, 200};
    Open();
    Encoder([](HWND dialog) {
        EXPECT_EQ(CheckedOf(dialog, kHigh, 3), 2);
        EXPECT_EQ(CheckedOf(dialog, kReversed, 2), 0);
        EXPECT_EQ(CheckedOf(dialog, kIsoJis, 3), 0);
        sim::ClickButton(dialog, kEncoderCancel);
    });
    // Mode 12 is none of the list's: the dialog selects no mode and offers no free-format
    // field, as Apply sends no format pair for it; the stored byte stays until a mode is
    // picked.
    struct Case {
        const char* what;
        int pick;  // list entry picked for track 3; -1 none
        Blocks track3Formats;
        uint8_t storedMode;
    };
    const Case cases[] = {
        {"untouched", -1, {}, 12},
        {"5 bit picked", 5, {"\x1B&CDEW 3 E_5\r", "\x1B&CDER 3 U_5\r"}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reopen();
        Advanced([&c](HWND dialog) {
            EXPECT_EQ(CheckedOf(dialog, kTrack1, 3), 2);
            EXPECT_EQ(Selected(dialog, kMode), L"(none)");
            EXPECT_EQ(Selected(dialog, kDensity), L"75 bpi");
            EXPECT_EQ(CheckedOf(dialog, kCharParityNone, 3), 2);
            EXPECT_EQ(CheckedOf(dialog, kLrcParityNone, 3), 2);
            for (int id : {1645, 1653, 1660, 1667}) EXPECT_FALSE(Enabled(dialog, id)) << id;
            if (c.pick >= 0) {
                Pick(dialog, kMode, c.pick);
                for (int id : {1645, 1653, 1660, 1667}) EXPECT_TRUE(Enabled(dialog, id)) << id;
            }
            sim::ClickButton(dialog, kTracksApply);
        });
        Blocks expected{"\x1B&CDEW 1 E_4\r", "\x1B&CDER 1 U_4\r", T2B, T2R};
        expected.insert(expected.end(), c.track3Formats.begin(), c.track3Formats.end());
        // The density of track 3 (5) is sent as 75 bpi.
        for (const std::string& density : {D1_75, D2_75, std::string("\x1B&D 3 75\r")}) expected.push_back(density);
        EXPECT_EQ(Visible(OnlyJob().blocks), Visible(expected));
        qf::EncoderSettings saved = Private(stored).encoderSettings;
        saved.tracks[2].mode = c.storedMode;
        EXPECT_EQ(Differences(EncoderOf(Saved()), saved), "") << "the other stored bytes stay";
    }
}

TEST_F(EncoderDialogs, TheAdvancedDialogShowsTheCommittedTrack) {
    Open();
    Advanced([](HWND dialog) {
        EXPECT_EQ(sim::WindowTitle(dialog), L"Advanced settings");
        const std::vector<std::wstring> texts = ChildTexts(dialog);
        for (const wchar_t* text :
             {L"Track", L"Track 1", L"Track 2", L"Track 3", L"Mode", L"Density", L"Start/Stop Character ",
              L"Start Character:", L"Stop Character:", L"Encoding start position ", L"Start position:", L"mm",
              L"Character parity ", L"No Parity", L"Even parity", L"Odd parity", L"LRC parity ", L"Odd Parity",
              L"Restore Defaults", L"Apply", L"Cancel", L"Help"})
            EXPECT_TRUE(HasText(texts, text)) << sim::Utf8(text);
        EXPECT_EQ(SendDlgItemMessageW(dialog, kMode, CB_GETCOUNT, 0, 0), 8);
        EXPECT_EQ(SendDlgItemMessageW(dialog, kDensity, CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(CheckedOf(dialog, kTrack1, 3), 1);
        EXPECT_EQ(Selected(dialog, kMode), L"ISO2");
        EXPECT_EQ(Selected(dialog, kDensity), L"75 bpi");
        EXPECT_EQ(sim::ControlText(dialog, kStartChar), L"65");
        EXPECT_FALSE(Enabled(dialog, kStartChar)) << "ISO2 has no free format";
        EXPECT_FALSE(Enabled(dialog, 1660));
        EXPECT_TRUE(Enabled(dialog, kTrack3));
        sim::ClickButton(dialog, kTrack1);
        EXPECT_EQ(Selected(dialog, kMode), L"4 bit");
        EXPECT_EQ(sim::ControlText(dialog, kStartPosition), L"3");
        EXPECT_EQ(CheckedOf(dialog, kCharParityNone, 3), 1);
        EXPECT_EQ(CheckedOf(dialog, kLrcParityNone, 3), 2);
        for (int id = 1645; id <= 1653; ++id) EXPECT_TRUE(Enabled(dialog, id)) << id;
        for (int id = 1660; id <= 1667; ++id) EXPECT_TRUE(Enabled(dialog, id)) << id;
        sim::ClickButton(dialog, IDCANCEL);
    });
    EXPECT_TRUE(spooler().jobs.empty());
    EXPECT_TRUE(spooler().setPrinterLog.empty());
}

TEST_F(EncoderDialogs, AdvancedApplySendsFormatsAndDensitiesAndStoresTheTrackPart) {
    Open();
    const INT_PTR result = Advanced([](HWND dialog) {
        sim::ClickButton(dialog, kTrack2);
        Pick(dialog, kMode, 3);  // "3 bit"
        EXPECT_TRUE(Enabled(dialog, kStartChar));
        sim::SetControlText(dialog, kStartChar, L"300");
        sim::SetControlText(dialog, kStopChar, L"abc");
        sim::SetControlText(dialog, kStartPosition, L"12");
        sim::ClickButton(dialog, kCharParityNone + 1);
        Pick(dialog, kMode, 1);  // back to ISO2: the fields keep their values
        EXPECT_FALSE(Enabled(dialog, kStartChar));
        Pick(dialog, kDensity, 1);
        sim::ClickButton(dialog, kTrack3);
        EXPECT_FALSE(sim::ClickButton(dialog, kLrcParityNone)) << "ISO3 has no parities to choose";
        sim::ClickButton(dialog, kTracksApply);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(OnlyJob().documentName, L"VESTRIAENCODER");
    EXPECT_EQ(Visible(OnlyJob().blocks), Visible(Blocks{"\x1B&CDEW 1 E_4\r", "\x1B&CDER 1 U_4\r", T2B, T2R, T3C, T3S,
                                                        D1_75, "\x1B&D 2 210\r", D3_210}));
    qf::EncoderSettings expected = Private(stored).encoderSettings;
    expected.currentTrack = 2;
    expected.tracks[1].startChar = 44;  // 300 keeps its low eight bits
    expected.tracks[1].startPositionMm = 12;
    expected.tracks[1].charParity = 1;
    expected.tracks[1].density = 1;
    const Record saved = Saved();
    EXPECT_EQ(Differences(EncoderOf(saved), expected), "");
    EXPECT_TRUE(SameOutsideEncoder(saved, stored));
}

TEST_F(EncoderDialogs, AdvancedForJis2AndAamva) {
    struct Case {
        uint8_t type;
        Blocks job;
    };
    const Case cases[] = {
        {1, {"\x1B&CDEW 1 E_4\r", "\x1B&CDER 1 U_4\r", D1_75}},
        {2, {"\x1B&CDEW 1 E_4\r", "\x1B&CDER 1 U_4\r", T2B, T2R, T3C, T3S, D1_75}},
    };
    for (const Case& c : cases) {
        Private(stored).encoderSettings.encoderType = c.type;
        Open();
        bool track2 = false, track3 = false;
        sim::DialogScript driver([&](HWND dialog) {
            // AAMVA offers no advanced settings: the user picks another type first, which
            // the advanced dialog does not see, since it starts from the committed record.
            if (c.type == 2) sim::ClickButton(dialog, kIsoJis);
            sim::ClickButton(dialog, kAdvanced);
            sim::ClickButton(dialog, kEncoderCancel);
        });
        driver.Then([&](HWND dialog) {
            track2 = Enabled(dialog, kTrack2);
            track3 = Enabled(dialog, kTrack3);
            sim::ClickButton(dialog, kTracksApply);
        });
        service.PushButton(kEncoder);
        EXPECT_EQ(driver.Ran(), 2);
        EXPECT_EQ(track2, c.type != 1) << +c.type;
        EXPECT_EQ(track3, c.type != 1) << +c.type;
        EXPECT_EQ(Visible(OnlyJob().blocks), Visible(c.job)) << +c.type;
        service.Cancel();
    }
}

TEST_F(EncoderDialogs, APrinterWithoutThirdTrack) {
    for (const char* model : {"Vestria Q511 1.00", "Vestria Q513 1.00"}) {
        printer().card.model = model;
        Private(stored).encoderSettings.currentTrack = 2;
        Open();
        Advanced([&](HWND dialog) {
            EXPECT_EQ(CheckedOf(dialog, kTrack1, 3), 0) << model;
            EXPECT_FALSE(Enabled(dialog, kTrack3)) << model;
            EXPECT_TRUE(Enabled(dialog, kTrack2)) << model;
            EXPECT_FALSE(sim::ClickButton(dialog, kTrack3));
            sim::ClickButton(dialog, IDCANCEL);
        });
        service.Cancel();
    }
}

TEST_F(EncoderDialogs, AdvancedRestoreDefaultsCancelAndCloseBox) {
    Open();
    Advanced([](HWND dialog) {
        sim::ClickButton(dialog, kRestore);
        EXPECT_EQ(CheckedOf(dialog, kTrack1, 3), 0);
        EXPECT_EQ(Selected(dialog, kMode), L"ISO1");
        EXPECT_EQ(Selected(dialog, kDensity), L"210 bpi");
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_TRUE(spooler().jobs.empty());
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    Advanced([](HWND dialog) {
        EXPECT_EQ(CheckedOf(dialog, kTrack1, 3), 1) << "the committed track is still shown";
        sim::ClickButton(dialog, kRestore);
        sim::ClickButton(dialog, kTracksApply);
    });
    qf::EncoderSettings expected = Private(stored).encoderSettings;
    const qf::EncoderSettings defaults = reinterpret_cast<qf::PrivateSettings*>(DefaultsBlock().data())->encoderSettings;
    expected.currentTrack = defaults.currentTrack;
    std::memcpy(expected.tracks, defaults.tracks, sizeof expected.tracks);
    EXPECT_EQ(Differences(EncoderOf(Saved()), expected), "") << "the general part stays";
}

// Two printers' device sheets open at once in one process: each keeps its own committed
// encoder record and model text, whichever of them opened last.
TEST_F(EncoderDialogs, TwoPrintersSheetsKeepTheirOwnEncoderRecordsAndModels) {
    const wchar_t* const kOther = L"Second Card Printer";
    sim::Printer& other = spooler().AddPrinter(kOther);
    other.card.model = "Vestria Q796 513";  // neither a reversed position nor a third track
    Record otherStored = DriverRecord();
    qf::EncoderSettings& b = Private(otherStored).encoderSettings;
    b.encoderPresent = 1;
    std::memcpy(b.startOfData, "{{\0", 3);
    std::memcpy(b.endOfData, "}}\0", 3);
    b.coercivity = 2;
    b.encoderPosition = 1;
    b.currentTrack = 2;
    b.tracks[2] = qf::TrackSettings{7, 1, 70, 80, 9, 1, 1};
    other.devmode = otherStored;
    HANDLE otherHandle = nullptr;
    ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kOther), &otherHandle, nullptr));
    DEVICEPROPERTYHEADER otherHeader{sizeof otherHeader, 0, otherHandle, const_cast<LPWSTR>(kOther)};
    sim::PropertySheetService otherSheet;

    Open();  // A, this fixture's printer, first; B's sheet opens after it
    ASSERT_EQ(otherSheet.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"),
                              reinterpret_cast<LPARAM>(&otherHeader)),
              1);
    spooler().setPrinterLog.clear();
    const qf::EncoderSettings a = Private(stored).encoderSettings;

    // A's Apply with nothing touched stores nothing.
    service.Apply();
    EXPECT_TRUE(spooler().setPrinterLog.empty()) << "A's untouched Apply";
    EXPECT_EQ(Differences(EncoderOf(printer().devmode), a), "");

    // A's encoder dialog shows A's values and A's model, and its Apply goes to A only.
    Encoder([](HWND dialog) {
        EXPECT_EQ(sim::ControlText(dialog, kStartData), L"<<");
        EXPECT_EQ(CheckedOf(dialog, kHigh, 3), 1);
        EXPECT_TRUE(Enabled(dialog, kReversed)) << "A's model has a reversed position";
        sim::ClickButton(dialog, kHigh);
        sim::ClickButton(dialog, kEncoderApply);
    });
    qf::EncoderSettings expected = a;
    expected.coercivity = 0;
    EXPECT_EQ(OnlyJob().printer, kTestPrinter);
    EXPECT_EQ(Visible(OnlyJob().blocks), Visible(Blocks{W1, C1, "\x1B&CDEW 1 E_4\r", "\x1B&CDER 1 U_4\r", T2B, T2R,
                                                        T3C, T3S}));
    EXPECT_EQ(Saved().empty() ? "" : Differences(EncoderOf(Saved()), expected), "");
    EXPECT_EQ(spooler().setPrinterLog.empty() ? L"" : spooler().setPrinterLog[0].printer, kTestPrinter);
    spooler().setPrinterLog.clear();
    spooler().jobs.clear();

    // A's advanced dialog: A's track and A's third track.
    Advanced([](HWND dialog) {
        EXPECT_EQ(CheckedOf(dialog, kTrack1, 3), 1);
        EXPECT_EQ(Selected(dialog, kMode), L"ISO2");
        EXPECT_TRUE(Enabled(dialog, kTrack3)) << "A's model has a third track";
        Pick(dialog, kDensity, 1);
        sim::ClickButton(dialog, kTracksApply);
    });
    expected.tracks[1].density = 1;
    EXPECT_EQ(OnlyJob().printer, kTestPrinter);
    EXPECT_EQ(Saved().empty() ? "" : Differences(EncoderOf(Saved()), expected), "");
    EXPECT_EQ(Differences(EncoderOf(printer().devmode), expected), "");

    // B's dialogs show B's record and follow B's model.
    sim::DialogScript otherDialogs([](HWND dialog) {
        EXPECT_EQ(sim::ControlText(dialog, kStartData), L"{{");
        EXPECT_EQ(CheckedOf(dialog, kHigh, 3), 2);
        EXPECT_FALSE(Enabled(dialog, kReversed)) << "B's model has no reversed position";
        sim::ClickButton(dialog, kAdvanced);
        sim::ClickButton(dialog, kEncoderCancel);
    });
    otherDialogs.Then([](HWND dialog) {
        EXPECT_EQ(CheckedOf(dialog, kTrack1, 3), 0) << "B's stored third track shows track 1";
        EXPECT_FALSE(Enabled(dialog, kTrack3)) << "B's model has no third track";
        sim::ClickButton(dialog, IDCANCEL);
    });
    otherSheet.PushButton(kEncoder);
    EXPECT_EQ(otherDialogs.Ran(), 2);
    EXPECT_EQ(spooler().Find(kOther)->devmode, otherStored) << "B's stored record is never written";

    otherSheet.Cancel();
    sim::SimClosePrinter(otherHandle);
}

// Whatever an encoder dialog applied survives every later store the sheet or its dialogs
// make: the direct-mode switch of Tools stores the sheet's record with the applied bytes.
TEST_F(EncoderDialogs, AppliedEncoderSettingsSurviveLaterStores) {
    const std::wstring firmware = FirmwareFile();

    qf::EncoderSettings afterEncoder = Private(stored).encoderSettings;
    afterEncoder.coercivity = 0;
    qf::EncoderSettings afterAdvanced = Private(stored).encoderSettings;
    afterAdvanced.tracks[1].density = 1;
    const auto encoderApply = [&] {
        Encoder([](HWND dialog) {
            sim::ClickButton(dialog, kHigh);
            sim::ClickButton(dialog, kEncoderApply);
        });
    };
    const auto advancedApply = [&] {
        Advanced([](HWND dialog) {
            Pick(dialog, kDensity, 1);
            sim::ClickButton(dialog, kTracksApply);
        });
    };
    const auto tools = [&] { OpenAndCloseTools(service); };
    const auto firmwareJob = [&] { DownloadFirmware(service, firmware); };
    const auto cancel = [&] { service.Cancel(); };
    const auto ok = [&] {
        service.Apply();
        service.Commit();
    };
    struct Case {
        const char* name;
        int16_t manualRibbon;
        std::vector<std::function<void()>> steps;
        const qf::EncoderSettings& expected;
        size_t stores;  // SetPrinterW calls: the dialog's Apply and the direct-printing switches
    };
    const Case cases[] = {
        {"Encoder Apply, Tools, Cancel", 0, {encoderApply, tools, cancel}, afterEncoder, 3},
        {"Advanced Apply, Tools, OK", 0, {advancedApply, tools, ok}, afterAdvanced, 3},
        {"Encoder Apply, offline firmware job, OK", 1, {encoderApply, firmwareJob, ok}, afterEncoder, 1},
    };
    for (const Case& c : cases) {
        Private(stored).manualRibbon = c.manualRibbon;
        Open();
        for (const auto& step : c.steps) step();
        EXPECT_EQ(spooler().setPrinterLog.size(), c.stores) << c.name;
        for (const sim::SetPrinterCall& call : spooler().setPrinterLog)
            if (!call.devmode.empty()) {
                EXPECT_EQ(Differences(EncoderOf(call.devmode), c.expected), "") << c.name;
            }
        EXPECT_EQ(Differences(EncoderOf(printer().devmode), c.expected), "") << c.name;
        if (c.manualRibbon) {
            EXPECT_EQ(spooler().jobs.size(), 2u) << c.name << ": the setup and the firmware";
        }
        if (service.IsOpen()) service.Cancel();
        Private(stored).manualRibbon = 0;
    }
}

// Two device-sheet windows on one printer: what one window applied is never undone by
// anything the other does, in either order, and the printer ends with what the user last
// applied in each part.
TEST_F(EncoderDialogs, TwoWindowsOnOnePrinterAddUp) {
    const std::wstring firmware = FirmwareFile();
    sim::PropertySheetService second;

    const auto applyInFirst = [&] {
        Encoder([](HWND dialog) {
            sim::ClickButton(dialog, kHigh);  // coercivity High becomes Low
            sim::ClickButton(dialog, kEncoderApply);
        });
    };
    const auto ok = [&] {
        second.Apply();
        second.Commit();
    };
    const auto cancel = [&] { second.Cancel(); };
    const auto tools = [&] { OpenAndCloseTools(second); };
    const auto firmwareJob = [&] { DownloadFirmware(second, firmware); };
    const auto advancedApply = [&] {
        Advanced(
            [](HWND dialog) {
                Pick(dialog, kDensity, 1);
                sim::ClickButton(dialog, kTracksApply);
            },
            &second);
    };
    qf::EncoderSettings applied = Private(stored).encoderSettings;
    applied.coercivity = 0;
    qf::EncoderSettings both = applied;
    both.tracks[1].density = 1;
    struct Case {
        const char* other;
        int16_t manualRibbon;
        std::function<void()> step;
        const qf::EncoderSettings& expected;
    };
    const Case cases[] = {
        {"OK", 0, ok, applied},
        {"Cancel", 0, cancel, applied},
        {"Tools", 0, tools, applied},
        {"offline firmware download", 1, firmwareJob, applied},
        {"Advanced Apply", 0, advancedApply, both},
    };
    for (bool applyFirst : {true, false}) {
        for (const Case& c : cases) {
            const std::string what = std::string(applyFirst ? "Apply, then the other window's " : "the other window's ") +
                                     c.other + (applyFirst ? "" : ", then Apply");
            Private(stored).manualRibbon = c.manualRibbon;
            Open();
            ASSERT_EQ(second.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&header)),
                      1);
            if (applyFirst) applyInFirst();
            c.step();
            if (!applyFirst) applyInFirst();
            // Both windows close with OK where they are still open.
            if (second.IsOpen()) ok();
            service.Apply();
            service.Commit();
            EXPECT_EQ(Differences(EncoderOf(printer().devmode), c.expected), "") << what;
            Record now = printer().devmode;
            EXPECT_EQ(Private(now).manualRibbon, c.manualRibbon) << what;
            if (second.IsOpen()) second.Cancel();
            if (service.IsOpen()) service.Cancel();
        }
    }
    Private(stored).manualRibbon = 0;
}

// Each window's encoder Apply is stored as it is applied; a sheet's OK stores no part
// again from its own copy. So the printer keeps the part the user applied last, in
// whichever order the two windows then close.
TEST_F(EncoderDialogs, TheSheetsOKStoresNoAppliedPartAgain) {
    sim::PropertySheetService second;
    const auto applyIn = [&](sim::PropertySheetService& sheet, int coercivity) {
        sim::DialogScript driver([coercivity](HWND dialog) {
            sim::ClickButton(dialog, coercivity);
            sim::ClickButton(dialog, kEncoderApply);
        });
        sheet.PushButton(kEncoder);
        EXPECT_EQ(driver.Ran(), 1);
    };
    const auto ok = [](sim::PropertySheetService& sheet) {
        sheet.Apply();
        sheet.Commit();
    };
    for (const bool firstAppliesLast : {false, true}) {
        const std::string what = firstAppliesLast ? "the first window applied last, the second closed first"
                                                  : "the second window applied last, the first closed last";
        Open();
        ASSERT_EQ(second.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&header)),
                  1);
        if (firstAppliesLast) {
            applyIn(second, kLow);
            applyIn(service, kHigh);
            ok(second);
            ok(service);
        } else {
            applyIn(service, kHigh);
            applyIn(second, kLow);
            ok(second);
            ok(service);
        }
        EXPECT_EQ(EncoderOf(printer().devmode).coercivity, firstAppliesLast ? 0 : 1) << what;
        EXPECT_EQ(spooler().setPrinterLog.size(), 2u) << what << ": one store for each Apply, none at OK";
        if (second.IsOpen()) second.Cancel();
        if (service.IsOpen()) service.Cancel();
    }
}

// The printer's answer on its encoder, taken as the sheet opens, outlives the first
// encoder Apply: stored "no encoder", the printer answers that it has one; after Apply,
// Tools offers encoding and reading.
TEST_F(EncoderDialogs, TheEncoderAnswerAtOpeningOutlivesAnApply) {
    Private(stored).encoderSettings.encoderPresent = 0;
    printer().card.encoder = true;
    Open();
    Encoder([](HWND dialog) {
        sim::ClickButton(dialog, kHigh);
        sim::ClickButton(dialog, kEncoderApply);
    });
    bool encodeEnabled = false, readEnabled = false;
    sim::DialogScript tools([&](HWND dialog) {
        encodeEnabled = Enabled(dialog, IDC_TOOLS_ENCODE);
        readEnabled = Enabled(dialog, IDC_TOOLS_READ);
        sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
    });
    service.PushButton(qf::kDeviceItemTools);
    EXPECT_EQ(tools.Ran(), 1);
    EXPECT_TRUE(encodeEnabled);
    EXPECT_TRUE(readEnabled);
}

// Apply whose job the spooler refuses: the user is told, nothing is committed or stored,
// and the dialog stays open with the user's values; Apply again, once the printer takes
// the job, closes it as applied.
TEST_F(EncoderDialogs, ApplyWhoseJobFailsStoresNothingAndStaysOpen) {
    struct Case {
        const char* what;
        int item;
        int apply;         // the Apply button
        bool advanced;     // the advanced dialog, opened from the encoder dialog
        std::function<void(HWND)> change;
    };
    const Case cases[] = {
        {"encoder settings", kEncoder, kEncoderApply, false, [](HWND dialog) { sim::ClickButton(dialog, kHigh); }},
        {"advanced settings", kEncoder, kTracksApply, true, [](HWND dialog) { Pick(dialog, kDensity, 1); }},
        {"single feed", kSingleFeed, IDOK, false, [](HWND dialog) { sim::ClickButton(dialog, kFeedOff); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open();
        sim::Ui().messageBoxes.clear();
        const qf::EncoderSettings before = Private(printer().devmode).encoderSettings;
        bool openAfterFailure = false, closedAfterRetry = false;
        const auto script = [&](HWND dialog) {
            c.change(dialog);
            printer().jobsRefused = true;
            sim::ClickButton(dialog, c.apply);
            openAfterFailure = IsWindowVisible(dialog) != FALSE;
            EXPECT_TRUE(spooler().setPrinterLog.empty()) << "nothing stored";
            printer().jobsRefused = false;
            sim::ClickButton(dialog, c.apply);
            closedAfterRetry = IsWindowVisible(dialog) == FALSE;
        };
        if (c.advanced) {
            Advanced(script);
        } else {
            sim::DialogScript driver(script);
            service.PushButton(c.item);
            EXPECT_EQ(driver.Ran(), 1);
        }
        EXPECT_TRUE(openAfterFailure);
        EXPECT_TRUE(closedAfterRetry);
        ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
        EXPECT_EQ(sim::Ui().messageBoxes[0].text, L"The command did not reach the printer.");
        ASSERT_EQ(spooler().jobs.size(), 1u) << "the retried job";
        EXPECT_TRUE(spooler().jobs[0].ended);
        if (c.item == kEncoder) {
            ASSERT_EQ(spooler().setPrinterLog.size(), 1u) << "stored once, after the job reached the printer";
            EXPECT_NE(Differences(EncoderOf(spooler().setPrinterLog[0].devmode), before), "");
        } else {
            EXPECT_TRUE(spooler().setPrinterLog.empty());
        }
        service.Cancel();
    }
}

// An encoder or single-feed dialog whose sheet closed meanwhile: Apply tells "System
// Error", sends and stores nothing, and the dialog ends as cancelled, not as applied.
TEST_F(EncoderDialogs, ApplyAfterTheSheetIsGoneIsToldAndCancelled) {
    struct Case {
        const char* what;
        int item;
        int change;
        int apply;
        INT_PTR cancelled;
    };
    const Case cases[] = {
        {"encoder settings", kEncoder, kHigh, kEncoderApply, kEncoderCancel},
        {"single feed", kSingleFeed, kFeedOff, IDOK, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open();
        sim::Ui().messageBoxes.clear();
        bool closed = false;
        sim::DialogScript driver([&](HWND dialog) {
            sim::ClickButton(dialog, c.change);
            // The sheet's DESTROY while its dialog is open.
            PROPSHEETUI_INFO destroy = service.Info();
            destroy.Reason = PROPSHEETUI_REASON_DESTROY;
            Export<QfPropSheetUiProc>("DrvDevicePropertySheets")(&destroy, 0);
            sim::ClickButton(dialog, c.apply);
            closed = IsWindowVisible(dialog) == FALSE;
        });
        EXPECT_EQ(service.PushButton(c.item), c.cancelled);
        EXPECT_EQ(driver.Ran(), 1);
        EXPECT_TRUE(closed) << "the dialog ends at the first Apply";
        ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
        EXPECT_EQ(sim::Ui().messageBoxes[0].text, L"System Error");
        EXPECT_TRUE(spooler().jobs.empty());
        EXPECT_TRUE(spooler().setPrinterLog.empty());
        service.Info().UserData = 0;  // the sheet is gone already
        service.Cancel();
    }
}

// The single-feed choice lives as long as the module: this test runs in a process of its own.
TEST_F(EncoderDialogs, FreshModuleSingleFeedKeepsItsChoice) {
    Open();
    auto run = [&](sim::DialogScript::Script script) {
        sim::DialogScript driver(std::move(script));
        const INT_PTR result = service.PushButton(kSingleFeed);
        EXPECT_EQ(driver.Ran(), 1);
        return result;
    };
    EXPECT_TRUE(service.CanChange(kSingleFeed));
    run([](HWND dialog) {
        EXPECT_EQ(sim::WindowTitle(dialog), L"Single Feed Options");
        EXPECT_EQ(sim::ControlText(dialog, kFeedOff), L"Disable Single Feed Support");
        EXPECT_EQ(sim::ControlText(dialog, kFeedOn), L"Enable Single Feed Support");
        EXPECT_EQ(sim::ControlText(dialog, IDOK), L"Apply");
        EXPECT_EQ(sim::ControlText(dialog, IDCANCEL), L"Cancel");
        EXPECT_TRUE(Checked(dialog, kFeedOn)) << "enabled when the module loads";
        EXPECT_FALSE(Checked(dialog, kFeedOff));
        sim::ClickButton(dialog, kFeedOff);
        sim::ClickButton(dialog, IDCANCEL);
    });
    EXPECT_TRUE(spooler().jobs.empty());
    run([](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, kFeedOff)) << "the click outlived Cancel";
        sim::ClickButton(dialog, kFeedOn);
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_TRUE(spooler().jobs.empty());
    Reopen();
    EXPECT_EQ(run([](HWND dialog) {
                  EXPECT_TRUE(Checked(dialog, kFeedOn)) << "another sheet, the same module";
                  sim::ClickButton(dialog, IDOK);
              }),
              IDOK);
    EXPECT_EQ(OnlyJob().documentName, L"VESTRIAATM");
    EXPECT_EQ(Visible(OnlyJob().blocks), Visible(Blocks{"\x1B" "FS 1\r", "\x1B" "ATM 1\r"}));
    spooler().jobs.clear();
    run([](HWND dialog) {
        sim::ClickButton(dialog, kFeedOff);
        sim::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(Visible(OnlyJob().blocks), Visible(Blocks{"\x1B" "ATM 0\r"}));
    EXPECT_TRUE(spooler().setPrinterLog.empty()) << "the choice is stored nowhere";
}

}  // namespace
