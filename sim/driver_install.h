// Installs the driver package into the Wine prefix as a real printer, the way a setup
// program would, so that applications reach the driver through Wine's own spooler.
#pragma once

#include <string>

namespace sim {

constexpr wchar_t kInstalledPrinter[] = L"Varlo Q862k";
constexpr wchar_t kInstalledDriver[] = L"Varlo Q862k";

// Copies the DLL and the installation data from `packageDir` into the printer-driver
// directory, adds the driver (the DLL as configuration file, the defaults block as
// data file) and a printer on the FILE: port. Installing twice is harmless.
// On success `installedDll` names the DLL the spooler will load.
bool InstallDriverPackage(const std::wstring& packageDir, std::wstring* installedDll,
                          std::string* error);

}  // namespace sim
