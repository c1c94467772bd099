// The firmware download, through the device sheet's "F/W Download" push button and the
// dialog's controls: the port instruction when the printer answers, the firmware job in
// the offline configuration.
#include "tests/wine/sheet_dialogs.h"

#include "driver/resources/resource.h"
#include "sim/files.h"

namespace {

// A file the printer takes: byte 14 is the check byte, byte 15 is 0xFF.
std::string PrinterFirmware(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7);
    bytes[14] = '\x3C';
    bytes[15] = '\xFF';
    return bytes;
}

std::string Block(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class FirmwareDialog : public DeviceSheetDialogs {
protected:
    // Opens the sheet, presses "F/W Download" with `file` as the open-file dialog's
    // answer, selects it and runs `script` in the dialog.
    void RunFirmware(const std::wstring& file, sim::DialogScript::Script script) {
        OpenSheet();
        sim::Ui().fileChoices = {file};
        sim::DialogScript driver([&](HWND dialog) {
            EXPECT_FALSE(IsEnabled(dialog, IDC_FW_START));
            EXPECT_FALSE(IsEnabled(dialog, IDC_FW_STATUS));
            sim::ClickButton(dialog, IDC_FW_SELECT);
            script(dialog);
            sim::ClickButton(dialog, IDCANCEL);
        });
        EXPECT_EQ(service.PushButton(qf::kDeviceItemFirmware), IDCANCEL);
        EXPECT_EQ(driver.Ran(), 1);
    }
    std::vector<std::wstring> Messages() {
        std::vector<std::wstring> texts;
        for (const sim::MessageBoxRecord& box : sim::Ui().messageBoxes) texts.push_back(box.text);
        return texts;
    }
};

TEST_F(FirmwareDialog, APrinterThatAnswersGetsTheFileFromThePortSide) {
    const std::wstring file = MakeFile(L"q862.bin", PrinterFirmware(300));
    RunFirmware(file, [&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_FW_TYPE), "Printer F/W");
        EXPECT_EQ(Text(dialog, IDC_FW_CHECK), "0x3CFF");
        EXPECT_EQ(Text(dialog, IDC_FW_PATH), sim::Utf8(file));
        EXPECT_TRUE(IsEnabled(dialog, IDC_FW_START));
        sim::ClickButton(dialog, IDC_FW_START);
        EXPECT_EQ(Text(dialog, IDC_FW_STATUS), "Firmware DownLoaded Successfully...");
        EXPECT_TRUE(IsEnabled(dialog, IDC_FW_STATUS));
        card().failingInstructions.insert(sim::PortVerb::kDownload);
        sim::ClickButton(dialog, IDC_FW_START);
        EXPECT_EQ(Text(dialog, IDC_FW_STATUS), "Error in downloading firmware");
        EXPECT_TRUE(IsEnabled(dialog, IDC_FW_START));
    });
    ASSERT_EQ(card().instructions.size(), 1u);
    EXPECT_EQ(card().instructions[0].verb, "download");
    EXPECT_EQ(card().instructions[0].path, Ansi(file));
    EXPECT_EQ(Block(card().instructions[0].contents), PrinterFirmware(300));
    EXPECT_EQ(Messages(), std::vector<std::wstring>({L"Please wait until the printer Resets and Initializes.\n"}));
    EXPECT_TRUE(spooler().jobs.empty());
    ASSERT_EQ(sim::Ui().openFileDialogs.size(), 1u);
    EXPECT_EQ(sim::Ui().openFileDialogs[0].filter, L"Binary Files(*.bin)|*.bin|");
    EXPECT_EQ(sim::Ui().openFileDialogs[0].defaultExtension, L"bin");
    EXPECT_EQ(sim::Ui().openFileDialogs[0].flags, DWORD(OFN_CREATEPROMPT | OFN_NOLONGNAMES));
    EXPECT_EQ(sim::Ui().openFileDialogs[0].structSize, DWORD(OPENFILENAME_SIZE_VERSION_400W));
    EXPECT_EQ(sim::Ui().openFileDialogs[0].initialName, L"");
}

