// The property-sheet service stand-in, the dialog scripts and the window pictures,
// driven with a small test page of this program's own: a header, a two-state item, a
// list with an extended push button, an up-down number, push buttons and a hidden item.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "driver/platform/ddk.h"
#include "sim/dialog_script.h"
#include "sim/property_sheet.h"
#include "sim/screenshot.h"
#include "sim/sheet_window.h"

namespace {

// The dialog template of property_sheet_service_test.rc and its controls.
constexpr WORD kServiceTestDialog = 4201;
constexpr int kMoreButton = 1001;
constexpr int kTextBox = 1002;
constexpr INT_PTR kDialogOk = 42;

enum ItemIndex { kHeader, kOrientation, kMode, kCopies, kAdjust, kLocked, kSecret, kItemCount };

struct SheetRecord {
    WORD reason;
    LPARAM lParam;
    PROPSHEETUI_INFO info;
    SETRESULT_INFO setResult;
};

struct CallbackRecord {
    CPSUICBPARAM param;
    LONG selAtCall;
};

struct TestLog {
    std::vector<SheetRecord> sheet;
    LONG_PTR addAnswer = 0;
    LONG added = 0;
    std::vector<CallbackRecord> callbacks;
    std::vector<CPSUICBPARAM> dialogParams;  // lParam of each dialog's WM_INITDIALOG
    std::vector<INT_PTR> nestedResults;
    // Applied to the page before the sheet adds it, to spoil it.
    std::function<void(COMPROPSHEETUI&)> spoil;
};
TestLog g_log;

// The test page, rebuilt at every INIT as a driver rebuilds its own.
struct TestPage {
    OPTPARAM orientation[2];
    OPTPARAM mode[3];
    OPTPARAM copies[2];
    OPTPARAM adjust[1];
    OPTPARAM locked[1];
    OPTPARAM secret[1];
    OPTTYPE types[6];
    EXTPUSH details;
    OPTITEM items[kItemCount];
    COMPROPSHEETUI page;
};
TestPage g_page;

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        if (lParam) g_log.dialogParams.push_back(*reinterpret_cast<const CPSUICBPARAM*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: EndDialog(dialog, kDialogOk); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        case kMoreButton:
            g_log.nestedResults.push_back(DialogBoxParamW(GetModuleHandleW(nullptr),
                                                          MAKEINTRESOURCEW(kServiceTestDialog), dialog,
                                                          TestDialogProc, 0));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

LONG APIENTRY TestCallback(PCPSUICBPARAM param) {
    g_log.callbacks.push_back({*param, param->pCurItem ? param->pCurItem->Sel : -1});
    switch (param->Reason) {
    case CPSUICB_REASON_SEL_CHANGED:
        // The orientation decides whether "Locked" may be pressed.
        if (param->pCurItem == &g_page.items[kOrientation]) {
            OPTITEM& locked = g_page.items[kLocked];
            locked.Flags = (locked.Flags & ~OPTIF_DISABLED) | (param->pCurItem->Sel == 1 ? 0 : OPTIF_DISABLED);
            locked.Flags |= OPTIF_CHANGED;
        }
        return CPSUICB_ACTION_OPTIF_CHANGED;
    case CPSUICB_REASON_DLGPROC: return CPSUICB_ACTION_OPTIF_CHANGED;
    case CPSUICB_REASON_APPLYNOW:
    case CPSUICB_REASON_ABOUT: return CPSUICB_ACTION_ITEMS_APPLIED;
    default: return CPSUICB_ACTION_NONE;
    }
}

OPTPARAM Param(LPCWSTR text, BYTE flags = 0) {
    OPTPARAM param = {};
    param.cbSize = sizeof param;
    param.Flags = flags;
    param.pData = const_cast<LPWSTR>(text);
    return param;
}

OPTTYPE Type(BYTE type, WORD count, OPTPARAM* params) {
    OPTTYPE optType = {};
    optType.cbSize = sizeof optType;
    optType.Type = type;
    optType.Count = count;
    optType.pOptParam = params;
    return optType;
}

OPTITEM Item(BYTE level, LPCWSTR title, DWORD flags, OPTTYPE* type, LONG sel) {
    OPTITEM item = {};
    item.cbSize = sizeof item;
    item.Level = level;
    item.Flags = flags;
    item.pName = const_cast<LPWSTR>(title);
    item.pOptType = type;
    item.Sel = sel;
    return item;
}

void BuildPage() {
    TestPage& p = g_page;
    p = TestPage();
    p.orientation[0] = Param(L"&Portrait");
    p.orientation[1] = Param(L"&Landscape");
    p.mode[0] = Param(L"Print");
    p.mode[1] = Param(L"Encode Only", OPTPF_DISABLED);
    p.mode[2] = Param(L"Service Only", OPTPF_HIDE);
    p.copies[0] = Param(L"");
    p.copies[1] = Param(nullptr);
    p.copies[1].IconID = 0;
    p.copies[1].lParam = 999;
    p.adjust[0] = Param(reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(TestDialogProc)));
    p.adjust[0].Style = PUSHBUTTON_TYPE_DLGPROC;
    p.adjust[0].lParam = kServiceTestDialog;
    p.locked[0] = p.adjust[0];
    p.secret[0] = Param(L"Only");
    p.types[0] = Type(TVOT_2STATES, 2, p.orientation);
    p.types[1] = Type(TVOT_LISTBOX, 3, p.mode);
    p.types[2] = Type(TVOT_UDARROW, 2, p.copies);
    p.types[3] = Type(TVOT_PUSHBUTTON, 1, p.adjust);
    p.types[3].Style = OTS_PUSH_ENABLE_ALWAYS;
    p.types[4] = Type(TVOT_PUSHBUTTON, 1, p.locked);
    p.types[5] = Type(TVOT_LISTBOX, 1, p.secret);
    p.details.cbSize = sizeof p.details;
    p.details.Flags = EPF_PUSH_TYPE_DLGPROC | EPF_NO_DOT_DOT_DOT;
    p.details.pTitle = const_cast<LPWSTR>(L"Details");
    p.details.DlgProc = TestDialogProc;
    p.details.DlgTemplateID = kServiceTestDialog;
    p.items[kHeader] = Item(0, L"Output", 0, nullptr, 0);
    p.items[kOrientation] = Item(1, L"Orientation", OPTIF_CALLBACK, &p.types[0], 0);
    p.items[kMode] = Item(1, L"Mode", OPTIF_CALLBACK | OPTIF_EXT_IS_EXTPUSH, &p.types[1], 0);
    p.items[kMode].pExtPush = &p.details;
    p.items[kCopies] = Item(0, L"Copies", 0, &p.types[2], 1);
    p.items[kAdjust] = Item(0, L"Adjust", OPTIF_CALLBACK, &p.types[3], 0);
    p.items[kLocked] = Item(0, L"Locked", OPTIF_CALLBACK | OPTIF_DISABLED, &p.types[4], 0);
    p.items[kSecret] = Item(0, L"Secret", OPTIF_HIDE, &p.types[5], 0);
    p.page.cbSize = sizeof p.page;
    p.page.Flags = CPSUIF_UPDATE_PERMISSION | CPSUIF_ABOUT_CALLBACK;
    p.page.hInstCaller = GetModuleHandleW(nullptr);
    p.page.pCallerName = const_cast<LPWSTR>(L"Service test");
    p.page.pOptItemName = const_cast<LPWSTR>(L"Service test");
    p.page.UserData = 0x1234;
    p.page.pfnCallBack = TestCallback;
    p.page.pOptItem = p.items;
    p.page.pDlgPage = CPSUI_PDLGPAGE_TREEVIEWONLY;
    p.page.cOptItem = kItemCount;
}

LONG CALLBACK TestSheet(PPROPSHEETUI_INFO info, LPARAM lParam) {
    SheetRecord record = {info->Reason, lParam, *info, {}};
    if (info->Reason == PROPSHEETUI_REASON_SET_RESULT && lParam)
        record.setResult = *reinterpret_cast<const SETRESULT_INFO*>(lParam);
    g_log.sheet.push_back(record);
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        BuildPage();
        if (g_log.spoil) g_log.spoil(g_page.page);
        info->UserData = reinterpret_cast<ULONG_PTR>(&g_page.page);
        info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_GET_PAGECOUNT, 0, 0);
        g_log.addAnswer = info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PCOMPROPSHEETUIW,
                                                reinterpret_cast<LPARAM>(&g_page.page),
                                                reinterpret_cast<LPARAM>(&g_log.added));
        info->Result = g_log.addAnswer ? 0 : static_cast<ULONG_PTR>(-1);
        return g_log.addAnswer ? 1 : -1;
    case PROPSHEETUI_REASON_SET_RESULT: info->Result = 4; return 1;
    case PROPSHEETUI_REASON_DESTROY: info->UserData = 0; return 1;
    default: return 1;
    }
}

