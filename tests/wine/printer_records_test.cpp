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
#include "driver/state/device_items.h"
#include "driver/state/document_items.h"
#include "sim/dialog_script.h"
#include "sim/files.h"
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

// One printer reached by its share name or by a server-qualified name is one printer: what
// its document sheet commits through one spelling, every spelling's records carry, with or
// without a sheet; its Single Feed choice is one too.
TEST_F(PrinterRecords, EverySpellingOfAPrinterReachesItsOneEntry) {
    TestPrinter& a = printers[0];
    spooler().Find(a.name)->shareName = L"Shared " + a.name;
    TestPrinter byShare = a, byServer = a;
    byShare.name = L"Shared " + a.name;
    byServer.name = std::wstring(sim::Spooler::kServerName) + L"\\" + a.name;
    for (TestPrinter* alias : {&byShare, &byServer})
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(alias->name.c_str()), &alias->handle, nullptr))
            << sim::Utf8(alias->name);

    CommitRotation(byShare, 0);
    EXPECT_EQ(MergedPrivate(a).rotate180, 0);
    EXPECT_EQ(MergedPrivate(byServer).rotate180, 0);
    // The no-sheet branch asks the printer only while nothing was committed for it.
    spooler().Find(a.name)->card.received.clear();
    WithoutSheet(byServer);
    EXPECT_TRUE(spooler().Find(a.name)->card.received.empty()) << "asked as if nothing were committed";
    CommitRotation(a, 3);
    EXPECT_EQ(MergedPrivate(byShare).rotate180, 3);

    SingleFeed(byServer, [](HWND dialog) {
        sim::ClickButton(dialog, IDC_SINGLE_FEED_OFF);
        sim::ClickButton(dialog, IDCANCEL);
    });
    SingleFeed(byShare, [](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_SINGLE_FEED_OFF)) << "the choice made through the other spelling";
        sim::ClickButton(dialog, IDCANCEL);
    });
    for (TestPrinter* alias : {&byShare, &byServer}) sim::SimClosePrinter(alias->handle);
}

// Once the module holds a printer's record, the calls every application makes before every
// print answer from memory: both entry points, three printers, one reached by its share
// name, ask the spooler nothing and never open the registry. A call without a held record
// reads the printer's record once: one size query, one read.
TEST_F(PrinterRecords, TheHeldRecordPathAsksTheSpoolerNothing) {
    TestPrinter& c = printers[2];
    spooler().Find(c.name)->shareName = L"Shared " + c.name;
    TestPrinter byShare = c;
    byShare.name = L"Shared " + c.name;
    ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(byShare.name.c_str()), &byShare.handle, nullptr));

    // The no-sheet branch as an application's DocumentPropertiesW calls it before a job.
    const auto withoutSheet = [this](TestPrinter& p) {
        Record in = DriverRecord();
        Record out(qf::kRecordSize, 0xCD);
        DOCUMENTPROPERTYHEADER header = {sizeof header, 0, p.handle, const_cast<LPWSTR>(p.name.c_str()), Devmode(in),
                                         Devmode(out), DWORD(qf::kRecordSize), DM_IN_BUFFER | DM_OUT_BUFFER};
        EXPECT_EQ(Export<SheetsFn>("DrvDocumentPropertySheets")(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
        return out;
    };
    for (TestPrinter& p : printers) {
        spooler().served = sim::ServedCalls{};
        Merged(p);
        EXPECT_EQ(spooler().served.printerSizeQueries, 1) << sim::Utf8(p.name);
        EXPECT_EQ(spooler().served.printerReads, 1) << sim::Utf8(p.name);
    }
    // A new spelling is resolved once, and remembered.
    spooler().served = sim::ServedCalls{};
    Merged(byShare);
    EXPECT_EQ(spooler().served.printerReads, 1);

    spooler().served = sim::ServedCalls{};
    for (int round = 0; round < 3; ++round) {
        for (TestPrinter* p : {&printers[0], &printers[1], &printers[2], &byShare}) {
            const int rotation = p->marker - 19;
            Record merged = Merged(*p), copied = withoutSheet(*p);
            for (Record* record : {&merged, &copied}) {
                EXPECT_EQ(Private(*record).rotate180, rotation) << sim::Utf8(p->name);
                EXPECT_EQ(Private(*record).headSettings[0], p->marker) << sim::Utf8(p->name);
                EXPECT_EQ(Devmode(*record)->dmSize, qf::kPublicSize);
                EXPECT_EQ(Devmode(*record)->dmDriverExtra, qf::kPrivateSize);
            }
        }
    }
    EXPECT_EQ(spooler().served.calls, 0) << "the spooler was asked on the held-record path";
    EXPECT_EQ(spooler().served.registryOpens, 0);
    sim::SimClosePrinter(byShare.handle);
}

// A printer deleted and added again under the same name starts from its new stored record,
// not from what the module kept of the old printer under that name or its share name.
TEST_F(PrinterRecords, APrinterAddedAgainUnderItsNameDoesNotInheritTheOldRecord) {
    using EventFn = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
    for (const INT event : {PRINTER_EVENT_DELETE, PRINTER_EVENT_INITIALIZE}) {
        SCOPED_TRACE(event);
        TestPrinter& a = printers[0];
        spooler().Find(a.name)->shareName = L"Shared " + a.name;
        TestPrinter byShare = a;
        byShare.name = L"Shared " + a.name;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(byShare.name.c_str()), &byShare.handle, nullptr));
        CommitRotation(a, 0);
        ASSERT_EQ(MergedPrivate(byShare).rotate180, 0);

        Export<EventFn>("DrvPrinterEvent")(const_cast<LPWSTR>(a.name.c_str()), event, 0, 0);
        Private(a.stored).rotate180 = 3;
        spooler().Find(a.name)->devmode = a.stored;
        EXPECT_EQ(MergedPrivate(a).rotate180, 3);
        EXPECT_EQ(MergedPrivate(byShare).rotate180, 3);
        EXPECT_EQ(MergedPrivate(printers[1]).rotate180, 2) << "another printer keeps its record";
        sim::SimClosePrinter(byShare.handle);
    }
}

