// Entry of the Wine test program: loads the real driver DLL, routes its platform calls
// (and those of the driver code linked into this program) to the stand-ins.
#include "tests/wine/wine_test.h"

#include "driver/settings/module_state.h"

namespace {
HMODULE g_driver = nullptr;
}

HMODULE Driver() { return g_driver; }

void DriverTest::SetUp() {
    spooler().Reset(sim::ProgramDirectory());
    spooler().AddPrinter(kTestPrinter);
    sim::ResetUi();
}

void DriverTest::TearDown() {
    EXPECT_EQ(spooler().OpenHandleCount(), 0) << "printer handles left open";
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string error;
    g_driver = sim::LoadDriver(&error);
    if (!g_driver || !sim::RouteProgram(&error)) {
        std::fprintf(stderr, "cannot set up the driver: %s\n", error.c_str());
        return 1;
    }
    // The driver code linked into this program takes its resources from the DLL.
    ResetModuleState(g_driver);
    return RUN_ALL_TESTS();
}
