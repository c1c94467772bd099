// The sheet window: a tree view of the page's items, built from the items' levels, and
// the controls that work the selected item through the service stand-in.
#include "sim/sheet_window.h"

#include <commctrl.h>

#include <cwchar>
#include <vector>

#include "sim/dialog_script.h"
#include "sim/screenshot.h"

namespace sim {
namespace {

constexpr wchar_t kClassName[] = L"QfSimSheetWindow";
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 470;
constexpr int kTabsHeight = 30;  // the tab strip above the page, when there is one

bool RegisterSheetClass(WNDPROC proc) {
    static bool registered = false;
    if (registered) return true;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW cls = {};
    cls.lpfnWndProc = proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kClassName;
    registered = RegisterClassW(&cls) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

bool IsChoiceList(const OPTTYPE& type) {
    return type.Type == TVOT_2STATES || type.Type == TVOT_3STATES || type.Type == TVOT_LISTBOX ||
           type.Type == TVOT_COMBOBOX;
}

bool IsNumber(const OPTTYPE& type) {
    return type.Type == TVOT_UDARROW || type.Type == TVOT_TRACKBAR || type.Type == TVOT_SCROLLBAR;
}

bool HasExtendedPush(const OPTITEM& item) {
    return (item.Flags & OPTIF_EXT_IS_EXTPUSH) && item.pExtPush && !(item.Flags & OPTIF_EXT_HIDE);
}

bool IsPushButton(const OPTITEM& item) { return item.pOptType && item.pOptType->Type == TVOT_PUSHBUTTON; }

}  // namespace

SheetWindow::SheetWindow(PropertySheetService& service, const std::wstring& title)
    : service_(service), title_(title) {}

SheetWindow::~SheetWindow() {
    if (window_) DestroyWindow(window_);
    if (icons_) ImageList_Destroy(icons_);
}

// The service draws each item with the icon of its current choice (a push button's own),
// from its set of standard icons; the shell's icons stand for them here, by kind: a
// document, the printer and its supplies, a picture.
constexpr int kDocumentIconId = 2, kPrinterIconId = 17, kPictureIconId = 19;
void SheetWindow::CreateItemIcons(HWND tree) {
    if (icons_ || !tree) return;
    const int size = GetSystemMetrics(SM_CXSMICON);
    icons_ = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 0);
    if (!icons_) return;
    // The shell's icons of a document, a printer and a picture, by their resource ids.
    HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const int ids[3] = {kDocumentIconId, kPrinterIconId, kPictureIconId};
    for (int kind = 0; kind < 3 && shell; ++kind) {
        HICON icon = static_cast<HICON>(
            LoadImageW(shell, MAKEINTRESOURCEW(ids[kind]), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        if (!icon) continue;
        iconIndex_[kind] = ImageList_AddIcon(icons_, icon);
        DestroyIcon(icon);
    }
    if (shell) FreeLibrary(shell);
    TreeView_SetImageList(tree, icons_, TVSIL_NORMAL);
}

int SheetWindow::IconOf(const OPTITEM& item) const {
    ULONG_PTR icon = 0;
    if (item.pOptType && item.pOptType->pOptParam && item.pOptType->Count > 0) {
        const int choice = IsPushButton(item) || item.Sel < 0 || item.Sel >= item.pOptType->Count ? 0 : item.Sel;
        icon = item.pOptType->pOptParam[choice].IconID;
    }
    switch (icon) {
    case 64009: case 64032: case 64039: case 64047: case 64080: case 64091:  // output, modes, panels, head, model, ribbon
        return iconIndex_[1];
    case 64040: case 64044:  // colour and monochrome
        return iconIndex_[2];
    default:
        return iconIndex_[0];
    }
}

bool SheetWindow::Create(bool show) {
    if (window_ || !RegisterSheetClass(WindowProc)) return false;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame = {0, 0, kClientWidth, kClientHeight + (tabs_.empty() ? 0 : kTabsHeight)};
    AdjustWindowRect(&frame, style, FALSE);
    window_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, title_.c_str(), style, 40, 40,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    if (!window_) return false;
    CreateControls();
    previousOwner_ = service_.Owner();
    service_.SetOwner(window_);
    FillTree();
    if (show) {
        ShowWindow(window_, SW_SHOWNORMAL);
        UpdateWindow(window_);
    }
    return true;
}

void SheetWindow::SetTabs(const std::vector<std::wstring>& tabs, int selected) {
    tabs_ = tabs;
    selectedTab_ = selected;
}

void SheetWindow::CreateControls() {
    struct ControlLayout {
        const wchar_t* cls;
        const wchar_t* text;
        DWORD style;
        int id, x, y, width, height;
    };
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const ControlLayout layouts[] = {
        {WC_TREEVIEWW, L"", child | WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                TVS_SHOWSELALWAYS, kTreeId, 8, 8, 544, 340},
        {L"STATIC", L"Choice:", child, kChoiceLabelId, 8, 362, 56, 20},
        {L"COMBOBOX", L"", child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kChoiceId, 68, 358, 300, 220},
        {L"EDIT", L"", WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kNumberId, 68, 358, 100, 24},
        {L"BUTTON", L"Set", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, kSetId, 176, 358, 60, 24},
        {L"BUTTON", L"Press...", child | WS_TABSTOP | BS_PUSHBUTTON, kPressId, 352, 358, 200, 24},
        {L"STATIC", L"", child | SS_LEFTNOWORDWRAP, kStatusId, 8, 396, 544, 20},
        {L"BUTTON", L"OK", child | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 290, 432, 80, 28},
        {L"BUTTON", L"Cancel", child | WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, 381, 432, 80, 28},
        {L"BUTTON", L"Apply", child | WS_TABSTOP | BS_PUSHBUTTON, kApplyId, 472, 432, 80, 28},
    };
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    const int top = tabs_.empty() ? 0 : kTabsHeight;
    if (!tabs_.empty()) {
        // The tab strip, its lower edge joining the page below it.
        HWND strip = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 4, 6,
                                     kClientWidth - 8, top, window_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabsId)), GetModuleHandleW(nullptr),
                                     nullptr);
        if (strip) {
            SendMessageW(strip, WM_SETFONT, font, FALSE);
            for (size_t i = 0; i < tabs_.size(); ++i) {
                TCITEMW tab = {};
                tab.mask = TCIF_TEXT;
                tab.pszText = &tabs_[i][0];
                SendMessageW(strip, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
            }
            SendMessageW(strip, TCM_SETCURSEL, selectedTab_, 0);
        }
    }
    for (const ControlLayout& layout : layouts) {
        HWND control = CreateWindowExW(0, layout.cls, layout.text, layout.style, layout.x, layout.y + top, layout.width,
                                       layout.height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                                       GetModuleHandleW(nullptr), nullptr);
        if (control) SendMessageW(control, WM_SETFONT, font, FALSE);
    }
}

void SheetWindow::FillTree() {
    HWND tree = Control(kTreeId);
    CreateItemIcons(tree);
    const int keep = SelectedItem();
    filling_ = true;
    SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree);
    struct Parent {
        int level;
        HTREEITEM handle;
    };
    std::vector<Parent> parents;
    int initial = -1;
    for (int i = 0; i < service_.ItemCount(); ++i) {
        const OPTITEM& item = *service_.Item(i);
        if (item.Flags & OPTIF_HIDE) continue;  // the service does not show hidden items
        while (!parents.empty() && parents.back().level >= item.Level) parents.pop_back();
        // As the service's page shows an item: its title, and its current choice when it has
        // one. A push button's button and an extended push button appear below the tree
        // while the item is selected; a disabled item is drawn greyed (DrawTreeItem).
        std::wstring text = service_.ItemTitle(i);
        if (item.pOptType && !IsPushButton(item)) text += L": " + service_.CurrentChoice(i);
        TVINSERTSTRUCTW insert = {};
        insert.hParent = parents.empty() ? TVI_ROOT : parents.back().handle;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = &text[0];
        insert.item.lParam = i;
        insert.item.iImage = insert.item.iSelectedImage = IconOf(item);
        HTREEITEM handle = TreeView_InsertItem(tree, &insert);
        if (!parents.empty()) TreeView_Expand(tree, parents.back().handle, TVE_EXPAND);
        parents.push_back({item.Level, handle});
        if (initial < 0 && (item.Flags & OPTIF_INITIAL_TVITEM)) initial = i;
    }
    SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    filling_ = false;
    if (keep >= 0) SelectItem(keep);
    else if (initial >= 0) SelectItem(initial);
    else if (service_.ItemCount() > 0) SelectItem(0);
    else FillChoiceControls(-1);
    InvalidateRect(tree, nullptr, TRUE);
}

