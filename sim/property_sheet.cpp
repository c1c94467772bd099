// The property-sheet service stand-in: PROPSHEETUI_INFO reasons, the kept page and
// the user's actions on its items.
#include "sim/property_sheet.h"

#include <algorithm>
#include <cstdio>

#include "sim/ui_standins.h"

namespace sim {
namespace {

// Every service alive; hComPropSheet is the service's address and is checked here
// before the driver's calls are trusted.
std::vector<PropertySheetService*>& Services() {
    static std::vector<PropertySheetService*> services;
    return services;
}

// Handle of the page the service gives back for CPSFUNC_ADD_PCOMPROPSHEETUIW.
HANDLE const kPageHandle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5A01));

// Choices each option type must carry.
int ExpectedParamCount(BYTE type, WORD count) {
    switch (type) {
    case TVOT_2STATES: return 2;
    case TVOT_3STATES: return 3;
    case TVOT_UDARROW: return 2;
    case TVOT_TRACKBAR:
    case TVOT_SCROLLBAR: return 3;
    case TVOT_EDITBOX: return 2;
    case TVOT_PUSHBUTTON:
    case TVOT_CHKBOX: return 1;
    case TVOT_LISTBOX:
    case TVOT_COMBOBOX: return count >= 1 ? count : 1;
    default: return count;
    }
}

bool IsChoiceList(BYTE type) {
    return type == TVOT_2STATES || type == TVOT_3STATES || type == TVOT_LISTBOX || type == TVOT_COMBOBOX;
}

bool IsNumber(BYTE type) {
    return type == TVOT_UDARROW || type == TVOT_TRACKBAR || type == TVOT_SCROLLBAR;
}

// The user sees choice texts without the '&' that marks a keyboard accelerator; an '&'
// standing alone between words ("Front & Back") is text.
std::wstring WithoutAccelerator(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size() && text[i + 1] != L' ') ++i;
        out += text[i];
    }
    return out;
}

std::string Number(long long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld", value);
    return buffer;
}

}  // namespace

PropertySheetService::PropertySheetService() { Services().push_back(this); }

PropertySheetService::~PropertySheetService() {
    if (open_) Cancel();
    Services().erase(std::remove(Services().begin(), Services().end(), this), Services().end());
}

LONG PropertySheetService::Open(QfPropSheetUiProc sheetProc, LPARAM lParamInit) {
    if (open_ || !sheetProc) return Refuse(open_ ? "a sheet is already open" : "no sheet function");
    sheetProc_ = sheetProc;
    page_ = nullptr;
    pageHandle_ = nullptr;
    sheetCalls_.clear();
    functions_.clear();
    callbacks_.clear();
    changed_.clear();
    problem_.clear();
    info_ = PROPSHEETUI_INFO();
    info_.cbSize = sizeof info_;
    info_.Version = PROPSHEETUI_INFO_VERSION;
    info_.Flags = PSUIINFO_UNICODE;
    info_.hComPropSheet = reinterpret_cast<HANDLE>(this);
    info_.pfnComPropSheet = ComPropSheet;
    info_.lParamInit = lParamInit;
    open_ = true;
    return CallSheet(PROPSHEETUI_REASON_INIT, lParamInit);
}

LONG PropertySheetService::CallSheet(WORD reason, LPARAM lParam) {
    info_.Reason = reason;
    SheetCall call;
    call.reason = reason;
    call.lParam = lParam;
    call.result = sheetProc_(&info_, lParam);
    call.resultField = info_.Result;
    sheetCalls_.push_back(call);
    return call.result;
}

std::vector<WORD> PropertySheetService::Reasons() const {
    std::vector<WORD> reasons;
    for (const SheetCall& call : sheetCalls_) reasons.push_back(call.reason);
    return reasons;
}

LONG_PTR CALLBACK PropertySheetService::ComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1,
                                                     LPARAM lParam2) {
    auto& services = Services();
    auto found = std::find(services.begin(), services.end(), reinterpret_cast<PropertySheetService*>(sheet));
    if (found == services.end()) return 0;
    PropertySheetService& service = **found;
    service.functions_.push_back(function);
    if (function != CPSFUNC_ADD_PCOMPROPSHEETUIW) return 0;
    LONG pagesAdded = 0;
    const LONG status = service.AddPage(reinterpret_cast<COMPROPSHEETUI*>(lParam1), &pagesAdded);
    // lParam2 receives the number of pages added, or the error.
    if (lParam2) *reinterpret_cast<LONG*>(lParam2) = status < 0 ? status : pagesAdded;
    return status < 0 ? 0 : reinterpret_cast<LONG_PTR>(service.pageHandle_);
}

