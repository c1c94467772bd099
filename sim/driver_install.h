// Installs the driver package into the Wine prefix as a real printer, the way a setup
// program would, so that applications reach the driver through Wine's own spooler.
#pragma once

#include <string>
#include <vector>

namespace sim {

constexpr wchar_t kInstalledPrinter[] = L"Varlo Q862k";
constexpr wchar_t kInstalledDriver[] = L"Varlo Q862k";

// The list of the operator's manual's files in a package.
constexpr wchar_t kManualList[] = L"qf862k-manual.lst";

// The manual's files as the package lists them (kManualList in `packageDir`): one name
// a line; empty lines and lines starting with '#' are skipped. Empty without the list.
std::vector<std::wstring> ManualFiles(const std::wstring& packageDir);

// Copies the DLL, the installation data and the manual's files from `packageDir` into
// the printer-driver directory, adds the driver (the DLL as configuration file, the
// defaults block as data file, the manual's files as dependent files) and a printer on
// the FILE: port. Installing twice is harmless. On success `installedDll` names the DLL
// the spooler will load; the manual lies beside it.
bool InstallDriverPackage(const std::wstring& packageDir, std::wstring* installedDll,
                          std::string* error);

}  // namespace sim
