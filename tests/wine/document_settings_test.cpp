// Settings records handed out without user interface: DrvDocumentProperties and
// DrvConvertDevMode. The cache rules run on the driver code linked into this program,
// whose module state each test resets; the exports are called as the spooler calls
// them, and those that need an empty cache run in a process of their own.
#include "tests/wine/wine_test.h"

#include "driver/settings/document_settings.h"
#include "driver/settings/module_state.h"
#include "driver/settings/record_rules.h"
#include "tests/wine/records.h"

namespace {

using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);

constexpr uint8_t kUntouched = 0xCD;

bool AllBytes(const uint8_t* bytes, size_t size, uint8_t value) {
    for (size_t i = 0; i < size; ++i)
        if (bytes[i] != value) return false;
    return true;
}

bool SamePrivate(const void* a, const void* b) { return std::memcmp(a, b, qf::kPrivateSize) == 0; }

// The test printer's settings cache in the driver code linked into this program.
qf::PrivateSettings Cache() { return g_printerRecords.Read(PrinterKey(kTestPrinter)).settingsCache; }
void SetCache(const qf::PrivateSettings& settings) {
    g_printerRecords.Update(PrinterKey(kTestPrinter), [&settings](qf::PrinterRecords& printer) {
        std::memcpy(&printer.settingsCache, &settings, qf::kPrivateSize);
    });
}

class SettingsTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ResetModuleState(Driver());
        stored = DriverRecord();
        Private(stored).rotate180 = 1;
        Private(stored).ribbonType = 3;
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
    }
    void TearDown() override {
        sim::SimClosePrinter(handle);
        DriverTest::TearDown();
    }
    Record Output() { return Record(qf::kRecordSize, kUntouched); }
    // An application's record: portrait, five copies, its own paper size and private values.
    Record Input(bool withPaperSize) {
        Record input = DriverRecord();
        Devmode(input)->dmOrientation = DMORIENT_PORTRAIT;
        Devmode(input)->dmCopies = 5;
        Devmode(input)->dmPaperWidth = 700;
        Devmode(input)->dmPaperLength = 400;
        Devmode(input)->dmColor = DMCOLOR_MONOCHROME;
        Devmode(input)->dmFields = DM_ORIENTATION | DM_COPIES | (withPaperSize ? DM_PAPERSIZE : 0);
        Private(input).rotate180 = 0;
        Private(input).ribbonType = 9;
        return input;
    }
    Record stored;
    HANDLE handle = nullptr;
};

class DocumentSettings : public SettingsTest {};

TEST_F(DocumentSettings, ModeZeroAsksForTheRecordSize) {
    Record out = Output();
    EXPECT_EQ(FillDocumentSettings(handle, kTestPrinter, Devmode(out), nullptr, 0), 4068);
    EXPECT_EQ(FillDocumentSettings(nullptr, nullptr, nullptr, reinterpret_cast<DEVMODEW*>(16), 0), 4068);
    EXPECT_TRUE(AllBytes(out.data(), out.size(), kUntouched));
    EXPECT_EQ(Export<DocPropsFn>("DrvDocumentProperties")(nullptr, nullptr, nullptr, nullptr, nullptr, 0), 4068);
}

TEST_F(DocumentSettings, WithoutAnOutputBufferNothingIsWritten) {
    Record out = Output();
    Record in = Input(true);
    EXPECT_EQ(FillDocumentSettings(handle, kTestPrinter, Devmode(out), Devmode(in), DM_IN_BUFFER | DM_IN_PROMPT), 1);
    EXPECT_EQ(FillDocumentSettings(handle, kTestPrinter, nullptr, Devmode(in), DM_OUT_BUFFER | DM_IN_BUFFER), 1);
    EXPECT_TRUE(AllBytes(out.data(), out.size(), kUntouched));
    EXPECT_FALSE(qf::IsSettingsCacheValid(Cache()));
}

TEST_F(DocumentSettings, WithoutACacheThePrinterDefaultIsHandedOutAndCached) {
    Record out = Output();
    EXPECT_EQ(FillDocumentSettings(handle, kTestPrinter, Devmode(out), nullptr, DM_OUT_BUFFER), 1);
    EXPECT_EQ(out, stored);
    const qf::PrivateSettings cache = Cache();
    EXPECT_TRUE(SamePrivate(&cache, &Private(stored)));
}

