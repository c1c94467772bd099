// The document property sheet: its items, its callback and its life from INIT to
// DESTROY. What it makes of the printer's answers is printer_answers.cpp; the same
// entry point without a sheet is document_properties.cpp.
#include "driver/sheets/document_sheet.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/imaging/color_correction_dialog.h"
#include "driver/imaging/head_settings_dialog.h"
#include "driver/overlay/overlay_dialogs.h"
#include "driver/platform/guard.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"
#include "driver/settings/ribbon_query.h"
#include "driver/settings/ribbons.h"
#include "driver/settings/stored_records.h"
#include "driver/sheets/printer_answers.h"
#include "driver/state/document_items.h"
#include "driver/state/option_items.h"
#include "driver/state/sheet_state.h"
#include "driver/tools/about_dialog.h"
#include "driver/tools/device_information_dialog.h"
#include "driver/ui/dialog_conventions.h"

namespace {

using qf::DocumentItem;

constexpr WORD kListStyle = 0x80;  // the style word of the ribbon, black-panel and printing-mode lists

using Sheet = DocumentSheetState;

bool IsDriverRecord(const DEVMODEW* record) { return qf::IsDriverRecord(reinterpret_cast<const uint8_t*>(record)); }

// An item is available when its rule allows it and, for a push button, when its dialog
// is there to open.
void SetAvailable(OPTITEM& item, bool available) {
    qf::SetItemFlag(item, OPTIF_DISABLED, !(available && qf::OpensOfferedDialog(item)));
}

void SetList(Sheet& sheet, int index, const UINT* textIds, int count, ULONG_PTR icon, WORD style = 0) {
    for (int i = 0; i < count; ++i)
        qf::SetChoice(sheet.params[index][i], qf::LoadItemText(textIds[i], sheet.choiceTexts[index][i]), icon);
    qf::SetType(sheet.types[index], TVOT_LISTBOX, sheet.params[index], static_cast<WORD>(count), style);
}

void SetTwoStates(Sheet& sheet, int index, UINT first, ULONG_PTR firstIcon, UINT second, ULONG_PTR secondIcon) {
    qf::SetChoice(sheet.params[index][0], qf::LoadItemText(first, sheet.choiceTexts[index][0]), firstIcon);
    qf::SetChoice(sheet.params[index][1], qf::LoadItemText(second, sheet.choiceTexts[index][1]), secondIcon);
    qf::SetType(sheet.types[index], TVOT_2STATES, sheet.params[index], 2, 0);
}

// Fills item 6's list with the print modes of the current settings; the index is reset
// when it falls outside the list.
void RebuildPrintModes(Sheet& sheet) {
    const qf::PrintModes modes = qf::ResetPrintModeIndex(sheet.Settings());
    for (int i = 0; i < modes.count; ++i) {
        LoadPrintModeText(modes.modes[i], sheet.printModeTexts[i], qf::kItemTextChars);
        qf::SetChoice(sheet.params[qf::kItemPrintMode][i], sheet.printModeTexts[i], qf::kIconPrintMode);
    }
    qf::SetType(sheet.types[qf::kItemPrintMode], TVOT_LISTBOX, sheet.params[qf::kItemPrintMode], modes.count, 0);
    sheet.items[qf::kItemPrintMode].Sel = sheet.Settings().printModeIndex;
    sheet.items[qf::kItemPrintMode].Flags |= OPTIF_CHANGED;
}

void ReevaluatePanelItems(Sheet& sheet) {
    const qf::PrivateSettings& s = sheet.Settings();
    OPTITEM* items = sheet.items;
    SetAvailable(items[qf::kItemFrontOverlay], qf::FrontOverlayAvailable(s));
    SetAvailable(items[qf::kItemBackOverlay], qf::BackOverlayAvailable(s));
    SetAvailable(items[qf::kItemBlackPanel], qf::BlackPanelAvailable(s));
    SetAvailable(items[qf::kItemBlackBitmap], qf::BlackBitmapAvailable(s));
    SetAvailable(items[qf::kItemMonoConversion], qf::MonoConversionAvailable(s));
}

void BuildRibbonItem(Sheet& sheet, const qf::RibbonItemView& view) {
    const int index = qf::kItemRibbon;
    OPTITEM& item = sheet.items[index];
    switch (view.form) {
    case qf::RibbonItemForm::kOfflineList:
        for (int i = 0; i < qf::kOfflineRibbonChoices; ++i)
            qf::SetChoice(sheet.params[index][i], qf::LoadItemText(IDS_OFFLINE_RIBBON_FIRST + i, sheet.choiceTexts[index][i]),
                          qf::kIconRibbon);
        qf::SetType(sheet.types[index], TVOT_LISTBOX, sheet.params[index], qf::kOfflineRibbonChoices, kListStyle);
        break;
    case qf::RibbonItemForm::kMonoKinds: {
        const UINT kinds[] = {IDS_KIND_K_RESIN, IDS_KIND_SCRATCH_OFF, IDS_KIND_CLEAR_VARNISH, IDS_HOLOGRAM_VARNISH};
        SetList(sheet, index, kinds, qf::kMonoKindChoices, qf::kIconRibbon, kListStyle);
        if (!view.varnishKindsOffered) {
            sheet.params[index][2].Flags |= OPTPF_DISABLED;
            sheet.params[index][3].Flags |= OPTPF_DISABLED;
        }
        break;
    }
    case qf::RibbonItemForm::kRibbonName:
        qf::SetChoice(sheet.params[index][0], sheet.ribbonName, qf::kIconRibbon);
        qf::SetType(sheet.types[index], TVOT_LISTBOX, sheet.params[index], 1, kListStyle);
        break;
    }
    item.Sel = view.selection;
    if (view.form == qf::RibbonItemForm::kRibbonName && view.detailsButton) {
        sheet.detailsPush = EXTPUSH();
        sheet.detailsPush.cbSize = sizeof sheet.detailsPush;
        sheet.detailsPush.Flags = EPF_PUSH_TYPE_DLGPROC | EPF_NO_DOT_DOT_DOT;
        sheet.detailsPush.pTitle = qf::LoadItemText(IDS_RIBBON_DETAILS, sheet.detailsTitle);
        sheet.detailsPush.DlgProc = DeviceInformationDialogProc;
        sheet.detailsPush.DlgTemplateID = IDD_DEVICE_INFORMATION;
        item.pExtPush = &sheet.detailsPush;
        item.Flags |= OPTIF_EXT_IS_EXTPUSH;
    }
}

// Builds the sixteen items in array order from settings already normalised.
void BuildItems(Sheet& sheet, const std::string& model) {
    const qf::PrivateSettings& s = sheet.Settings();
    OPTITEM* items = sheet.items;
    const qf::DocumentItemAvailability availability = qf::DocumentItemsAtOpen(s, model);
    auto title = [&sheet](int index, UINT id) { return qf::LoadItemText(id, sheet.titles[index]); };
    const DWORD callback = OPTIF_CALLBACK;

    qf::SetItem(items[qf::kItemPaperOutput], 0, title(qf::kItemPaperOutput, IDS_PAPER_OUTPUT), 0, 0, nullptr,
                static_cast<LONG>(qf::kIconPaperOutput));

    SetTwoStates(sheet, qf::kItemOrientation, IDS_PORTRAIT, qf::kIconPortrait, IDS_LANDSCAPE, qf::kIconLandscape);
    qf::SetItem(items[qf::kItemOrientation], 1, title(qf::kItemOrientation, IDS_ORIENTATION), 0, 1,
                &sheet.types[qf::kItemOrientation], sheet.WorkingDevmode()->dmOrientation == DMORIENT_LANDSCAPE ? 1 : 0);

    const UINT rotations[] = {IDS_ROTATE_NONE, IDS_ROTATE_FRONT, IDS_ROTATE_BACK, IDS_ROTATE_BOTH};
    SetList(sheet, qf::kItemRotation, rotations, 4, qf::kIconRotate);
    sheet.params[qf::kItemRotation][0].IconID = qf::kIconLandscape;
    sheet.types[qf::kItemRotation].Count = static_cast<WORD>(availability.rotationChoices);
    qf::SetItem(items[qf::kItemRotation], 1, title(qf::kItemRotation, IDS_ROTATION), callback, 2,
                &sheet.types[qf::kItemRotation], s.rotate180);

    // A button whose dialog is not offered yet carries UnofferedDialogProc and shows disabled.
    auto pushButton = [&](int index, UINT titleId, WORD templateId, ULONG_PTR icon,
                          DLGPROC proc = qf::UnofferedDialogProc) {
        qf::SetPushButton(sheet.types[index], sheet.params[index][0], proc, templateId, icon);
        qf::SetItem(items[index], 0, title(index, titleId), callback, static_cast<BYTE>(index), &sheet.types[index], 0);
        SetAvailable(items[index], availability.enabled[index]);
    };
    // The service creates the imaging and overlay dialogs itself; their sliders and up-downs
    // must be known by then.
    RegisterSliderClass();
    RegisterUpDownClass();
    pushButton(qf::kItemColorAdjust, IDS_COLOR_ADJUSTMENT, IDD_COLOR_CORRECTION, qf::kIconColor,
               ColorCorrectionDialogProc);

    qf::SetItem(items[qf::kItemRibbon], 0, title(qf::kItemRibbon, IDS_RIBBON_TYPE), callback, 4,
                &sheet.types[qf::kItemRibbon], 0);
    BuildRibbonItem(sheet, availability.ribbon);

    SetTwoStates(sheet, qf::kItemBothSides, IDS_NO, qf::kIconNoOption, IDS_YES, qf::kIconYes);
    qf::SetItem(items[qf::kItemBothSides], 0, title(qf::kItemBothSides, IDS_BOTH_SIDES), callback, 5,
                &sheet.types[qf::kItemBothSides], s.printBothSides);
    SetAvailable(items[qf::kItemBothSides], availability.enabled[qf::kItemBothSides]);

    qf::SetItem(items[qf::kItemPrintMode], 0, title(qf::kItemPrintMode, IDS_FRONT_AND_BACK), callback, 6,
                &sheet.types[qf::kItemPrintMode], 0);
    RebuildPrintModes(sheet);
    items[qf::kItemPrintMode].Flags &= ~OPTIF_CHANGED;

    const UINT conversions[] = {IDS_DIFFUSION, IDS_HALFTONE_REGULAR, IDS_BARCODE};
    SetList(sheet, qf::kItemMonoConversion, conversions, 3, qf::kIconMono);
    qf::SetItem(items[qf::kItemMonoConversion], 0, title(qf::kItemMonoConversion, IDS_MONO_CONVERSION), callback, 7,
                &sheet.types[qf::kItemMonoConversion], s.monoConversion);

    const UINT panels[] = {IDS_PANEL_NOT_USED, IDS_PANEL_ALWAYS, IDS_PANEL_TEXT_ONLY, IDS_PANEL_EXCEPT_PICTURE};
    SetList(sheet, qf::kItemBlackPanel, panels, 4, qf::kIconPanel, kListStyle);
    qf::SetItem(items[qf::kItemBlackPanel], 0, title(qf::kItemBlackPanel, IDS_BLACK_PANEL), callback, 8,
                &sheet.types[qf::kItemBlackPanel], s.blackPanel);

    SetTwoStates(sheet, qf::kItemBlackBitmap, IDS_OFF, qf::kIconNoOption, IDS_ON, qf::kIconYes);
    qf::SetItem(items[qf::kItemBlackBitmap], 0, title(qf::kItemBlackBitmap, IDS_BLACK_BITMAP), callback, 9,
                &sheet.types[qf::kItemBlackBitmap], s.blackBitmap);

    pushButton(qf::kItemFrontOverlay, IDS_FRONT_OVERLAY, IDD_FRONT_OVERLAY, qf::kIconOverlay, FrontOverlayDialogProc);
    pushButton(qf::kItemBackOverlay, IDS_BACK_OVERLAY, IDD_BACK_OVERLAY, qf::kIconOverlay, BackOverlayDialogProc);
    pushButton(qf::kItemHologram, IDS_HOLOGRAM_VARNISH, IDD_HOLOGRAM, qf::kIconOverlay, HologramVarnishDialogProc);
    pushButton(qf::kItemHeadSettings, IDS_HEAD_SETTINGS, IDD_HEAD_SETTINGS, qf::kIconHead, HeadSettingsDialogProc);

    const UINT printing[] = {IDS_PRINT, IDS_ENCODE_ONLY};
    SetList(sheet, qf::kItemPrintingMode, printing, 2, qf::kIconPanel, kListStyle);
    if (!availability.encodeOnlyOffered) sheet.params[qf::kItemPrintingMode][1].Flags |= OPTPF_DISABLED;
    qf::SetItem(items[qf::kItemPrintingMode], 0, title(qf::kItemPrintingMode, IDS_PRINTING_MODE), callback, 14,
                &sheet.types[qf::kItemPrintingMode], s.printingMode);

    qf::SetUpDown(sheet.types[qf::kItemCopies], sheet.params[qf::kItemCopies], 0, 999, qf::kIconDocument);
    qf::SetItem(items[qf::kItemCopies], 0, title(qf::kItemCopies, IDS_COPIES), callback, 15, &sheet.types[qf::kItemCopies],
                sheet.WorkingDevmode()->dmCopies);
    items[qf::kItemCopies].DMPubID = DMPUB_COPIES_COLLATE;

    for (int index : {qf::kItemMonoConversion, qf::kItemBlackPanel, qf::kItemBlackBitmap})
        SetAvailable(items[index], availability.enabled[index]);
    for (int i = 0; i < qf::kDocumentItemCount; ++i) items[i].Flags &= ~OPTIF_CHANGED;
}

void ApplySelections(Sheet& sheet, const OPTITEM* items) {
    qf::PrivateSettings& s = sheet.Settings();
    sheet.WorkingDevmode()->dmOrientation = static_cast<short>(items[qf::kItemOrientation].Sel + 1);
    s.rotate180 = static_cast<int16_t>(items[qf::kItemRotation].Sel);
    s.printBothSides = static_cast<int16_t>(items[qf::kItemBothSides].Sel);
    s.printModeIndex = static_cast<int16_t>(items[qf::kItemPrintMode].Sel);
    s.monoConversion = static_cast<int16_t>(items[qf::kItemMonoConversion].Sel);
    s.blackPanel = static_cast<uint8_t>(items[qf::kItemBlackPanel].Sel);
    s.blackBitmap = static_cast<int16_t>(items[qf::kItemBlackBitmap].Sel);
    s.printingMode = static_cast<int16_t>(items[qf::kItemPrintingMode].Sel);
}

void SelectionChanged(Sheet& sheet, OPTITEM& item) {
    qf::PrivateSettings& s = sheet.Settings();
    OPTITEM* items = sheet.items;
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
        RebuildPrintModes(sheet);
        ReevaluatePanelItems(sheet);
        break;
    case qf::kItemBlackPanel:
        s.blackPanel = static_cast<uint8_t>(sel);
        SetAvailable(items[qf::kItemBlackBitmap], s.blackPanel == qf::kBlackPanelExceptColorPicture);
        break;
    case qf::kItemPrintMode:
        s.printModeIndex = static_cast<int16_t>(sel);
        ReevaluatePanelItems(sheet);
        break;
    case qf::kItemBothSides:
        s.printBothSides = static_cast<int16_t>(sel);
        RebuildPrintModes(sheet);
        qf::FoldRotation(s);
        sheet.types[qf::kItemRotation].Count = static_cast<WORD>(qf::RotationChoices(s));
        items[qf::kItemRotation].Sel = s.rotate180;
        items[qf::kItemRotation].Flags |= OPTIF_CHANGED;
        ReevaluatePanelItems(sheet);
        break;
    case qf::kItemRotation:
        s.rotate180 = static_cast<int16_t>(sel);
        break;
    case qf::kItemPrintingMode:
        s.printingMode = static_cast<int16_t>(sel);
        break;
    case qf::kItemCopies:
        sheet.WorkingDevmode()->dmCopies = static_cast<short>(sel < 1 ? 1 : sel);
        break;
    default:
        break;
    }
}