std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// The first bytes of the file, or nothing when it cannot be read.
std::string FileStart(const std::wstring& path, size_t count) {
    std::string bytes(count, '\0');
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return std::string();
    bytes.resize(std::fread(&bytes[0], 1, count, file));
    std::fclose(file);
    return bytes;
}

const std::string kPngSignature("\x89PNG\r\n\x1a\n", 8);

class PropertySheetService : public testing::Test {
protected:
    void SetUp() override { g_log = TestLog(); }
    void OpenTestSheet() {
        ASSERT_EQ(service.Open(TestSheet, 0x4321), 1) << service.Problem();
        ASSERT_EQ(service.Page(), &g_page.page);
        g_log.callbacks.clear();
    }
    sim::PropertySheetService service;
};

TEST_F(PropertySheetService, OpenSendsInitAndKeepsTheAddedPage) {
    ASSERT_EQ(service.Open(TestSheet, 0x4321), 1) << service.Problem();
    ASSERT_EQ(g_log.sheet.size(), 1u);
    const SheetRecord& init = g_log.sheet[0];
    EXPECT_EQ(init.reason, PROPSHEETUI_REASON_INIT);
    EXPECT_EQ(init.lParam, 0x4321);
    EXPECT_EQ(init.info.cbSize, sizeof(PROPSHEETUI_INFO));
    EXPECT_EQ(init.info.Version, PROPSHEETUI_INFO_VERSION);
    EXPECT_NE(init.info.hComPropSheet, nullptr);
    EXPECT_NE(init.info.pfnComPropSheet, nullptr);
    EXPECT_EQ(init.info.lParamInit, 0x4321);
    EXPECT_NE(g_log.addAnswer, 0);
    EXPECT_EQ(g_log.added, 1) << "pages added";
    EXPECT_EQ(service.Functions(), (std::vector<UINT>{CPSFUNC_GET_PAGECOUNT, CPSFUNC_ADD_PCOMPROPSHEETUIW}));
    EXPECT_EQ(service.Page(), &g_page.page);
    EXPECT_EQ(service.ItemCount(), kItemCount);
    EXPECT_EQ(service.Item(kCopies), &g_page.items[kCopies]);
    EXPECT_EQ(service.Item(kItemCount), nullptr);
    EXPECT_EQ(service.Info().UserData, reinterpret_cast<ULONG_PTR>(&g_page.page));
    EXPECT_EQ(service.Info().Result, 0u);
    EXPECT_TRUE(service.IsOpen());
    EXPECT_EQ(service.Open(TestSheet, 0), sim::PropertySheetService::kRefused) << "one sheet at a time";
}

