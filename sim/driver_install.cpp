// Driver installation through Wine's spooler. The spooler's functions are looked up by
// name, so that a program whose own imports are routed to the stand-ins still reaches
// the real spooler here.
#include "sim/driver_install.h"

#include <windows.h>
#include <winspool.h>

#include "sim/files.h"
#include "sim/ui_standins.h"

#include <vector>

namespace sim {
namespace {

using GetDriverDirFn = BOOL(WINAPI*)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD);
using AddDriverFn = BOOL(WINAPI*)(LPWSTR, DWORD, LPBYTE, DWORD);
using AddPrinterFn = HANDLE(WINAPI*)(LPWSTR, DWORD, LPBYTE);
using ClosePrinterFn = BOOL(WINAPI*)(HANDLE);
using OpenPrinterFn = BOOL(WINAPI*)(LPWSTR, LPHANDLE, LPPRINTER_DEFAULTSW);
using GetPrinterFn = BOOL(WINAPI*)(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
using SetPrinterFn = BOOL(WINAPI*)(HANDLE, DWORD, LPBYTE, DWORD);
using ConvertDevModeFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);

template <typename Fn>
Fn Spooler(const char* name) {
    HMODULE winspool = LoadLibraryW(L"winspool.drv");
    return winspool ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(winspool, name))) : nullptr;
}

std::string Failed(const char* what) { return std::string(what) + " failed, error " + std::to_string(GetLastError()); }

// Gives the printer the driver's default record as its stored settings, as the spooler
// does for a new printer: the installed driver builds it.
bool StoreDriverDefault(const std::wstring& dll, std::string* error) {
    auto openPrinter = Spooler<OpenPrinterFn>("OpenPrinterW");
    auto getPrinter = Spooler<GetPrinterFn>("GetPrinterW");
    auto setPrinter = Spooler<SetPrinterFn>("SetPrinterW");
    auto closePrinter = Spooler<ClosePrinterFn>("ClosePrinter");
    HMODULE driver = LoadLibraryW(dll.c_str());
    auto convert = driver ? reinterpret_cast<ConvertDevModeFn>(
                                reinterpret_cast<void*>(GetProcAddress(driver, "DrvConvertDevMode")))
                          : nullptr;
    if (!openPrinter || !getPrinter || !setPrinter || !closePrinter || !convert) {
        *error = "cannot reach the installed driver";
        return false;
    }
    std::vector<BYTE> record(4068, 0);
    LONG size = static_cast<LONG>(record.size());
    std::wstring name = kInstalledPrinter;
    if (!convert(&name[0], nullptr, reinterpret_cast<DEVMODEW*>(record.data()), &size, 4 /* driver default */)) {
        *error = Failed("DrvConvertDevMode");
        return false;
    }
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!openPrinter(&name[0], &printer, &access)) {
        *error = Failed("OpenPrinterW");
        return false;
    }
    DWORD needed = 0;
    getPrinter(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1, 0);
    bool ok = getPrinter(printer, 2, info.data(), needed, &needed) != FALSE;
    if (ok) {
        reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode = reinterpret_cast<DEVMODEW*>(record.data());
        ok = setPrinter(printer, 2, info.data(), 0) != FALSE;
    }
    if (!ok) *error = Failed("storing the default record");
    closePrinter(printer);
    return ok;
}

bool CopyPackageFile(const std::wstring& source, const std::wstring& target, const std::wstring& file,
                     std::string* error) {
    const std::wstring from = source + file;
    if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    if (!CopyFileW(from.c_str(), (target + file).c_str(), FALSE) && GetLastError() != ERROR_SHARING_VIOLATION) {
        *error = Failed("copying the package") + " (" + Utf8(file) + ")";
        return false;
    }
    return true;
}

}  // namespace

std::vector<std::wstring> ManualFiles(const std::wstring& packageDir) {
    std::wstring dir = packageDir;
    if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
    std::vector<uint8_t> bytes;
    std::vector<std::wstring> files;
    if (!ReadWholeFile(dir + kManualList, &bytes)) return files;
    std::string line;
    auto take = [&files, &line]() {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line[0] != '#') files.emplace_back(line.begin(), line.end());
        line.clear();
    };
    for (uint8_t byte : bytes) {
        if (byte == '\n')
            take();
        else
            line += static_cast<char>(byte);
    }
    take();
    return files;
}

bool InstallDriverPackage(const std::wstring& packageDir, std::wstring* installedDll, std::string* error) {
    auto getDriverDir = Spooler<GetDriverDirFn>("GetPrinterDriverDirectoryW");
    auto addDriver = Spooler<AddDriverFn>("AddPrinterDriverExW");
    auto addPrinter = Spooler<AddPrinterFn>("AddPrinterW");
    auto closePrinter = Spooler<ClosePrinterFn>("ClosePrinter");
    if (!getDriverDir || !addDriver || !addPrinter || !closePrinter) {
        *error = "the spooler lacks the installation calls";
        return false;
    }

    wchar_t dir[MAX_PATH] = {};
    DWORD needed = 0;
    if (!getDriverDir(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed)) {
        *error = Failed("GetPrinterDriverDirectoryW");
        return false;
    }
    std::wstring target = std::wstring(dir) + L"\\3\\";
    CreateDirectoryW(target.c_str(), nullptr);

    std::wstring source = packageDir;
    if (!source.empty() && source.back() != L'\\') source += L'\\';
    const wchar_t* const files[] = {L"qf862kui.dll", L"qf862k.dat", L"qf862rib.ini", L"qf862k.bmp", L"VrloLogo.bmp"};
    for (const wchar_t* file : files)
        if (!CopyPackageFile(source, target, file, error)) return false;
    // The manual's files are the driver's dependent files: the spooler keeps them with it.
    std::wstring dependentFiles;
    for (const std::wstring& file : ManualFiles(source)) {
        if (!CopyPackageFile(source, target, file, error)) return false;
        if (GetFileAttributesW((target + file).c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        dependentFiles += target + file;
        dependentFiles += L'\0';
    }
    dependentFiles += L'\0';

    std::wstring dll = target + L"qf862kui.dll";
    std::wstring data = target + L"qf862k.dat";
    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<LPWSTR>(kInstalledDriver);
    // No environment: the spooler files the driver under the running program's own
    // (32-bit or 64-bit), which is the one its applications ask for.
    driver.pEnvironment = nullptr;
    driver.pDriverPath = &dll[0];
    driver.pDataFile = &data[0];
    driver.pConfigFile = &dll[0];
    driver.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
    driver.pDependentFiles = &dependentFiles[0];
    if (!addDriver(nullptr, 3, reinterpret_cast<LPBYTE>(&driver), APD_COPY_NEW_FILES) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        *error = Failed("AddPrinterDriverExW");
        return false;
    }

    PRINTER_INFO_2W printer = {};
    printer.pPrinterName = const_cast<LPWSTR>(kInstalledPrinter);
    printer.pPortName = const_cast<LPWSTR>(L"FILE:");
    printer.pDriverName = const_cast<LPWSTR>(kInstalledDriver);
    printer.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
    printer.pDatatype = const_cast<LPWSTR>(L"RAW");
    printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE added = addPrinter(nullptr, 2, reinterpret_cast<LPBYTE>(&printer));
    if (added) {
        closePrinter(added);
    } else if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
        *error = Failed("AddPrinterW");
        return false;
    }
    if (!StoreDriverDefault(dll, error)) return false;
    *installedDll = dll;
    return true;
}

}  // namespace sim
