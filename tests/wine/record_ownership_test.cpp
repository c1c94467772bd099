// Who owns a record: each open sheet edits a copy of its own; the caller's memory is read
// only through the record gate and written only at SET_RESULT, into its output; entry
// points without a sheet never disturb an open sheet. Records the tests free or protect
// sit in pages of their own, so that any later access by the module stops the test.
#include "tests/wine/wine_test.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "sim/dialog_script.h"
#include "driver/settings/ribbons.h"
#include "sim/property_sheet.h"
#include "tests/wine/records.h"

namespace {

enum Item { kBothSides = 5, kBlackPanel = 8, kCopies = 15 };

using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);

// A copy of `record` that ends at an unreadable page; freeing it (reset) makes every
// byte of it unreadable.
std::unique_ptr<GuardedBlock> Guarded(const Record& record) {
    auto block = std::make_unique<GuardedBlock>(record.size());
    std::memcpy(block->data(), record.data(), record.size());
    return block;
}

bool AllBytes(const uint8_t* bytes, size_t size, uint8_t value) {
    return std::all_of(bytes, bytes + size, [value](uint8_t b) { return b == value; });
}

// An application's document sheet: its header, its own output record, and the service.
struct Document {
    Record out = Record(qf::kRecordSize, 0xCD);
    DOCUMENTPROPERTYHEADER header = {};
    sim::PropertySheetService service;

    LONG Open(HANDLE printer, DEVMODEW* input) {
        header = DOCUMENTPROPERTYHEADER{sizeof header,      0,      printer, const_cast<LPWSTR>(kTestPrinter), input,
                                        Devmode(out),       DWORD(qf::kRecordSize),
                                        DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT};
        return service.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"),
                            reinterpret_cast<LPARAM>(&header));
    }
};

class Ownership : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        stored = DriverRecord();
        Private(stored).ribbonType = 0;  // YMCKO, what the simulated printer reports
        Private(stored).encoderSettings.encoderPresent = 1;
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
    }
    void TearDown() override {
        sim::SimClosePrinter(handle);
        DriverTest::TearDown();
    }
    // DrvDocumentProperties into a record that the caller frees right after the call.
    void FetchIntoARecordThenFreeIt() {
        auto fetched = Guarded(Record(qf::kRecordSize, 0));
        Record in = DriverRecord();
        EXPECT_EQ(Export<DocPropsFn>("DrvDocumentProperties")(nullptr, handle, nullptr, fetched->devmode(),
                                                              Devmode(in), DM_OUT_BUFFER),
                  1);
        fetched.reset();
    }

    Record stored;
    HANDLE handle = nullptr;
};

TEST_F(Ownership, TwoDocumentSheetsEachEditTheirOwnRecord) {
    Record inputA = DriverRecord();
    auto inputB = Guarded(DriverRecord());
    const Record originalA = inputA;
    Document a, b;
    ASSERT_EQ(a.Open(handle, Devmode(inputA)), 1);
    ASSERT_EQ(b.Open(handle, inputB->devmode()), 1);

    b.service.Select(kCopies, 7);
    EXPECT_EQ(b.service.Commit(), 1);
    EXPECT_EQ(Devmode(b.out)->dmCopies, 7);
    inputB.reset();  // B's caller frees its input

    a.service.Select(kBlackPanel, 3);
    a.service.Select(kCopies, 2);
    EXPECT_EQ(a.service.Commit(), 1);
    EXPECT_EQ(a.service.Info().Result, ULONG_PTR(CPSUI_OK));
    EXPECT_EQ(Devmode(a.out)->dmCopies, 2);
    EXPECT_EQ(Private(a.out).blackPanel, 3);
    EXPECT_EQ(inputA, originalA) << "the input is never written";
}

// Calls without a sheet, made while a sheet is open (also from inside the ribbon notice
// of its opening), neither receive the sheet's later edits nor take them from it.
TEST_F(Ownership, CallsWithoutASheetLeaveAnOpenSheetAlone) {
    for (bool duringOpening : {false, true}) {
        printer().devmode = stored;
        printer().card.ribbonNumber = duringOpening ? 6 : 2;  // 6: YMC, announced while opening
        sim::Ui().answer = [&](const sim::MessageBoxRecord&) {
            FetchIntoARecordThenFreeIt();
            return IDOK;
        };
        Document a;
        ASSERT_EQ(a.Open(handle, nullptr), 1) << duringOpening;
        EXPECT_EQ(sim::Ui().messageBoxes.size(), duringOpening ? 1u : 0u);
        if (!duringOpening) FetchIntoARecordThenFreeIt();
        a.service.Select(kCopies, 3);
        EXPECT_EQ(a.service.Commit(), 1);
        EXPECT_EQ(Devmode(a.out)->dmCopies, 3) << duringOpening;
        EXPECT_EQ(Private(a.out).signature, qf::kSettingsSignature);
        sim::ResetUi();
    }
}

