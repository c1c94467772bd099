// The device property sheet.
#include "driver/sheets/device_sheet.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/channel/commands.h"
#include "driver/channel/printer_queries.h"
#include "driver/channel/reply.h"
#include "driver/encoder/encoder_dialogs.h"
#include "driver/encoder/encoder_store.h"
#include "driver/platform/guard.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"
#include "driver/settings/ribbons.h"
#include "driver/settings/stored_records.h"
#include "driver/state/device_items.h"
#include "driver/state/document_items.h"
#include "driver/state/option_items.h"
#include "driver/state/sheet_state.h"
#include "driver/tools/about_dialog.h"
#include "driver/tools/device_information_dialog.h"
#include "driver/tools/firmware_dialog.h"
#include "driver/tools/tools_dialog.h"
#include "driver/ui/dialog_conventions.h"

namespace {

constexpr DWORD kReplySize = 80;

using Sheet = DeviceSheetState;

void AskEncoder(const Sheet& sheet, qf::PrivateSettings& settings) {
    if (settings.manualRibbon != 0) {
        settings.encoderSettings.encoderPresent = 1;
        g_printerRecords.Update(PrinterKey(sheet.PrinterName()),
                                [](qf::PrinterRecords& printer) { printer.settingsCache.encoderSettings.encoderPresent = 1; });
        return;
    }
    // A question without answer keeps the stored value: a printer briefly unreachable while
    // its properties were open must not lose encoding in every later document.
    std::string text;
    bool called = false;
    const bool complete = AskSheetPrinter(sheet.printer, qf::kEncoderQuery, kReplySize, &text, &called);
    const qf::QuestionOutcome asked = !called ? qf::QuestionOutcome::kCallFailed : complete ? qf::QuestionOutcome::kAnswered : qf::QuestionOutcome::kNoAnswer;
    settings.encoderSettings.encoderPresent =
        qf::EncoderAfterQuestion(settings.encoderSettings.encoderPresent, asked, complete && qf::IsEncoderReply(text));
}

// The model text the sheet's dialogs decide by is this printer's answer, or none: a
// printer that does not answer never inherits the text of one asked before.
void AskModel(Sheet& sheet, qf::PrivateSettings& settings) {
    sheet.modelName[0] = L'\0';
    LoadStringW(g_hInstance, IDS_DEFAULT_MODEL, sheet.modelName, kModelNameChars);
    sheet.modelAnswered = false;
    sheet.modelReply[0] = '\0';
    std::string text;
    if (settings.manualRibbon != 0 || !AskSheetPrinter(sheet.printer, qf::kModelQuery, kReplySize, &text)) return;
    sheet.modelAnswered = true;
    // Every rule reads the model text as the user sees it: up to its first zero byte.
    text = std::string(qf::UpToFirstZero(text));
    lstrcpynA(sheet.modelReply, text.c_str(), kModelReplySize);
    std::memset(sheet.modelName, 0, sizeof sheet.modelName);
    MultiByteToWideChar(CP_ACP, 0, sheet.modelReply, -1, sheet.modelName, kModelNameChars - 1);
    const uint8_t modelClass = qf::ClassifyModel(text);
    settings.modelClass = modelClass;
    g_printerRecords.Update(PrinterKey(sheet.PrinterName()),
                            [modelClass](qf::PrinterRecords& printer) { printer.settingsCache.modelClass = modelClass; });
}

void BuildItems(Sheet& sheet, const qf::PrivateSettings& settings) {
    OPTITEM* items = sheet.items;
    const qf::DeviceItemAvailability availability = qf::DeviceItemsAtOpen(settings, sheet.modelAnswered);

    qf::SetChoice(sheet.params[qf::kDeviceItemModel], sheet.modelName, qf::kIconModel);
    qf::SetType(sheet.types[qf::kDeviceItemModel], TVOT_LISTBOX, &sheet.params[qf::kDeviceItemModel], 1, 0);
    qf::SetItem(items[qf::kDeviceItemModel], 0, qf::LoadItemText(IDS_MODEL_FIRMWARE, sheet.titles[0]),
                OPTIF_CALLBACK, 0, &sheet.types[qf::kDeviceItemModel], 0);

    struct Button {
        int index;
        UINT title;
        WORD templateId;
        DLGPROC proc;
        ULONG_PTR icon;
        DWORD flags;
    };
    const Button buttons[] = {
        {qf::kDeviceItemEncoder, IDS_ENCODER_SETTINGS, IDD_ENCODER_SETTINGS, EncoderDialogProc, IDI_PRINTER,
         OPTIF_CALLBACK},
        {qf::kDeviceItemTools, IDS_TOOLS, IDD_TOOLS, ToolsDialogProc, IDI_PRINTER, 0},
        {qf::kDeviceItemFirmware, IDS_FW_DOWNLOAD, IDD_FIRMWARE_DOWNLOAD, FirmwareDialogProc, qf::kIconDocument,
         OPTIF_CALLBACK},
        {qf::kDeviceItemSingleFeed, IDS_SINGLE_FEED, IDD_SINGLE_FEED, SingleFeedDialogProc, qf::kIconDocument,
         OPTIF_CALLBACK},
        {qf::kDeviceItemDeviceInfo, IDS_DEVICE_INFORMATION, IDD_DEVICE_INFORMATION, DeviceInformationDialogProc,
         qf::kIconDocument, OPTIF_CALLBACK},
        {qf::kDeviceItemAbout, IDS_ABOUT, IDD_ABOUT, AboutDialogProc, qf::kIconDocument, OPTIF_CALLBACK},
    };
    for (const Button& b : buttons) {
        qf::SetPushButton(sheet.types[b.index], sheet.params[b.index], b.proc, b.templateId, b.icon);
        qf::SetItem(items[b.index], 0, qf::LoadItemText(b.title, sheet.titles[b.index]), b.flags,
                    static_cast<BYTE>(b.index), &sheet.types[b.index], 0);
        if (!(availability.enabled[b.index] && qf::OpensOfferedDialog(items[b.index])))
            items[b.index].Flags |= OPTIF_DISABLED;
    }
}

// APPLYNOW: the encoder parts whose store failed when their dialog applied them are
// stored now, on the printer's current record; a part already stored is not stored
// again from this sheet's copy, so a later window's Apply on the same printer keeps its
// values. A sheet with nothing waiting stores nothing; a store that fails again is told.
void StoreUnstoredEncoderParts(Sheet& sheet) {
    const EncoderParts parts{sheet.generalUnstored, sheet.tracksUnstored};
    if (!parts.general && !parts.tracks) return;
    if (StoreEncoderParts(sheet.PrinterName(), sheet.encoderSettings, parts, nullptr))
        sheet.generalUnstored = sheet.tracksUnstored = false;
    else
        ShowMessage(IDS_CAPTION, IDS_NOT_STORED, MB_OK);
}

LONG CALLBACK DeviceSheetCallback(PCPSUICBPARAM param) {
    return SheetCallback(param, DeviceSheetOf, [param](Sheet& sheet) -> LONG {
        switch (param->Reason) {
        case CPSUICB_REASON_SEL_CHANGED:
        case CPSUICB_REASON_DLGPROC:
            return CPSUICB_ACTION_OPTIF_CHANGED;
        case CPSUICB_REASON_APPLYNOW:
            StoreUnstoredEncoderParts(sheet);
            return CPSUICB_ACTION_ITEMS_APPLIED;
        case CPSUICB_REASON_ABOUT:
            ShowAboutBox(GetActiveWindow(), param->UserData);
            return CPSUICB_ACTION_ITEMS_APPLIED;
        default:
            return CPSUICB_ACTION_NONE;
        }
    });
}

LONG OpenSheet(PROPSHEETUI_INFO* info, DEVICEPROPERTYHEADER* header) {
    Sheet* sheet = NewDeviceSheet();
    if (!sheet) {
        ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);
        return -1;
    }
    info->UserData = sheet->id;
    sheet->printer = header->hPrinter;
    sheet->viewOnly = (header->Flags & DPS_NOPERMISSION) != 0;

