// The driver installed into the Wine prefix and called by Wine's own spooler, as an
// application reaches it.
#include "tests/wine/wine_test.h"

#include "sim/driver_install.h"

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