// Checks the page as the service does before it shows it; returns 1 or an ERR_CPSUI_* code.
LONG PropertySheetService::AddPage(COMPROPSHEETUI* page, LONG* pagesAdded) {
    auto fail = [this](LONG code, const std::string& why) {
        problem_ = "page refused: " + why;
        return code;
    };
    if (!page) return fail(ERR_CPSUI_INVALID_LPARAM, "no COMPROPSHEETUI");
    if (page->cbSize != sizeof(COMPROPSHEETUI))
        return fail(ERR_CPSUI_INVALID_PDATA, "COMPROPSHEETUI cbSize " + Number(page->cbSize));
    if (!page->hInstCaller) return fail(ERR_CPSUI_NULL_HINST, "no hInstCaller");
    if (!page->pCallerName) return fail(ERR_CPSUI_NULL_CALLERNAME, "no pCallerName");
    if (page->cOptItem == 0) return fail(ERR_CPSUI_ZERO_OPTITEM, "no items");
    if (!page->pOptItem) return fail(ERR_CPSUI_NULL_POPTITEM, "no pOptItem");
    for (int i = 0; i < page->cOptItem; ++i) {
        const OPTITEM& item = page->pOptItem[i];
        const std::string where = "item " + Number(i) + ": ";
        if (item.cbSize != sizeof(OPTITEM))
            return fail(ERR_CPSUI_INVALID_OPTITEM_CBSIZE, where + "cbSize " + Number(item.cbSize));
        if (const OPTTYPE* type = item.pOptType) {
            if (type->cbSize != sizeof(OPTTYPE))
                return fail(ERR_CPSUI_INVALID_OPTTYPE_CBSIZE, where + "OPTTYPE cbSize " + Number(type->cbSize));
            if (type->Type > TVOT_LAST) return fail(ERR_CPSUI_INVALID_TVOT_TYPE, where + "type " + Number(type->Type));
            if (type->Count != ExpectedParamCount(type->Type, type->Count))
                return fail(ERR_CPSUI_INVALID_OPTTYPE_COUNT, where + "Count " + Number(type->Count));
            if (!type->pOptParam) return fail(ERR_CPSUI_NULL_POPTPARAM, where + "no pOptParam");
            for (int p = 0; p < type->Count; ++p)
                if (type->pOptParam[p].cbSize != sizeof(OPTPARAM))
                    return fail(ERR_CPSUI_INVALID_OPTPARAM_CBSIZE,
                                where + "OPTPARAM " + Number(p) + " cbSize " + Number(type->pOptParam[p].cbSize));
            if (type->Type == TVOT_PUSHBUTTON && type->pOptParam[0].Style > PUSHBUTTON_TYPE_HTSETUP)
                return fail(ERR_CPSUI_INVALID_PUSHBUTTON_TYPE, where + "push button style " +
                                                                   Number(type->pOptParam[0].Style));
        }
        if ((item.Flags & OPTIF_EXT_IS_EXTPUSH) && item.pExtPush) {
            const EXTPUSH& push = *item.pExtPush;
            if (push.cbSize != sizeof(EXTPUSH))
                return fail(ERR_CPSUI_INVALID_EXTPUSH_CBSIZE, where + "EXTPUSH cbSize " + Number(push.cbSize));
            if ((push.Flags & EPF_PUSH_TYPE_DLGPROC) && !push.DlgProc)
                return fail(ERR_CPSUI_NULL_EXTPUSH_DLGPROC, where + "EXTPUSH without DlgProc");
            if ((push.Flags & EPF_PUSH_TYPE_DLGPROC) && !(push.Flags & EPF_USE_HDLGTEMPLATE) && !push.DlgTemplateID)
                return fail(ERR_CPSUI_NO_EXTPUSH_DLGTEMPLATEID, where + "EXTPUSH without DlgTemplateID");
        }
    }
    page_ = page;
    pageHandle_ = kPageHandle;
    *pagesAdded = 1;
    return 1;
}

OPTITEM* PropertySheetService::Item(int index) const {
    if (!page_ || !page_->pOptItem || index < 0 || index >= page_->cOptItem) return nullptr;
    return &page_->pOptItem[index];
}

LONG PropertySheetService::Refuse(const std::string& why) {
    problem_ = why;
    return kRefused;
}

