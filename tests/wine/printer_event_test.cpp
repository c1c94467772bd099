// DrvPrinterEvent: a printer is initialised only with its driver data file.
#include "tests/wine/wine_test.h"

namespace {

using EventFn = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);

class PrinterEvent : public DriverTest {
protected:
    BOOL Fire(const wchar_t* name, INT event) {
        return Export<EventFn>("DrvPrinterEvent")(const_cast<LPWSTR>(name), event, 0, 0);
    }
};

TEST_F(PrinterEvent, InitializeNeedsTheDataFile) {
    EXPECT_TRUE(Fire(kTestPrinter, PRINTER_EVENT_INITIALIZE));
    printer().dataFile = spooler().DriverFile(L"missing.dat");
    EXPECT_FALSE(Fire(kTestPrinter, PRINTER_EVENT_INITIALIZE));
}

TEST_F(PrinterEvent, InitializeOfAPrinterThatCannotBeOpenedSucceeds) {
    printer().openable = false;
    printer().dataFile = spooler().DriverFile(L"missing.dat");
    EXPECT_TRUE(Fire(kTestPrinter, PRINTER_EVENT_INITIALIZE));
    EXPECT_TRUE(Fire(L"No Such Printer", PRINTER_EVENT_INITIALIZE));
    EXPECT_TRUE(Fire(nullptr, PRINTER_EVENT_INITIALIZE));
}

TEST_F(PrinterEvent, OtherEventsDoNothing) {
    printer().dataFile = spooler().DriverFile(L"missing.dat");
    for (INT event : {1, 2, 4, 5, 6, 7, 99}) EXPECT_TRUE(Fire(kTestPrinter, event)) << "event " << event;
    EXPECT_TRUE(Fire(nullptr, PRINTER_EVENT_DELETE));
}

}  // namespace
