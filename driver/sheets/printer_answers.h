// What the document sheet and the no-sheet branch make of the printer's answers: the
// questions, the adoption of the answers into a record and into the printer's cache, and
// the store of what the printer reported into its defaults.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "driver/settings/private_settings.h"
#include "driver/state/document_items.h"

// Every call of the document-properties export clears the offline choice in the printer's
// cache: a record handed out from the cache afterwards learns its ribbon from the printer.
// A printer without an entry has no choice to clear; nothing is allocated, so DESTROY
// always gets to free the sheet.
void ForgetOfflineChoice(const wchar_t* printerName);

// Asks the printer for its encoder and ribbon; `ribbonName` (32 characters) receives the
// catalogue's name of the ribbon, or "None".
qf::PrinterReport AskPrinterState(const wchar_t* printerName, wchar_t* ribbonName);

// Whether this printer's cached settings are in the offline configuration.
bool CachedOffline(const wchar_t* printerName);

// Adopts what the printer reports into `settings` and the printer's cache. Returns true
// when a field changed. A printer that answered but could not tell its ribbon keeps the
// ribbon of the settings, and the user is told; a new ribbon is announced by
// `ribbonName`, the name AskPrinterState gave it.
bool AdoptPrinterAnswer(const wchar_t* printerName, qf::PrivateSettings& settings, const qf::PrinterReport& report,
                        const wchar_t* ribbonName);

// The model text from the printer, empty when it does not answer or the configuration is
// offline (an empty text names no model); `settings` and the printer's cache learn its
// class.
std::string AskModel(const wchar_t* printerName, qf::PrivateSettings& settings);

// What the printer reported, stored into its default record as it holds it now: the
// fields of the questions it answered.
struct ReportedFields {
    uint8_t ribbonType;
    uint16_t encoderPresent;
    bool ribbon;
    bool encoder;
};
// Stores the answered fields into the stored defaults of the printer named `printerName`,
// on a handle opened for administering: a user the platform refuses that right keeps them
// in the document's own record only, and is not told (the next administrator's visit
// stores them). True when stored.
bool StoreReportedFields(const wchar_t* printerName, const ReportedFields& fields);
