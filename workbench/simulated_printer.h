// The simulated card printer the workbench runs the driver against: the real DLL
// loaded with its spooler calls routed to the simulated spooler.
#pragma once

#include <windows.h>

#include <string>

#include "workbench/commands.h"

// Loads and routes the driver and adds the simulated printer; returns the module, or
// nullptr with the reason in `error`.
HMODULE StartSimulatedPrinter(const Args& args, std::string* error);

std::wstring SimulatedPrinterName();