TEST_F(PropertySheetService, OkSendsSetResultThenDestroy) {
    OpenTestSheet();
    EXPECT_EQ(service.Commit(), 1);
    ASSERT_EQ(service.Reasons(), (std::vector<WORD>{PROPSHEETUI_REASON_INIT, PROPSHEETUI_REASON_SET_RESULT,
                                                    PROPSHEETUI_REASON_DESTROY}));
    const SETRESULT_INFO& result = g_log.sheet[1].setResult;
    EXPECT_EQ(result.cbSize, sizeof(SETRESULT_INFO));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(result.hSetResult), g_log.addAnswer) << "the handle the page got";
    EXPECT_EQ(result.Result, CPSUI_OK);
    EXPECT_EQ(service.SheetCalls()[1].resultField, 4u) << "what the sheet reported at SET_RESULT";
    EXPECT_EQ(g_log.sheet[2].lParam, 1) << "DESTROY after OK";
    EXPECT_FALSE(service.IsOpen());
    EXPECT_EQ(service.Page(), nullptr) << "the sheet freed its page at DESTROY";
    EXPECT_EQ(service.Commit(), sim::PropertySheetService::kRefused);
    EXPECT_EQ(service.Select(kOrientation, 1), sim::PropertySheetService::kRefused);
}