TEST_F(FirmwareDialog, AFileThePrinterDoesNotTakeIsRefused) {
    // Bytes 14 and 15 both 0xFF, and too short to carry the laminator marker.
    std::string bytes(200, '\xFF');
    const std::wstring file = MakeFile(L"short.bin", bytes);
    RunFirmware(file, [&](HWND dialog) {
        EXPECT_FALSE(IsEnabled(dialog, IDC_FW_START));
        EXPECT_EQ(Text(dialog, IDC_FW_TYPE), "");
        EXPECT_EQ(Text(dialog, IDC_FW_PATH), "");
    });
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
    EXPECT_EQ(sim::Ui().messageBoxes[0].text, L"Incorrect  firmware file.\nPlease select correct firmware file.");
    EXPECT_EQ(sim::Ui().messageBoxes[0].flags & MB_ICONMASK, UINT(MB_ICONERROR));
    EXPECT_TRUE(card().instructions.empty());
}

// A file whose first read fails, when it is selected or when it is checked again for the
// download, is a file that could not be read, not a wrong one: the user is told so, and
// nothing is sent.
TEST_F(FirmwareDialog, AFileThatCannotBeReadIsToldAsSuch) {
    const std::wstring file = MakeFile(L"q862.bin", PrinterFirmware(300));
    for (const bool atSelect : {true, false}) {
        SCOPED_TRACE(atSelect ? "at Select" : "at the download");
        sim::Ui().messageBoxes.clear();
        if (atSelect) sim::FailReadsOf(L"q862.bin", 0);
        std::string status;
        bool startEnabled = true;
        RunFirmware(file, [&](HWND dialog) {
            sim::FailReadsOf(L"q862.bin", 0);
            sim::ClickButton(dialog, IDC_FW_START);
            status = Text(dialog, IDC_FW_STATUS);
            startEnabled = IsEnabled(dialog, IDC_FW_START);
        });
        sim::FailReadsOf(L"", 0);
        service.Cancel();
        ASSERT_EQ(Messages(), std::vector<std::wstring>({L"Error reading from bin file"}));
        EXPECT_EQ(sim::Ui().messageBoxes[0].flags, UINT(MB_OK | MB_ICONERROR | MB_SETFOREGROUND));
        EXPECT_EQ(startEnabled, !atSelect);
        if (!atSelect) {
            EXPECT_EQ(status, "Error in downloading firmware");
        }
        EXPECT_TRUE(card().instructions.empty());
        EXPECT_TRUE(spooler().jobs.empty());
    }
}

// A path with a character the ANSI code page has no place for would reach the port side
// as another path (best fit makes U+2215 a "/", a full-width letter its ASCII letter),
// here the path of a real firmware file: chosen or typed, it is refused with a message
// and nothing is sent.
TEST_F(FirmwareDialog, APathThePortSideCannotTakeAsItIsIsRefused) {
    const std::wstring file = MakeFile(L"q862.bin", PrinterFirmware(300));
    const size_t slash = file.rfind(L'\\');
    const std::wstring division = file.substr(0, slash) + L"\u2215" + file.substr(slash + 1);
    const std::wstring fullwidth = file.substr(0, slash + 1) + L"\uFF51" + file.substr(slash + 2);
    const std::wstring refusal =
        L"The file name cannot be used: it has characters this printer's port cannot take. Rename the file or "
        L"choose another.";
    bool startEnabled = true;
    std::string shownPath = "?";
    RunFirmware(division, [&](HWND dialog) {
        startEnabled = IsEnabled(dialog, IDC_FW_START);
        shownPath = Text(dialog, IDC_FW_PATH);
    });
    service.Cancel();
    EXPECT_FALSE(startEnabled);
    EXPECT_EQ(shownPath, "");
    EXPECT_EQ(Messages(), std::vector<std::wstring>({refusal}));

    sim::Ui().messageBoxes.clear();
    std::string status;
    RunFirmware(file, [&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_FW_PATH, fullwidth.c_str());
        sim::ClickButton(dialog, IDC_FW_START);
        status = Text(dialog, IDC_FW_STATUS);
    });
    EXPECT_EQ(Messages(), std::vector<std::wstring>({refusal}));
    EXPECT_EQ(status, "Error in downloading firmware");
    EXPECT_TRUE(card().instructions.empty());
    EXPECT_TRUE(spooler().jobs.empty());
}