LONG CALLBACK DocumentSheetCallback(PCPSUICBPARAM param) {
    return SheetCallback(param, DocumentSheetOf, [param](Sheet& sheet) -> LONG {
        switch (param->Reason) {
        case CPSUICB_REASON_SEL_CHANGED:
            if (param->pCurItem) SelectionChanged(sheet, *param->pCurItem);
            return CPSUICB_ACTION_OPTIF_CHANGED;
        case CPSUICB_REASON_DLGPROC:
            return CPSUICB_ACTION_OPTIF_CHANGED;
        case CPSUICB_REASON_UNDO_CHANGES:
        case CPSUICB_REASON_ITEMS_REVERTED:
            std::memcpy(sheet.working, sheet.undo, sizeof sheet.working);
            return CPSUICB_ACTION_NONE;
        case CPSUICB_REASON_APPLYNOW:
            ApplySelections(sheet, sheet.items);
            return CPSUICB_ACTION_ITEMS_APPLIED;
        case CPSUICB_REASON_ABOUT:
            ShowAboutBox(GetActiveWindow(), param->UserData);
            return CPSUICB_ACTION_ITEMS_APPLIED;
        default:
            return CPSUICB_ACTION_NONE;
        }
    });
}

// Chooses the record the sheet edits and copies it into the sheet's working record: the
// caller's input when it is one of this driver's records, else the printer's stored
// default. The caller's input is never written. Returns false when there is neither.
bool ChooseWorkingRecord(Sheet& sheet, DOCUMENTPROPERTYHEADER* header, DWORD infoSize,
                         const qf::PrinterReport& answer) {
    qf::PrivateSettings& settings = sheet.Settings();
    if (IsDriverRecord(header->pdmIn)) {
        qf::CopyDriverRecord(reinterpret_cast<const uint8_t*>(header->pdmIn), sheet.working);
        // The printer's committed settings, when this process has them, are what the sheet
        // edits; else the input's settings become the printer's cache.
        g_printerRecords.Update(PrinterKey(sheet.PrinterName()), [&settings](qf::PrinterRecords& printer) {
            if (qf::IsSettingsCacheValid(printer.settingsCache))
                std::memcpy(&settings, &printer.settingsCache, qf::kPrivateSize);
            else
                std::memcpy(&printer.settingsCache, &settings, qf::kPrivateSize);
        });
        AdoptPrinterAnswer(sheet.PrinterName(), settings, answer, sheet.ribbonName);
        return true;
    }
    DEVMODEW* stored = qf::StoredDriverRecord(sheet.printerInfo, infoSize);
    if (!stored) return false;
    qf::CopyDriverRecord(reinterpret_cast<const uint8_t*>(stored), sheet.working);
    if (AdoptPrinterAnswer(sheet.PrinterName(), settings, answer, sheet.ribbonName)) {
        // The printer's stored defaults learn what the printer answered, and only that: a
        // question without answer, and the rest of the record, stay as the printer holds
        // them now.
        const ReportedFields reported{settings.ribbonType, settings.encoderSettings.encoderPresent,
                                      answer.ribbonAsked == qf::QuestionOutcome::kAnswered,
                                      answer.encoderAsked == qf::QuestionOutcome::kAnswered};
        qf::PrivateSettings* defaults = qf::PrivateBlock(stored);
        if (reported.ribbon) defaults->ribbonType = reported.ribbonType;
        if (reported.encoder) defaults->encoderSettings.encoderPresent = reported.encoderPresent;
        StoreReportedFields(sheet.PrinterName(), reported);
    }
    return true;
}

