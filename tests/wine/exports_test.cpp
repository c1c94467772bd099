// The driver's exports as the spooler finds and calls them.
#include "tests/wine/wine_test.h"

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
