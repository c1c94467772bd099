// The document property sheet.
#include "driver/sheets/document_sheet.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/channel/channel.h"
#include "driver/channel/commands.h"
#include "driver/entry/dialog_conventions.h"
#include "driver/entry/guard.h"
#include "driver/entry/module_state.h"
#include "driver/entry/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/settings/document_settings.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"
#include "driver/settings/ribbon_query.h"
#include "driver/settings/ribbons.h"
#include "driver/sheets/document_items.h"
#include "driver/sheets/option_items.h"
#include "driver/tools/about_dialog.h"

namespace {

using qf::DocumentItem;

constexpr int kMaxChoices = 10;
constexpr DWORD kModelReplySize = 20;
constexpr WORD kListStyle = 0x80;  // the style word of the ribbon, black-panel and printing-mode lists

// The sheet's option types, choices and texts: rebuilt at every open, kept while shown.
OPTTYPE g_types[qf::kDocumentItemCount];
OPTPARAM g_params[qf::kDocumentItemCount][kMaxChoices];
WCHAR g_titles[qf::kDocumentItemCount][qf::kItemTextChars];
WCHAR g_choiceTexts[qf::kDocumentItemCount][kMaxChoices][qf::kItemTextChars];
WCHAR g_printModeTexts[qf::kMaxPrintModes][qf::kItemTextChars];
EXTPUSH g_detailsPush;
WCHAR g_detailsTitle[qf::kItemTextChars];
WCHAR g_callerName[qf::kItemTextChars];

qf::PrivateSettings& Settings() { return *g_privateSettings; }
// The private block follows the record's public part, whatever its length.
qf::PrivateSettings* PrivateBlock(DEVMODEW* record) {
    auto* bytes = reinterpret_cast<uint8_t*>(record);
    return reinterpret_cast<qf::PrivateSettings*>(bytes + qf::PrivateOffset(bytes));
}
bool IsDriverRecord(const DEVMODEW* record) { return qf::IsDriverRecord(reinterpret_cast<const uint8_t*>(record)); }
size_t RecordSize(const DEVMODEW* record) { return size_t(record->dmSize) + record->dmDriverExtra; }

qf::PrinterReport AskPrinter(const wchar_t* printerName) {
    qf::PrinterReport answer{false, false, qf::kRibbonNone};
    lstrcpyW(g_ribbonName, L"None");
    QueryPrinterState(printerName, &answer.encoder, g_ribbonName, &answer.ribbon, &answer.answered);
    return answer;
}

// Adopts what the printer reports into the working settings and the cache. Returns
// true when a field changed.
bool AdoptPrinterAnswer(const qf::PrinterReport& report) {
    qf::PrivateSettings& settings = Settings();
    const qf::PrinterAdoption adoption = qf::AdoptPrinterReport(settings, report, g_settingsCache.manualRibbon != 0);
    if (adoption.ribbonChanged) {
        ShowRibbonChanged(adoption.ribbon, settings.ribbonType);
        settings.ribbonType = g_settingsCache.ribbonType = adoption.ribbon;
    }
    if (adoption.encoderChanged)
        settings.encoderSettings.encoderPresent = g_settingsCache.encoderSettings.encoderPresent =
            adoption.encoderPresent;
    return adoption.ribbonChanged || adoption.encoderChanged;
}

// The model text from the printer, or the default text when it does not answer or the
// configuration is offline.
std::string AskModel(const wchar_t* printerName) {
    std::string model(qf::kDefaultModelText);
    if (g_settingsCache.manualRibbon != 0) {
        Settings().ribbonType = g_settingsCache.ribbonType = qf::RibbonFromManualIndex(Settings().manualRibbon);
        return model;
    }
    HANDLE kept = g_hPrinter;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(const_cast<LPWSTR>(printerName), &g_hPrinter, &defaults)) {
        std::string answer;
        if (AskSheetPrinter(qf::kModelQuery, kModelReplySize, &answer)) model = answer;
        Settings().modelClass = g_settingsCache.modelClass = qf::ClassifyModel(model);
        ClosePrinter(g_hPrinter);
    }
    g_hPrinter = kept;
    return model;
}