bool PropertySheetService::CanChange(int index) const {
    const OPTITEM* item = Item(index);
    if (!item || !item->pOptType) return false;
    if (item->Flags & (OPTIF_DISABLED | OPTIF_HIDE)) return false;
    if (item->pOptType->Flags & OPTTF_TYPE_DISABLED) return false;
    const bool pushAlways = item->pOptType->Type == TVOT_PUSHBUTTON && (item->pOptType->Style & OTS_PUSH_ENABLE_ALWAYS);
    return (page_->Flags & CPSUIF_UPDATE_PERMISSION) || pushAlways;
}

CPSUICBPARAM PropertySheetService::CallbackParam(WORD reason, int index) const {
    CPSUICBPARAM param = {};
    param.cbSize = sizeof param;
    param.Reason = reason;
    param.hDlg = owner_;
    param.pOptItem = page_->pOptItem;
    param.cOptItem = page_->cOptItem;
    param.Flags = page_->Flags;
    param.pCurItem = Item(index);
    param.OldSel = param.pCurItem ? param.pCurItem->Sel : 0;
    param.UserData = page_->UserData;
    param.Result = CPSUI_OK;
    return param;
}

LONG PropertySheetService::CallCallback(CPSUICBPARAM& param, int index) {
    CallbackCall call;
    call.reason = param.Reason;
    call.item = index;
    call.oldSel = param.OldSel;
    call.action = page_->pfnCallBack(&param);
    callbacks_.push_back(call);
    changed_.clear();
    if (call.action == CPSUICB_ACTION_OPTIF_CHANGED)
        for (int i = 0; i < page_->cOptItem; ++i)
            if (page_->pOptItem[i].Flags & OPTIF_CHANGED) {
                changed_.push_back(i);
                page_->pOptItem[i].Flags &= ~OPTIF_CHANGED;
            }
    return call.action;
}

LONG PropertySheetService::Select(int index, LONG sel) {
    if (!page_) return Refuse("no page");
    OPTITEM* item = Item(index);
    if (!item) return Refuse("no item " + Number(index));
    if (!CanChange(index)) return Refuse("item " + Number(index) + " cannot be changed");
    const OPTTYPE& type = *item->pOptType;
    if (IsChoiceList(type.Type)) {
        if (sel < 0 || sel >= type.Count) return Refuse("choice " + Number(sel) + " is not offered");
        if (type.pOptParam[sel].Flags & (OPTPF_DISABLED | OPTPF_HIDE))
            return Refuse("choice " + Number(sel) + " is disabled or hidden");
    } else if (IsNumber(type.Type)) {
        const LONG low = static_cast<LONG>(type.pOptParam[1].IconID);
        const LONG high = static_cast<LONG>(type.pOptParam[1].lParam);
        if (sel < low || sel > high)
            return Refuse("number " + Number(sel) + " outside " + Number(low) + ".." + Number(high));
    } else if (type.Type == TVOT_CHKBOX) {
        if (sel != 0 && sel != 1) return Refuse("a check box is 0 or 1");
    } else {
        return Refuse("item " + Number(index) + " has no choice to select");
    }
    problem_.clear();
    CPSUICBPARAM param = CallbackParam(CPSUICB_REASON_SEL_CHANGED, index);
    item->Sel = sel;
    if (!(item->Flags & OPTIF_CALLBACK) || !page_->pfnCallBack) return CPSUICB_ACTION_NONE;
    return CallCallback(param, index);
}

LONG PropertySheetService::PageButton(WORD reason) {
    if (!page_) return Refuse("no page");
    if (!page_->pfnCallBack) return Refuse("the page has no callback");
    problem_.clear();
    CPSUICBPARAM param = CallbackParam(reason, 0);
    return CallCallback(param, 0);
}

LONG PropertySheetService::Apply() { return PageButton(CPSUICB_REASON_APPLYNOW); }
LONG PropertySheetService::Undo() { return PageButton(CPSUICB_REASON_UNDO_CHANGES); }
LONG PropertySheetService::Revert() { return PageButton(CPSUICB_REASON_ITEMS_REVERTED); }

LONG PropertySheetService::About() {
    if (page_ && !(page_->Flags & CPSUIF_ABOUT_CALLBACK))
        return Refuse("the page shows the service's own About box");
    return PageButton(CPSUICB_REASON_ABOUT);
}