TEST_F(PropertySheetService, CancelAndTheEndOfTheServiceSendDestroyOnly) {
    OpenTestSheet();
    EXPECT_EQ(service.Cancel(), 1);
    EXPECT_EQ(service.Reasons(), (std::vector<WORD>{PROPSHEETUI_REASON_INIT, PROPSHEETUI_REASON_DESTROY}));
    EXPECT_EQ(g_log.sheet.back().lParam, 0) << "DESTROY after Cancel";

    g_log = TestLog();
    {
        sim::PropertySheetService shortLived;
        ASSERT_EQ(shortLived.Open(TestSheet, 0), 1);
    }
    ASSERT_EQ(g_log.sheet.size(), 2u);
    EXPECT_EQ(g_log.sheet[1].reason, PROPSHEETUI_REASON_DESTROY);
}

TEST_F(PropertySheetService, APageTheServiceCannotShowIsRefused) {
    struct Case {
        const char* what;
        std::function<void(COMPROPSHEETUI&)> spoil;
        LONG error;
    };
    const Case cases[] = {
        {"record size", [](COMPROPSHEETUI& p) { p.cbSize -= 4; }, ERR_CPSUI_INVALID_PDATA},
        {"no instance", [](COMPROPSHEETUI& p) { p.hInstCaller = nullptr; }, ERR_CPSUI_NULL_HINST},
        {"no items", [](COMPROPSHEETUI& p) { p.cOptItem = 0; }, ERR_CPSUI_ZERO_OPTITEM},
        {"item size", [](COMPROPSHEETUI& p) { p.pOptItem[3].cbSize = 48; }, ERR_CPSUI_INVALID_OPTITEM_CBSIZE},
        {"two states with three choices", [](COMPROPSHEETUI& p) { p.pOptItem[kOrientation].pOptType->Count = 3; },
         ERR_CPSUI_INVALID_OPTTYPE_COUNT},
        {"choice size", [](COMPROPSHEETUI& p) { p.pOptItem[kMode].pOptType->pOptParam[2].cbSize = 0; },
         ERR_CPSUI_INVALID_OPTPARAM_CBSIZE},
        {"extended push without template",
         [](COMPROPSHEETUI& p) { p.pOptItem[kMode].pExtPush->DlgTemplateID = 0; }, ERR_CPSUI_NO_EXTPUSH_DLGTEMPLATEID},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_log = TestLog();
        g_log.spoil = c.spoil;
        sim::PropertySheetService refusing;
        EXPECT_EQ(refusing.Open(TestSheet, 0), -1);
        EXPECT_EQ(g_log.addAnswer, 0);
        EXPECT_EQ(g_log.added, c.error);
        EXPECT_EQ(refusing.Page(), nullptr);
        EXPECT_FALSE(refusing.Problem().empty());
    }
}