// An item is available when its rule allows it and, for a push button, when its dialog
// is there to open.
void SetAvailable(OPTITEM& item, bool available) {
    qf::SetItemFlag(item, OPTIF_DISABLED, !(available && qf::OpensOfferedDialog(item)));
}

void SetList(int index, const UINT* textIds, int count, ULONG_PTR icon, WORD style = 0) {
    for (int i = 0; i < count; ++i)
        qf::SetChoice(g_params[index][i], qf::LoadItemText(textIds[i], g_choiceTexts[index][i]), icon);
    qf::SetType(g_types[index], TVOT_LISTBOX, g_params[index], static_cast<WORD>(count), style);
}

void SetTwoStates(int index, UINT first, ULONG_PTR firstIcon, UINT second, ULONG_PTR secondIcon) {
    qf::SetChoice(g_params[index][0], qf::LoadItemText(first, g_choiceTexts[index][0]), firstIcon);
    qf::SetChoice(g_params[index][1], qf::LoadItemText(second, g_choiceTexts[index][1]), secondIcon);
    qf::SetType(g_types[index], TVOT_2STATES, g_params[index], 2, 0);
}

// Fills item 6's list with the print modes of the current settings; the index is reset
// when it falls outside the list.
void RebuildPrintModes(OPTITEM* items) {
    const qf::PrintModes modes = qf::ResetPrintModeIndex(Settings());
    for (int i = 0; i < modes.count; ++i) {
        lstrcpynW(g_printModeTexts[i], reinterpret_cast<const wchar_t*>(modes.modes[i]), qf::kItemTextChars);
        qf::SetChoice(g_params[qf::kItemPrintMode][i], g_printModeTexts[i], qf::kIconPrintMode);
    }
    qf::SetType(g_types[qf::kItemPrintMode], TVOT_LISTBOX, g_params[qf::kItemPrintMode], modes.count, 0);
    items[qf::kItemPrintMode].Sel = Settings().printModeIndex;
    items[qf::kItemPrintMode].Flags |= OPTIF_CHANGED;
}

void ReevaluatePanelItems(OPTITEM* items) {
    const qf::PrivateSettings& s = Settings();
    SetAvailable(items[qf::kItemFrontOverlay], qf::FrontOverlayAvailable(s));
    SetAvailable(items[qf::kItemBackOverlay], qf::BackOverlayAvailable(s));
    SetAvailable(items[qf::kItemBlackPanel], qf::BlackPanelAvailable(s));
    SetAvailable(items[qf::kItemBlackBitmap], qf::BlackBitmapAvailable(s));
    SetAvailable(items[qf::kItemMonoConversion], qf::MonoConversionAvailable(s));
}