LONG OpenSheet(PROPSHEETUI_INFO* info, DOCUMENTPROPERTYHEADER* header) {
    Sheet* sheet = NewDocumentSheet();
    if (!sheet) {
        ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);
        return ERR_CPSUI_ALLOCMEM_FAILED;
    }
    info->UserData = sheet->id;
    sheet->printer = header->hPrinter;

    DWORD infoSize = 0;
    sheet->printerInfo = qf::ReadPrinterInfo(header->hPrinter, &infoSize);
    if (!sheet->printerInfo) ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);
    KeepPrinterName(*sheet, header->pszPrinterName);
    ForgetOfflineChoice(sheet->PrinterName());

    const qf::PrinterReport answer = AskPrinterState(sheet->PrinterName(), sheet->ribbonName);
    if (!ChooseWorkingRecord(*sheet, header, infoSize, answer)) {
        // Nothing to edit: the sheet is not added.
        if (sheet->printerInfo) ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);
        FreeDocumentSheet(info);
        return ERR_CPSUI_GETLASTERROR;
    }
    const std::string model = AskModel(sheet->PrinterName(), sheet->Settings());
    std::memcpy(sheet->undo, sheet->working, sizeof sheet->undo);

    qf::NormaliseAtOpen(sheet->Settings(), model);
    BuildItems(*sheet, model);

    qf::LoadItemText(IDS_CAPTION, sheet->callerName);
    qf::FillPage(sheet->page, sheet->callerName, sheet->callerName, DocumentSheetCallback,
                 CPSUI_PDLGPAGE_TREEVIEWONLY, qf::kDocumentItemCount);
    sheet->page.pOptItem = sheet->items;
    sheet->page.UserData = sheet->id;
    if (qf::AddPage(info, &sheet->page)) info->Result = 0;
    return 1;
}