void SheetWindow::Refresh() {
    if (window_) FillTree();
}

int SheetWindow::SelectedItem() const {
    HWND tree = window_ ? Control(kTreeId) : nullptr;
    HTREEITEM selected = tree ? TreeView_GetSelection(tree) : nullptr;
    if (!selected) return -1;
    TVITEMW item = {};
    item.mask = TVIF_PARAM;
    item.hItem = selected;
    return TreeView_GetItem(tree, &item) ? static_cast<int>(item.lParam) : -1;
}

void SheetWindow::SelectItem(int index) {
    HWND tree = Control(kTreeId);
    // Walk the tree in display order; items are few.
    std::vector<HTREEITEM> pending{TreeView_GetRoot(tree)};
    while (!pending.empty()) {
        HTREEITEM handle = pending.back();
        pending.pop_back();
        for (; handle; handle = TreeView_GetNextSibling(tree, handle)) {
            TVITEMW item = {};
            item.mask = TVIF_PARAM;
            item.hItem = handle;
            if (TreeView_GetItem(tree, &item) && item.lParam == index) {
                TreeView_SelectItem(tree, handle);
                FillChoiceControls(index);
                return;
            }
            if (HTREEITEM first = TreeView_GetChild(tree, handle)) pending.push_back(first);
        }
    }
}