void BuildRibbonItem(OPTITEM& item, const qf::RibbonItemView& view) {
    const int index = qf::kItemRibbon;
    switch (view.form) {
    case qf::RibbonItemForm::kOfflineList:
        for (int i = 0; i < qf::kOfflineRibbonChoices; ++i)
            qf::SetChoice(g_params[index][i], qf::LoadItemText(IDS_OFFLINE_RIBBON_FIRST + i, g_choiceTexts[index][i]),
                          qf::kIconRibbon);
        qf::SetType(g_types[index], TVOT_LISTBOX, g_params[index], qf::kOfflineRibbonChoices, kListStyle);
        break;
    case qf::RibbonItemForm::kMonoKinds: {
        const UINT kinds[] = {IDS_KIND_K_RESIN, IDS_KIND_SCRATCH_OFF, IDS_KIND_CLEAR_VARNISH, IDS_HOLOGRAM_VARNISH};
        SetList(index, kinds, qf::kMonoKindChoices, qf::kIconRibbon, kListStyle);
        if (!view.varnishKindsOffered) {
            g_params[index][2].Flags |= OPTPF_DISABLED;
            g_params[index][3].Flags |= OPTPF_DISABLED;
        }
        break;
    }
    case qf::RibbonItemForm::kRibbonName:
        qf::SetChoice(g_params[index][0], g_ribbonName, qf::kIconRibbon);
        qf::SetType(g_types[index], TVOT_LISTBOX, g_params[index], 1, kListStyle);
        break;
    }
    item.Sel = view.selection;
    if (view.form == qf::RibbonItemForm::kRibbonName && view.detailsButton) {
        g_detailsPush = EXTPUSH();
        g_detailsPush.cbSize = sizeof g_detailsPush;
        g_detailsPush.Flags = EPF_PUSH_TYPE_DLGPROC | EPF_NO_DOT_DOT_DOT;
        g_detailsPush.pTitle = qf::LoadItemText(IDS_RIBBON_DETAILS, g_detailsTitle);
        // The device information dialog is not offered yet: the button shows, disabled.
        g_detailsPush.DlgProc = qf::UnofferedDialogProc;
        g_detailsPush.DlgTemplateID = IDD_DEVICE_INFORMATION;
        item.pExtPush = &g_detailsPush;
        item.Flags |= OPTIF_EXT_IS_EXTPUSH | OPTIF_EXT_DISABLED;
    }
}