    // Without the printer's stored settings there is nothing to show: no page is added.
    DWORD size = 0;
    sheet->printerInfo = qf::ReadPrinterInfo(header->hPrinter, &size);
    DEVMODEW* stored = qf::StoredDriverRecord(sheet->printerInfo, size);
    if (!stored) {
        FreeDeviceSheet(info);
        ShowMessage(IDS_CAPTION, IDS_SYSTEM_ERROR, MB_OK);
        info->Result = static_cast<ULONG_PTR>(-1);
        return -1;
    }
    sheet->record = stored;
    KeepPrinterName(*sheet, header->pszPrinterName);
    qf::PrivateSettings& settings = sheet->Settings();
    AskEncoder(*sheet, settings);
    sheet->encoderSettings = settings.encoderSettings;
    AskModel(*sheet, settings);
    BuildItems(*sheet, settings);

    qf::FillPage(sheet->page, qf::LoadItemText(IDS_DEFAULT_MODEL, sheet->callerName),
                 qf::LoadItemText(IDS_CAPTION, sheet->itemName),
                 DeviceSheetCallback, CPSUI_PDLGPAGE_PRINTERPROP, qf::kDeviceItemCount,
                 sheet->viewOnly ? qf::PagePermission::kViewOnly : qf::PagePermission::kUpdate);
    sheet->page.pOptItem = sheet->items;
    sheet->page.UserData = sheet->id;
    if (qf::AddPage(info, &sheet->page)) {
        info->Result = 0;
        return 1;
    }
    info->Result = static_cast<ULONG_PTR>(-1);
    return -1;
}

}  // namespace

LONG DeviceSheet(PROPSHEETUI_INFO* info) {
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT: {
        auto* header = reinterpret_cast<DEVICEPROPERTYHEADER*>(info->lParamInit);
        if (!header) return ERR_CPSUI_GETLASTERROR;
        // An opening that fails part-way answers as a sheet without its records does.
        return OpenSheetOrTell(
            info, [&] { return OpenSheet(info, header); }, FreeDeviceSheet, -1,
            [info] { info->Result = static_cast<ULONG_PTR>(-1); });
    }
    case PROPSHEETUI_REASON_DESTROY:
        FreeDeviceSheet(info);
        return 1;
    case PROPSHEETUI_REASON_SET_RESULT:
        info->Result = static_cast<ULONG_PTR>(-1);
        return -1;
    default:
        return 0;
    }
}
