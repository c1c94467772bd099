// Failing platform calls. The driver module's allocation, GDI, window, spooler and file
// imports pass through counting stand-ins; a test counts the calls of each class that a
// path makes and then has the Nth call of one class fail, as a platform short of memory,
// GDI objects or a printer does.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "sim/import_routes.h"

namespace sim {

enum class CallClass {
    kAllocation,  // malloc, calloc, realloc (and so operator new), HeapAlloc, LocalAlloc, GlobalAlloc
    kGdi,         // device contexts, bitmaps, selections, fonts, images
    kUser,        // DialogBoxParamW, CreateWindowExW, GetDlgItem
    kSpooler,     // every spooler call but WritePrinter
    kWrite,       // WritePrinter fails
    kShortWrite,  // WritePrinter takes only part of the bytes
    kFileOpen,    // CreateFileA/W, _wfopen
    kFileSize,    // GetFileSize, GetFileSizeEx
    kFileRead,    // ReadFile, fread fail
    kShortRead,   // ReadFile, fread read only part of what was asked
    kCount
};
constexpr size_t kCallClasses = static_cast<size_t>(CallClass::kCount);

const char* CallClassName(CallClass callClass);

using CallCounts = std::array<int, kCallClasses>;

// Zeroes the counters and takes back any armed failure.
void ResetCalls();
// The calls of each class since the last ResetCalls.
CallCounts Calls();
// The `nth` call (1 = the first after ResetCalls) of `callClass` fails; one at a time.
void FailCall(CallClass callClass, int nth);
// How many calls have been failed since the last ResetCalls (0 or 1).
int FailedCalls();

// The runtime heap blocks the module took through its allocation imports and has not
// given back; a path that releases what it took leaves this where it was.
size_t ModuleHeapBlocks();
// The same for the files the module opened and the GDI objects it made (a bitmap that
// could not be deleted because it was still selected counts as held).
size_t ModuleFiles();
size_t ModuleGdiObjects();

// Counts a call of `callClass` and tells whether it is the one to fail.
bool CallFails(CallClass callClass);

// The routes of the driver module's fault-counting stand-ins; they come before the plain
// routes, so that the spooler calls of the module pass the counter before the simulated
// spooler.
std::vector<ImportRoute> FaultRoutes();

}  // namespace sim