// Builds the sixteen items in array order from settings already normalised.
void BuildItems(OPTITEM* items, const std::string& model) {
    const qf::PrivateSettings& s = Settings();
    const qf::DocumentItemAvailability availability = qf::DocumentItemsAtOpen(s, model);
    auto title = [](int index, UINT id) { return qf::LoadItemText(id, g_titles[index]); };
    const DWORD callback = OPTIF_CALLBACK;

    qf::SetItem(items[qf::kItemPaperOutput], 0, title(qf::kItemPaperOutput, IDS_PAPER_OUTPUT), 0, 0, nullptr,
                static_cast<LONG>(qf::kIconPaperOutput));

    SetTwoStates(qf::kItemOrientation, IDS_PORTRAIT, qf::kIconPortrait, IDS_LANDSCAPE, qf::kIconLandscape);
    qf::SetItem(items[qf::kItemOrientation], 1, title(qf::kItemOrientation, IDS_ORIENTATION), 0, 1,
                &g_types[qf::kItemOrientation], g_workingDevmode->dmOrientation == DMORIENT_LANDSCAPE ? 1 : 0);

    const UINT rotations[] = {IDS_ROTATE_NONE, IDS_ROTATE_FRONT, IDS_ROTATE_BACK, IDS_ROTATE_BOTH};
    SetList(qf::kItemRotation, rotations, 4, qf::kIconRotate);
    g_params[qf::kItemRotation][0].IconID = qf::kIconLandscape;
    g_types[qf::kItemRotation].Count = static_cast<WORD>(availability.rotationChoices);
    qf::SetItem(items[qf::kItemRotation], 1, title(qf::kItemRotation, IDS_ROTATION), callback, 2,
                &g_types[qf::kItemRotation], s.rotate180);

    auto pushButton = [&](int index, UINT titleId, WORD templateId, ULONG_PTR icon) {
        // The dialogs behind these buttons are not offered yet.
        qf::SetPushButton(g_types[index], g_params[index][0], qf::UnofferedDialogProc, templateId, icon);
        qf::SetItem(items[index], 0, title(index, titleId), callback, static_cast<BYTE>(index), &g_types[index], 0);
        SetAvailable(items[index], availability.enabled[index]);
    };
    pushButton(qf::kItemColorAdjust, IDS_COLOR_ADJUSTMENT, IDD_COLOR_CORRECTION, qf::kIconColor);

    qf::SetItem(items[qf::kItemRibbon], 0, title(qf::kItemRibbon, IDS_RIBBON_TYPE), callback, 4,
                &g_types[qf::kItemRibbon], 0);
    BuildRibbonItem(items[qf::kItemRibbon], availability.ribbon);

    SetTwoStates(qf::kItemBothSides, IDS_NO, qf::kIconNoOption, IDS_YES, qf::kIconYes);
    qf::SetItem(items[qf::kItemBothSides], 0, title(qf::kItemBothSides, IDS_BOTH_SIDES), callback, 5,
                &g_types[qf::kItemBothSides], s.printBothSides);
    SetAvailable(items[qf::kItemBothSides], availability.enabled[qf::kItemBothSides]);

    qf::SetItem(items[qf::kItemPrintMode], 0, title(qf::kItemPrintMode, IDS_FRONT_AND_BACK), callback, 6,
                &g_types[qf::kItemPrintMode], 0);
    RebuildPrintModes(items);
    items[qf::kItemPrintMode].Flags &= ~OPTIF_CHANGED;

    const UINT conversions[] = {IDS_DIFFUSION, IDS_HALFTONE_REGULAR, IDS_BARCODE};
    SetList(qf::kItemMonoConversion, conversions, 3, qf::kIconMono);
    qf::SetItem(items[qf::kItemMonoConversion], 0, title(qf::kItemMonoConversion, IDS_MONO_CONVERSION), callback, 7,
                &g_types[qf::kItemMonoConversion], s.monoConversion);

    const UINT panels[] = {IDS_PANEL_NOT_USED, IDS_PANEL_ALWAYS, IDS_PANEL_TEXT_ONLY, IDS_PANEL_EXCEPT_PICTURE};
    SetList(qf::kItemBlackPanel, panels, 4, qf::kIconPanel, kListStyle);
    qf::SetItem(items[qf::kItemBlackPanel], 0, title(qf::kItemBlackPanel, IDS_BLACK_PANEL), callback, 8,
                &g_types[qf::kItemBlackPanel], s.blackPanel);

    SetTwoStates(qf::kItemBlackBitmap, IDS_OFF, qf::kIconNoOption, IDS_ON, qf::kIconYes);
    qf::SetItem(items[qf::kItemBlackBitmap], 0, title(qf::kItemBlackBitmap, IDS_BLACK_BITMAP), callback, 9,
                &g_types[qf::kItemBlackBitmap], s.blackBitmap);

    pushButton(qf::kItemFrontOverlay, IDS_FRONT_OVERLAY, IDD_FRONT_OVERLAY, qf::kIconOverlay);
    pushButton(qf::kItemBackOverlay, IDS_BACK_OVERLAY, IDD_BACK_OVERLAY, qf::kIconOverlay);
    pushButton(qf::kItemHologram, IDS_HOLOGRAM_VARNISH, IDD_HOLOGRAM, qf::kIconOverlay);
    pushButton(qf::kItemHeadSettings, IDS_HEAD_SETTINGS, IDD_HEAD_SETTINGS, qf::kIconHead);

    const UINT printing[] = {IDS_PRINT, IDS_ENCODE_ONLY};
    SetList(qf::kItemPrintingMode, printing, 2, qf::kIconPanel, kListStyle);
    if (!availability.encodeOnlyOffered) g_params[qf::kItemPrintingMode][1].Flags |= OPTPF_DISABLED;
    qf::SetItem(items[qf::kItemPrintingMode], 0, title(qf::kItemPrintingMode, IDS_PRINTING_MODE), callback, 14,
                &g_types[qf::kItemPrintingMode], s.printingMode);

    qf::SetUpDown(g_types[qf::kItemCopies], g_params[qf::kItemCopies], 0, 999, qf::kIconDocument);
    qf::SetItem(items[qf::kItemCopies], 0, title(qf::kItemCopies, IDS_COPIES), callback, 15, &g_types[qf::kItemCopies],
                g_workingDevmode->dmCopies);
    items[qf::kItemCopies].DMPubID = DMPUB_COPIES_COLLATE;

    for (int index : {qf::kItemMonoConversion, qf::kItemBlackPanel, qf::kItemBlackBitmap})
        SetAvailable(items[index], availability.enabled[index]);
    for (int i = 0; i < qf::kDocumentItemCount; ++i) items[i].Flags &= ~OPTIF_CHANGED;
}

