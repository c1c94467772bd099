// The workbench's simulated card printer.
#include "workbench/simulated_printer.h"

#include <cstdlib>
#include <cwchar>
#include <sstream>

#include "sim/driver_loader.h"
#include "sim/files.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"
#include "workbench/sheet_support.h"

namespace {

bool ParseFault(const std::string& text, sim::PortFault* fault) {
    const struct {
        const char* name;
        sim::PortFault fault;
    } kFaults[] = {{"none", sim::PortFault::kNone},           {"no-answer", sim::PortFault::kNoAnswer},
                   {"empty-reply", sim::PortFault::kEmptyReply}, {"no-ack", sim::PortFault::kNoAck},
                   {"oversized", sim::PortFault::kOversized}, {"port-fails", sim::PortFault::kPortFails}};
    for (const auto& entry : kFaults)
        if (text == entry.name) {
            *fault = entry.fault;
            return true;
        }
    return false;
}

bool ParseVerb(const std::string& text, std::set<sim::PortVerb>* verbs) {
    const struct {
        const char* name;
        sim::PortVerb verb;
    } kVerbs[] = {{"PrintFile", sim::PortVerb::kPrintFile}, {"sendcmds", sim::PortVerb::kSendCommands},
                  {"download", sim::PortVerb::kDownload}};
    for (const auto& entry : kVerbs)
        if (text == entry.name) {
            verbs->insert(entry.verb);
            return true;
        }
    return false;
}

// Reads key=value lines into the card printer; '#' starts a comment line.
bool Describe(const std::wstring& path, sim::CardPrinter* card, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!sim::ReadWholeFile(path, &bytes)) {
        *error = "cannot read the printer description " + sim::Utf8(path);
        return false;
    }
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        if (key == "model") card->model = value;
        else if (key == "encoder") card->encoder = value == "1" || value == "yes";
        else if (key == "ribbon") card->ribbonNumber = std::atoi(value.c_str());
        else if (key == "ribbon-reply") card->ribbonReply = value;
        else if (key == "offset-x") card->offsetX = std::atoi(value.c_str());
        else if (key == "offset-y") card->offsetY = std::atoi(value.c_str());
        else if (key == "serial") card->serialNumber = value;
        else if (key == "cards") card->cardCount = std::atoi(value.c_str());
        else if (key == "ribbon-left") card->ribbonRemaining = std::atoi(value.c_str());
        else if (key == "track1" || key == "track2" || key == "track3") card->tracks[key[5] - '1'] = value;
        else if (key == "command-reply") card->commandReply = value;
        else if (key == "port-refuses" && ParseVerb(value, &card->failingInstructions)) {
        }
        else if (key == "fault" && ParseFault(value, &card->fault)) {
        } else {
            *error = sim::Utf8(path) + ":" + std::to_string(number) + ": unknown setting \"" + line + "\"";
            return false;
        }
    }
    return true;
}

}  // namespace

std::wstring SimulatedPrinterName() { return L"Varlo Q862k (simulated)"; }

HMODULE StartSimulatedPrinter(const Args& args, std::string* error) {
    HMODULE driver = sim::LoadDriver(error);
    if (!driver || !sim::RouteProgram(error)) return nullptr;
    sim::Ui().echo = true;
    sim::Spooler::Get().Reset(sim::ProgramDirectory());
    sim::CardPrinter& card = sim::Spooler::Get().AddPrinter(SimulatedPrinterName()).card;
    bool standardUser = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--standard-user") {
            standardUser = true;
        } else if (args[i] == L"--trace") {
            card.trace = true;
        } else if (args[i] == L"--printer" && i + 1 < args.size()) {
            if (!Describe(args[++i], &card, error)) return nullptr;
        } else if (args[i] == L"--ribbon" && i + 1 < args.size()) {
            card.ribbonNumber = static_cast<int>(std::wcstol(args[++i].c_str(), nullptr, 10));
        }
    }
    sim::Spooler::Get().standardUser = standardUser;
    SetStandardUser(standardUser);
    return driver;
}