void SheetWindow::FillChoiceControls(int index) {
    HWND choice = Control(kChoiceId);
    HWND number = Control(kNumberId);
    HWND set = Control(kSetId);
    const OPTITEM* item = service_.Item(index);
    const OPTTYPE* type = item ? item->pOptType : nullptr;
    const bool changeable = service_.CanChange(index);
    const bool list = type && IsChoiceList(*type);
    const bool numeric = type && IsNumber(*type);
    filling_ = true;
    SendMessageW(choice, CB_RESETCONTENT, 0, 0);
    if (list) {
        for (int c = 0; c < type->Count; ++c) {
            if (type->pOptParam[c].Flags & OPTPF_HIDE) continue;
            std::wstring text = service_.ChoiceText(index, c);
            if (type->pOptParam[c].Flags & OPTPF_DISABLED) text += L" (disabled)";
            const LRESULT row = SendMessageW(choice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            SendMessageW(choice, CB_SETITEMDATA, row, c);
            if (c == item->Sel) SendMessageW(choice, CB_SETCURSEL, row, 0);
        }
    }
    if (numeric) SetWindowTextW(number, std::to_wstring(item->Sel).c_str());
    filling_ = false;
    // Below the tree: the selected item's choices, or its button.
    ShowWindow(GetDlgItem(window_, kChoiceLabelId), list || numeric ? SW_SHOW : SW_HIDE);
    ShowWindow(choice, list ? SW_SHOW : SW_HIDE);
    ShowWindow(number, numeric ? SW_SHOW : SW_HIDE);
    ShowWindow(set, numeric ? SW_SHOW : SW_HIDE);
    EnableWindow(choice, list && changeable);
    EnableWindow(number, numeric && changeable);
    EnableWindow(set, numeric && changeable);
    const bool pushButton = type && type->Type == TVOT_PUSHBUTTON && changeable &&
                            !(type->pOptParam[0].Flags & OPTPF_DISABLED);
    const bool extended = item && HasExtendedPush(*item) &&
                          !(item->Flags & (OPTIF_DISABLED | OPTIF_EXT_DISABLED));
    // The button carries the item's own title (a push button) or the extended push
    // button's; it shows only for an item that has one, greyed when it cannot be pressed.
    const bool hasButton = item && (IsPushButton(*item) || HasExtendedPush(*item));
    HWND press = Control(kPressId);
    if (hasButton) {
        const std::wstring title = IsPushButton(*item) ? service_.ItemTitle(index) : service_.ExtendedPushTitle(index);
        SetWindowTextW(press, (title + L"...").c_str());
    }
    ShowWindow(press, hasButton ? SW_SHOW : SW_HIDE);
    EnableWindow(press, pushButton || extended);
}

LRESULT SheetWindow::DrawTreeItem(NMTVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const OPTITEM* item = service_.Item(static_cast<int>(draw->nmcd.lItemlParam));
        if (item && (item->Flags & OPTIF_DISABLED)) draw->clrText = GetSysColor(COLOR_GRAYTEXT);
        return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
    }
}

