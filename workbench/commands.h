// The workbench's commands. Each returns the process exit code.
#pragma once

#include <string>
#include <vector>

using Args = std::vector<std::wstring>;

int InstallCommand(const Args& args);
int CapsCommand(const Args& args);
int DevmodeCommand(const Args& args);
int DecodeCommand(const Args& args);
int StateCommand(const Args& args);
int SheetCommand(const Args& args);
int DialogCommand(const Args& args);
int ClassifyCommand(const Args& args);
// The Head Settings and Color Adjustment dialogs: `dialog head|color`.
int ImagingDialogCommand(const Args& args);
// The overlay varnish editors and the hologram dialog: `dialog front-overlay|back-overlay|hologram`.
int OverlayDialogCommand(const Args& args);
// The hologram bitmap job of a file, decoded back: `hologram FILE.bmp [OPTIONS]`.
int HologramCommand(const Args& args);
// The device sheets of two printers open at once, each with its own encoder record.
int TwoPrintersCommand(const Args& args);
int ThreadsCommand(const Args& args);
// Every picture of the operator's manual, rendered beside the DLL: `manual`.
int ManualCommand(const Args& args);
// Writes the sample printer file ("send-file") or printer firmware ("firmware") the
// maintenance dialogs are given when no file is named; DIRECTORY ends with a separator or
// a name prefix. Returns the file's path.
std::wstring WriteSampleFile(const std::wstring& kind, const std::wstring& directory);
