// The conventions every dialog follows: message boxes, Help button, close box.
// These run through the driver code linked into the test program, with the DLL as the
// source of resources.
#include "tests/wine/wine_test.h"

#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/ui/dialog_conventions.h"
#include "sim/files.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

class DialogConventions : public DriverTest {
protected:
    void TearDown() override {
        g_hInstance = Driver();
        DriverTest::TearDown();
    }
};

TEST_F(DialogConventions, ShowMessageUsesTheStringTableAndReturnsTheAnswer) {
    sim::Ui().answer = [](const sim::MessageBoxRecord&) { return IDCANCEL; };
    EXPECT_EQ(ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OKCANCEL | MB_ICONSTOP), IDCANCEL);
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
    const sim::MessageBoxRecord& box = sim::Ui().messageBoxes[0];
    EXPECT_EQ(box.caption, L"Varlo Halvard Line Printer");
    EXPECT_EQ(box.text, L"System Error");
    EXPECT_EQ(box.flags, UINT(MB_OKCANCEL | MB_ICONSTOP));
    EXPECT_EQ(box.owner, GetActiveWindow());
}

// Every text a dialog writes into its controls beside the printer's answers is a string
// of the module, so that all it shows can be changed or translated in its resources.
TEST_F(DialogConventions, TheTextsTheDialogsWriteAreInTheStringTable) {
    const std::pair<UINT, const wchar_t*> rows[] = {
        {IDS_NO_RESPONSE, L"Printer has no response"},
        {IDS_ACK_MARK, L"<ACK>"},
        {IDS_PRINTER_FIRMWARE, L"Printer F/W"},
        {IDS_LAMINATOR_FIRMWARE, L"Laminator F/W"},
        {IDS_UNKNOWN, L"Unknown"},
        {IDS_NOT_AVAILABLE, L"N/A"},
        {IDS_YES, L"Yes"},
        {IDS_NO, L"No"},
        {IDS_SMART_CARD_FIRST, L"Contact Encoder"},
        {IDS_SMART_CARD_FIRST + 1, L"Contact Encoder and HID iCLASS"},
        {IDS_SMART_CARD_FIRST + 2, L"Contact Encoder and MIFARE"},
        {IDS_SMART_CARD_FIRST + 3, L"Contact Station"},
        {IDS_SMART_CARD_FIRST + 4, L"HID iCLASS"},
        {IDS_SMART_CARD_FIRST + 5, L"MIFARE contactless"},
    };
    for (const auto& [id, text] : rows) {
        wchar_t loaded[64] = {};
        EXPECT_GT(LoadStringW(Driver(), id, loaded, 64), 0) << id;
        EXPECT_STREQ(loaded, text) << id;
    }
}

// A copy of the module in a directory of its own, so that a test decides which of the
// help file and the manual's pages lie beside it.
class ModuleCopy {
public:
    explicit ModuleCopy(const std::wstring& name) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        directory_ = std::wstring(temp) + L"qfhelp-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name + L"\\";
        CreateDirectoryW(directory_.c_str(), nullptr);
        const std::wstring dll = directory_ + L"qf862kui.dll";
        CopyFileW((sim::ProgramDirectory() + L"qf862kui.dll").c_str(), dll.c_str(), FALSE);
        module_ = LoadLibraryW(dll.c_str());
    }
    ~ModuleCopy() {
        for (const std::wstring& file : made_) DeleteFileW(file.c_str());
    }
    HMODULE Module() const { return module_; }
    const std::wstring& Directory() const { return directory_; }
    void Place(const std::wstring& name) {
        const std::wstring path = directory_ + name;
        EXPECT_TRUE(sim::WriteWholeFile(path, "<!DOCTYPE html>"));
        made_.push_back(path);
    }
    void Remove(const std::wstring& name) { DeleteFileW((directory_ + name).c_str()); }

private:
    std::wstring directory_;
    HMODULE module_ = nullptr;
    std::vector<std::wstring> made_;
};

