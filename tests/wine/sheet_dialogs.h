// An open device sheet of the simulated printer, and helpers for the dialogs behind its
// push buttons: their controls read as the user sees them, and files to choose.
#pragma once

#include "tests/wine/wine_test.h"

#include <string>

#include "driver/state/device_items.h"
#include "driver/state/document_items.h"
#include "sim/dialog_script.h"
#include "sim/property_sheet.h"
#include "tests/wine/records.h"


class DeviceSheetDialogs : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        stored = DriverRecord();
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
        header = DEVICEPROPERTYHEADER{sizeof header, 0, handle, const_cast<LPWSTR>(kTestPrinter)};
    }
    void TearDown() override {
        if (service.IsOpen()) service.Cancel();
        sim::SimClosePrinter(handle);
        DriverTest::TearDown();
    }
    // Opens the sheet with the stored record as it stands, and forgets the traffic of the
    // opening, so that a test sees only what its dialog caused.
    void OpenSheet() {
        printer().devmode = stored;
        ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&header)),
                  1);
        ASSERT_NE(service.Page(), nullptr) << service.Problem();
        card().received.clear();
        spooler().setPrinterLog.clear();
        sim::Ui().debugTraces.clear();
    }
    sim::CardPrinter& card() { return printer().card; }
    // A file in the simulated driver directory, removed with it.
    std::wstring MakeFile(const std::wstring& name, const std::string& bytes);

    Record stored;
    HANDLE handle = nullptr;
    DEVICEPROPERTYHEADER header = {};
    sim::PropertySheetService service;
};

// A control's text as UTF-8.
std::string Text(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// A path in the ANSI code page, as the port side receives it.
std::string Ansi(const std::wstring& path);
// Message boxes answered Yes or OK, except those whose text starts with `refused`: No.
void AnswerNoTo(const std::wstring& refused);
