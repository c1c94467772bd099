// Ribbon and encoder questions to the printer.
#include "driver/settings/ribbon_query.h"

#include <winspool.h>

#include <cwchar>
#include <string>

#include "driver/channel/printer_queries.h"
#include "driver/channel/commands.h"
#include "driver/ui/dialog_conventions.h"
#include "driver/settings/module_state.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/resources/resource.h"
#include "driver/settings/ribbons.h"

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

// The catalogue beside the printer's driver file, where the platform installs a current
// driver's files, when it is there and its path converts exactly to the ANSI code page
// the profile call reads; empty otherwise.
std::string CatalogueBesideDriver(HANDLE printer) {
    const std::string_view file = qf::kRibbonCatalogueFile;
    const std::wstring path = qf::FileBesideDriverOf(printer, std::wstring(file.begin(), file.end()).c_str());
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::string();
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (bytes <= 0 || lossy) return std::string();
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, &ansi[0], bytes, nullptr, &lossy);
    ansi.resize(static_cast<size_t>(bytes - 1));
    return ansi;
}

// The catalogue in the version-2 folder of the driver directory, where older
// installations put it; empty when the driver directory is unknown.
std::string CatalogueInDriverDirectory() {
    char directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory), sizeof directory,
                                    &needed))
        return std::string();
    return qf::RibbonCataloguePath(directory);
}

}  // namespace

void RibbonCatalogueName(HANDLE printer, int32_t number, wchar_t* name) {
    std::string path = CatalogueBesideDriver(printer);
    if (path.empty()) path = CatalogueInDriverDirectory();
    if (path.empty()) return;
    const std::string section(qf::kRibbonCatalogueSection);
    // A missing file or key names no ribbon, as the ribbon code above the last does.
    wchar_t none[kRibbonNameChars] = {};
    LoadRibbonName(qf::kRibbonNone, none, kRibbonNameChars);
    char fallback[kRibbonNameChars * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, none, -1, fallback, sizeof fallback - 1, nullptr, nullptr);
    char value[qf::kRibbonCatalogueValueChars + 1] = {};
    GetPrivateProfileStringA(section.c_str(), qf::RibbonCatalogueKey(number).c_str(), fallback, value,
                             sizeof value, path.c_str());
    const std::string_view cut = qf::CutCatalogueValue(std::string_view(value, sizeof value));
    std::wmemset(name, 0, kRibbonNameChars);
    MultiByteToWideChar(CP_ACP, 0, cut.data(), static_cast<int>(cut.size()), name, kRibbonNameChars - 1);
}

void LoadRibbonName(uint32_t code, wchar_t* text, int chars) {
    text[0] = L'\0';
    LoadStringW(g_hInstance, IDS_RIBBON_NAME_FIRST + qf::RibbonNameIndex(code), text, chars);
}

void LoadPrintModeText(qf::PrintModeText mode, wchar_t* text, int chars) {
    text[0] = L'\0';
    LoadStringW(g_hInstance, IDS_PRINT_MODE_FIRST + mode, text, chars);
}

void ShowRibbonChanged(uint8_t newCode, uint8_t) {
    UINT textId = IDS_RIBBON_CHANGED;
    switch (qf::RibbonChangeNotice(newCode)) {
    case qf::RibbonChange::kChanged: textId = IDS_RIBBON_CHANGED; break;
    case qf::RibbonChange::kChangedMonochrome: textId = IDS_RIBBON_CHANGED_MONO; break;
    case qf::RibbonChange::kNoRibbon: textId = IDS_NO_RIBBON; break;
    }
    // The texts name the ribbon at their one "%s".
    wchar_t name[kRibbonNameChars] = {};
    LoadRibbonName(newCode, name, kRibbonNameChars);
    ShowMessageNaming(IDS_CAPTION, textId, name, MB_OK);
}