// Publishes the working record to the caller's output and to the cache. The result is
// OK only when the caller's output, if it gave one, received the whole record.
void CommitSheet(PROPSHEETUI_INFO* info, DOCUMENTPROPERTYHEADER* header) {
    Sheet* sheet = DocumentSheetOf(info->UserData);
    if (!sheet) {
        info->Result = CPSUI_CANCEL;
        return;
    }
    if (header->pdmOut && header->cbOut < DWORD(qf::kRecordSize)) {
        info->Result = CPSUI_CANCEL;
        return;
    }
    if (header->pdmOut) std::memcpy(header->pdmOut, sheet->working, qf::kRecordSize);
    const qf::PrivateSettings& committed = sheet->Settings();
    g_printerRecords.Update(PrinterKey(sheet->PrinterName()), [&committed](qf::PrinterRecords& printer) {
        std::memcpy(&printer.settingsCache, &committed, qf::kPrivateSize);
    });
    info->Result = CPSUI_OK;
}

}  // namespace

LONG DocumentSheet(PROPSHEETUI_INFO* info) {
    auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info->lParamInit);
    if (!header) return ERR_CPSUI_GETLASTERROR;
    // Every call clears the printer's offline choice; INIT does once it knows the printer.
    if (info->Reason != PROPSHEETUI_REASON_INIT) {
        const Sheet* open = DocumentSheetOf(info->UserData);
        ForgetOfflineChoice(open ? open->PrinterName() : header->pszPrinterName);
    }
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        // An opening that fails part-way tells the user, as a sheet without its records does.
        return OpenSheetOrTell(
            info, [&] { return OpenSheet(info, header); }, FreeDocumentSheet, ERR_CPSUI_GETLASTERROR,
            [] { SetLastError(ERROR_NOT_ENOUGH_MEMORY); });
    case PROPSHEETUI_REASON_SET_RESULT:
        CommitSheet(info, header);
        return 1;
    case PROPSHEETUI_REASON_DESTROY:
        FreeDocumentSheet(info);
        return 1;
    default:
        return 1;
    }
}