void ApplySelections(const OPTITEM* items) {
    qf::PrivateSettings& s = Settings();
    g_workingDevmode->dmOrientation = static_cast<short>(items[qf::kItemOrientation].Sel + 1);
    s.rotate180 = static_cast<int16_t>(items[qf::kItemRotation].Sel);
    s.printBothSides = static_cast<int16_t>(items[qf::kItemBothSides].Sel);
    s.printModeIndex = static_cast<int16_t>(items[qf::kItemPrintMode].Sel);
    s.monoConversion = static_cast<int16_t>(items[qf::kItemMonoConversion].Sel);
    s.blackPanel = static_cast<uint8_t>(items[qf::kItemBlackPanel].Sel);
    s.blackBitmap = static_cast<int16_t>(items[qf::kItemBlackBitmap].Sel);
    s.printingMode = static_cast<int16_t>(items[qf::kItemPrintingMode].Sel);
}

void SelectionChanged(OPTITEM* items, OPTITEM& item) {
    qf::PrivateSettings& s = Settings();
    const LONG sel = item.Sel;
    switch (item.UserItemID) {
    case qf::kItemRibbon:
        if (s.manualRibbon != 0) {
            s.manualRibbon = static_cast<int16_t>(sel + 1);
            s.ribbonType = qf::RibbonFromManualIndex(sel + 1);
        } else {
            s.monoRibbonKind = static_cast<uint8_t>(sel);
            SetAvailable(items[qf::kItemHologram], qf::HologramAvailableForKind(s.monoRibbonKind));
        }
        RebuildPrintModes(items);
        ReevaluatePanelItems(items);
        break;
    case qf::kItemBlackPanel:
        s.blackPanel = static_cast<uint8_t>(sel);
        SetAvailable(items[qf::kItemBlackBitmap], s.blackPanel == qf::kBlackPanelExceptColorPicture);
        break;
    case qf::kItemPrintMode:
        s.printModeIndex = static_cast<int16_t>(sel);
        ReevaluatePanelItems(items);
        break;
    case qf::kItemBothSides:
        s.printBothSides = static_cast<int16_t>(sel);
        RebuildPrintModes(items);
        qf::FoldRotation(s);
        g_types[qf::kItemRotation].Count = static_cast<WORD>(qf::RotationChoices(s));
        items[qf::kItemRotation].Sel = s.rotate180;
        items[qf::kItemRotation].Flags |= OPTIF_CHANGED;
        ReevaluatePanelItems(items);
        break;
    case qf::kItemRotation:
        s.rotate180 = static_cast<int16_t>(sel);
        break;
    case qf::kItemPrintingMode:
        s.printingMode = static_cast<int16_t>(sel);
        break;
    case qf::kItemCopies:
        g_workingDevmode->dmCopies = static_cast<short>(sel < 1 ? 1 : sel);
        break;
    default:
        break;
    }
}

LONG CALLBACK DocumentSheetCallback(PCPSUICBPARAM param) {
    return qf::CallGuarded<LONG>(CPSUICB_ACTION_NONE, [param]() -> LONG {
        if (!param || !g_workingDevmode || !g_privateSettings) return CPSUICB_ACTION_NONE;
        switch (param->Reason) {
        case CPSUICB_REASON_SEL_CHANGED:
            if (param->pCurItem && param->pOptItem) SelectionChanged(param->pOptItem, *param->pCurItem);
            return CPSUICB_ACTION_OPTIF_CHANGED;
        case CPSUICB_REASON_DLGPROC:
            return CPSUICB_ACTION_OPTIF_CHANGED;
        case CPSUICB_REASON_UNDO_CHANGES:
        case CPSUICB_REASON_ITEMS_REVERTED:
            if (g_undoDevmode) std::memcpy(g_workingDevmode, g_undoDevmode, RecordSize(g_undoDevmode));
            return CPSUICB_ACTION_NONE;
        case CPSUICB_REASON_APPLYNOW:
            if (param->pOptItem) ApplySelections(param->pOptItem);
            return CPSUICB_ACTION_ITEMS_APPLIED;
        case CPSUICB_REASON_ABOUT:
            ShowAboutBox(GetActiveWindow());
            return CPSUICB_ACTION_ITEMS_APPLIED;
        default:
            return CPSUICB_ACTION_NONE;
        }
    });
}