// An input record in a read-only page: the sheet opens on a copy, and neither cancel nor
// commit writes the input.
TEST_F(Ownership, TheInputRecordIsNeverWritten) {
    Record input = DriverRecord();
    Devmode(input)->dmCopies = 4;
    auto* page = static_cast<uint8_t*>(VirtualAlloc(nullptr, 8192, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(page, nullptr);
    std::memcpy(page, input.data(), input.size());
    DWORD old = 0;
    VirtualProtect(page, 8192, PAGE_READONLY, &old);
    auto* readOnly = reinterpret_cast<DEVMODEW*>(page);

    for (bool commit : {false, true}) {
        Document d;
        ASSERT_EQ(d.Open(handle, readOnly), 1) << commit;
        d.service.Select(kCopies, 9);
        d.service.Select(kBothSides, 1);
        if (commit) {
            EXPECT_EQ(d.service.Commit(), 1);
            EXPECT_EQ(Devmode(d.out)->dmCopies, 9);
            EXPECT_EQ(Private(d.out).printBothSides, 1);
        } else {
            d.service.Cancel();
            EXPECT_TRUE(AllBytes(d.out.data(), d.out.size(), 0xCD)) << "nothing committed";
        }
        EXPECT_EQ(std::memcmp(page, input.data(), input.size()), 0) << commit;
    }
    VirtualFree(page, 0, MEM_RELEASE);
}

// The device sheet's About box finds its own printer, whatever records other sheets had.
TEST_F(Ownership, AboutOfTheDeviceSheetAfterADocumentSheetClosed) {
    DEVICEPROPERTYHEADER deviceHeader{sizeof deviceHeader, 0, handle, const_cast<LPWSTR>(kTestPrinter)};
    sim::PropertySheetService device;
    ASSERT_EQ(device.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"),
                          reinterpret_cast<LPARAM>(&deviceHeader)),
              1);
    {
        auto input = Guarded(DriverRecord());
        Document d;
        ASSERT_EQ(d.Open(handle, input->devmode()), 1);
        d.service.Cancel();
    }  // the document's caller frees its input
    sim::DialogScript script([](HWND dialog) {
        UpdateWindow(dialog);
        sim::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(device.About(), CPSUICB_ACTION_ITEMS_APPLIED);
    EXPECT_EQ(script.Ran(), 1);
    device.Cancel();
}

// Inputs with a longer public part open the sheet and are committed in the driver's
// own layout; a public part longer than any DEVMODE is not one of the driver's records
// and is not read past its size fields. A commit that cannot hand out the whole record
// is not reported as OK.
TEST_F(Ownership, CommitsHandOutTheDriversLayoutOrNothing) {
    for (uint16_t publicSize : {uint16_t(213), uint16_t(220), uint16_t(0xFFFF)}) {
        const size_t placed = std::min<size_t>(publicSize, 220);
        Record input(placed + qf::kPrivateSize, 0);
        const Record driver = DriverRecord();
        std::memcpy(input.data(), driver.data(), qf::kPublicSize);
        std::memcpy(input.data() + placed, driver.data() + qf::kPublicSize, qf::kPrivateSize);
        Devmode(input)->dmSize = publicSize;
        Devmode(input)->dmCopies = 6;
        auto guarded = Guarded(input);
        Document d;
        ASSERT_EQ(d.Open(handle, guarded->devmode()), 1) << publicSize;
        EXPECT_EQ(d.service.Commit(), 1);
        EXPECT_EQ(d.service.Info().Result, ULONG_PTR(CPSUI_OK)) << publicSize;
        EXPECT_EQ(Devmode(d.out)->dmSize, qf::kPublicSize) << publicSize;
        EXPECT_EQ(Devmode(d.out)->dmDriverExtra, qf::kPrivateSize) << publicSize;
        EXPECT_EQ(Private(d.out).signature, qf::kSettingsSignature) << publicSize;
        // The oversized one was refused: the sheet edited the printer's default instead.
        EXPECT_EQ(Devmode(d.out)->dmCopies, publicSize == 0xFFFF ? Devmode(stored)->dmCopies : 6) << publicSize;
    }

    for (DWORD cbOut : {DWORD(212), DWORD(4067)}) {
        auto shortOut = Guarded(Record(cbOut, 0xCD));
        Document d;
        ASSERT_EQ(d.Open(handle, nullptr), 1);
        d.header.pdmOut = shortOut->devmode();
        d.header.cbOut = cbOut;
        d.service.Commit();
        EXPECT_NE(d.service.Info().Result, ULONG_PTR(CPSUI_OK)) << cbOut;
        EXPECT_TRUE(AllBytes(shortOut->data(), cbOut, 0xCD)) << cbOut;
    }
}

// Without a sheet, a buffer stated too small learns the size it needs and is not written.
TEST_F(Ownership, TheNoSheetBranchRefusesAShortBuffer) {
    auto sheets = Export<SheetsFn>("DrvDocumentPropertySheets");
    for (DWORD cbOut : {DWORD(1), DWORD(212), DWORD(4067)}) {
        auto shortOut = Guarded(Record(cbOut, 0xCD));
        DOCUMENTPROPERTYHEADER header{sizeof header, 0,     handle, const_cast<LPWSTR>(kTestPrinter), nullptr,
                                      shortOut->devmode(), cbOut, DM_COPY};
        SetLastError(0xDEADBEEF);
        EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), -1) << cbOut;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER)) << cbOut;
        EXPECT_EQ(header.cbOut, DWORD(qf::kRecordSize)) << cbOut;
        EXPECT_TRUE(AllBytes(shortOut->data(), cbOut, 0xCD)) << cbOut;
    }
}

