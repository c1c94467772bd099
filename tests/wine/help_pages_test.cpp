// The Help button of every dialog, pressed as a user presses it in the dialogs the two
// sheets open: the page of the operator's manual it opens (through the shell's open
// verb, from the directory of the module), and a module without its manual, whose
// dialogs go on working.
#include "tests/wine/wine_test.h"

#include <algorithm>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "driver/resources/resource.h"
#include "driver/settings/ribbons.h"
#include "sim/dialog_script.h"
#include "sim/driver_install.h"
#include "sim/files.h"
#include "sim/property_sheet.h"
#include "tests/wine/records.h"
#include "tests/wine/sheet_dialogs.h"

namespace {

using Script = std::function<void(HWND)>;

// Presses Help, then the dialog's own close button.
Script HelpThenClose(int closeId) {
    return [closeId](HWND dialog) {
        sim::ClickButton(dialog, IDC_HELP_BUTTON);
        sim::ClickButton(dialog, closeId);
    };
}

// The pages the shell was asked to open, by file name, checking that each lies beside
// the module and exists there, and that nothing else was opened.
std::vector<std::wstring> OpenedPages(const std::wstring& moduleDirectory) {
    std::vector<std::wstring> pages;
    for (const sim::ShellCall& call : sim::Ui().shellCalls) {
        EXPECT_EQ(call.verb, L"open");
        EXPECT_EQ(call.directory, moduleDirectory);
        EXPECT_EQ(call.file.compare(0, moduleDirectory.size(), moduleDirectory), 0) << sim::Utf8(call.file);
        EXPECT_NE(GetFileAttributesW(call.file.c_str()), INVALID_FILE_ATTRIBUTES)
            << sim::Utf8(call.file) << " is not installed beside the module";
        pages.push_back(call.file.substr(moduleDirectory.size()));
    }
    EXPECT_TRUE(sim::Ui().helpCalls.empty()) << "no help file is installed";
    return pages;
}

// The document sheet of a Q862k that answers, printing both sides with a mode that
// varnishes the back, so that every push button is offered.
class DocumentSheetHelp : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Record stored = DriverRecord();
        Private(stored).printBothSides = 1;
        Private(stored).printModeIndex = 1;
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
        out.assign(qf::kRecordSize, 0);
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
    // A hologram ribbon in the printer and in the stored settings.
    void HologramRibbon() {
        printer().card.ribbonNumber = 19;
        Private(printer().devmode).ribbonType = qf::RibbonFromPrinterNumber(19);
    }
    void OpenSheet(QfPropSheetUiProc sheets) {
        ASSERT_EQ(service.Open(sheets, reinterpret_cast<LPARAM>(&header)), 1);
        ASSERT_NE(service.Page(), nullptr) << service.Problem();
        sim::ResetUi();
    }
    // Presses a push button (or the ribbon item's extended one) and runs the scripts in
    // the dialog it opens and in the dialogs those open, in order.
    void Press(int item, const std::vector<Script>& scripts, bool extended = false) {
        sim::DialogScript run;
        for (const Script& script : scripts) run.Then(script);
        const INT_PTR result = extended ? service.ExtendedPush(item) : service.PushButton(item);
        EXPECT_NE(result, sim::PropertySheetService::kRefused) << service.Problem();
        EXPECT_EQ(run.Ran(), static_cast<int>(scripts.size()));
        EXPECT_TRUE(run.Unexpected().empty());
        EXPECT_TRUE(run.LeftOpen().empty());
    }

    HANDLE handle = nullptr;
    Record out;
    DOCUMENTPROPERTYHEADER header = {};
    sim::PropertySheetService service;
};

TEST_F(DocumentSheetHelp, EachDialogsHelpOpensItsPage) {
    struct Case {
        int item;
        bool extended;
        std::vector<Script> scripts;
        std::vector<std::wstring> pages;
    };
    const Case cases[] = {
        {qf::kItemHeadSettings, false, {HelpThenClose(IDC_CLOSE_BUTTON)}, {L"qf862k-head-settings.html"}},
        {qf::kItemColorAdjust, false, {HelpThenClose(IDC_CLOSE_BUTTON)}, {L"qf862k-color-correction.html"}},
        {qf::kItemFrontOverlay, false, {HelpThenClose(IDC_CLOSE_BUTTON)}, {L"qf862k-front-overlay.html"}},
        {qf::kItemBackOverlay, false, {HelpThenClose(IDC_CLOSE_BUTTON)}, {L"qf862k-back-overlay.html"}},
        {qf::kItemRibbon, true, {HelpThenClose(IDC_CLOSE_BUTTON)}, {L"qf862k-device-information.html"}},
    };
    OpenSheet(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        sim::ResetUi();
        Press(c.item, c.scripts, c.extended);
        EXPECT_EQ(OpenedPages(sim::ProgramDirectory()), c.pages);
    }
}