TEST_F(DocumentSettings, OfflineRibbonIsMappedIntoTheRecordAndTheCache) {
    const int expected[] = {-1, 8, 7, 0, 12, 1, 6, 5, 2, 3, 4};
    for (int manual = 1; manual <= 10; ++manual) {
        for (bool cacheValid : {false, true}) {
            ResetModuleState(Driver());
            if (cacheValid) SetCache(Private(stored));
            Private(printer().devmode).manualRibbon = static_cast<int16_t>(manual);
            Private(printer().devmode).ribbonType = 15;
            Record out = Output();
            FillDocumentSettings(handle, kTestPrinter, Devmode(out), nullptr, DM_OUT_BUFFER);
            EXPECT_EQ(Private(out).ribbonType, expected[manual]) << "manual " << manual << " cache " << cacheValid;
            EXPECT_EQ(Cache().ribbonType, expected[manual]) << "manual " << manual << " cache " << cacheValid;
        }
    }
}

TEST_F(DocumentSettings, AValidCacheIsHandedOutWithTheCallersPublicPart) {
    Record committed = DriverRecord();
    Private(committed).rotate180 = 3;
    Private(committed).blackPanel = 2;
    SetCache(Private(committed));
    Record in = Input(true);
    for (DWORD mode : {DWORD(DM_OUT_BUFFER), DWORD(DM_OUT_BUFFER | DM_IN_BUFFER)}) {
        Record out = Output();
        EXPECT_EQ(FillDocumentSettings(handle, kTestPrinter, Devmode(out), Devmode(in), mode), 1);
        EXPECT_EQ(std::memcmp(out.data(), in.data(), qf::kPublicSize), 0) << "mode " << mode;
        EXPECT_TRUE(SamePrivate(&Private(out), &Private(committed))) << "mode " << mode;
    }
}

TEST_F(DocumentSettings, AnApplicationsFieldsAreMergedIntoThePrinterDefault) {
    for (bool withPaperSize : {true, false}) {
        ResetModuleState(Driver());
        Record in = Input(withPaperSize);
        Record out = Output();
        EXPECT_EQ(FillDocumentSettings(handle, kTestPrinter, Devmode(out), Devmode(in), DM_OUT_BUFFER | DM_IN_BUFFER), 1);
        Record expected = stored;
        Devmode(expected)->dmOrientation = DMORIENT_PORTRAIT;
        Devmode(expected)->dmCopies = 5;
        if (withPaperSize) {
            Devmode(expected)->dmPaperWidth = 700;
            Devmode(expected)->dmPaperLength = 400;
        }
        EXPECT_EQ(out, expected) << "with paper size " << withPaperSize;
    }
    // Without DM_IN_BUFFER the input is not merged.
    ResetModuleState(Driver());
    Record in = Input(true);
    Record out = Output();
    FillDocumentSettings(handle, kTestPrinter, Devmode(out), Devmode(in), DM_OUT_BUFFER);
    EXPECT_EQ(out, stored);
}

// A spooler may keep the platform's longer public part; the record handed out is in
// the driver's own layout.
TEST_F(DocumentSettings, ALongerStoredPublicPartIsHandedOutInTheDriversLayout) {
    Record longer(stored.begin(), stored.begin() + qf::kPublicSize);
    longer.resize(220, 0);
    longer.insert(longer.end(), stored.begin() + qf::kPublicSize, stored.end());
    Devmode(longer)->dmSize = 220;
    printer().devmode = longer;
    Record out = Output();
    EXPECT_EQ(FillDocumentSettings(handle, kTestPrinter, Devmode(out), nullptr, DM_OUT_BUFFER), 1);
    EXPECT_EQ(out, stored);
}