TEST_F(PropertySheetService, SelectSetsTheChoiceAndCallsTheCallbackAsTheServiceDoes) {
    OpenTestSheet();
    HWND owner = GetDesktopWindow();
    service.SetOwner(owner);
    EXPECT_EQ(service.Select(kOrientation, 1), CPSUICB_ACTION_OPTIF_CHANGED);
    EXPECT_EQ(g_page.items[kOrientation].Sel, 1);
    ASSERT_EQ(g_log.callbacks.size(), 1u);
    const CPSUICBPARAM& param = g_log.callbacks[0].param;
    EXPECT_EQ(param.cbSize, sizeof(CPSUICBPARAM));
    EXPECT_EQ(param.Reason, CPSUICB_REASON_SEL_CHANGED);
    EXPECT_EQ(param.hDlg, owner);
    EXPECT_EQ(param.pOptItem, g_page.items);
    EXPECT_EQ(param.cOptItem, kItemCount);
    EXPECT_EQ(param.Flags, g_page.page.Flags);
    EXPECT_EQ(param.pCurItem, &g_page.items[kOrientation]);
    EXPECT_EQ(param.OldSel, 0);
    EXPECT_EQ(g_log.callbacks[0].selAtCall, 1) << "the new choice is in place when the callback runs";
    EXPECT_EQ(param.UserData, 0x1234u);
    // The callback enabled "Locked" and marked it; the service takes the mark away.
    EXPECT_EQ(service.ChangedItems(), std::vector<int>{kLocked});
    EXPECT_EQ(g_page.items[kLocked].Flags & (OPTIF_CHANGED | OPTIF_DISABLED), 0u);
    ASSERT_EQ(service.Callbacks().size(), 1u);
    EXPECT_EQ(service.Callbacks()[0].item, kOrientation);

    // An item without OPTIF_CALLBACK changes without a call; the range's ends are offered.
    EXPECT_EQ(service.Select(kCopies, 0), CPSUICB_ACTION_NONE);
    EXPECT_EQ(g_page.items[kCopies].Sel, 0);
    EXPECT_EQ(service.Select(kCopies, 999), CPSUICB_ACTION_NONE);
    EXPECT_EQ(g_page.items[kCopies].Sel, 999);
    EXPECT_EQ(g_log.callbacks.size(), 1u);
}