// The manual's page comes first: a help file beside the module is opened only where no
// page of the manual is installed (current Windows has no viewer for it).
TEST_F(DialogConventions, HelpOpensTheDialogsPageOrTheHelpFileBesideTheModule) {
    ModuleCopy copy(L"choice");
    ASSERT_NE(copy.Module(), nullptr);
    g_hInstance = copy.Module();
    const std::wstring dir = copy.Directory();
    struct Case {
        const char* what;
        std::vector<std::wstring> present;
        std::wstring helpFile;  // the file WinHelpW opens, or empty
        std::wstring page;      // the page the shell opens, or empty
    };
    const Case cases[] = {
        {"help file and manual", {L"QF862K.HLP", L"qf862k-tools.html", L"qf862k-index.html"}, L"",
         dir + L"qf862k-tools.html"},
        {"help file and the contents page", {L"QF862K.HLP", L"qf862k-index.html"}, L"", dir + L"qf862k-index.html"},
        {"help file only", {L"QF862K.HLP"}, dir + L"QF862K.HLP", L""},
        {"manual only", {L"qf862k-tools.html", L"qf862k-index.html"}, L"", dir + L"qf862k-tools.html"},
        {"the dialog's page missing", {L"qf862k-index.html"}, L"", dir + L"qf862k-index.html"},
        {"neither", {}, L"", L""},
    };
    HWND owner = reinterpret_cast<HWND>(0x1234);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const wchar_t* file : {L"QF862K.HLP", L"qf862k-tools.html", L"qf862k-index.html"}) copy.Remove(file);
        for (const std::wstring& file : c.present) copy.Place(file);
        sim::ResetUi();
        ShowHelp(owner, qf::HelpTopic::kTools);
        if (c.helpFile.empty()) {
            EXPECT_TRUE(sim::Ui().helpCalls.empty());
        } else {
            ASSERT_EQ(sim::Ui().helpCalls.size(), 1u);
            EXPECT_EQ(sim::Ui().helpCalls[0].window, owner);
            EXPECT_EQ(sim::Ui().helpCalls[0].file, c.helpFile);
            EXPECT_EQ(sim::Ui().helpCalls[0].command, UINT(HELP_CONTENTS));
            EXPECT_EQ(sim::Ui().helpCalls[0].data, 0u);
        }
        if (c.page.empty()) {
            EXPECT_TRUE(sim::Ui().shellCalls.empty());
        } else {
            ASSERT_EQ(sim::Ui().shellCalls.size(), 1u);
            const sim::ShellCall& call = sim::Ui().shellCalls[0];
            EXPECT_EQ(call.window, owner);
            EXPECT_EQ(call.verb, L"open");
            EXPECT_EQ(call.file, c.page);
            EXPECT_EQ(call.parameters, L"");
            EXPECT_EQ(call.directory, dir);
            EXPECT_EQ(call.show, SW_SHOWNORMAL);
        }
        const bool opened = !c.helpFile.empty() || !c.page.empty();
        EXPECT_EQ(sim::Ui().debugTraces, opened ? std::vector<std::string>{}
                                                : std::vector<std::string>{"Unable to find HELP FILE\n"});
        if (opened) {
            EXPECT_TRUE(sim::Ui().messageBoxes.empty());
        } else {
            ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
            EXPECT_EQ(sim::Ui().messageBoxes[0].text,
                      L"Help could not be found: the manual is not installed beside the driver.");
        }
    }
}

