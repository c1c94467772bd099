// The common property-sheet service's option-item pages, for one sheet: it calls a
// sheet function with the PROPSHEETUI_INFO reasons, keeps the COMPROPSHEETUI the sheet
// adds, and drives its items as the service does when a user works the page.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "driver/platform/ddk.h"

namespace sim {

// One call of the sheet function, as the service made it.
struct SheetCall {
    WORD reason = 0;  // PROPSHEETUI_REASON_*
    LPARAM lParam = 0;
    LONG result = 0;
    ULONG_PTR resultField = 0;  // PROPSHEETUI_INFO.Result after the call
};

// One call of the page's callback.
struct CallbackCall {
    WORD reason = 0;  // CPSUICB_REASON_*
    int item = -1;    // index of pCurItem
    LONG oldSel = 0;
    LONG action = 0;  // CPSUICB_ACTION_* returned
};

class PropertySheetService {
public:
    // What a driving call returns when the service would not let the user do it: no such
    // item, a disabled, hidden or read-only item, a choice that is not offered, or no page.
    static constexpr LONG kRefused = -1;

    PropertySheetService();
    ~PropertySheetService();  // sends DESTROY when the sheet is still open
    PropertySheetService(const PropertySheetService&) = delete;
    PropertySheetService& operator=(const PropertySheetService&) = delete;

    // Calls the sheet function with PROPSHEETUI_REASON_INIT and lParam = lParamInit, as
    // the service does when the sheet is shown; returns its result. The sheet counts as
    // open from then on, whatever it answered, until Commit or Cancel sends DESTROY.
    // Refused when a sheet is already open.
    LONG Open(QfPropSheetUiProc sheetProc, LPARAM lParamInit);
    bool IsOpen() const { return open_; }

    // The page the sheet added with CPSFUNC_ADD_PCOMPROPSHEETUIW (nullptr when none, and
    // after DESTROY, when the sheet has freed it) and its items.
    COMPROPSHEETUI* Page() const { return page_; }
    int ItemCount() const { return page_ ? page_->cOptItem : 0; }
    OPTITEM* Item(int index) const;
    PROPSHEETUI_INFO& Info() { return info_; }
    const PROPSHEETUI_INFO& Info() const { return info_; }

    // Window that owns the dialogs the page opens, and hDlg of every callback.
    void SetOwner(HWND owner) { owner_ = owner; }
    HWND Owner() const { return owner_; }

    // Records of what happened, in order.
    const std::vector<SheetCall>& SheetCalls() const { return sheetCalls_; }
    std::vector<WORD> Reasons() const;  // the PROPSHEETUI reasons sent
    const std::vector<UINT>& Functions() const { return functions_; }  // pfnComPropSheet calls
    const std::vector<CallbackCall>& Callbacks() const { return callbacks_; }
    // Items the last callback marked with OPTIF_CHANGED (the service clears the flag
    // once it has redrawn them).
    const std::vector<int>& ChangedItems() const { return changed_; }
    // Why the service refused the page or the last driving call, in words.
    const std::string& Problem() const { return problem_; }

    // The user picks choice (or number) `sel` of an item: sets Sel and, for an item with
    // OPTIF_CALLBACK, calls the page's callback with CPSUICB_REASON_SEL_CHANGED. Returns
    // the callback's action (CPSUICB_ACTION_NONE without a callback) or kRefused.
    LONG Select(int index, LONG sel);
    // The page's buttons: Apply (CPSUICB_REASON_APPLYNOW), undo (CPSUICB_REASON_UNDO_CHANGES),
    // revert (CPSUICB_REASON_ITEMS_REVERTED) and the About command (CPSUICB_REASON_ABOUT,
    // only for a page with CPSUIF_ABOUT_CALLBACK). Return the action or kRefused when the
    // page has no callback.
    LONG Apply();
    LONG Undo();
    LONG Revert();
    LONG About();
    // Presses a push button of type PUSHBUTTON_TYPE_DLGPROC: runs its dialog modally on
    // hInstCaller's template with lParam = a CPSUICBPARAM (reason CPSUICB_REASON_DLGPROC),
    // then calls the callback with that reason when the item has OPTIF_CALLBACK. Returns
    // the dialog's result, or kRefused.
    INT_PTR PushButton(int index);
    // Presses an item's extended push button (OPTIF_EXT_IS_EXTPUSH): with
    // EPF_PUSH_TYPE_DLGPROC its dialog runs modally as for a push button (reason
    // CPSUICB_REASON_EXTPUSH) and its result is returned; otherwise its own callback, or
    // the page's, is called with CPSUICB_REASON_EXTPUSH and the action returned.
    INT_PTR ExtendedPush(int index);
    // OK: PROPSHEETUI_REASON_SET_RESULT with a SETRESULT_INFO (Result CPSUI_OK), then
    // DESTROY with lParam 1. Returns the SET_RESULT answer.
    LONG Commit();
    // Cancel: DESTROY with lParam 0. Returns its answer.
    LONG Cancel();

    // The item tree as text, one line per item (UTF-8): two spaces per level, the title,
    // then the current choice with the offered choices, and marks for what the user
    // cannot use, for example
    //   "  Orientation: Portrait {Portrait, Landscape}"
    //   "Printing Mode: Print {Print, Encode Only (disabled)}"
    //   "Copies: 1 (0..999)"
    //   "Head Settings: [button] (disabled)"
    std::vector<std::string> DescribeItems() const;
    // Texts as the user reads them: the item's title, the text of choice `choice` of a
    // list or two-state item, the current choice as DescribeItems shows it, without the
    // '&' of keyboard accelerators; resource ids are loaded from hInstCaller.
    std::wstring ItemTitle(int index) const;
    std::wstring ChoiceText(int index, int choice) const;
    std::wstring CurrentChoice(int index) const;
    std::wstring ExtendedPushTitle(int index) const;  // empty without one
    // Whether the user can work the item at all (present, shown, enabled, permitted).
    bool CanChange(int index) const;

    // The service's pfnComPropSheet.
    static LONG_PTR CALLBACK ComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2);

private:
    LONG CallSheet(WORD reason, LPARAM lParam);
    LONG AddPage(COMPROPSHEETUI* page, LONG* pagesAdded);
    CPSUICBPARAM CallbackParam(WORD reason, int index) const;
    LONG CallCallback(CPSUICBPARAM& param, int index);
    LONG PageButton(WORD reason);
    INT_PTR RunItemDialog(HANDLE templateOrId, bool isHandle, DLGPROC proc, CPSUICBPARAM& param);
    LONG Refuse(const std::string& why);
    std::wstring Text(LPCWSTR text) const;

    PROPSHEETUI_INFO info_ = {};
    QfPropSheetUiProc sheetProc_ = nullptr;
    bool open_ = false;
    COMPROPSHEETUI* page_ = nullptr;
    HANDLE pageHandle_ = nullptr;
    HWND owner_ = nullptr;
    std::vector<SheetCall> sheetCalls_;
    std::vector<UINT> functions_;
    std::vector<CallbackCall> callbacks_;
    std::vector<int> changed_;
    std::string problem_;
};

}  // namespace sim