void SheetWindow::Report(const std::string& action, long long answer) {
    std::wstring text(action.begin(), action.end());
    if (answer == PropertySheetService::kRefused && !service_.Problem().empty()) {
        const std::string& problem = service_.Problem();
        text += L" refused: " + std::wstring(problem.begin(), problem.end());
    } else {
        text += L" -> " + std::to_wstring(answer);
    }
    SetWindowTextW(Control(kStatusId), text.c_str());
}

void SheetWindow::ChoiceChanged() {
    const int index = SelectedItem();
    HWND choice = Control(kChoiceId);
    const LRESULT row = SendMessageW(choice, CB_GETCURSEL, 0, 0);
    if (index < 0 || row == CB_ERR) return;
    const auto sel = static_cast<LONG>(SendMessageW(choice, CB_GETITEMDATA, row, 0));
    Report("selection", service_.Select(index, sel));
    FillTree();
}

void SheetWindow::NumberSet() {
    const int index = SelectedItem();
    if (index < 0) return;
    const std::wstring text = WindowTitle(Control(kNumberId));
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.c_str(), &end, 10);
    if (text.empty() || (end && *end)) {
        SetWindowTextW(Control(kStatusId), L"not a number");
        return;
    }
    Report("number", service_.Select(index, value));
    FillTree();
}

void SheetWindow::Press() {
    const int index = SelectedItem();
    const OPTITEM* item = service_.Item(index);
    if (!item) return;
    if (item->pOptType && item->pOptType->Type == TVOT_PUSHBUTTON) Report("dialog", service_.PushButton(index));
    else Report("extended push", service_.ExtendedPush(index));
    FillTree();
}

void SheetWindow::Finish(int result) {
    result_ = result;
    Report(result == IDOK ? "OK" : "Cancel", result == IDOK ? service_.Commit() : service_.Cancel());
    DestroyWindow(window_);
}

int SheetWindow::Run() {
    if (!window_) return 0;
    ShowWindow(window_, SW_SHOWNORMAL);
    MSG message;
    while (window_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return result_ ? result_ : IDCANCEL;
}

bool SheetWindow::SavePng(const std::wstring& path) { return window_ && SaveWindowPng(window_, path); }

LRESULT CALLBACK SheetWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SheetWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->window_) return DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT SheetWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (filling_) return 0;
        switch (LOWORD(wParam)) {
        case kChoiceId:
            if (HIWORD(wParam) == CBN_SELCHANGE) ChoiceChanged();
            return 0;
        case kSetId: NumberSet(); return 0;
        case kPressId: Press(); return 0;
        case kApplyId:
            Report("apply", service_.Apply());
            FillTree();
            return 0;
        case IDOK: Finish(IDOK); return 0;
        case IDCANCEL: Finish(IDCANCEL); return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom != static_cast<UINT_PTR>(kTreeId)) break;
        if (header->code == NM_CUSTOMDRAW) return DrawTreeItem(reinterpret_cast<NMTVCUSTOMDRAW*>(lParam));
        if (header->code == TVN_SELCHANGEDW && !filling_) FillChoiceControls(SelectedItem());
        return 0;
    }
    case WM_CLOSE: Finish(IDCANCEL); return 0;
    case WM_DESTROY: {
        HWND window = window_;
        window_ = nullptr;
        service_.SetOwner(previousOwner_);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return 0;
    }
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

bool RenderSheetPng(PropertySheetService& service, const std::wstring& title, const std::wstring& path,
                    int selected, const std::vector<std::wstring>& tabs, int selectedTab) {
    SheetWindow window(service, title);
    window.SetTabs(tabs, selectedTab);
    if (!window.Create(true)) return false;
    if (selected >= 0) window.SelectItem(selected);
    // The tree has the focus, as on a page the user works: the selection shows in full.
    SetFocus(GetDlgItem(window.Handle(), SheetWindow::kTreeId));
    PumpMessages();
    return window.SavePng(path);
}

}  // namespace sim