// Stored defaults that are not usable records of this driver are never handed out or
// cached: the driver default takes their place, and the cache stays empty so that the
// printer's own record is used once it can be read.
TEST_F(DocumentSettings, ForeignPrinterDefaultsGiveTheDriverDefault) {
    struct Case {
        const char* what;
        Record devmode;
        bool asStored;
    };
    Record publicOnly(stored.begin(), stored.begin() + qf::kPublicSize);
    Devmode(publicOnly)->dmDriverExtra = 0;
    Record otherExtra = stored;
    Devmode(otherExtra)->dmDriverExtra = 100;
    Record otherSize = stored;
    Devmode(otherSize)->dmSize = 220;
    Devmode(otherSize)->dmDriverExtra = 3848;
    Record unsigned_ = stored;
    Private(unsigned_).signature = 0;
    // Records whose header claims more bytes than the spooler's answer holds.
    Record cut(stored.begin(), stored.begin() + 424);
    Record huge = stored;
    Devmode(huge)->dmSize = 0xFFFF;
    const Case cases[] = {{"no stored record", {}, false},
                          {"public part only", publicOnly, false},
                          {"other private size", otherExtra, false},
                          {"other public size", otherSize, false},
                          {"no signature", unsigned_, false},
                          {"record cut after 424 bytes", cut, true},
                          {"public size 0xFFFF", huge, true}};
    const Record expected = DriverDefaultRecord();
    for (const Case& c : cases) {
        ResetModuleState(Driver());
        printer().devmode = c.devmode;
        printer().devmodeAsStored = c.asStored;
        Record out = Output();
        EXPECT_EQ(FillDocumentSettings(handle, kTestPrinter, Devmode(out), nullptr, DM_OUT_BUFFER), 1) << c.what;
        EXPECT_EQ(out, expected) << c.what;
        EXPECT_FALSE(qf::IsSettingsCacheValid(Cache())) << c.what;
    }
    // A handle the spooler does not know gives the driver default as well, from the block
    // built into the module (no data file can be found without the printer).
    Record out = Output();
    EXPECT_EQ(FillDocumentSettings(reinterpret_cast<HANDLE>(0x5150), nullptr, Devmode(out), nullptr, DM_OUT_BUFFER), 1);
    EXPECT_EQ(out, expected);
}

// An input whose dmSize is below the public part is neither copied nor merged from,
// and nothing past its dmSize is read (the guard page would stop the test).
TEST_F(DocumentSettings, ShortInputsAreNotReadPastTheirSize) {
    for (WORD size : {WORD(0), WORD(68), WORD(211)}) {
        for (bool cacheValid : {false, true}) {
            ResetModuleState(Driver());
            if (cacheValid) SetCache(Private(stored));
            const size_t readable = size < 72 ? 72 : size;  // dmSize itself lies in the first 72 bytes
            GuardedBlock in(readable);
            std::memset(in.data(), 0x11, readable);
            in.devmode()->dmSize = size;
            Record out = Output();
            EXPECT_EQ(FillDocumentSettings(handle, kTestPrinter, Devmode(out), in.devmode(), DM_OUT_BUFFER | DM_IN_BUFFER), 1);
            EXPECT_EQ(out, stored) << "dmSize " << size << " cache " << cacheValid;
            EXPECT_EQ(Export<DocPropsFn>("DrvDocumentProperties")(nullptr, handle, nullptr, Devmode(out),
                                                                  in.devmode(), DM_OUT_BUFFER | DM_IN_BUFFER),
                      1);
        }
    }
}

class ConvertDevMode : public SettingsTest {
protected:
    BOOL Convert(DEVMODEW* out, PLONG needed, DWORD mode, const wchar_t* name = kTestPrinter) {
        return Export<ConvertFn>("DrvConvertDevMode")(const_cast<LPWSTR>(name), nullptr, out, needed, mode);
    }
};

