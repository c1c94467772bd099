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