// The sheet's records, freed at DESTROY.
void FreeSheet(PROPSHEETUI_INFO* info) {
    auto* sheet = reinterpret_cast<COMPROPSHEETUI*>(info->UserData);
    if (sheet) {
        std::free(sheet->pOptItem);
        std::free(sheet);
        info->UserData = 0;
    }
    // The settings pointers must not outlive the record they point into.
    if (g_documentPrinterInfo && g_workingDevmode == g_documentPrinterInfo->pDevMode) {
        g_workingDevmode = nullptr;
        g_privateSettings = nullptr;
    }
    qf::FreePrinterRecord(g_documentPrinterInfo);
    g_documentPrinterInfo = nullptr;
    std::free(g_undoDevmode);
    g_undoDevmode = nullptr;
}

// Chooses the record the sheet edits: the caller's input when it is one of this driver's
// records, else the printer's default. Returns false when there is neither.
bool ChooseWorkingRecord(DOCUMENTPROPERTYHEADER* header, const qf::PrinterReport& answer) {
    if (IsDriverRecord(header->pdmIn)) {
        g_workingDevmode = header->pdmIn;
        g_privateSettings = PrivateBlock(g_workingDevmode);
        if (qf::IsSettingsCacheValid(g_settingsCache))
            std::memcpy(g_privateSettings, &g_settingsCache, qf::kPrivateSize);
        else
            std::memcpy(&g_settingsCache, g_privateSettings, qf::kPrivateSize);
        AdoptPrinterAnswer(answer);
        return true;
    }
    if (g_documentPrinterInfo && IsDriverRecord(g_documentPrinterInfo->pDevMode)) {
        g_workingDevmode = g_documentPrinterInfo->pDevMode;
        g_privateSettings = PrivateBlock(g_workingDevmode);
        if (AdoptPrinterAnswer(answer))
            SetPrinterW(header->hPrinter, 2, reinterpret_cast<LPBYTE>(g_documentPrinterInfo), 0);
        return true;
    }
    return false;
}

LONG OpenSheet(PROPSHEETUI_INFO* info, DOCUMENTPROPERTYHEADER* header) {
    auto* sheet = static_cast<COMPROPSHEETUI*>(std::calloc(1, sizeof(COMPROPSHEETUI)));
    auto* items = static_cast<OPTITEM*>(std::calloc(qf::kDocumentItemCount, sizeof(OPTITEM)));
    if (!sheet || !items) {
        std::free(sheet);
        std::free(items);
        ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);
        return ERR_CPSUI_ALLOCMEM_FAILED;
    }
    sheet->pOptItem = items;
    info->UserData = reinterpret_cast<ULONG_PTR>(sheet);

    qf::FreePrinterRecord(g_documentPrinterInfo);
    g_documentPrinterInfo = qf::ReadPrinterInfo(header->hPrinter);
    if (!g_documentPrinterInfo) ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);

    const qf::PrinterReport answer = AskPrinter(header->pszPrinterName);
    if (!ChooseWorkingRecord(header, answer)) {
        // Nothing to edit: the sheet is not added.
        if (g_documentPrinterInfo) ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);
        FreeSheet(info);
        return ERR_CPSUI_GETLASTERROR;
    }
    const std::string model = AskModel(header->pszPrinterName);

    std::free(g_undoDevmode);
    g_undoDevmode = static_cast<DEVMODEW*>(std::malloc(RecordSize(g_workingDevmode)));
    if (g_undoDevmode) std::memcpy(g_undoDevmode, g_workingDevmode, RecordSize(g_workingDevmode));

    qf::NormaliseAtOpen(Settings(), model);
    BuildItems(items, model);

    qf::LoadItemText(IDS_CAPTION, g_callerName);
    qf::FillPage(*sheet, g_callerName, g_callerName, DocumentSheetCallback, CPSUI_PDLGPAGE_TREEVIEWONLY,
                 qf::kDocumentItemCount);
    if (qf::AddPage(info, sheet)) info->Result = 0;
    return 1;
}

