// The conventions every dialog follows: message boxes, Help button, close box.
// These run through the driver code linked into the test program, with the DLL as the
// source of resources.
#include "tests/wine/wine_test.h"

#include "driver/entry/dialog_conventions.h"
#include "driver/entry/module_state.h"
#include "driver/resources/resource.h"

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

TEST_F(DialogConventions, HelpOpensTheHelpFileAtItsContents) {
    HWND owner = reinterpret_cast<HWND>(0x1234);
    ShowHelp(owner);
    ASSERT_EQ(sim::Ui().helpCalls.size(), 1u);
    EXPECT_EQ(sim::Ui().helpCalls[0].window, owner);
    EXPECT_EQ(sim::Ui().helpCalls[0].file, L"QF862K.HLP");
    EXPECT_EQ(sim::Ui().helpCalls[0].command, UINT(HELP_CONTENTS));
    EXPECT_EQ(sim::Ui().helpCalls[0].data, 0u);
    EXPECT_TRUE(sim::Ui().debugTraces.empty());
}

TEST_F(DialogConventions, HelpWithoutItsFileNameWritesATrace) {
    g_hInstance = GetModuleHandleW(nullptr);  // a module without the help file's name
    ShowHelp(nullptr);
    EXPECT_TRUE(sim::Ui().helpCalls.empty());
    ASSERT_EQ(sim::Ui().debugTraces.size(), 1u);
    EXPECT_EQ(sim::Ui().debugTraces[0], "Unable to find HELP FILE\n");
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
