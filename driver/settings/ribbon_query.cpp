// Ribbon and encoder questions to the printer.
#include "driver/settings/ribbon_query.h"

#include <winspool.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

#include "driver/channel/commands.h"
#include "driver/channel/printer_queries.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/settings/module_state.h"
#include "driver/settings/ribbons.h"
#include "driver/ui/dialog_conventions.h"

namespace {

constexpr DWORD kStateReplySize = 32;

qf::QuestionOutcome Outcome(bool called, bool answered) {
    if (!called) return qf::QuestionOutcome::kCallFailed;
    return answered ? qf::QuestionOutcome::kAnswered : qf::QuestionOutcome::kNoAnswer;
}

}  // namespace

void QueryPrinterState(const wchar_t* printerName, qf::PrinterReport* report, wchar_t* ribbonName) {
    qf::PrinterHandle printer;
    if (!printer.Open(printerName, PRINTER_ACCESS_USE)) return;

    // Each question counts on its own: one whose call failed says nothing about the other.
    bool encoderCalled = false, ribbonCalled = false;
    std::string encoderText, ribbonText;
    const bool encoderReply =
        AskSheetPrinter(printer.Get(), qf::kEncoderQuery, kStateReplySize, &encoderText, &encoderCalled);
    const bool ribbonReply = AskSheetPrinter(printer.Get(), qf::kRibbonQuery, kStateReplySize, &ribbonText, &ribbonCalled);
    report->encoderAsked = Outcome(encoderCalled, encoderReply);
    if (encoderReply) report->encoder = qf::IsEncoderReply(encoderText);
    // A ribbon answer starting with a zero byte is no answer; ACK alone is the number 0.
    const bool ribbonAnswered = ribbonReply && (ribbonText.empty() || ribbonText[0] != '\0');
    report->ribbonAsked = Outcome(ribbonCalled, ribbonAnswered);
    if (ribbonAnswered) {
        const int32_t number = qf::ParseRibbonNumber(ribbonText);
        report->ribbon = qf::RibbonFromReply(ribbonText);
        RibbonCatalogueName(printer.Get(), number, ribbonName);
    }
}

namespace {

const wchar_t* Wide(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

// The catalogue beside the printer's driver file, where the platform installs a current
// driver's files, when it is there; empty otherwise.
std::wstring CatalogueBesideDriver(HANDLE printer) {
    const std::u16string file(qf::kRibbonCatalogueFile);
    const std::wstring path = qf::FileBesideDriverOf(printer, Wide(file));
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::wstring();
    return path;
}

// The catalogue in the version-2 folder of the driver directory, where older
// installations put it; empty when the driver directory is unknown.
std::wstring CatalogueInDriverDirectory() {
    wchar_t directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory), sizeof directory,
                                    &needed))
        return std::wstring();
    directory[MAX_PATH - 1] = L'\0';
    const std::u16string path = qf::RibbonCataloguePath(reinterpret_cast<const char16_t*>(directory));
    return std::wstring(Wide(path), path.size());
}

}  // namespace

std::wstring RibbonCataloguePathOf(HANDLE printer) {
    const std::wstring beside = printer ? CatalogueBesideDriver(printer) : std::wstring();
    return beside.empty() ? CatalogueInDriverDirectory() : beside;
}

bool CatalogueRibbonName(HANDLE printer, std::u16string_view key, const wchar_t* fallback, wchar_t* name,
                         int chars) {
    const std::wstring path = RibbonCataloguePathOf(printer);
    if (path.empty() || chars <= 0) return false;
    const std::u16string section(qf::kRibbonCatalogueSection), keyText(key);
    wchar_t value[qf::kRibbonCatalogueValueChars + 1] = {};
    GetPrivateProfileStringW(Wide(section), Wide(keyText), fallback, value, qf::kRibbonCatalogueValueChars + 1,
                             path.c_str());
    const std::u16string_view cut =
        qf::CutCatalogueValue(std::u16string_view(reinterpret_cast<const char16_t*>(value), std::size(value)));
    const size_t length = std::min(cut.size(), static_cast<size_t>(chars - 1));
    std::wmemset(name, 0, static_cast<size_t>(chars));
    std::wmemcpy(name, Wide(cut), length);
    return true;
}

void RibbonCatalogueName(HANDLE printer, int32_t number, wchar_t* name) {
    // A missing file or key names no ribbon, as the ribbon code above the last does.
    wchar_t none[kRibbonNameChars] = {};
    LoadRibbonName(qf::kRibbonNone, none, kRibbonNameChars);
    CatalogueRibbonName(printer, qf::RibbonCatalogueKey(number), none, name, kRibbonNameChars);
}

void LoadRibbonName(uint32_t code, wchar_t* text, int chars) {
    text[0] = L'\0';
    LoadStringW(g_hInstance, IDS_RIBBON_NAME_FIRST + qf::RibbonNameIndex(code), text, chars);
}

void LoadPrintModeText(qf::PrintModeText mode, wchar_t* text, int chars) {
    text[0] = L'\0';
    LoadStringW(g_hInstance, IDS_PRINT_MODE_FIRST + mode, text, chars);
}

void ShowRibbonChanged(uint8_t newCode, const wchar_t* ribbonName) {
    UINT textId = IDS_RIBBON_CHANGED;
    switch (qf::RibbonChangeNotice(newCode)) {
    case qf::RibbonChange::kChanged: textId = IDS_RIBBON_CHANGED; break;
    case qf::RibbonChange::kChangedMonochrome: textId = IDS_RIBBON_CHANGED_MONO; break;
    case qf::RibbonChange::kNoRibbon: textId = IDS_NO_RIBBON; break;
    }
    // The texts name the ribbon at their one "%s": by the ribbon list's name, as the Ribbon
    // Type item shows it; a ribbon the list does not name ("None" there) by its code's name,
    // so that a change is never announced as a change to no ribbon.
    wchar_t none[kRibbonNameChars] = {}, byCode[kRibbonNameChars] = {};
    LoadRibbonName(qf::kRibbonNone, none, kRibbonNameChars);
    if (!ribbonName || !ribbonName[0] || std::wcscmp(ribbonName, none) == 0) {
        LoadRibbonName(newCode, byCode, kRibbonNameChars);
        ribbonName = byCode;
    }
    ShowMessageNaming(IDS_CAPTION, textId, ribbonName, MB_OK);
}