TEST_F(ConvertDevMode, BuildsTheDriverDefault) {
    Record out = Output();
    LONG needed = qf::kRecordSize;
    EXPECT_TRUE(Convert(Devmode(out), &needed, CDM_DRIVER_DEFAULT));
    const DEVMODEW* dm = Devmode(out);
    EXPECT_STREQ(dm->dmDeviceName, L"Varlo Halvard Line Printer");
    EXPECT_EQ(dm->dmSpecVersion, 0x0401);
    EXPECT_EQ(dm->dmDriverVersion, 1);
    EXPECT_EQ(dm->dmSize, 212);
    EXPECT_EQ(dm->dmDriverExtra, 3856);
    EXPECT_EQ(dm->dmFields, 0x07805F03u);
    EXPECT_EQ(dm->dmOrientation, 2);
    EXPECT_EQ(dm->dmPaperSize, 258);
    EXPECT_EQ(dm->dmPaperLength, 541);
    EXPECT_EQ(dm->dmPaperWidth, 866);
    EXPECT_EQ(dm->dmScale, 100);
    EXPECT_EQ(dm->dmCopies, 1);
    EXPECT_EQ(dm->dmDefaultSource, 256);
    EXPECT_EQ(dm->dmPrintQuality, 300);
    EXPECT_EQ(dm->dmColor, 2);
    EXPECT_EQ(dm->dmDuplex, 1);
    EXPECT_EQ(dm->dmYResolution, 300);
    EXPECT_EQ(dm->dmTTOption, 1);
    EXPECT_EQ(dm->dmCollate, 1);
    EXPECT_STREQ(dm->dmFormName, L"86mmx54mm Card");
    EXPECT_EQ(dm->dmLogPixels, 300);
    EXPECT_EQ(dm->dmBitsPerPel, 24u);
    EXPECT_EQ(dm->dmPelsWidth, 640u);
    EXPECT_EQ(dm->dmPelsHeight, 1024u);
    EXPECT_EQ(dm->dmICMMethod, 2u);
    EXPECT_EQ(dm->dmICMIntent, 2u);
    EXPECT_EQ(dm->dmMediaType, 3u);
    EXPECT_EQ(dm->dmDitherType, 0u);
    // The private block is the data file's, with both-sides printing on whatever it holds.
    Record expected = DefaultsBlock();
    ASSERT_EQ(expected.size(), size_t(qf::kPrivateSize));
    reinterpret_cast<qf::PrivateSettings*>(expected.data())->printBothSides = 1;
    EXPECT_TRUE(SamePrivate(&Private(out), expected.data()));
}

TEST_F(ConvertDevMode, OtherModesSucceedWithoutWork) {
    for (DWORD mode : {DWORD(CDM_CONVERT), DWORD(CDM_CONVERT351), DWORD(0), DWORD(8)}) {
        Record out = Output();
        LONG needed = qf::kRecordSize;
        EXPECT_TRUE(Convert(Devmode(out), &needed, mode)) << "mode " << mode;
        EXPECT_TRUE(AllBytes(out.data(), out.size(), kUntouched)) << "mode " << mode;
        EXPECT_EQ(needed, qf::kRecordSize);
    }
}