TEST_F(DocumentSheetHelp, TheHologramDialogsAndTheDialogsTheyOpenEachOpenTheirPage) {
    HologramRibbon();
    OpenSheet(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"));
    Press(qf::kItemHologram,
          {[](HWND dialog) {
               sim::ClickButton(dialog, IDC_HELP_BUTTON);
               if (IsDlgButtonChecked(dialog, IDC_HOLOGRAM_ENABLE) != BST_CHECKED)
                   sim::ClickButton(dialog, IDC_HOLOGRAM_ENABLE);
               sim::ClickButton(dialog, IDC_HOLOGRAM_REGION_BUTTON);
               sim::ClickButton(dialog, IDC_HOLOGRAM_HEAD_SETTINGS);
               sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
           },
           HelpThenClose(IDC_CLOSE_BUTTON), HelpThenClose(IDC_CLOSE_BUTTON)});
    EXPECT_EQ(OpenedPages(sim::ProgramDirectory()),
              (std::vector<std::wstring>{L"qf862k-hologram.html", L"qf862k-hologram-region.html",
                                         L"qf862k-head-settings.html"}));
}

// A copy of the module in a directory without the manual, loaded and routed to the
// stand-ins as the driver is.
HMODULE ModuleWithoutManual(std::wstring* directory) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    *directory = std::wstring(temp) + L"qfnomanual-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(directory->c_str(), nullptr);
    const std::wstring dll = *directory + L"qf862kui.dll";
    if (!CopyFileW((sim::ProgramDirectory() + L"qf862kui.dll").c_str(), dll.c_str(), FALSE)) return nullptr;
    std::string error;
    HMODULE module = sim::LoadDriver(&error, dll);
    EXPECT_NE(module, nullptr) << error;
    return module;
}

TEST_F(DocumentSheetHelp, WithoutTheManualHelpOpensNothingAndTheDialogGoesOn) {
    std::wstring directory;
    HMODULE module = ModuleWithoutManual(&directory);
    ASSERT_NE(module, nullptr);
    ASSERT_EQ(GetFileAttributesW((directory + L"qf862k-index.html").c_str()), INVALID_FILE_ATTRIBUTES);
    OpenSheet(reinterpret_cast<QfPropSheetUiProc>(
        reinterpret_cast<void*>(GetProcAddress(module, "DrvDocumentPropertySheets"))));
    std::string label;
    Press(qf::kItemHeadSettings, {[&label](HWND dialog) {
              sim::ClickButton(dialog, IDC_HELP_BUTTON);
              sim::DragSlider(dialog, IDC_HEAD_RESIN_BLACK, 8);
              label = sim::Utf8(sim::ControlText(dialog, IDC_HEAD_RESIN_BLACK_VALUE));
              sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
          }});
    EXPECT_TRUE(sim::Ui().shellCalls.empty());
    EXPECT_TRUE(sim::Ui().helpCalls.empty());
    EXPECT_EQ(sim::Ui().debugTraces, std::vector<std::string>{"Unable to find HELP FILE\n"});
    EXPECT_EQ(label, "8") << "the slider still works after Help";
    service.Commit();
    EXPECT_EQ(Private(out).headSettings[1], 8) << "the sheet keeps what the dialog set";
}

