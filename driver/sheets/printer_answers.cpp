// The printer's answers for the document sheet and the no-sheet branch.
#include "driver/sheets/printer_answers.h"

#include <winspool.h>

#include "driver/channel/commands.h"
#include "driver/channel/printer_queries.h"
#include "driver/channel/reply.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/ribbon_query.h"
#include "driver/settings/ribbons.h"
#include "driver/settings/stored_records.h"
#include "driver/ui/dialog_conventions.h"

namespace {

constexpr DWORD kModelQueryReplySize = 20;

}  // namespace

// Every call of the document-properties export clears the offline choice in the printer's
// cache: a record handed out from the cache afterwards learns its ribbon from the printer.
// A printer without an entry has no choice to clear; nothing is allocated, so DESTROY
// always gets to free the sheet.
void ForgetOfflineChoice(const wchar_t* printerName) {
    g_printerRecords.UpdateExisting(PrinterKey(printerName),
                                    [](qf::PrinterRecords& printer) { printer.settingsCache.manualRibbon = 0; });
}

qf::PrinterReport AskPrinterState(const wchar_t* printerName, wchar_t* ribbonName) {
    qf::PrinterReport answer{qf::QuestionOutcome::kCallFailed, false, qf::QuestionOutcome::kCallFailed, qf::kRibbonNone};
    LoadRibbonName(qf::kRibbonNone, ribbonName, kRibbonNameChars);
    QueryPrinterState(printerName, &answer, ribbonName);
    return answer;
}

// Whether this printer's cached settings are in the offline configuration.
bool CachedOffline(const wchar_t* printerName) {
    return g_printerRecords.Read(PrinterKey(printerName)).settingsCache.manualRibbon != 0;
}

// Adopts what the printer reports into the working settings and the printer's cache.
// Returns true when a field changed. A printer that answered but could not tell its
// ribbon keeps the ribbon of the settings, and the user is told.
bool AdoptPrinterAnswer(const wchar_t* printerName, qf::PrivateSettings& settings, const qf::PrinterReport& report,
                        const wchar_t* ribbonName) {
    const qf::PrinterAdoption adoption = qf::AdoptPrinterReport(settings, report, CachedOffline(printerName));
    if (adoption.ribbonUnknown) ShowMessage(IDS_CAPTION, IDS_NO_RIBBON, MB_OK);
    if (adoption.ribbonChanged) {
        ShowRibbonChanged(adoption.ribbon, ribbonName);
        settings.ribbonType = adoption.ribbon;
    }
    if (adoption.encoderChanged) settings.encoderSettings.encoderPresent = adoption.encoderPresent;
    g_printerRecords.Update(PrinterKey(printerName), [&adoption](qf::PrinterRecords& printer) {
        if (adoption.ribbonChanged) printer.settingsCache.ribbonType = adoption.ribbon;
        if (adoption.encoderChanged) printer.settingsCache.encoderSettings.encoderPresent = adoption.encoderPresent;
    });
    return adoption.ribbonChanged || adoption.encoderChanged;
}

// The model text from the printer; none when it does not answer or the configuration is
// offline.
std::string AskModel(const wchar_t* printerName, qf::PrivateSettings& settings) {
    std::string model;
    if (CachedOffline(printerName)) {
        const uint8_t ribbon = qf::RibbonFromManualIndex(settings.manualRibbon);
        settings.ribbonType = ribbon;
        g_printerRecords.Update(PrinterKey(printerName),
                                [ribbon](qf::PrinterRecords& printer) { printer.settingsCache.ribbonType = ribbon; });
        return model;
    }
    qf::PrinterHandle printer;
    if (printer.Open(printerName, PRINTER_ACCESS_USE)) {
        std::string answer;
        if (AskSheetPrinter(printer.Get(), qf::kModelQuery, kModelQueryReplySize, &answer))
            model = std::string(qf::UpToFirstZero(answer));
        const uint8_t modelClass = qf::ClassifyModel(model);
        settings.modelClass = modelClass;
        g_printerRecords.Update(PrinterKey(printerName), [modelClass](qf::PrinterRecords& entry) {
            entry.settingsCache.modelClass = modelClass;
        });
    }
    return model;
}

bool StoreReportedFields(const wchar_t* printerName, const ReportedFields& fields) {
    qf::PrinterHandle printer;
    if (!printerName || !printerName[0] || !printer.Open(printerName, PRINTER_ACCESS_ADMINISTER)) return false;
    qf::StoredSettingsEdit edit(printer.Get());
    qf::PrivateSettings* stored = edit.Settings();
    if (!stored) return false;
    if (fields.ribbon) stored->ribbonType = fields.ribbonType;
    if (fields.encoder) stored->encoderSettings.encoderPresent = fields.encoderPresent;
    return edit.Store(printer.Get());
}
