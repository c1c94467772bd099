// The driver's exports as the spooler finds and calls them.
#include "tests/wine/wine_test.h"

#include <string>
#include <vector>

namespace {

using DevQueryPrintFn = BOOL(WINAPI*)(HANDLE, LPDEVMODEW, DWORD*);
using DevQueryPrintExFn = BOOL(WINAPI*)(PDEVQUERYPRINT_INFO);
using AdvancedFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW);
using UpgradeFn = BOOL(WINAPI*)(DWORD, LPBYTE);
using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);

class Exports : public DriverTest {};

TEST_F(Exports, AllElevenAreFoundByTheirPlainNames) {
    const char* const names[] = {"DevQueryPrint", "DevQueryPrintEx", "DrvAdvancedDocumentProperties",
                                 "DrvConvertDevMode", "DrvDeviceCapabilities", "DrvDevicePropertySheets",
                                 "DrvDocumentProperties", "DrvDocumentPropertySheets", "DrvPrinterEvent",
                                 "DrvUpgradePrinter", "PrinterProperties"};
    for (const char* name : names) EXPECT_NE(GetProcAddress(Driver(), name), nullptr) << name;
    EXPECT_EQ(GetProcAddress(Driver(), "_DrvDeviceCapabilities@20"), nullptr);
    EXPECT_EQ(GetProcAddress(Driver(), "DrvUpgradePrinter"), GetProcAddress(Driver(), "PrinterProperties"))
        << "DrvUpgradePrinter and PrinterProperties are one function";
}

// The module as the platform's loader sees it: its export directory names exactly the
// eleven entry points, undecorated, and every library it imports is one of the system's,
// so that the spooler can load it on any machine with nothing installed beside it.
std::vector<std::string> ExportedNames(HMODULE module) {
    auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (dir.VirtualAddress == 0) return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.push_back(reinterpret_cast<const char*>(base + nameRvas[i]));
    return names;
}

std::vector<std::string> ImportedLibraries(HMODULE module) {
    auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> libraries;
    if (dir.VirtualAddress == 0) return libraries;
    for (auto* desc = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); desc->Name != 0;
         ++desc)
        libraries.push_back(reinterpret_cast<const char*>(base + desc->Name));
    return libraries;
}

TEST_F(Exports, TheExportTableHoldsTheElevenNamesOnly) {
    const std::vector<std::string> expected = {
        "DevQueryPrint",         "DevQueryPrintEx",           "DrvAdvancedDocumentProperties",
        "DrvConvertDevMode",     "DrvDeviceCapabilities",     "DrvDevicePropertySheets",
        "DrvDocumentProperties", "DrvDocumentPropertySheets", "DrvPrinterEvent",
        "DrvUpgradePrinter",     "PrinterProperties"};
    EXPECT_EQ(ExportedNames(Driver()), expected);
}

TEST_F(Exports, EveryImportedLibraryIsASystemLibrary) {
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::vector<std::string> libraries = ImportedLibraries(Driver());
    EXPECT_FALSE(libraries.empty());
    for (const std::string& library : libraries) {
        HMODULE loaded = GetModuleHandleA(library.c_str());
        ASSERT_NE(loaded, nullptr) << library << " is imported but not loaded";
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(loaded, path, MAX_PATH);
        const std::wstring folder(path, std::wstring(path).find_last_of(L'\\'));
        EXPECT_EQ(lstrcmpiW(folder.c_str(), system), 0) << library << " comes from " << sim::Utf8(path);
    }
}

TEST_F(Exports, EveryJobIsPrintable) {
    HANDLE printer = nullptr;
    ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &printer, nullptr));
    DWORD resId = 0xDEADBEEF;
    EXPECT_TRUE(Export<DevQueryPrintFn>("DevQueryPrint")(printer, nullptr, &resId));
    EXPECT_EQ(resId, 0u);
    EXPECT_TRUE(Export<DevQueryPrintFn>("DevQueryPrint")(printer, nullptr, nullptr));

    WCHAR error[64] = L"untouched";
    DEVQUERYPRINT_INFO info = {sizeof info, 1, printer, nullptr, error, 64, 0};
    EXPECT_TRUE(Export<DevQueryPrintExFn>("DevQueryPrintEx")(&info));
    EXPECT_TRUE(Export<DevQueryPrintExFn>("DevQueryPrintEx")(nullptr));
    EXPECT_STREQ(error, L"untouched");
    sim::SimClosePrinter(printer);
}

TEST_F(Exports, AdvancedPropertiesAnswerThePrivateSizeAndTouchNothing) {
    std::vector<BYTE> out(4068, 0xAB);
    auto* dm = reinterpret_cast<DEVMODEW*>(out.data());
    EXPECT_EQ(Export<AdvancedFn>("DrvAdvancedDocumentProperties")(nullptr, nullptr, nullptr, dm, nullptr), 3856);
    EXPECT_EQ(Export<AdvancedFn>("DrvAdvancedDocumentProperties")(nullptr, nullptr, nullptr, nullptr, nullptr),
              3856);
    for (BYTE b : out) ASSERT_EQ(b, 0xAB);
}

TEST_F(Exports, UpgradeAndPrinterPropertiesSucceed) {
    EXPECT_TRUE(Export<UpgradeFn>("DrvUpgradePrinter")(1, nullptr));
    BYTE info[16] = {};
    EXPECT_TRUE(Export<UpgradeFn>("PrinterProperties")(2, info));
    EXPECT_TRUE(spooler().setPrinterLog.empty());
}

// The four exports that later work completes must answer NULL arguments without
// crashing the host process.
TEST_F(Exports, SheetsAndRecordExportsSurviveNullArguments) {
    Export<SheetsFn>("DrvDocumentPropertySheets")(nullptr, 0);
    Export<SheetsFn>("DrvDevicePropertySheets")(nullptr, 0);
    using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
    using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
    Export<DocPropsFn>("DrvDocumentProperties")(nullptr, nullptr, nullptr, nullptr, nullptr, DM_OUT_BUFFER);
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(Export<ConvertFn>("DrvConvertDevMode")(nullptr, nullptr, nullptr, nullptr, CDM_DRIVER_DEFAULT));
}

// Loading pins the module: after the loader's reference is released it stays in
// memory, so its state survives the spooler's unloading.
TEST(FreshModule, StaysLoadedAfterFreeLibrary) {
    HMODULE module = Driver();
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleW(L"qf862kui.dll"), module);
    EXPECT_NE(GetProcAddress(module, "DrvDeviceCapabilities"), nullptr);
}

}  // namespace