INT_PTR PropertySheetService::RunItemDialog(HANDLE templateOrId, bool isHandle, DLGPROC proc,
                                            CPSUICBPARAM& param) {
    const LPARAM lParam = reinterpret_cast<LPARAM>(&param);
    if (isHandle)
        return DialogBoxIndirectParamW(page_->hInstCaller, static_cast<LPCDLGTEMPLATEW>(templateOrId), owner_,
                                       proc, lParam);
    const WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(templateOrId));
    return DialogBoxParamW(page_->hInstCaller, MAKEINTRESOURCEW(id), owner_, proc, lParam);
}

INT_PTR PropertySheetService::PushButton(int index) {
    if (!page_) return Refuse("no page");
    OPTITEM* item = Item(index);
    if (!item || !item->pOptType || item->pOptType->Type != TVOT_PUSHBUTTON)
        return Refuse("item " + Number(index) + " is not a push button");
    if (!CanChange(index) || (item->pOptType->pOptParam[0].Flags & OPTPF_DISABLED))
        return Refuse("push button " + Number(index) + " is disabled");
    const OPTPARAM& param0 = item->pOptType->pOptParam[0];
    if (param0.Style != PUSHBUTTON_TYPE_DLGPROC || !param0.pData)
        return Refuse("push button " + Number(index) + " has no dialog procedure");
    problem_.clear();
    CPSUICBPARAM param = CallbackParam(CPSUICB_REASON_DLGPROC, index);
    const DLGPROC proc = reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(param0.pData));
    const INT_PTR result = RunItemDialog(reinterpret_cast<HANDLE>(param0.lParam),
                                         (param0.Flags & OPTPF_USE_HDLGTEMPLATE) != 0, proc, param);
    if (result == -1) problem_ = "the dialog could not be created (error " + Number(GetLastError()) + ")";
    if ((item->Flags & OPTIF_CALLBACK) && page_->pfnCallBack) {
        CPSUICBPARAM after = CallbackParam(CPSUICB_REASON_DLGPROC, index);
        after.Result = static_cast<ULONG_PTR>(result);
        CallCallback(after, index);
    }
    return result;
}

INT_PTR PropertySheetService::ExtendedPush(int index) {
    if (!page_) return Refuse("no page");
    OPTITEM* item = Item(index);
    if (!item || !(item->Flags & OPTIF_EXT_IS_EXTPUSH) || !item->pExtPush)
        return Refuse("item " + Number(index) + " has no extended push button");
    if (item->Flags & (OPTIF_DISABLED | OPTIF_HIDE | OPTIF_EXT_DISABLED | OPTIF_EXT_HIDE))
        return Refuse("extended push button " + Number(index) + " is disabled or hidden");
    problem_.clear();
    const EXTPUSH& push = *item->pExtPush;
    CPSUICBPARAM param = CallbackParam(CPSUICB_REASON_EXTPUSH, index);
    if (push.Flags & EPF_PUSH_TYPE_DLGPROC) {
        const bool isHandle = (push.Flags & EPF_USE_HDLGTEMPLATE) != 0;
        HANDLE dialogTemplate = isHandle ? push.hDlgTemplate
                                         : reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(push.DlgTemplateID));
        const INT_PTR result = RunItemDialog(dialogTemplate, isHandle, push.DlgProc, param);
        if (result == -1) problem_ = "the dialog could not be created (error " + Number(GetLastError()) + ")";
        return result;
    }
    const _CPSUICALLBACK own = reinterpret_cast<_CPSUICALLBACK>(reinterpret_cast<void*>(push.pfnCallBack));
    if (own) {
        const LONG action = own(&param);
        callbacks_.push_back({CPSUICB_REASON_EXTPUSH, index, param.OldSel, action});
        return action;
    }
    if (!page_->pfnCallBack) return Refuse("the page has no callback");
    return CallCallback(param, index);
}

LONG PropertySheetService::Commit() {
    if (!open_) return Refuse("no sheet open");
    SETRESULT_INFO result = {};
    result.cbSize = sizeof result;
    result.hSetResult = pageHandle_;
    result.Result = CPSUI_OK;
    const LONG answer = CallSheet(PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&result));
    CallSheet(PROPSHEETUI_REASON_DESTROY, 1);
    open_ = false;
    page_ = nullptr;
    return answer;
}

LONG PropertySheetService::Cancel() {
    if (!open_) return Refuse("no sheet open");
    const LONG answer = CallSheet(PROPSHEETUI_REASON_DESTROY, 0);
    open_ = false;
    page_ = nullptr;
    return answer;
}