TEST_F(PropertySheetService, SelectRefusesWhatTheUserCannotPick) {
    OpenTestSheet();
    struct Case {
        const char* what;
        int item;
        LONG sel;
    };
    const Case cases[] = {
        {"header", kHeader, 0},           {"disabled item", kLocked, 0},     {"hidden item", kSecret, 0},
        {"push button", kAdjust, 0},      {"no such item", kItemCount, 0},   {"negative index", -1, 0},
        {"disabled choice", kMode, 1},    {"hidden choice", kMode, 2},       {"past the list", kMode, 3},
        {"negative choice", kMode, -1},   {"below the range", kCopies, -1},  {"above the range", kCopies, 1000},
        {"third of two states", kOrientation, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LONG before = c.item >= 0 && c.item < kItemCount ? g_page.items[c.item].Sel : 0;
        EXPECT_EQ(service.Select(c.item, c.sel), sim::PropertySheetService::kRefused);
        EXPECT_FALSE(service.Problem().empty());
        if (c.item >= 0 && c.item < kItemCount) {
            EXPECT_EQ(g_page.items[c.item].Sel, before);
        }
    }
    EXPECT_TRUE(g_log.callbacks.empty());

    g_page.page.Flags &= ~CPSUIF_UPDATE_PERMISSION;
    EXPECT_EQ(service.Select(kOrientation, 1), sim::PropertySheetService::kRefused) << "a read-only page";
    EXPECT_TRUE(service.CanChange(kAdjust)) << "a push button enabled always";
    EXPECT_FALSE(service.CanChange(kMode));
}

TEST_F(PropertySheetService, PageButtonsCallTheCallbackWithTheirReasons) {
    OpenTestSheet();
    struct Case {
        const char* what;
        LONG (sim::PropertySheetService::*press)();
        WORD reason;
        LONG action;
    };
    const Case cases[] = {
        {"apply", &sim::PropertySheetService::Apply, CPSUICB_REASON_APPLYNOW, CPSUICB_ACTION_ITEMS_APPLIED},
        {"undo", &sim::PropertySheetService::Undo, CPSUICB_REASON_UNDO_CHANGES, CPSUICB_ACTION_NONE},
        {"revert", &sim::PropertySheetService::Revert, CPSUICB_REASON_ITEMS_REVERTED, CPSUICB_ACTION_NONE},
        {"about", &sim::PropertySheetService::About, CPSUICB_REASON_ABOUT, CPSUICB_ACTION_ITEMS_APPLIED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_log.callbacks.clear();
        EXPECT_EQ((service.*c.press)(), c.action);
        ASSERT_EQ(g_log.callbacks.size(), 1u);
        EXPECT_EQ(g_log.callbacks[0].param.Reason, c.reason);
        EXPECT_EQ(g_log.callbacks[0].param.pCurItem, &g_page.items[0]);
        EXPECT_EQ(g_log.callbacks[0].param.UserData, 0x1234u);
    }

    g_log.callbacks.clear();
    g_page.page.Flags &= ~CPSUIF_ABOUT_CALLBACK;
    EXPECT_EQ(service.About(), sim::PropertySheetService::kRefused) << "the service shows its own About box";
    g_page.page.pfnCallBack = nullptr;
    EXPECT_EQ(service.Apply(), sim::PropertySheetService::kRefused) << "a page without callback";
    EXPECT_TRUE(g_log.callbacks.empty());
}

TEST_F(PropertySheetService, PushButtonsRunTheirDialogsOnTheCallersTemplate) {
    OpenTestSheet();
    std::wstring title;
    sim::DialogScript script([&](HWND dialog) {
        title = sim::WindowTitle(dialog);
        EXPECT_TRUE(sim::SetControlText(dialog, kTextBox, L"typed"));
        EXPECT_EQ(sim::ControlText(dialog, kTextBox), L"typed");
        EXPECT_TRUE(sim::ClickButton(dialog, IDOK));
    });
    script.Then([](HWND dialog) { sim::ClickButton(dialog, IDCANCEL); });

    EXPECT_EQ(service.PushButton(kAdjust), kDialogOk) << service.Problem();
    EXPECT_EQ(title, L"Service test dialog");
    ASSERT_EQ(g_log.dialogParams.size(), 1u);
    EXPECT_EQ(g_log.dialogParams[0].Reason, CPSUICB_REASON_DLGPROC);
    EXPECT_EQ(g_log.dialogParams[0].pCurItem, &g_page.items[kAdjust]);
    ASSERT_EQ(g_log.callbacks.size(), 1u) << "the item's callback hears of the closed dialog";
    EXPECT_EQ(g_log.callbacks[0].param.Reason, CPSUICB_REASON_DLGPROC);
    EXPECT_EQ(g_log.callbacks[0].param.pCurItem, &g_page.items[kAdjust]);

    EXPECT_EQ(service.ExtendedPush(kMode), IDCANCEL) << service.Problem();
    ASSERT_EQ(g_log.dialogParams.size(), 2u);
    EXPECT_EQ(g_log.dialogParams[1].Reason, CPSUICB_REASON_EXTPUSH);
    EXPECT_EQ(g_log.dialogParams[1].pCurItem, &g_page.items[kMode]);
    EXPECT_EQ(g_log.callbacks.size(), 1u) << "an extended push dialog runs without the callback";
    EXPECT_EQ(script.Ran(), 2);
    EXPECT_TRUE(script.Unexpected().empty());
}

TEST_F(PropertySheetService, DisabledButtonsAndItemsWithoutButtonsOpenNothing) {
    OpenTestSheet();
    sim::DialogScript script;
    struct Case {
        const char* what;
        INT_PTR (sim::PropertySheetService::*press)(int);
        int item;
    };
    const Case cases[] = {
        {"disabled push button", &sim::PropertySheetService::PushButton, kLocked},
        {"list as push button", &sim::PropertySheetService::PushButton, kMode},
        {"no extended push button", &sim::PropertySheetService::ExtendedPush, kOrientation},
        {"no such item", &sim::PropertySheetService::PushButton, kItemCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ((service.*c.press)(c.item), sim::PropertySheetService::kRefused);
    }
    g_page.items[kMode].Flags |= OPTIF_EXT_DISABLED;
    EXPECT_EQ(service.ExtendedPush(kMode), sim::PropertySheetService::kRefused) << "disabled extended push";
    g_page.items[kMode].Flags &= ~OPTIF_EXT_DISABLED;
    g_page.items[kMode].Flags |= OPTIF_DISABLED;
    EXPECT_EQ(service.ExtendedPush(kMode), sim::PropertySheetService::kRefused) << "on a disabled item";
    EXPECT_EQ(script.Ran(), 0);
    EXPECT_TRUE(script.Unexpected().empty()) << "no dialog was created";
    EXPECT_TRUE(g_log.callbacks.empty());
}

TEST_F(PropertySheetService, DescribeItemsShowsTheTreeAsTheUserReadsIt) {
    OpenTestSheet();
    const std::vector<std::string> expected = {
        "Output",
        "  Orientation: Portrait {Portrait, Landscape}",
        "  Mode: Print {Print, Encode Only (disabled)} [Details]",
        "Copies: 1 (0..999)",
        "Adjust: [button]",
        "Locked: [button] (disabled)",
        "Secret: Only {Only} (hidden)",
    };
    EXPECT_EQ(service.DescribeItems(), expected);
    ASSERT_EQ(service.Select(kOrientation, 1), CPSUICB_ACTION_OPTIF_CHANGED);
    EXPECT_EQ(service.DescribeItems()[1], "  Orientation: Landscape {Portrait, Landscape}");
    EXPECT_EQ(service.DescribeItems()[5], "Locked: [button]");
}

TEST(DialogScript, NestedDialogsTakeTheirScriptsInOrder) {
    g_log = TestLog();
    std::vector<std::string> steps;
    sim::DialogScript script([&](HWND outer) {
        steps.push_back("outer");
        sim::ClickButton(outer, kMoreButton);
        steps.push_back("outer again");
        sim::ClickButton(outer, IDOK);
    });
    script.Then([&](HWND inner) {
        steps.push_back("inner");
        EXPECT_NE(GetWindow(inner, GW_OWNER), nullptr);
        sim::ClickButton(inner, IDCANCEL);
    });
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kServiceTestDialog), nullptr,
                                           TestDialogProc, 0);
    EXPECT_EQ(result, kDialogOk);
    EXPECT_EQ(steps, (std::vector<std::string>{"outer", "inner", "outer again"}));
    EXPECT_EQ(g_log.nestedResults, std::vector<INT_PTR>{IDCANCEL});
    EXPECT_EQ(script.Ran(), 2);
    EXPECT_EQ(script.Pending(), 0);
}

TEST(DialogScript, DialogsWithoutAScriptOrLeftOpenAreCancelled) {
    sim::DialogScript script([](HWND) {}, 50);
    auto open = [] {
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kServiceTestDialog), nullptr,
                               TestDialogProc, 0);
    };
    EXPECT_EQ(open(), IDCANCEL);
    EXPECT_EQ(script.LeftOpen(), std::vector<std::wstring>{L"Service test dialog"});
    EXPECT_EQ(open(), IDCANCEL);
    EXPECT_EQ(script.Unexpected(), std::vector<std::wstring>{L"Service test dialog"});
}

