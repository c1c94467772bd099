// Several printers of this driver in one process, as an application that lists two card
// printers or the spooler itself serves them: each printer's records stay its own, a
// printer's committed choices still carry over to its own later records, and the module
// is called on many threads at once. The module keeps what it learnt of a printer for
// the life of the process, so every test names its printers afresh.
#include "tests/wine/wine_test.h"

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "driver/resources/resource.h"
#include "driver/settings/record_rules.h"
#include "driver/sheets/device_items.h"
#include "driver/sheets/document_items.h"
#include "sim/dialog_script.h"
#include "sim/property_sheet.h"
#include "tests/wine/records.h"

namespace {

using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using CapsFn = DWORD(WINAPI*)(HANDLE, PWSTR, DWORD, PVOID, PDEVMODEW);
using QueryFn = BOOL(WINAPI*)(PDEVQUERYPRINT_INFO);
using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);

// A printer of the test, with a stored record that says whose it is: its rotation and its
// first head level.
struct TestPrinter {
    std::wstring name;
    HANDLE handle = nullptr;
    Record stored;
    uint8_t marker = 0;
};

class PrinterRecords : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        static int run = 0;
        ++run;
        for (int i = 0; i < 3; ++i) {
            TestPrinter& p = printers[i];
            p.name = std::wstring(L"Card Printer ") + wchar_t(L'A' + i) + L" " + std::to_wstring(run);
            p.marker = static_cast<uint8_t>(20 + i);
            p.stored = DriverRecord();
            Private(p.stored).ribbonType = 0;  // YMCKO, what the simulated printers report
            Private(p.stored).encoderSettings.encoderPresent = 1;
            Private(p.stored).printBothSides = 1;
            Private(p.stored).rotate180 = static_cast<int16_t>(i + 1);
            Private(p.stored).headSettings[0] = p.marker;
            spooler().AddPrinter(p.name).devmode = p.stored;
            ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(p.name.c_str()), &p.handle, nullptr));
        }
    }
    void TearDown() override {
        for (TestPrinter& p : printers) sim::SimClosePrinter(p.handle);
        DriverTest::TearDown();
    }

    // DrvDocumentProperties with an application's record, as before every job.
    Record Merged(TestPrinter& p) {
        Record in = DriverRecord();
        Record out(qf::kRecordSize, 0xCD);
        EXPECT_EQ(Export<DocPropsFn>("DrvDocumentProperties")(nullptr, p.handle, const_cast<LPWSTR>(p.name.c_str()),
                                                              Devmode(out), Devmode(in), DM_OUT_BUFFER | DM_IN_BUFFER),
                  1);
        return out;
    }
    qf::PrivateSettings MergedPrivate(TestPrinter& p) {
        Record out = Merged(p);
        return Private(out);
    }
    // The no-sheet branch of DrvDocumentPropertySheets, as the platform's spooler calls it.
    Record WithoutSheet(TestPrinter& p) {
        Record out(qf::kRecordSize, 0xCD);
        DOCUMENTPROPERTYHEADER header = {sizeof header, 0, p.handle, const_cast<LPWSTR>(p.name.c_str()), nullptr,
                                         Devmode(out), DWORD(qf::kRecordSize), DM_COPY};
        EXPECT_EQ(Export<SheetsFn>("DrvDocumentPropertySheets")(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
        return out;
    }
    // A document sheet of `p` that sets the rotation to `rotation` and commits.
    void CommitRotation(TestPrinter& p, LONG rotation) {
        Record in = p.stored;
        Record out(qf::kRecordSize, 0xCD);
        DOCUMENTPROPERTYHEADER header = {sizeof header, 0, p.handle, const_cast<LPWSTR>(p.name.c_str()), Devmode(in),
                                         Devmode(out), DWORD(qf::kRecordSize), DM_IN_BUFFER | DM_OUT_BUFFER};
        sim::PropertySheetService sheet;
        ASSERT_EQ(sheet.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&header)),
                  1);
        sheet.Select(qf::kItemRotation, rotation);
        sheet.Apply();
        EXPECT_EQ(sheet.Commit(), 1);
        EXPECT_EQ(Private(out).rotate180, rotation);
        EXPECT_EQ(Private(out).headSettings[0], p.marker);
        sheet.Cancel();
    }
    // Opens `p`'s device sheet and its Single Feed dialog; `script` works the dialog.
    void SingleFeed(TestPrinter& p, sim::DialogScript::Script script) {
        DEVICEPROPERTYHEADER header{sizeof header, 0, p.handle, const_cast<LPWSTR>(p.name.c_str())};
        sim::PropertySheetService sheet;
        ASSERT_EQ(sheet.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&header)),
                  1);
        sim::DialogScript driver(std::move(script));
        sheet.PushButton(qf::kDeviceItemSingleFeed);
        EXPECT_EQ(driver.Ran(), 1);
        sheet.Cancel();
    }

    TestPrinter printers[3];
};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

