// What the workbench's sheet and dialog commands share: whether there is a display, where
// pictures go, and the driver default stored for the simulated printer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// No display: windows are rendered to PNG files and closed instead of shown.
bool Headless();

// Where pictures go: build/windows/workbench-output\ (created when missing), its folder of
// the language chosen with --lang, or the directory and file-name prefix SetPictureNames
// gave. Picture names are appended to it.
std::wstring OutputDirectory();
// The language the workbench was asked to show the module in (--lang: "de", "fr", ...),
// empty for the user's own; its pictures go to workbench-output\<language>\.
void SetPictureLanguage(const std::wstring& language);
const std::wstring& PictureLanguage();
// --standard-user: the simulated spooler serves an ordinary user (the right to print, no
// administering), the device sheet's header says so (DPS_NOPERMISSION), and pictures go
// to a standard-user\ folder of the output folder.
void SetStandardUser(bool on);
// The device sheet's header flags the spooler gives the user the workbench plays.
WORD DeviceSheetFlags();
// The demo prints the first settings record whole and each later one as the fields that
// changed since the record printed before it. PrintRecordLines prints a record's field
// lines ("    name = value") that way once SetRecordChangesOnly(true) was called, and whole
// otherwise.
void SetRecordChangesOnly(bool on);
void PrintRecordLines(const std::vector<std::string>& lines);

// The driver's texts for a ribbon code and a print mode, loaded from the loaded module's
// string table (UTF-8); DriverRibbonName also names ribbon codes in record field lines.
std::string DriverRibbonName(uint32_t code);
std::string DriverPrintModeText(uint8_t mode);

void SetPictureNames(const std::wstring& directory, const std::wstring& prefix);

// Stores the driver default (DrvConvertDevMode) as the printer's default settings, as the
// spooler keeps them for a new printer.
// The printer's record as the simulated spooler keeps it: every field the platform's own
// pages change (name, sharing, port, comment, location, separator page, print processor,
// datatype, parameters, attributes, priorities, hours), under `title`.
void PrintPrinterRecord(const char* title, const std::wstring& printerName);

bool StoreDriverDefault(HMODULE driver, const std::wstring& name);

// Starts the simulated printer (StartSimulatedPrinter's options) with the driver default
// stored as its settings; says why on standard error and returns nullptr when it cannot.
HMODULE StartPrinterWithDriverDefault(const std::vector<std::wstring>& args);