TEST_F(FirmwareDialog, OfflineTheFileGoesOutAsAFramedJob) {
    Private(stored).manualRibbon = 1;
    const std::string firmware = PrinterFirmware(5000);
    RunFirmware(MakeFile(L"q862.bin", firmware), [&](HWND dialog) {
        sim::ClickButton(dialog, IDC_FW_START);
        EXPECT_EQ(Text(dialog, IDC_FW_STATUS), "Firmware DownLoaded Successfully...");
    });
    ASSERT_EQ(spooler().jobs.size(), 1u);
    const sim::RawJob& job = spooler().jobs[0];
    EXPECT_EQ(job.documentName, L"VESTRIAVRLOFWDW");
    EXPECT_EQ(job.datatype, L"RAW");
    EXPECT_TRUE(job.ended);
    ASSERT_EQ(job.blocks.size(), 4u);
    EXPECT_EQ(Block(job.blocks[0]), std::string("\x1B" "DC \x00\x00\x13\x88", 8)) << "5000 bytes, most significant first";
    EXPECT_EQ(Block(job.blocks[1]), firmware.substr(0, 4096));
    EXPECT_EQ(Block(job.blocks[2]), firmware.substr(4096));
    EXPECT_EQ(Block(job.blocks[3]), "\xFF\r");
    EXPECT_TRUE(card().instructions.empty());
}

TEST_F(FirmwareDialog, OfflineFilesThatCannotBeSent) {
    Private(stored).manualRibbon = 1;
    const std::wstring file = MakeFile(L"q862.bin", PrinterFirmware(9000));
    RunFirmware(file, [&](HWND dialog) {
        // A file that is gone by the time of the download starts no job at all.
        SetDlgItemTextW(dialog, IDC_FW_PATH, (file + L".missing").c_str());
        sim::ClickButton(dialog, IDC_FW_START);
        EXPECT_EQ(Text(dialog, IDC_FW_STATUS), "Error in downloading firmware");
        // A file that cannot be read to its end: the job is aborted, never ended.
        SetDlgItemTextW(dialog, IDC_FW_PATH, file.c_str());
        sim::FailReadsOf(L"q862.bin", 4096);
        sim::ClickButton(dialog, IDC_FW_START);
        sim::FailReadsOf(L"", 0);
        EXPECT_EQ(Text(dialog, IDC_FW_STATUS), "Error in downloading firmware");
        // A job the spooler does not start is no download either.
        printer().jobsRefused = true;
        sim::ClickButton(dialog, IDC_FW_START);
        EXPECT_EQ(Text(dialog, IDC_FW_STATUS), "Error in downloading firmware");
    });
    ASSERT_EQ(spooler().jobs.size(), 1u) << "the missing file started no job";
    const sim::RawJob& broken = spooler().jobs[0];
    EXPECT_TRUE(broken.aborted);
    EXPECT_FALSE(broken.ended);
    ASSERT_FALSE(broken.blocks.empty());
    EXPECT_NE(Block(broken.blocks.back()), "\xFF\r") << "no trailer after a short body";
    EXPECT_EQ(Messages(), std::vector<std::wstring>({L"Error opening bin file", L"Error reading from bin file"}));
    for (size_t i = 0; i < sim::Ui().messageBoxes.size(); ++i)
        EXPECT_EQ(sim::Ui().messageBoxes[i].flags, UINT(MB_OK | MB_ICONERROR | MB_SETFOREGROUND));
}

