// A real window that shows the page kept by the property-sheet service stand-in, as the
// service's tree-view page does: the item tree with titles and current choices (disabled
// items greyed), below it a control to change the selected item's choice or the selected
// item's button, and OK/Cancel/Apply. Like the platform's property sheet it has no minimise
// or maximise button, and it can show the sheet's tabs above the page, the page's own tab
// selected.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "sim/property_sheet.h"

namespace sim {

class SheetWindow {
public:
    // Control ids of the window.
    static constexpr int kTreeId = 100;
    static constexpr int kChoiceId = 101;  // drop-down list of a list or two-state item
    static constexpr int kNumberId = 102;  // edit box of an up-down or slider item
    static constexpr int kSetId = 103;     // stores the number typed
    static constexpr int kPressId = 104;   // presses the item's push button or extended push button
    static constexpr int kStatusId = 105;  // what the last action answered
    static constexpr int kApplyId = 106;   // OK and Cancel are IDOK and IDCANCEL
    static constexpr int kChoiceLabelId = 107;
    static constexpr int kTabsId = 108;    // the sheet's tabs, when it has more than the page's own

    SheetWindow(PropertySheetService& service, const std::wstring& title);
    ~SheetWindow();  // destroys the window; the sheet stays as OK or Cancel left it
    SheetWindow(const SheetWindow&) = delete;
    SheetWindow& operator=(const SheetWindow&) = delete;

    // Creates the window (shown, or hidden) and fills it from the page; it becomes the
    // owner of the dialogs the page opens. False when the window cannot be made.
    bool Create(bool show = true);
    // The tabs shown above the page (before Create), `selected` the page's own.
    void SetTabs(const std::vector<std::wstring>& tabs, int selected);
    HWND Handle() const { return window_; }
    // Re-reads every item, keeping the selected one.
    void Refresh();
    // Selects item `index` in the tree (and fills the choice controls for it).
    void SelectItem(int index);
    int SelectedItem() const;
    // Runs the window until OK (Commit), Cancel or the close box (Cancel); returns
    // IDOK or IDCANCEL.
    int Run();
    bool SavePng(const std::wstring& path);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void FillTree();
    void FillChoiceControls(int index);
    LRESULT DrawTreeItem(NMTVCUSTOMDRAW* draw);
    // The tree's item icons: the platform's stock icons standing for the service's own.
    void CreateItemIcons(HWND tree);
    int IconOf(const OPTITEM& item) const;
    void ChoiceChanged();
    void NumberSet();
    void Press();
    void Finish(int result);
    void Report(const std::string& action, long long answer);
    HWND Control(int id) const { return GetDlgItem(window_, id); }

    PropertySheetService& service_;
    std::wstring title_;
    std::vector<std::wstring> tabs_;
    int selectedTab_ = 0;
    HWND window_ = nullptr;
    HIMAGELIST icons_ = nullptr;
    int iconIndex_[3] = {-1, -1, -1};  // document, printer, picture
    HWND previousOwner_ = nullptr;
    bool filling_ = false;
    int result_ = 0;
};

// Shows the page in a window, writes its picture as a PNG file, and destroys the window,
// without waiting for anyone. Item `selected` is selected, or with -1 the item the page
// opens on, as the service opens the page.
bool RenderSheetPng(PropertySheetService& service, const std::wstring& title, const std::wstring& path,
                    int selected = -1, const std::vector<std::wstring>& tabs = {}, int selectedTab = 0);

}  // namespace sim