// An ordinary user cannot store the ribbon the printer answered into its defaults, but the
// printer's later records carry it all the same: the cache keeps what the printer said.
TEST_F(PrinterRecords, AnOrdinaryUsersRibbonCorrectionIsKept) {
    TestPrinter& a = printers[0];
    spooler().standardUser = true;
    spooler().Find(a.name)->card.ribbonNumber = 6;  // YMC, code 5
    Record out = WithoutSheet(a);
    EXPECT_EQ(Private(out).ribbonType, 5);
    EXPECT_TRUE(spooler().setPrinterLog.empty()) << "an ordinary user stored the printer's defaults";
    EXPECT_EQ(MergedPrivate(a).ribbonType, 5) << "later records fell back to the stored ribbon";
    spooler().standardUser = false;
}

// The table holds 64 printers. A printer that an application only reads (its records
// handed out from the cache, no sheet opened) is in use all the same: while other
// printers fill the table, it keeps the settings its sheet committed.
TEST_F(PrinterRecords, APrinterOnlyReadKeepsItsEntryWhileOthersFillTheTable) {
    TestPrinter& a = printers[0];
    CommitRotation(a, 0);
    for (int i = 0; i < 70; ++i) {
        TestPrinter other;
        other.name = a.name + L" neighbour " + std::to_wstring(i);
        other.stored = a.stored;
        spooler().AddPrinter(other.name).devmode = other.stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(other.name.c_str()), &other.handle, nullptr));
        Merged(other);
        sim::SimClosePrinter(other.handle);
        ASSERT_EQ(MergedPrivate(a).rotate180, 0) << "after " << i + 1 << " other printers";
    }
}