// The dependent files the real spooler keeps for the installed driver, by file name.
std::vector<std::wstring> InstalledDependentFiles() {
    HMODULE winspool = GetModuleHandleW(L"winspool.drv");
    auto openPrinter = reinterpret_cast<decltype(&OpenPrinterW)>(
        reinterpret_cast<void*>(GetProcAddress(winspool, "OpenPrinterW")));
    auto getDriver = reinterpret_cast<decltype(&GetPrinterDriverW)>(
        reinterpret_cast<void*>(GetProcAddress(winspool, "GetPrinterDriverW")));
    auto closePrinter = reinterpret_cast<decltype(&ClosePrinter)>(
        reinterpret_cast<void*>(GetProcAddress(winspool, "ClosePrinter")));
    std::vector<std::wstring> names;
    HANDLE printer = nullptr;
    if (!openPrinter(const_cast<LPWSTR>(sim::kInstalledPrinter), &printer, nullptr)) return names;
    DWORD needed = 0;
    getDriver(printer, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1, 0);
    if (getDriver(printer, nullptr, 3, info.data(), needed, &needed)) {
        const wchar_t* file = reinterpret_cast<DRIVER_INFO_3W*>(info.data())->pDependentFiles;
        for (; file && *file; file += wcslen(file) + 1) {
            const std::wstring path = file;
            names.push_back(path.substr(path.find_last_of(L'\\') + 1));
        }
    }
    closePrinter(printer);
    return names;
}

// The driver as the spooler installs it: the manual's files are its dependent files and
// lie beside it, and its dialogs' Help opens the page there.
TEST_F(DocumentSheetHelp, TheInstalledDriversHelpOpensThePageBesideIt) {
    std::wstring dll;
    std::string error;
    ASSERT_TRUE(sim::InstallDriverPackage(sim::ProgramDirectory(), &dll, &error)) << error;
    const std::wstring installed = dll.substr(0, dll.find_last_of(L'\\') + 1);
    const std::vector<std::wstring> manual = sim::ManualFiles(sim::ProgramDirectory());
    ASSERT_FALSE(manual.empty()) << "the package lists the manual's files";
    const std::vector<std::wstring> dependent = InstalledDependentFiles();
    for (const std::wstring& file : manual) {
        EXPECT_NE(std::find(dependent.begin(), dependent.end(), file), dependent.end())
            << sim::Utf8(file) << " is not a dependent file of the installed driver";
        EXPECT_NE(GetFileAttributesW((installed + file).c_str()), INVALID_FILE_ATTRIBUTES)
            << sim::Utf8(file) << " is not installed beside the driver";
    }

    HMODULE module = sim::LoadDriver(&error, dll);
    ASSERT_NE(module, nullptr) << error;
    OpenSheet(reinterpret_cast<QfPropSheetUiProc>(
        reinterpret_cast<void*>(GetProcAddress(module, "DrvDocumentPropertySheets"))));
    Press(qf::kItemColorAdjust, {HelpThenClose(IDC_CLOSE_BUTTON)});
    EXPECT_EQ(OpenedPages(installed), std::vector<std::wstring>{L"qf862k-color-correction.html"});
}

class DeviceSheetHelp : public DeviceSheetDialogs {};

TEST_F(DeviceSheetHelp, EachDialogsHelpOpensItsPage) {
    struct Case {
        int item;
        std::vector<Script> scripts;
        std::vector<std::wstring> pages;
    };
    const Case cases[] = {
        {qf::kDeviceItemTools, {HelpThenClose(IDC_CLOSE_BUTTON)}, {L"qf862k-tools.html"}},
        {qf::kDeviceItemDeviceInfo, {HelpThenClose(IDC_CLOSE_BUTTON)}, {L"qf862k-device-information.html"}},
        {qf::kDeviceItemEncoder,
         {[](HWND dialog) {
              sim::ClickButton(dialog, IDC_HELP_BUTTON);
              sim::ClickButton(dialog, IDC_ENCODER_ADVANCED);
              sim::ClickButton(dialog, IDC_ENCODER_CANCEL);
          },
          HelpThenClose(IDCANCEL)},
         {L"qf862k-encoder-settings.html", L"qf862k-advanced-settings.html"}},
    };
    OpenSheet();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        sim::ResetUi();
        sim::DialogScript run;
        for (const Script& script : c.scripts) run.Then(script);
        EXPECT_NE(service.PushButton(c.item), sim::PropertySheetService::kRefused) << service.Problem();
        EXPECT_EQ(run.Ran(), static_cast<int>(c.scripts.size()));
        EXPECT_TRUE(run.Unexpected().empty());
        EXPECT_EQ(OpenedPages(sim::ProgramDirectory()), c.pages);
    }
}

}  // namespace