// Help arrives somewhere: a page nothing opens gives way to the help file when there is
// one, a page that nothing at all opens is told with its path, and a help file without a
// viewer and without the manual is told too.
TEST_F(DialogConventions, HelpFallsBackAndTellsWhatDidNotOpen) {
    ModuleCopy copy(L"fallback");
    ASSERT_NE(copy.Module(), nullptr);
    g_hInstance = copy.Module();
    const std::wstring dir = copy.Directory();
    struct Case {
        const char* what;
        std::vector<std::wstring> present;
        BOOL helpResult;
        INT_PTR shellResult;
        size_t helpCalls;
        std::wstring page;     // the page handed to the shell, or empty
        std::wstring message;  // what the user is told, or empty
    };
    const Case cases[] = {
        {"no help viewer: the dialog's page", {L"QF862K.HLP", L"qf862k-tools.html"}, FALSE, 42, 0,
         dir + L"qf862k-tools.html", L""},
        {"no help viewer: the contents page", {L"QF862K.HLP", L"qf862k-index.html"}, FALSE, 42, 0,
         dir + L"qf862k-index.html", L""},
        {"no program for the page: the help file", {L"QF862K.HLP", L"qf862k-tools.html"}, TRUE, SE_ERR_NOASSOC, 1,
         dir + L"qf862k-tools.html", L""},
        {"no help viewer and no manual", {L"QF862K.HLP"}, FALSE, 42, 1, L"",
         L"Help could not be found: the manual is not installed beside the driver."},
        {"no program for the page", {L"qf862k-tools.html"}, TRUE, SE_ERR_NOASSOC, 0, dir + L"qf862k-tools.html",
         L"Help could not be opened: no program on this computer shows the manual's pages. Open " + dir +
             L"qf862k-tools.html in a web browser."},
        {"no viewer and no program", {L"QF862K.HLP", L"qf862k-tools.html"}, FALSE, SE_ERR_NOASSOC, 1,
         dir + L"qf862k-tools.html",
         L"Help could not be opened: no program on this computer shows the manual's pages. Open " + dir +
             L"qf862k-tools.html in a web browser."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const wchar_t* file : {L"QF862K.HLP", L"qf862k-tools.html", L"qf862k-index.html"}) copy.Remove(file);
        for (const std::wstring& file : c.present) copy.Place(file);
        sim::ResetUi();
        sim::Ui().helpResult = c.helpResult;
        sim::Ui().shellResult = c.shellResult;
        ShowHelp(nullptr, qf::HelpTopic::kTools);
        EXPECT_EQ(sim::Ui().helpCalls.size(), c.helpCalls);
        if (c.page.empty()) {
            EXPECT_TRUE(sim::Ui().shellCalls.empty());
        } else {
            ASSERT_EQ(sim::Ui().shellCalls.size(), 1u);
            EXPECT_EQ(sim::Ui().shellCalls[0].file, c.page);
        }
        if (c.message.empty()) {
            EXPECT_TRUE(sim::Ui().messageBoxes.empty());
        } else {
            ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
            EXPECT_EQ(sim::Ui().messageBoxes[0].text, c.message);
        }
    }
}

// A module in a folder whose path is longer than MAX_PATH (and than any fixed buffer of
// 1,024 characters) still opens its page, by the page's short path.
TEST_F(DialogConventions, HelpFromAFolderWithAVeryLongPath) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = L"\\\\?\\" + std::wstring(temp) + L"qfhelp-long-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    while (folder.size() < 1010 + 4) {
        folder += L"\\" + std::wstring(60, L'd');
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    const std::wstring dll = folder + L"\\qf862kui.dll", page = folder + L"\\qf862k-tools.html";
    ASSERT_TRUE(CopyFileW((sim::ProgramDirectory() + L"qf862kui.dll").c_str(), dll.c_str(), FALSE));
    ASSERT_TRUE(sim::WriteWholeFile(page, "<!DOCTYPE html>"));
    HMODULE module = LoadLibraryW(dll.c_str());
    if (module) {
        g_hInstance = module;
        ShowHelp(nullptr, qf::HelpTopic::kTools);
        if (sim::Ui().shellCalls.empty()) {
            // The platform gives no short form: the user is told, with the page.
            ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
            EXPECT_NE(sim::Ui().messageBoxes[0].text.find(L"qf862k-tools.html"), std::wstring::npos);
        } else {
            const std::wstring handed = sim::Ui().shellCalls[0].file;
            EXPECT_LT(handed.size(), size_t(MAX_PATH));
            EXPECT_NE(GetFileAttributesW(handed.c_str()), INVALID_FILE_ATTRIBUTES) << sim::Utf8(handed);
            EXPECT_TRUE(sim::Ui().messageBoxes.empty());
        }
    } else {
        ADD_FAILURE() << "the module could not be loaded from the long folder";
    }
    DeleteFileW(page.c_str());
}