// Two printers whose names are 300 characters long and differ only in the last one, and a
// third one named as both are when cut to 255 characters: every question, store, job and
// port instruction of the first printer's sheets and dialogs reaches the first printer
// only, and each printer's document sheet edits and commits its own settings.
TEST_F(PrinterRecords, LongNamesThatDifferOnlyAtTheirEndAreDifferentPrinters) {
    static int run = 0;
    std::wstring base = L"Card Printer long " + std::to_wstring(++run) + L" ";
    base.resize(299, L'p');
    TestPrinter longs[2];
    for (int i = 0; i < 2; ++i) {
        longs[i].name = base + wchar_t(L'1' + i);
        longs[i].marker = static_cast<uint8_t>(40 + i);
        longs[i].stored = printers[i].stored;
        Private(longs[i].stored).headSettings[0] = longs[i].marker;
        spooler().AddPrinter(longs[i].name).devmode = longs[i].stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(longs[i].name.c_str()), &longs[i].handle, nullptr));
    }
    const std::wstring cut = base.substr(0, 255);
    spooler().AddPrinter(cut).devmode = printers[2].stored;
    sim::Printer& first = *spooler().Find(longs[0].name);
    sim::Printer& second = *spooler().Find(longs[1].name);
    sim::Printer& decoy = *spooler().Find(cut);
    spooler().jobs.clear();
    spooler().setPrinterLog.clear();

    // The document sheets: the questions, and what each commits.
    CommitRotation(longs[0], 0);
    CommitRotation(longs[1], 3);
    EXPECT_EQ(MergedPrivate(longs[0]).rotate180, 0);
    EXPECT_EQ(MergedPrivate(longs[1]).rotate180, 3);
    EXPECT_FALSE(first.card.received.empty()) << "the first printer was asked";
    EXPECT_FALSE(second.card.received.empty()) << "the second printer was asked";
    EXPECT_TRUE(decoy.card.received.empty()) << "the cut name was asked";

    // The device sheet of the first printer and every dialog that reaches the printer.
    const std::wstring prn = spooler().DriverFile(L"long.prn"), bin = spooler().DriverFile(L"long.bin");
    std::string firmware(300, '\x11');
    firmware[14] = '\x3C';
    firmware[15] = '\xFF';
    ASSERT_TRUE(sim::WriteWholeFile(prn, "\x1B" "PRINT\r"));
    ASSERT_TRUE(sim::WriteWholeFile(bin, firmware));
    second.card.received.clear();
    DEVICEPROPERTYHEADER header{sizeof header, 0, longs[0].handle, const_cast<LPWSTR>(longs[0].name.c_str())};
    sim::PropertySheetService sheet;
    ASSERT_EQ(sheet.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&header)), 1);
    const auto press = [&sheet](int item, std::vector<sim::DialogScript::Script> scripts) {
        sim::DialogScript driver(scripts[0]);
        for (size_t i = 1; i < scripts.size(); ++i) driver.Then(scripts[i]);
        sheet.PushButton(item);
        EXPECT_EQ(driver.Ran(), static_cast<int>(scripts.size())) << "item " << item;
    };
    press(qf::kDeviceItemEncoder, {[](HWND dialog) {
              sim::ClickButton(dialog, IDC_COERCIVITY_HIGH);
              sim::ClickButton(dialog, IDC_ENCODER_APPLY);
          }});
    press(qf::kDeviceItemSingleFeed, {[](HWND dialog) { sim::ClickButton(dialog, IDOK); }});
    sim::Ui().fileChoices = {prn, bin};
    press(qf::kDeviceItemTools, {[](HWND tools) {
                                     sim::ClickButton(tools, IDC_TOOLS_SEND_FILE);
                                     sim::ClickButton(tools, IDC_CLOSE_BUTTON);
                                 },
                                 [](HWND dialog) {
                                     sim::ClickButton(dialog, IDC_SEND_SELECT);
                                     sim::ClickButton(dialog, IDC_SEND_BUTTON);
                                     sim::ClickButton(dialog, IDCANCEL);
                                 }});
    press(qf::kDeviceItemFirmware, {[](HWND dialog) {
              sim::ClickButton(dialog, IDC_FW_SELECT);
              sim::ClickButton(dialog, IDC_FW_START);
              sim::ClickButton(dialog, IDCANCEL);
          }});
    sheet.Apply();
    sheet.Cancel();

    std::vector<std::wstring> jobNames;
    for (const sim::RawJob& job : spooler().jobs) {
        EXPECT_EQ(job.printer, longs[0].name) << sim::Utf8(job.documentName);
        jobNames.push_back(job.documentName);
    }
    EXPECT_EQ(jobNames, std::vector<std::wstring>({L"VESTRIAENCODER", L"VESTRIAATM"}));
    ASSERT_FALSE(spooler().setPrinterLog.empty()) << "the encoder settings were stored";
    for (const sim::SetPrinterCall& call : spooler().setPrinterLog) EXPECT_EQ(call.printer, longs[0].name);
    ASSERT_EQ(first.card.instructions.size(), 2u);
    EXPECT_EQ(first.card.instructions[0].verb, "PrintFile");
    EXPECT_EQ(first.card.instructions[1].verb, "download");
    for (const sim::Printer* other : {&second, &decoy}) {
        EXPECT_TRUE(other->card.received.empty());
        EXPECT_TRUE(other->card.instructions.empty());
    }
    for (TestPrinter& p : longs) sim::SimClosePrinter(p.handle);
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
