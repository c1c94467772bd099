// Hostile and damaged DEVMODE records through every export that takes one. Each record
// claims a public size, a private size, carries the settings signature or not, and sits
// at the end of a buffer exactly as long as it claims, or one byte shorter, with an
// unreadable page right after it: a read past the buffer stops the test. Every call must
// give its documented result: a valid record of this driver, or the documented failure.
#include "tests/wine/wine_test.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <sstream>

#include "driver/settings/record_rules.h"
#include "sim/property_sheet.h"
#include "tests/wine/records.h"

namespace {

using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using CapsFn = DWORD(WINAPI*)(HANDLE, PWSTR, DWORD, PVOID, PDEVMODEW);
using SheetsFn = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);
using QueryFn = BOOL(WINAPI*)(HANDLE, LPDEVMODEW, DWORD*);
using QueryExFn = BOOL(WINAPI*)(PDEVQUERYPRINT_INFO);
using AdvancedFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW);

constexpr size_t kHeaderBytes = offsetof(DEVMODEW, dmDriverExtra) + sizeof(WORD);
constexpr uint8_t kUntouched = 0xCD;

struct Cell {
    uint16_t publicSize;
    uint16_t privateSize;
    bool signed_;
    bool exact;

    size_t Claimed() const { return size_t(publicSize) + privateSize; }
    size_t BufferSize() const { return std::max(kHeaderBytes, exact || Claimed() == 0 ? Claimed() : Claimed() - 1); }
    // What the claim says is a record of this driver.
    bool Usable() const { return publicSize >= 212 && publicSize <= 220 && privateSize == 3856 && signed_; }
    // A caller's record carries no size of its own beyond its claim: a buffer shorter than
    // a claim the driver must trust (a whole record of its own, or a public part it copies)
    // cannot be told from a complete one, so those cells are not run short.
    bool Runnable() const { return exact || !(Usable() || (publicSize >= 212 && BufferSize() < 212)); }
    std::string Describe() const {
        std::ostringstream text;
        text << "dmSize " << publicSize << ", dmDriverExtra " << privateSize << (signed_ ? ", signed" : ", unsigned")
             << (exact ? ", exact buffer" : ", buffer one byte short");
        return text.str();
    }
};

// The record of a cell at the end of its guarded buffer: a plain public part (two copies)
// cut to the buffer, and the signature at dmSize when asked for and there is room after
// the size fields (a public size inside them leaves them as the cell says).
std::unique_ptr<GuardedBlock> Place(const Cell& cell) {
    Record record = DriverRecord();
    Devmode(record)->dmCopies = 2;
    Record bytes(cell.BufferSize(), 0);
    std::memcpy(bytes.data(), record.data(), std::min(bytes.size(), size_t(qf::kPublicSize)));
    Devmode(bytes)->dmSize = cell.publicSize;
    Devmode(bytes)->dmDriverExtra = cell.privateSize;
    const size_t at = cell.publicSize;
    if (at >= kHeaderBytes && at + qf::kPrivateSize <= bytes.size())
        std::memcpy(bytes.data() + at, &Private(record), qf::kPrivateSize);
    else if (at >= kHeaderBytes && at + 2 <= bytes.size())
        std::memcpy(bytes.data() + at, &Private(record).signature, 2);
    if (!cell.signed_ && at >= kHeaderBytes && at + 2 <= bytes.size()) std::memset(bytes.data() + at, 0, 2);
    auto block = std::make_unique<GuardedBlock>(bytes.size());
    std::memcpy(block->data(), bytes.data(), bytes.size());
    return block;
}

bool IsValidRecord(const Record& record) {
    return qf::IsUsableRecord(record.data(), record.size()) && Devmode(const_cast<Record&>(record))->dmSize == 212;
}

class CorruptionMatrix : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        stored = DriverRecord();
        Private(stored).ribbonType = 0;
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
    }
    void TearDown() override {
        sim::SimClosePrinter(handle);
        DriverTest::TearDown();
    }
    template <typename Check>
    void ForEachCell(Check check) {
        const uint16_t publicSizes[] = {0, 1, 68, 211, 212, 213, 220, 0xFFFF};
        const uint16_t privateSizes[] = {0, 1, 3855, 3856, 3857, 0xFFFF};
        for (uint16_t publicSize : publicSizes)
            for (uint16_t privateSize : privateSizes)
                for (bool signed_ : {false, true})
                    for (bool exact : {true, false}) {
                        const Cell cell{publicSize, privateSize, signed_, exact};
                        if (!cell.Runnable()) continue;
                        SCOPED_TRACE(cell.Describe());
                        auto input = Place(cell);
                        check(cell, input->devmode());
                        sim::ResetUi();
                    }
    }

    Record stored;
    HANDLE handle = nullptr;
    LPWSTR name = const_cast<LPWSTR>(kTestPrinter);
};

