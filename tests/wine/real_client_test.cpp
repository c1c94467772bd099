// The driver installed into the Wine prefix and called by Wine's own spooler, as an
// application reaches it.
#include "tests/wine/wine_test.h"

#include "sim/driver_install.h"

#include <cstring>
#include <vector>

namespace {

TEST(RealClient, DeviceCapabilitiesReachTheDriver) {
    std::wstring dll;
    std::string error;
    ASSERT_TRUE(sim::InstallDriverPackage(sim::ProgramDirectory(), &dll, &error)) << error;

    const wchar_t* name = sim::kInstalledPrinter;
    EXPECT_EQ(DeviceCapabilitiesW(name, L"FILE:", DC_COPIES, nullptr, nullptr), 999);
    EXPECT_EQ(DeviceCapabilitiesW(name, L"FILE:", DC_EXTRA, nullptr, nullptr), 3856);
    EXPECT_EQ(DeviceCapabilitiesW(name, L"FILE:", DC_ORIENTATION, nullptr, nullptr), 90);
    WCHAR paper[64] = {};
    EXPECT_EQ(DeviceCapabilitiesW(name, L"FILE:", DC_PAPERNAMES, paper, nullptr), 1);
    EXPECT_STREQ(paper, L"86mmx54mm Card");
    POINT size = {};
    EXPECT_EQ(DeviceCapabilitiesW(name, L"FILE:", DC_PAPERSIZE, reinterpret_cast<LPWSTR>(&size), nullptr), 1);
    EXPECT_EQ(size.x, 541);
    EXPECT_EQ(size.y, 866);
    EXPECT_NE(GetModuleHandleW(dll.c_str()), nullptr) << "the spooler loaded the installed driver, and it stayed";
}

}  // namespace

namespace {

// An application's DocumentPropertiesW reaches the driver's sheet entry point without a
// sheet: the record size, then the record.
TEST(RealClient, DocumentPropertiesReachTheDriver) {
    std::wstring dll;
    std::string error;
    ASSERT_TRUE(sim::InstallDriverPackage(sim::ProgramDirectory(), &dll, &error)) << error;
    // This program's own spooler imports reach the stand-ins; the application's handle
    // comes from the real spooler.
    HMODULE winspool = GetModuleHandleW(L"winspool.drv");
    auto openPrinter = reinterpret_cast<decltype(&OpenPrinterW)>(
        reinterpret_cast<void*>(GetProcAddress(winspool, "OpenPrinterW")));
    auto closePrinter = reinterpret_cast<decltype(&ClosePrinter)>(
        reinterpret_cast<void*>(GetProcAddress(winspool, "ClosePrinter")));
    HANDLE printer = nullptr;
    ASSERT_TRUE(openPrinter(const_cast<LPWSTR>(sim::kInstalledPrinter), &printer, nullptr));
    const LONG size = DocumentPropertiesW(nullptr, printer, const_cast<LPWSTR>(sim::kInstalledPrinter), nullptr,
                                          nullptr, 0);
    EXPECT_EQ(size, 4068);
    std::vector<BYTE> record(4068, 0);
    auto* dm = reinterpret_cast<DEVMODEW*>(record.data());
    const LONG result = DocumentPropertiesW(nullptr, printer, const_cast<LPWSTR>(sim::kInstalledPrinter), dm, nullptr,
                                            DM_OUT_BUFFER);
    EXPECT_EQ(result, 1);
    // The spooler keeps the stored default with a public part it lengthened but a private
    // block it did not move; the driver refuses that record and hands out its default.
    EXPECT_EQ(dm->dmSize, 212);
    EXPECT_EQ(dm->dmDriverExtra, 3856);
    uint16_t signature = 0;
    std::memcpy(&signature, record.data() + 212, sizeof signature);
    EXPECT_EQ(signature, 0x5A45);
    int16_t bothSides = 0;
    std::memcpy(&bothSides, record.data() + 212 + 8, sizeof bothSides);
    EXPECT_EQ(bothSides, 1) << "the driver default prints on both sides";
    closePrinter(printer);
}

}  // namespace
