// Ribbon and encoder questions to the printer.
#include "driver/settings/ribbon_query.h"

#include <winspool.h>

#include <cwchar>
#include <string>

#include "driver/channel/printer_queries.h"
#include "driver/channel/commands.h"
#include "driver/entry/dialog_conventions.h"
#include "driver/entry/module_state.h"
#include "driver/entry/owners.h"
#include "driver/resources/resource.h"
#include "driver/settings/ribbons.h"

namespace {

constexpr DWORD kStateReplySize = 32;

qf::Asked Outcome(bool called, bool answered) {
    if (!called) return qf::Asked::kCallFailed;
    return answered ? qf::Asked::kAnswered : qf::Asked::kNoAnswer;
}

}  // namespace

void QueryPrinterState(const wchar_t* printerName, qf::PrinterReport* report, wchar_t* ribbonName) {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    qf::PrinterHandle printer;
    if (!printer.Open(printerName, &defaults)) return;

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
        RibbonCatalogueName(number, ribbonName);
    }
}

void RibbonCatalogueName(int32_t number, wchar_t* name) {
    char directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory), sizeof directory,
                                    &needed))
        return;
    const std::string path = qf::RibbonCataloguePath(directory);
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