TEST_F(PrinterRecords, EachPrinterKeepsItsOwnRecordsWhenCallsInterleave) {
    TestPrinter &a = printers[0], &b = printers[1], &c = printers[2];
    // Each printer's first record fills its own cache; the next calls come from there.
    for (int round = 0; round < 2; ++round) {
        for (TestPrinter* p : {&a, &b, &c}) {
            Record out = Merged(*p);
            EXPECT_EQ(Private(out).headSettings[0], p->marker) << "round " << round;
            EXPECT_EQ(Private(out).rotate180, Private(p->stored).rotate180) << "round " << round;
        }
    }
    // A's sheet commits a choice: A's later records carry it, B's and C's do not.
    CommitRotation(a, 0);
    EXPECT_EQ(MergedPrivate(a).rotate180, 0);
    EXPECT_EQ(MergedPrivate(b).rotate180, 2);
    Record fromSheetless = WithoutSheet(c);
    EXPECT_EQ(Private(fromSheetless).rotate180, 3);
    EXPECT_EQ(Private(fromSheetless).headSettings[0], c.marker);
    CommitRotation(b, 1);
    EXPECT_EQ(MergedPrivate(a).rotate180, 0);
    EXPECT_EQ(MergedPrivate(b).rotate180, 1);
    EXPECT_EQ(MergedPrivate(c).rotate180, 3);

    // The driver default is the same for every printer.
    Record defaults(qf::kRecordSize, 0);
    LONG needed = qf::kRecordSize;
    EXPECT_TRUE(Export<ConvertFn>("DrvConvertDevMode")(const_cast<LPWSTR>(b.name.c_str()), nullptr, Devmode(defaults),
                                                       &needed, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(defaults, DriverDefaultRecord());

    // B's device sheet learns B's model: only B's records take its class.
    spooler().Find(b.name)->card.model = "Vestria Q511 1.00";
    SingleFeed(b, [](HWND dialog) { sim::ClickButton(dialog, IDCANCEL); });
    EXPECT_EQ(MergedPrivate(b).modelClass, 1);
    EXPECT_NE(MergedPrivate(a).modelClass, 1);
    EXPECT_NE(MergedPrivate(c).modelClass, 1);
}

TEST_F(PrinterRecords, EachPrinterHasItsOwnSingleFeedChoice) {
    TestPrinter &a = printers[0], &b = printers[1];
    SingleFeed(b, [](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_SINGLE_FEED_ON));
        sim::ClickButton(dialog, IDC_SINGLE_FEED_OFF);
        sim::ClickButton(dialog, IDCANCEL);
    });
    SingleFeed(a, [](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_SINGLE_FEED_ON)) << "A's dialog does not take B's choice";
        sim::ClickButton(dialog, IDOK);
    });
    ASSERT_EQ(spooler().jobs.size(), 1u);
    EXPECT_EQ(spooler().jobs[0].printer, a.name);
    SingleFeed(b, [](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_SINGLE_FEED_OFF)) << "B keeps its own choice";
        sim::ClickButton(dialog, IDOK);
    });
    ASSERT_EQ(spooler().jobs.size(), 2u);
    EXPECT_EQ(spooler().jobs[1].printer, b.name);
    EXPECT_EQ(spooler().jobs[1].blocks.size(), 1u) << "disabling sends one command";
}

// Eight threads call the exports without a sheet for three printers while this thread
// opens and commits document sheets: every record handed out is a whole record of its
// own printer, and nothing crashes or hangs.
TEST_F(PrinterRecords, ManyThreadsAtOnce) {
    constexpr int kThreads = 8;
    constexpr int kRounds = 25;
    std::atomic<int> foreign{0}, failed{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            while (!go) Sleep(0);
            for (int round = 0; round < kRounds; ++round) {
                TestPrinter& p = printers[(t + round) % 3];
                LPWSTR name = const_cast<LPWSTR>(p.name.c_str());
                HANDLE handle = nullptr;
                if (!sim::SimOpenPrinterW(name, &handle, nullptr)) {
                    failed++;
                    continue;
                }
                const auto whole = [&](Record& out) {
                    return qf::IsUsableRecord(out.data(), out.size()) && Private(out).headSettings[0] == p.marker;
                };
                Record in = DriverRecord();
                Record out(qf::kRecordSize, 0xCD);
                const DWORD mode = round % 2 ? DM_OUT_BUFFER : DM_OUT_BUFFER | DM_IN_BUFFER;
                if (Export<DocPropsFn>("DrvDocumentProperties")(nullptr, handle, name, Devmode(out),
                                                                round % 3 ? Devmode(in) : nullptr, mode) != 1)
                    failed++;
                if (!whole(out)) foreign++;

                Record sheetless(qf::kRecordSize, 0xCD);
                DOCUMENTPROPERTYHEADER header = {sizeof header, 0, handle, name, nullptr, Devmode(sheetless),
                                                 DWORD(qf::kRecordSize), DM_COPY};
                if (Export<SheetsFn>("DrvDocumentPropertySheets")(nullptr, reinterpret_cast<LPARAM>(&header)) != 1)
                    failed++;
                if (!whole(sheetless)) foreign++;

                Record defaults(qf::kRecordSize, 0);
                LONG needed = qf::kRecordSize;
                if (!Export<ConvertFn>("DrvConvertDevMode")(name, nullptr, Devmode(defaults), &needed,
                                                            CDM_DRIVER_DEFAULT) ||
                    !qf::IsUsableRecord(defaults.data(), defaults.size()))
                    failed++;
                if (Export<CapsFn>("DrvDeviceCapabilities")(handle, name, DC_COPIES, nullptr, nullptr) != 999) failed++;
                DEVQUERYPRINT_INFO query = {sizeof query, 1, handle, Devmode(out), nullptr, 0, 0};
                if (!Export<QueryFn>("DevQueryPrintEx")(&query)) failed++;
                sim::SimClosePrinter(handle);
            }
        });
    }
    go = true;
    for (int round = 0; round < 6; ++round) CommitRotation(printers[round % 3], round % 4);
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(foreign.load(), 0) << "records of another printer, or torn ones";
    EXPECT_EQ(failed.load(), 0) << "calls that failed";
    for (TestPrinter& p : printers) EXPECT_EQ(MergedPrivate(p).headSettings[0], p.marker);
}

}  // namespace
