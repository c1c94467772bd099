// The simulated card printer the workbench runs the driver against: the real DLL
// loaded with its spooler calls routed to the simulated spooler, and a printer described
// by a small settings file.
#pragma once

#include <windows.h>

#include <string>

#include "workbench/commands.h"

// Options every command that uses the simulated printer takes:
//   --trace         print every command the printer receives, its replies and RAW jobs
//   --printer FILE  the printer's description (key=value lines: model, encoder, ribbon,
//                   ribbon-reply, offset-x, offset-y, serial, cards, ribbon-left, track1,
//                   track2, track3, command-reply, port-refuses, fault)
//   --ribbon N      the printer's ribbon number (as `ribbon` in the description)
//   --standard-user the user is an ordinary user, not an administrator (SetStandardUser)
// Loads and routes the driver and adds the simulated printer; returns the module, or
// nullptr with the reason in `error`.
HMODULE StartSimulatedPrinter(const Args& args, std::string* error);

std::wstring SimulatedPrinterName();