// Download sends only a file it has just classified as firmware, by Select's rules: the
// path box edited after Select, or the selected file changed on disk, is checked again.
TEST_F(FirmwareDialog, DownloadChecksTheFileItSends) {
    const std::string laminator = [] {
        std::string bytes(300, '\xFF');
        bytes[275] = '\x0A';
        bytes.replace(277, 4, "N796");
        return bytes;
    }();
    struct Row {
        const char* what;
        bool offline;
        bool editPath;          // the box names the other file instead of the selected one
        std::string onDisk;     // what the sent file holds at the time of the download
        const wchar_t* message;  // nullptr: the file is sent
        const char* type;        // the type shown after the download
    };
    const Row rows[] = {
        {"a typed path to a file that is no firmware", false, true, std::string(200, '\xFF'),
         L"Incorrect  firmware file.\nPlease select correct firmware file.", "Printer F/W"},
        {"the same, offline", true, true, "text, not firmware",
         L"Incorrect  firmware file.\nPlease select correct firmware file.", "Printer F/W"},
        {"the selected file replaced by one that is no firmware", false, false, "",
         L"Incorrect  firmware file.\nPlease select correct firmware file.", "Printer F/W"},
        {"the selected file replaced by laminator firmware", false, false, laminator, nullptr, "Laminator F/W"},
        {"a typed path to laminator firmware, offline", true, true, laminator, nullptr, "Laminator F/W"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Private(stored).manualRibbon = row.offline ? 1 : 0;
        sim::Ui().messageBoxes.clear();
        card().instructions.clear();
        spooler().jobs.clear();
        const std::wstring selected = MakeFile(L"q862.bin", PrinterFirmware(300));
        const std::wstring other = MakeFile(L"other.bin", "");
        std::string status, type;
        RunFirmware(selected, [&](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_FW_TYPE), "Printer F/W");
            if (row.editPath) {
                ASSERT_TRUE(sim::WriteWholeFile(other, row.onDisk));
                SetDlgItemTextW(dialog, IDC_FW_PATH, other.c_str());
            } else {
                ASSERT_TRUE(sim::WriteWholeFile(selected, row.onDisk));
            }
            sim::ClickButton(dialog, IDC_FW_START);
            status = Text(dialog, IDC_FW_STATUS);
            type = Text(dialog, IDC_FW_TYPE);
            EXPECT_TRUE(IsEnabled(dialog, IDC_FW_START));
        });
        service.Cancel();
        EXPECT_EQ(type, row.type);
        if (row.message) {
            EXPECT_EQ(Messages(), std::vector<std::wstring>({row.message}));
            EXPECT_EQ(status, "Error in downloading firmware");
            EXPECT_TRUE(card().instructions.empty());
            EXPECT_TRUE(spooler().jobs.empty());
        } else {
            EXPECT_EQ(status, "Firmware DownLoaded Successfully...");
            if (row.offline) {
                ASSERT_EQ(spooler().jobs.size(), 1u);
                EXPECT_EQ(Block(spooler().jobs[0].blocks[1]), laminator);
            } else {
                ASSERT_EQ(card().instructions.size(), 1u);
                EXPECT_EQ(Block(card().instructions[0].contents), laminator);
            }
        }
    }
}

// A path typed longer than the 260-character buffer it is read into would name another
// file once cut: it is refused whole, with the offline job's message, and nothing is
// sent. The longest path that fits goes to the port side whole.
TEST_F(FirmwareDialog, APathThatDoesNotFitIsRefusedWhole) {
    // A firmware file whose path is 259 characters long: a longer path cut to 259
    // characters would name it.
    const std::wstring sample = MakeFile(L"q862.bin", PrinterFirmware(300));
    const std::wstring folder = sample.substr(0, sample.rfind(L'\\') + 1);
    ASSERT_LT(folder.size(), 259u - 8u);
    const std::wstring longest =
        MakeFile(std::wstring(259 - folder.size() - 4, L'f') + L".bin", PrinterFirmware(400));
    ASSERT_EQ(longest.size(), 259u);
    struct Row {
        const char* what;
        bool offline;
        std::wstring path;
        bool refused;
    };
    const Row rows[] = {
        {"260 characters, which cut name another file", false, longest + L"n", true},
        {"300 characters, offline", true, L"C:\\" + std::wstring(296, L'p'), true},
        {"259 characters", false, longest, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Private(stored).manualRibbon = row.offline ? 1 : 0;
        sim::Ui().messageBoxes.clear();
        card().instructions.clear();
        spooler().jobs.clear();
        std::string status;
        RunFirmware(sample, [&](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_FW_PATH, row.path.c_str());
            sim::ClickButton(dialog, IDC_FW_START);
            status = Text(dialog, IDC_FW_STATUS);
        });
        service.Cancel();
        if (row.refused) {
            EXPECT_EQ(Messages(), std::vector<std::wstring>({L"Error opening bin file"}));
            for (const sim::MessageBoxRecord& box : sim::Ui().messageBoxes)
                EXPECT_EQ(box.flags, UINT(MB_OK | MB_ICONERROR | MB_SETFOREGROUND));
            EXPECT_EQ(status, "Error in downloading firmware");
            EXPECT_TRUE(card().instructions.empty());
            EXPECT_TRUE(spooler().jobs.empty());
        } else {
            ASSERT_EQ(card().instructions.size(), 1u);
            EXPECT_EQ(card().instructions[0].path, Ansi(row.path));
            EXPECT_EQ(Block(card().instructions[0].contents), PrinterFirmware(400));
        }
    }
}

}  // namespace
