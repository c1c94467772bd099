// Shared set-up of the Wine tests: the driver DLL loaded and routed to the stand-ins,
// a fresh simulated spooler for every test, and typed access to the exports.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "driver/platform/ddk.h"
#include "sim/driver_loader.h"
#include "sim/spooler.h"
#include "sim/ui_standins.h"

// The driver module, loaded once by the test program.
HMODULE Driver();

// An export of the driver, as the spooler finds it.
template <typename Fn>
Fn Export(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Driver(), name)));
}

constexpr wchar_t kTestPrinter[] = L"Card Printer";

// Every test starts from a fresh simulated spooler with one printer, and ends with
// every printer handle the driver opened closed again.
class DriverTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    sim::Spooler& spooler() { return sim::Spooler::Get(); }
    sim::Printer& printer() { return *spooler().Find(kTestPrinter); }
};