std::wstring PropertySheetService::Text(LPCWSTR text) const {
    if (!text) return std::wstring();
    if (IS_INTRESOURCE(text)) {
        const UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text));
        wchar_t buffer[256] = {};
        if (page_ && LoadStringW(page_->hInstCaller, id, buffer, 256) > 0) return buffer;
        return L"#" + std::to_wstring(id);
    }
    return text;
}

std::wstring PropertySheetService::ItemTitle(int index) const {
    const OPTITEM* item = Item(index);
    return item ? WithoutAccelerator(Text(item->pName)) : std::wstring();
}

std::wstring PropertySheetService::ChoiceText(int index, int choice) const {
    const OPTITEM* item = Item(index);
    if (!item || !item->pOptType || !IsChoiceList(item->pOptType->Type)) return std::wstring();
    if (choice < 0 || choice >= item->pOptType->Count) return std::wstring();
    return WithoutAccelerator(Text(item->pOptType->pOptParam[choice].pData));
}

std::wstring PropertySheetService::CurrentChoice(int index) const {
    const OPTITEM* item = Item(index);
    if (!item || !item->pOptType) return std::wstring();
    const OPTTYPE& type = *item->pOptType;
    if (IsChoiceList(type.Type)) {
        if (item->Sel < 0 || item->Sel >= type.Count) return L"<choice " + std::to_wstring(item->Sel) + L">";
        return ChoiceText(index, item->Sel);
    }
    if (IsNumber(type.Type)) {
        std::wstring text = std::to_wstring(item->Sel);
        const std::wstring postfix = Text(type.pOptParam[0].pData);
        if (!postfix.empty()) text += L" " + postfix;
        return text;
    }
    switch (type.Type) {
    case TVOT_PUSHBUTTON: return L"[button]";
    case TVOT_CHKBOX: return item->Sel ? L"[x]" : L"[ ]";
    case TVOT_EDITBOX: return L"\"" + Text(item->pSel) + L"\"";
    default: return L"<type " + std::to_wstring(type.Type) + L">";
    }
}

std::wstring PropertySheetService::ExtendedPushTitle(int index) const {
    const OPTITEM* item = Item(index);
    if (!item || !(item->Flags & OPTIF_EXT_IS_EXTPUSH) || !item->pExtPush) return std::wstring();
    return WithoutAccelerator(Text(item->pExtPush->pTitle));
}

std::vector<std::string> PropertySheetService::DescribeItems() const {
    std::vector<std::string> lines;
    for (int i = 0; i < ItemCount(); ++i) {
        const OPTITEM& item = *Item(i);
        std::wstring line(2u * item.Level, L' ');
        line += ItemTitle(i);
        if (const OPTTYPE* type = item.pOptType) {
            line += L": " + CurrentChoice(i);
            if (IsChoiceList(type->Type)) {
                std::wstring choices;
                for (int c = 0; c < type->Count; ++c) {
                    const BYTE flags = type->pOptParam[c].Flags;
                    if (flags & OPTPF_HIDE) continue;
                    if (!choices.empty()) choices += L", ";
                    choices += ChoiceText(i, c);
                    if (flags & OPTPF_DISABLED) choices += L" (disabled)";
                }
                line += L" {" + choices + L"}";
            } else if (IsNumber(type->Type)) {
                line += L" (" + std::to_wstring(static_cast<LONG>(type->pOptParam[1].IconID)) + L".." +
                        std::to_wstring(static_cast<LONG>(type->pOptParam[1].lParam)) + L")";
            } else if (type->Type == TVOT_PUSHBUTTON && (type->pOptParam[0].Flags & OPTPF_DISABLED)) {
                line += L" (disabled)";
            }
            if (type->Flags & OPTTF_TYPE_DISABLED) line += L" (choices disabled)";
        }
        if ((item.Flags & OPTIF_EXT_IS_EXTPUSH) && item.pExtPush && !(item.Flags & OPTIF_EXT_HIDE)) {
            const bool dots = !(item.pExtPush->Flags & EPF_NO_DOT_DOT_DOT);
            line += L" [" + ExtendedPushTitle(i) + (dots ? L"...]" : L"]");
            if (item.Flags & OPTIF_EXT_DISABLED) line += L" (disabled)";
        }
        if (item.Flags & OPTIF_DISABLED) line += L" (disabled)";
        if (item.Flags & OPTIF_HIDE) line += L" (hidden)";
        lines.push_back(Utf8(line));
    }
    return lines;
}

}  // namespace sim
