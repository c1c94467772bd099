// `workbench state`: the printer's record as the spooler keeps it, and what the driver
// learns from the simulated printer when a sheet opens: encoder, ribbon (code and
// catalogue name) and the model's class.
#include <windows.h>

#include <cstdio>
#include <string>

#include "driver/channel/commands.h"
#include "driver/channel/printer_queries.h"
#include "driver/channel/reply.h"
#include "driver/settings/module_state.h"
#include "driver/settings/ribbon_query.h"
#include "driver/settings/ribbons.h"
#include "sim/ui_standins.h"
#include "workbench/commands.h"
#include "workbench/sheet_support.h"
#include "workbench/simulated_printer.h"

namespace {

const char* AskedText(qf::QuestionOutcome asked) {
    switch (asked) {
    case qf::QuestionOutcome::kAnswered: return "answered";
    case qf::QuestionOutcome::kNoAnswer: return "no answer";
    case qf::QuestionOutcome::kCallFailed: return "call failed";
    }
    return "?";
}

}  // namespace

int StateCommand(const Args& args) {
    std::string error;
    HMODULE driver = StartSimulatedPrinter(args, &error);
    if (!driver) {
        std::fprintf(stderr, "workbench: %s\n", error.c_str());
        return 1;
    }
    // The driver's operations run here, with the DLL's resources.
    ResetModuleState(driver);
    const std::wstring name = SimulatedPrinterName();
    qf::PrinterReport report{qf::QuestionOutcome::kCallFailed, false, qf::QuestionOutcome::kCallFailed, qf::kRibbonNone};
    wchar_t ribbonName[kRibbonNameChars] = {};
    LoadRibbonName(qf::kRibbonNone, ribbonName, kRibbonNameChars);
    QueryPrinterState(name.c_str(), &report, ribbonName);
    const bool encoder = report.encoder;
    const uint8_t code = report.ribbon;

    char model[224] = {};
    DWORD needed = 0;
    const bool ok = QueryNamedPrinter(name.c_str(), nullptr, qf::kModelQuery, model, sizeof model - 1, &needed);
    const qf::Reply reply = qf::CheckReply(ok, model, sizeof model - 1, needed);
    const std::string modelText = reply.complete ? std::string(reply.text) : std::string();

    PrintPrinterRecord("The printer's record (as the spooler keeps it):", name);
    std::printf("\nPrinter state of \"%s\":\n", sim::Utf8(name).c_str());
    std::printf("  encoder asked   %s\n", AskedText(report.encoderAsked));
    std::printf("  ribbon asked    %s\n", AskedText(report.ribbonAsked));
    std::printf("  encoder         %s\n", encoder ? "fitted" : "none");
    std::printf("  ribbon code     %u (%s)\n", code, DriverRibbonName(code).c_str());
    std::printf("  catalogue name  %s\n", sim::Utf8(ribbonName).c_str());
    std::printf("  model text      %s\n", reply.complete ? modelText.c_str() : "(no answer)");
    std::printf("  model class     %u%s\n", qf::ClassifyModel(modelText),
                qf::IsDuplexModel(modelText) ? " (prints both sides)" : "");
    std::printf("  print modes     ");
    const qf::PrintModes modes = qf::PrintModeList(code, 0, qf::IsDuplexModel(modelText));
    for (int i = 0; i < modes.count; ++i)
        std::printf("%s\"%s\"", i ? ", " : "", DriverPrintModeText(modes.modes[i]).c_str());
    std::printf("\n");
    // The notice a sheet shows when the settings it opens held another ribbon.
    std::printf("  ribbon notice   (shown when the settings held another ribbon)\n");
    ShowRibbonChanged(code, ribbonName);
    return 0;
}