TEST_F(DialogConventions, APageTheShellCannotOpenWritesATrace) {
    ModuleCopy copy(L"refused");
    ASSERT_NE(copy.Module(), nullptr);
    g_hInstance = copy.Module();
    copy.Place(L"qf862k-head-settings.html");
    sim::Ui().shellResult = SE_ERR_NOASSOC;  // no browser for the page
    ShowHelp(nullptr, qf::HelpTopic::kHeadSettings);
    ASSERT_EQ(sim::Ui().shellCalls.size(), 1u);
    EXPECT_EQ(sim::Ui().shellCalls[0].file, copy.Directory() + L"qf862k-head-settings.html");
    EXPECT_EQ(sim::Ui().debugTraces, std::vector<std::string>{"Unable to open the manual page\n"});
    EXPECT_EQ(sim::Ui().messageBoxes.size(), 1u) << "the user is told as well";
}

// A manual translated for the user's language lies in a folder named after the language
// beside the module ("de-DE", or "de" for every German); Help opens its page, the English
// one beside the module otherwise.
TEST_F(DialogConventions, HelpOpensThePageInTheUsersLanguageWhenOneIsInstalled) {
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    ASSERT_GT(LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), locale, LOCALE_NAME_MAX_LENGTH, 0),
              0);
    const std::wstring full = locale, language = full.substr(0, full.find(L'-'));
    ModuleCopy copy(L"language");
    ASSERT_NE(copy.Module(), nullptr);
    g_hInstance = copy.Module();
    const std::wstring dir = copy.Directory();
    copy.Place(L"qf862k-tools.html");
    copy.Place(L"qf862k-index.html");
    struct Case {
        const char* what;
        std::wstring folder;  // the translation's folder, or none
        std::wstring page;    // the page the shell opens
    };
    const Case cases[] = {
        {"the locale's folder", full, dir + full + L"\\qf862k-tools.html"},
        {"the language's folder", language, dir + language + L"\\qf862k-tools.html"},
        {"no translation", L"", dir + L"qf862k-tools.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.folder.empty()) {
            CreateDirectoryW((dir + c.folder).c_str(), nullptr);
            copy.Place(c.folder + L"\\qf862k-tools.html");
        }
        sim::ResetUi();
        ShowHelp(nullptr, qf::HelpTopic::kTools);
        ASSERT_EQ(sim::Ui().shellCalls.size(), 1u);
        EXPECT_EQ(sim::Ui().shellCalls[0].file, c.page);
        if (!c.folder.empty()) {
            copy.Remove(c.folder + L"\\qf862k-tools.html");
            RemoveDirectoryW((dir + c.folder).c_str());
        }
    }
}

int g_lastCommand = 0;

LRESULT CALLBACK CloseTestProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleCloseRequest(window, message, wParam, IDC_CLOSE_BUTTON)) return 0;
    if (message == WM_COMMAND) {
        g_lastCommand = LOWORD(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(DialogConventions, CloseBoxClicksTheDialogsOwnCloseButton) {
    WNDCLASSW cls = {};
    cls.lpfnWndProc = CloseTestProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"QfCloseTest";
    RegisterClassW(&cls);
    HWND window = CreateWindowW(L"QfCloseTest", L"close", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, cls.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    g_lastCommand = 0;
    SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(g_lastCommand, 0) << "other system commands pass";
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(g_lastCommand, IDC_CLOSE_BUTTON);
    EXPECT_TRUE(IsWindow(window)) << "the dialog's own button decides whether it closes";
    DestroyWindow(window);
}

}  // namespace