TEST(Screenshot, AShownDialogIsSavedAsPng) {
    const std::wstring path = TempPath(L"qf-service-dialog.png");
    DeleteFileW(path.c_str());
    bool saved = false;
    sim::DialogScript script([&](HWND dialog) {
        saved = sim::SaveWindowPng(dialog, path);
        sim::ClickButton(dialog, IDOK);
    });
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kServiceTestDialog), nullptr, TestDialogProc, 0);
    EXPECT_TRUE(saved);
    EXPECT_EQ(FileStart(path, 8), kPngSignature);
    DeleteFileW(path.c_str());

    HWND hidden = CreateWindowW(L"STATIC", L"hidden", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(sim::SaveWindowPng(hidden, path)) << "a window nobody sees";
    EXPECT_FALSE(sim::SaveWindowPng(nullptr, path));
    DestroyWindow(hidden);
}

// The window the manual's pictures come from draws the page as the service does: the
// tree holds titles and current choices only (greyed is how a disabled item shows), and
// the selected item's button sits below the tree with the button's own title.
TEST_F(PropertySheetService, TheSheetWindowDrawsItemsAsTheServicePageDoes) {
    OpenTestSheet();
    sim::SheetWindow window(service, L"Service test");
    ASSERT_TRUE(window.Create(true));
    HWND tree = GetDlgItem(window.Handle(), sim::SheetWindow::kTreeId);
    std::vector<std::wstring> texts;
    std::vector<HTREEITEM> pending{TreeView_GetRoot(tree)};
    while (!pending.empty()) {
        HTREEITEM handle = pending.back();
        pending.pop_back();
        for (; handle; handle = TreeView_GetNextSibling(tree, handle)) {
            wchar_t text[128] = {};
            TVITEMW item = {};
            item.mask = TVIF_TEXT;
            item.hItem = handle;
            item.pszText = text;
            item.cchTextMax = 128;
            TreeView_GetItem(tree, &item);
            texts.push_back(text);
            if (HTREEITEM child = TreeView_GetChild(tree, handle)) pending.push_back(child);
        }
    }
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Adjust", L"Copies: 1", L"Locked", L"Mode: Print", L"Orientation: Portrait",
                                                L"Output"}));

    HWND press = GetDlgItem(window.Handle(), sim::SheetWindow::kPressId);
    HWND choice = GetDlgItem(window.Handle(), sim::SheetWindow::kChoiceId);
    struct Case {
        int item;
        bool button, enabled, choices;
        const wchar_t* title;
    };
    const Case cases[] = {
        {kAdjust, true, true, false, L"Adjust..."},
        {kLocked, true, false, false, L"Locked..."},
        {kMode, true, true, true, L"Details..."},
        {kOrientation, false, false, true, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        window.SelectItem(c.item);
        EXPECT_EQ(IsWindowVisible(press) != FALSE, c.button);
        EXPECT_EQ(IsWindowVisible(choice) != FALSE, c.choices);
        if (!c.button) continue;
        EXPECT_EQ(IsWindowEnabled(press) != FALSE, c.enabled);
        EXPECT_EQ(sim::WindowTitle(press), c.title);
    }
}

