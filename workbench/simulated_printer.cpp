// The workbench's simulated card printer.
#include "workbench/simulated_printer.h"

#include "sim/driver_loader.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"

std::wstring SimulatedPrinterName() { return L"Varlo Q862k (simulated)"; }

HMODULE StartSimulatedPrinter(const Args&, std::string* error) {
    HMODULE driver = sim::LoadDriver(error);
    if (!driver) return nullptr;
    sim::Ui().echo = true;
    sim::Spooler::Get().Reset(sim::ProgramDirectory());
    sim::Spooler::Get().AddPrinter(SimulatedPrinterName());
    return driver;
}