// Publishes the working record to the caller's output and to the cache, copying nothing
// past the caller's buffer.
void CommitSheet(PROPSHEETUI_INFO* info, DOCUMENTPROPERTYHEADER* header) {
    info->Result = CPSUI_OK;
    if (!g_workingDevmode || !g_privateSettings) return;
    const size_t size = RecordSize(g_workingDevmode);
    if (header->pdmOut && header->cbOut >= size && header->pdmOut != g_workingDevmode)
        std::memcpy(header->pdmOut, g_workingDevmode, size);
    std::memcpy(&g_settingsCache, g_privateSettings, qf::kPrivateSize);
}

}  // namespace

LONG DocumentPropertiesWithoutSheet(DOCUMENTPROPERTYHEADER* header) {
    if (!header) return -1;
    header->cbOut = qf::kRecordSize;
    if (header->fMode == 0 || !header->pdmOut) return qf::kRecordSize;
    if (!(header->fMode & (DM_UPDATE | DM_COPY)) || (header->fMode & DM_NOPERMISSION)) return 1;

    // The printer is asked only while no settings were committed or cached when the call
    // began; the record handed out fills the cache on the way.
    const bool cacheWasValid = qf::IsSettingsCacheValid(g_settingsCache);
    FillDocumentSettings(header->hPrinter, header->pdmOut, header->pdmIn, header->fMode);
    g_settingsCache.manualRibbon = 0;
    if (cacheWasValid) return 1;

    qf::PrinterReport answer{false, false, qf::kRibbonNone};
    wchar_t name[kRibbonNameChars] = L"None";
    QueryPrinterState(header->pszPrinterName, &answer.encoder, name, &answer.ribbon, &answer.answered);
    if (header->fMode != DM_COPY || !answer.answered || !IsDriverRecord(header->pdmOut)) return 1;
    qf::PrivateSettings* out = PrivateBlock(header->pdmOut);
    const uint16_t encoder = answer.encoder ? 1 : 0;
    if (out->ribbonType == answer.ribbon && out->encoderSettings.encoderPresent == encoder) return 1;

    // A printer whose ribbon or encoder changed updates its stored defaults.
    out->ribbonType = answer.ribbon;
    out->encoderSettings.encoderPresent = encoder;
    PRINTER_INFO_2W* stored = qf::ReadPrinterInfo(header->hPrinter);
    if (stored && IsDriverRecord(stored->pDevMode)) {
        qf::PrivateSettings* defaults = PrivateBlock(stored->pDevMode);
        defaults->ribbonType = g_settingsCache.ribbonType = answer.ribbon;
        defaults->encoderSettings.encoderPresent = g_settingsCache.encoderSettings.encoderPresent = encoder;
        SetPrinterW(header->hPrinter, 2, reinterpret_cast<LPBYTE>(stored), 0);
    }
    qf::FreePrinterRecord(stored);
    return 1;
}

LONG DocumentSheet(PROPSHEETUI_INFO* info) {
    auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info->lParamInit);
    if (!header) return ERR_CPSUI_GETLASTERROR;
    g_hPrinter = header->hPrinter;
    g_settingsCache.manualRibbon = 0;
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        return OpenSheet(info, header);
    case PROPSHEETUI_REASON_SET_RESULT:
        CommitSheet(info, header);
        return 1;
    case PROPSHEETUI_REASON_DESTROY:
        FreeSheet(info);
        return 1;
    default:
        return 1;
    }
}