TEST_F(PropertySheetService, TheSheetWindowChangesChoicesAndCommits) {
    OpenTestSheet();
    const std::wstring path = TempPath(L"qf-service-sheet.png");
    DeleteFileW(path.c_str());
    EXPECT_TRUE(sim::RenderSheetPng(service, L"Service test", path));
    EXPECT_EQ(FileStart(path, 8), kPngSignature);
    DeleteFileW(path.c_str());
    EXPECT_EQ(service.Owner(), nullptr) << "the window gave the dialogs' owner back";

    sim::SheetWindow window(service, L"Service test");
    ASSERT_TRUE(window.Create(true));
    EXPECT_EQ(window.SelectedItem(), kHeader);
    window.SelectItem(kOrientation);
    EXPECT_EQ(window.SelectedItem(), kOrientation);
    HWND choice = GetDlgItem(window.Handle(), sim::SheetWindow::kChoiceId);
    ASSERT_EQ(SendMessageW(choice, CB_GETCOUNT, 0, 0), 2);
    SendMessageW(choice, CB_SETCURSEL, 1, 0);
    SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(sim::SheetWindow::kChoiceId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(choice));
    EXPECT_EQ(g_page.items[kOrientation].Sel, 1);
    ASSERT_EQ(g_log.callbacks.size(), 1u);
    EXPECT_EQ(g_log.callbacks[0].param.hDlg, window.Handle()) << "the window owns what the page opens";

    window.SelectItem(kMode);
    EXPECT_EQ(SendMessageW(choice, CB_GETCOUNT, 0, 0), 2) << "hidden choices are not offered";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window.Handle(), sim::SheetWindow::kPressId))) << "extended push";
    window.SelectItem(kCopies);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window.Handle(), sim::SheetWindow::kNumberId)));
    sim::SetControlText(window.Handle(), sim::SheetWindow::kNumberId, L"7");
    sim::ClickButton(window.Handle(), sim::SheetWindow::kSetId);
    EXPECT_EQ(g_page.items[kCopies].Sel, 7);

    sim::ClickButton(window.Handle(), sim::SheetWindow::kApplyId);
    EXPECT_EQ(g_log.callbacks.back().param.Reason, CPSUICB_REASON_APPLYNOW);
    sim::ClickButton(window.Handle(), IDOK);
    EXPECT_EQ(window.Handle(), nullptr) << "OK closes the window";
    EXPECT_EQ(service.Reasons(), (std::vector<WORD>{PROPSHEETUI_REASON_INIT, PROPSHEETUI_REASON_SET_RESULT,
                                                    PROPSHEETUI_REASON_DESTROY}));
}

}  // namespace
