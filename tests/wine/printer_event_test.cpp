// DrvPrinterEvent: a printer is initialised only with its driver data file.
#include "tests/wine/wine_test.h"

#include "sim/files.h"

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

// The event judges the data file as every other reader of it does: a file one byte short
// or long, or without the settings signature, is no defaults block.
TEST_F(PrinterEvent, InitializeRefusesADataFileTheDriverCannotUse) {
    const std::vector<uint8_t> block = sim::ReadWholeFile(spooler().DriverFile(L"qf862k.dat"));
    ASSERT_EQ(block.size(), 3856u);
    std::string unsignedBlock(block.begin(), block.end());
    unsignedBlock[0] ^= 0x5A;
    const struct {
        const char* what;
        std::string bytes;
        BOOL initialised;
    } cases[] = {
        {"the block", std::string(block.begin(), block.end()), TRUE},
        {"one byte short", std::string(block.begin(), block.end() - 1), FALSE},
        {"one byte long", std::string(block.begin(), block.end()) + '\0', FALSE},
        {"without the signature", unsignedBlock, FALSE},
        {"empty", std::string(), FALSE},
    };
    for (const auto& c : cases) {
        const std::wstring path = spooler().DriverFile(L"event.dat");
        ASSERT_TRUE(sim::WriteWholeFile(path, c.bytes));
        printer().dataFile = path;
        EXPECT_EQ(Fire(kTestPrinter, PRINTER_EVENT_INITIALIZE), c.initialised) << c.what;
    }
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