// A stored record whose header claims more than the spooler's answer holds is never read.
TEST_F(Ownership, StoredRecordsLargerThanTheirBufferAreRefused) {
    Record cut(stored.begin(), stored.begin() + 424);
    Record huge = stored;
    Devmode(huge)->dmSize = 0xFFFF;
    for (const Record* bad : {&cut, &huge}) {
        printer().devmode = *bad;
        printer().devmodeAsStored = true;
        sim::ResetUi();
        Document d;
        EXPECT_LT(d.Open(handle, nullptr), 0);
        EXPECT_EQ(d.service.Page(), nullptr);
        d.service.Cancel();

        DEVICEPROPERTYHEADER deviceHeader{sizeof deviceHeader, 0, handle, const_cast<LPWSTR>(kTestPrinter)};
        sim::PropertySheetService device;
        EXPECT_LT(device.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"),
                              reinterpret_cast<LPARAM>(&deviceHeader)),
                  0);
        EXPECT_EQ(device.Page(), nullptr);
        device.Cancel();
        ASSERT_EQ(sim::Ui().messageBoxes.size(), 2u);
        EXPECT_EQ(sim::Ui().messageBoxes[1].text, L"System Error");
    }

    // The device sheet's Apply reads the stored record afresh: a damaged one is left alone.
    printer().devmode = stored;
    printer().devmodeAsStored = false;
    DEVICEPROPERTYHEADER deviceHeader{sizeof deviceHeader, 0, handle, const_cast<LPWSTR>(kTestPrinter)};
    sim::PropertySheetService device;
    ASSERT_EQ(device.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"),
                          reinterpret_cast<LPARAM>(&deviceHeader)),
              1);
    printer().devmode = cut;
    printer().devmodeAsStored = true;
    spooler().setPrinterLog.clear();
    device.Apply();
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    device.Cancel();
}

// Printer answers read as the user sees them: a model text with a zero byte inside is
// the text before it, and a ribbon answer of ACK alone is the number 0 (no ribbon).
TEST_F(Ownership, PrinterAnswersAreReadAsShown) {
    printer().card.model = std::string("Q\0 862k V9", 10);
    Document d;
    ASSERT_EQ(d.Open(handle, nullptr), 1);
    EXPECT_TRUE(d.service.Item(kBothSides)->Flags & OPTIF_DISABLED) << "no \"862\" in the text shown";
    d.service.Cancel();

    printer().card.model = "Vestria Q862k 1.07";
    printer().card.ribbonAckOnly = true;
    sim::ResetUi();
    Document e;
    ASSERT_EQ(e.Open(handle, nullptr), 1);
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
    EXPECT_EQ(sim::Ui().messageBoxes[0].text, L"There is no ribbon or unable to communicate to printer.");
    e.service.Commit();
    EXPECT_EQ(Private(e.out).ribbonType, qf::kRibbonNone);
}

}  // namespace