TEST_F(ConvertDevMode, ArgumentErrors) {
    Record out = Output();
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(Convert(Devmode(out), nullptr, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));

    LONG needed = 0;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(Convert(nullptr, &needed, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(needed, 4068);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));

    // A buffer one byte short is refused, not overrun (the guard page would stop the test).
    GuardedBlock shortBuffer(qf::kRecordSize - 1);
    std::memset(shortBuffer.data(), kUntouched, qf::kRecordSize - 1);
    needed = qf::kRecordSize - 1;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(Convert(shortBuffer.devmode(), &needed, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(needed, 4068);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_TRUE(AllBytes(shortBuffer.data(), qf::kRecordSize - 1, kUntouched));
    EXPECT_TRUE(AllBytes(out.data(), out.size(), kUntouched));
}

// Without a usable data file the driver default comes from the block built into the
// module: the call never succeeds with an unfilled record.
TEST_F(ConvertDevMode, WithoutAUsableDataFileTheBuiltInBlockIsUsed) {
    const Record block = DefaultsBlock();
    auto writeFile = [&](const wchar_t* name, const Record& bytes) {
        const std::wstring path = spooler().DriverFile(name);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return path;
    };
    const std::wstring shortFile = writeFile(L"short.dat", Record(block.begin(), block.end() - 1));
    const std::wstring zeros = writeFile(L"zeros.dat", Record(qf::kPrivateSize, 0));
    const std::wstring empty = writeFile(L"empty.dat", Record());
    // A signed block with a field of its own and one byte more: a block that a reader
    // going by the signature alone would take.
    Record longer = block;
    reinterpret_cast<qf::PrivateSettings*>(longer.data())->blackPanel = 2;
    longer.push_back(0);
    const std::wstring longFile = writeFile(L"long.dat", longer);

    struct Case {
        const char* what;
        std::wstring dataFile;
        bool openable;
        const wchar_t* name;
    };
    const Case cases[] = {
        {"missing data file", spooler().DriverFile(L"missing.dat"), true, kTestPrinter},
        {"data file one byte short", shortFile, true, kTestPrinter},
        {"data file one byte long", longFile, true, kTestPrinter},
        {"empty data file", empty, true, kTestPrinter},
        {"data file of zeros", zeros, true, kTestPrinter},
        {"printer cannot be opened", printer().dataFile, false, kTestPrinter},
        {"unknown printer", printer().dataFile, true, L"No Such Printer"},
        {"no printer name", printer().dataFile, true, nullptr},
    };
    const Record expected = DriverDefaultRecord();
    for (const Case& c : cases) {
        printer().dataFile = c.dataFile;
        printer().openable = c.openable;
        Record out = Output();
        LONG needed = qf::kRecordSize;
        EXPECT_TRUE(Convert(Devmode(out), &needed, CDM_DRIVER_DEFAULT, c.name)) << c.what;
        EXPECT_EQ(out, expected) << c.what;
    }
}

// Through the export in a fresh module: the first record comes from the printer, and
// from then on the cached private block is handed out.
TEST(FreshCache, ThePrinterDefaultFillsTheCacheForLaterCalls) {
    sim::Spooler::Get().Reset(sim::ProgramDirectory());
    Record first = DriverRecord();
    Private(first).rotate180 = 1;
    sim::Spooler::Get().AddPrinter(kTestPrinter).devmode = first;
    HANDLE handle = nullptr;
    ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
    auto docProps = Export<DocPropsFn>("DrvDocumentProperties");

    Record in = DriverRecord();
    Devmode(in)->dmCopies = 4;
    Private(in).rotate180 = 0;
    Record out(qf::kRecordSize, kUntouched);
    EXPECT_EQ(docProps(nullptr, handle, nullptr, Devmode(out), Devmode(in), DM_OUT_BUFFER | DM_IN_BUFFER), 1);
    EXPECT_EQ(Devmode(out)->dmCopies, 4);
    EXPECT_TRUE(SamePrivate(&Private(out), &Private(first)));

    Record second = DriverRecord();
    Private(second).rotate180 = 0;
    sim::Spooler::Get().Find(kTestPrinter)->devmode = second;
    Record again(qf::kRecordSize, kUntouched);
    EXPECT_EQ(docProps(nullptr, handle, nullptr, Devmode(again), Devmode(in), DM_OUT_BUFFER), 1);
    EXPECT_EQ(std::memcmp(again.data(), in.data(), qf::kPublicSize), 0);
    EXPECT_TRUE(SamePrivate(&Private(again), &Private(first))) << "the cache, not the printer's new default";
    sim::SimClosePrinter(handle);
}

TEST(FreshCache, AForeignPrinterDefaultLeavesTheCacheEmpty) {
    sim::Spooler::Get().Reset(sim::ProgramDirectory());
    Record foreign = DriverRecord();
    Private(foreign).signature = 0x1234;
    sim::Printer& printer = sim::Spooler::Get().AddPrinter(kTestPrinter);
    printer.devmode = foreign;
    HANDLE handle = nullptr;
    ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
    auto docProps = Export<DocPropsFn>("DrvDocumentProperties");

    Record in = DriverRecord();
    Devmode(in)->dmCopies = 4;
    Record out(qf::kRecordSize, kUntouched);
    EXPECT_EQ(docProps(nullptr, handle, nullptr, Devmode(out), Devmode(in), DM_OUT_BUFFER | DM_IN_BUFFER), 1);
    Record expected = DriverDefaultRecord();
    qf::MergeDocumentFields(expected.data(), in.data());
    EXPECT_EQ(Devmode(expected)->dmCopies, 4);
    EXPECT_EQ(out, expected) << "the driver default with the application's fields merged";

    Record good = DriverRecord();
    Private(good).blackPanel = 3;
    printer.devmode = good;
    Record again(qf::kRecordSize, kUntouched);
    EXPECT_EQ(docProps(nullptr, handle, nullptr, Devmode(again), Devmode(in), DM_OUT_BUFFER), 1);
    EXPECT_TRUE(SamePrivate(&Private(again), &Private(good))) << "the cache was still empty";
    sim::SimClosePrinter(handle);
}

}  // namespace
