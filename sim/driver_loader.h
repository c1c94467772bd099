// Loads the real driver DLL and routes its platform calls to the stand-ins.
#pragma once

#include <windows.h>

#include <string>

namespace sim {

// The folder of the running program, with a trailing backslash. The build puts the
// DLL, the programs and the installation data side by side there.
std::wstring ProgramDirectory();

// Loads the driver from `path` (default: the DLL beside the program) and routes its
// imports: every spooler call to the simulated spooler, message boxes, the open-file
// dialog, help and debugger output to the UI stand-ins, file reads to a reader that can
// be told to fail (FailReadsOf), memory requests to the runtime through a fault that
// can fail one size (FailAllocationsOf). Loading the same module again
// returns it as routed before. Returns nullptr and says why in `error`.
HMODULE LoadDriver(std::string* error, const std::wstring& path = std::wstring());

// Routes the spooler and UI calls of the running program itself (for the driver's
// Win32 layer linked into it). Calls without a stand-in keep reaching the platform.
bool RouteProgram(std::string* error);

}  // namespace sim