TEST_F(CorruptionMatrix, DocumentPropertiesAlwaysHandOutAValidRecord) {
    auto docProps = Export<DocPropsFn>("DrvDocumentProperties");
    ForEachCell([&](const Cell& cell, DEVMODEW* input) {
        for (DWORD mode : {DWORD(DM_OUT_BUFFER), DWORD(DM_OUT_BUFFER | DM_IN_BUFFER)}) {
            Record out(qf::kRecordSize, kUntouched);
            EXPECT_EQ(docProps(nullptr, handle, name, Devmode(out), input, mode), 1);
            EXPECT_TRUE(IsValidRecord(out)) << "mode " << mode;
        }
        // The application's buffer as input and output at once (a whole record's room).
        if (cell.exact) {
            Record shared(std::max(cell.BufferSize(), size_t(qf::kRecordSize)), 0);
            std::memcpy(shared.data(), input, cell.BufferSize());
            EXPECT_EQ(docProps(nullptr, handle, name, Devmode(shared), Devmode(shared), DM_OUT_BUFFER | DM_IN_BUFFER),
                      1);
            shared.resize(qf::kRecordSize);
            EXPECT_TRUE(IsValidRecord(shared));
        }
    });
}

TEST_F(CorruptionMatrix, ConvertDevModeInEveryMode) {
    auto convert = Export<ConvertFn>("DrvConvertDevMode");
    ForEachCell([&](const Cell& cell, DEVMODEW* input) {
        for (DWORD mode : {DWORD(CDM_CONVERT), DWORD(CDM_CONVERT351), DWORD(CDM_DRIVER_DEFAULT)}) {
            Record out(qf::kRecordSize, kUntouched);
            LONG needed = qf::kRecordSize;
            EXPECT_TRUE(convert(name, input, Devmode(out), &needed, mode)) << "mode " << mode;
            if (mode == CDM_DRIVER_DEFAULT)
                EXPECT_EQ(out, DriverDefaultRecord());
            else
                EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t b) { return b == kUntouched; }));
        }
        // The cell's buffer as the output, with its length as the size.
        LONG needed = static_cast<LONG>(cell.BufferSize());
        SetLastError(0xDEADBEEF);
        const BOOL written = convert(name, nullptr, input, &needed, CDM_DRIVER_DEFAULT);
        if (cell.BufferSize() < size_t(qf::kRecordSize)) {
            EXPECT_FALSE(written);
            EXPECT_EQ(needed, qf::kRecordSize);
            EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
        } else {
            EXPECT_TRUE(written);
            Record out(reinterpret_cast<uint8_t*>(input), reinterpret_cast<uint8_t*>(input) + qf::kRecordSize);
            EXPECT_TRUE(IsValidRecord(out));
        }
    });
}

TEST_F(CorruptionMatrix, CapabilitiesAndPrintQueries) {
    auto caps = Export<CapsFn>("DrvDeviceCapabilities");
    auto query = Export<QueryFn>("DevQueryPrint");
    auto queryEx = Export<QueryExFn>("DevQueryPrintEx");
    auto advanced = Export<AdvancedFn>("DrvAdvancedDocumentProperties");
    ForEachCell([&](const Cell&, DEVMODEW* input) {
        POINT extent[2] = {};
        EXPECT_NE(caps(nullptr, name, DC_MAXEXTENT, extent, input), DWORD(-1));
        EXPECT_EQ(caps(nullptr, name, DC_COPIES, nullptr, input), caps(nullptr, name, DC_COPIES, nullptr, nullptr));
        DWORD resource = 77;
        EXPECT_TRUE(query(handle, input, &resource));
        EXPECT_EQ(resource, 0u);
        DEVQUERYPRINT_INFO info = {};
        info.cbSize = sizeof info;
        info.hPrinter = handle;
        info.pDevMode = input;
        EXPECT_TRUE(queryEx(&info));
        Record out(qf::kRecordSize, kUntouched);
        EXPECT_EQ(advanced(nullptr, handle, name, Devmode(out), input), qf::kPrivateSize);
        EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t b) { return b == kUntouched; }));
    });
}

TEST_F(CorruptionMatrix, DocumentPropertySheetsWithAndWithoutASheet) {
    auto sheets = Export<SheetsFn>("DrvDocumentPropertySheets");
    ForEachCell([&](const Cell& cell, DEVMODEW* input) {
        Record out(qf::kRecordSize, kUntouched);
        DOCUMENTPROPERTYHEADER header{sizeof header, 0, handle, name, input, Devmode(out), DWORD(qf::kRecordSize),
                                      DM_COPY};
        EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
        EXPECT_TRUE(IsValidRecord(out));

        // The sheet edits the input when it is a record of this driver, else the printer's
        // default; either way the commit hands out a valid record.
        Record committed(qf::kRecordSize, kUntouched);
        header = DOCUMENTPROPERTYHEADER{sizeof header,         0, handle, name, input, Devmode(committed),
                                        DWORD(qf::kRecordSize), DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT};
        sim::PropertySheetService service;
        ASSERT_EQ(service.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"),
                               reinterpret_cast<LPARAM>(&header)),
                  1);
        EXPECT_EQ(service.Commit(), 1);
        EXPECT_EQ(service.Info().Result, ULONG_PTR(CPSUI_OK));
        EXPECT_TRUE(IsValidRecord(committed));
        EXPECT_EQ(Devmode(committed)->dmCopies, cell.Usable() ? 2 : Devmode(stored)->dmCopies);
    });
}

}  // namespace
