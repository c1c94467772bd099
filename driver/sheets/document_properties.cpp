// DrvDocumentPropertySheets without property-sheet information: the record handed out
// without user interface, and what the printer reports learnt on the way.
#include "driver/sheets/document_sheet.h"

#include <string_view>

#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/settings/document_settings.h"
#include "driver/settings/module_state.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"
#include "driver/settings/ribbons.h"
#include "driver/settings/stored_records.h"
#include "driver/sheets/printer_answers.h"

LONG DocumentPropertiesWithoutSheet(DOCUMENTPROPERTYHEADER* header) {
    if (!header) return -1;
    if (header->fMode == 0 || !header->pdmOut) {
        header->cbOut = qf::kRecordSize;
        return qf::kRecordSize;
    }
    if (!(header->fMode & (DM_UPDATE | DM_COPY)) || (header->fMode & DM_NOPERMISSION)) return 1;
    // A buffer stated too small for the record learns the size it needs and is not
    // written. A size of 0 states nothing: the platform's own spooler passes 0 for an
    // application's buffer, which the application sized with the size query.
    if (header->cbOut != 0 && header->cbOut < DWORD(qf::kRecordSize)) {
        header->cbOut = qf::kRecordSize;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return -1;
    }
    header->cbOut = qf::kRecordSize;

    // The held-record path: a printer whose settings are cached answers from memory. Its
    // offline choice is forgotten after the copy, as on every call.
    if (header->fMode & DM_OUT_BUFFER) {
        const qf::HeldCopy held = FillFromHeldSettings(header->pszPrinterName, header->pdmOut, header->pdmIn);
        if (held.copied) {
            if (held.offline) ForgetOfflineChoice(header->pszPrinterName);
            return 1;
        }
    }

    // Otherwise the printer's information is read once; the printer's entry goes by the
    // name the spooler reports for it, as the sheets' do. The printer is asked only while
    // no settings were committed or cached for it when the call began; the record handed
    // out fills its cache on the way.
    const PrinterInformation information(header->hPrinter, header->pszPrinterName);
    const wchar_t* name = information.Name();
    const std::u16string_view printer = PrinterKey(name);
    const bool cacheWasValid = qf::IsSettingsCacheValid(g_printerRecords.Read(printer).settingsCache);
    FillFromPrinter(information, header->hPrinter, header->pdmOut, header->pdmIn, header->fMode);
    ForgetOfflineChoice(name);
    if (cacheWasValid) return 1;

    wchar_t ribbonName[kRibbonNameChars];
    const qf::PrinterReport answer = AskPrinterState(name, ribbonName);
    if (header->fMode != DM_COPY || !qf::AnsweredAny(answer) ||
        !qf::IsDriverRecord(reinterpret_cast<const uint8_t*>(header->pdmOut)))
        return 1;
    qf::PrivateSettings* out = qf::PrivateBlock(header->pdmOut);
    const qf::PrinterAdoption adoption = qf::AdoptPrinterReport(*out, answer, false);
    if (!adoption.ribbonChanged && !adoption.encoderChanged) return 1;

    // A printer whose ribbon or encoder changed updates its stored defaults and its cache
    // with what it answered; a question without answer leaves its field as stored.
    out->ribbonType = adoption.ribbon;
    out->encoderSettings.encoderPresent = adoption.encoderPresent;
    const ReportedFields reported{adoption.ribbon, adoption.encoderPresent, answer.ribbonAsked == qf::QuestionOutcome::kAnswered,
                                  answer.encoderAsked == qf::QuestionOutcome::kAnswered};
    // The cache keeps what the printer answered whether or not the store succeeds: an
    // ordinary user cannot store it, and later records must not fall back to the old ribbon.
    g_printerRecords.Update(printer, [&reported](qf::PrinterRecords& entry) {
        if (reported.ribbon) entry.settingsCache.ribbonType = reported.ribbonType;
        if (reported.encoder) entry.settingsCache.encoderSettings.encoderPresent = reported.encoderPresent;
    });
    StoreReportedFields(name, reported);
    return 1;
}

