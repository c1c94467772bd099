// Filling the common property-sheet service's records: option items, their types and
// their choices. The titles and choice texts live in storage the sheet keeps for as long
// as it is shown.
#pragma once

#include "driver/platform/ddk.h"

namespace qf {

constexpr int kItemTextChars = 64;

// Icons of the common property-sheet service that the items show.
constexpr ULONG_PTR kIconDocument = 64000, kIconNoOption = 64007, kIconYes = 64008, kIconPaperOutput = 64009,
                    kIconPortrait = 64022, kIconLandscape = 64023, kIconRotate = 64024, kIconOverlay = 64029,
                    kIconPrintMode = 64032, kIconPanel = 64039, kIconColor = 64040, kIconMono = 64044,
                    kIconHead = 64047, kIconModel = 64080, kIconRibbon = 64091;

// Loads string `id` of the module into `text` (kItemTextChars characters).
LPWSTR LoadItemText(UINT id, WCHAR* text);

void SetChoice(OPTPARAM& param, LPWSTR text, ULONG_PTR icon, BYTE flags = 0);
void SetType(OPTTYPE& type, BYTE kind, OPTPARAM* params, WORD count, WORD style);
void SetItem(OPTITEM& item, BYTE level, LPWSTR title, DWORD flags, BYTE userItemId, OPTTYPE* type, LONG sel);

// A push button that runs `proc` with dialog template `templateId` of the module.
void SetPushButton(OPTTYPE& type, OPTPARAM& param, DLGPROC proc, WORD templateId, ULONG_PTR icon);

// The dialog procedure of a button whose dialog the module does not offer yet: such a
// button is always disabled, and the procedure closes at once should it ever run.
INT_PTR CALLBACK UnofferedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Whether a push-button item opens a dialog the module offers.
bool OpensOfferedDialog(const OPTITEM& item);

// An up-down number from `low` to `high`, without postfix text.
void SetUpDown(OPTTYPE& type, OPTPARAM* params, LONG low, LONG high, ULONG_PTR icon);

// Whether the user may change what a page shows: a page for a user the spooler refuses
// administering (the device sheet's DPS_NOPERMISSION) is shown without update permission.
enum class PagePermission { kUpdate, kViewOnly };

// Fills the page record the sheets hand to the service: update permission as `permission`
// says, About through the callback, the module's resources, version 0x0400 of the records.
void FillPage(COMPROPSHEETUI& page, LPWSTR callerName, LPWSTR itemName, _CPSUICALLBACK callback, PDLGPAGE dlgPage,
              WORD itemCount, PagePermission permission = PagePermission::kUpdate);

// Hands the page to the service (CPSFUNC_ADD_PCOMPROPSHEETUIW); true when it was added.
bool AddPage(PROPSHEETUI_INFO* info, COMPROPSHEETUI* page);

// Sets or clears `flag` on the item and marks it changed when that alters its flags.
void SetItemFlag(OPTITEM& item, DWORD flag, bool on);

}  // namespace qf
