// Option-item records of the property sheets.
#include "driver/state/option_items.h"

#include "driver/settings/module_state.h"

namespace qf {

LPWSTR LoadItemText(UINT id, WCHAR* text) {
    text[0] = L'\0';
    LoadStringW(g_hInstance, id, text, kItemTextChars);
    return text;
}

void SetChoice(OPTPARAM& param, LPWSTR text, ULONG_PTR icon, BYTE flags) {
    param = OPTPARAM();
    param.cbSize = sizeof(OPTPARAM);
    param.Flags = flags;
    param.pData = text;
    param.IconID = icon;
}

void SetType(OPTTYPE& type, BYTE kind, OPTPARAM* params, WORD count, WORD style) {
    type = OPTTYPE();
    type.cbSize = sizeof(OPTTYPE);
    type.Type = kind;
    type.Count = count;
    type.pOptParam = params;
    type.Style = style;
}

void SetItem(OPTITEM& item, BYTE level, LPWSTR title, DWORD flags, BYTE userItemId, OPTTYPE* type, LONG sel) {
    item = OPTITEM();
    item.cbSize = sizeof(OPTITEM);
    item.Level = level;
    item.Flags = flags;
    item.pName = title;
    item.Sel = sel;
    item.pOptType = type;
    item.UserItemID = userItemId;
    item.DMPubID = DMPUB_NONE;
}

void SetPushButton(OPTTYPE& type, OPTPARAM& param, DLGPROC proc, WORD templateId, ULONG_PTR icon) {
    SetChoice(param, reinterpret_cast<LPWSTR>(proc), icon);
    param.Style = PUSHBUTTON_TYPE_DLGPROC;
    param.lParam = templateId;
    SetType(type, TVOT_PUSHBUTTON, &param, 1, OTS_PUSH_ENABLE_ALWAYS);
}

INT_PTR CALLBACK UnofferedDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    EndDialog(dialog, IDCANCEL);
    return TRUE;
}

bool OpensOfferedDialog(const OPTITEM& item) {
    if (!item.pOptType || item.pOptType->Type != TVOT_PUSHBUTTON) return true;
    const DLGPROC proc = reinterpret_cast<DLGPROC>(item.pOptType->pOptParam[0].pData);
    return proc != nullptr && proc != UnofferedDialogProc;
}

void SetUpDown(OPTTYPE& type, OPTPARAM* params, LONG low, LONG high, ULONG_PTR icon) {
    static WCHAR noPostfix[1] = L"";
    SetChoice(params[0], noPostfix, icon);
    SetChoice(params[1], nullptr, static_cast<ULONG_PTR>(low));
    params[1].lParam = high;
    SetType(type, TVOT_UDARROW, params, 2, 0);
}

void FillPage(COMPROPSHEETUI& page, LPWSTR callerName, LPWSTR itemName, _CPSUICALLBACK callback, PDLGPAGE dlgPage,
              WORD itemCount, PagePermission permission) {
    page.cbSize = sizeof(COMPROPSHEETUI);
    page.Flags = CPSUIF_ABOUT_CALLBACK | (permission == PagePermission::kUpdate ? CPSUIF_UPDATE_PERMISSION : 0);
    page.hInstCaller = g_hInstance;
    page.pCallerName = callerName;
    page.pOptItemName = itemName;
    page.pfnCallBack = callback;
    page.pDlgPage = dlgPage;
    page.cOptItem = itemCount;
    page.CallerVersion = 0x0400;
    page.OptItemVersion = 0x0400;
}

bool AddPage(PROPSHEETUI_INFO* info, COMPROPSHEETUI* page) {
    LONG_PTR result = 0;
    return info->pfnComPropSheet &&
           info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PCOMPROPSHEETUIW, reinterpret_cast<LPARAM>(page),
                                 reinterpret_cast<LPARAM>(&result)) != 0;
}

void SetItemFlag(OPTITEM& item, DWORD flag, bool on) {
    const DWORD before = item.Flags;
    if (on)
        item.Flags |= flag;
    else
        item.Flags &= ~flag;
    if (item.Flags != before) item.Flags |= OPTIF_CHANGED;
}

}  // namespace qf
