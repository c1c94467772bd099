// Settings records crossing between the 32-bit and the 64-bit module, as when a 32-bit
// application prints through a 64-bit spooler: one module writes its records (driver
// default, document record, committed sheet result, stored printer default, defaults
// block) and what it makes of each into a folder, and the other module writes the same
// records and reads the first one's through its exports. The records must be the same
// bytes, and each module must make the same of them.
//
// The folders come from the environment; without them these tests are skipped:
//   QF_EXCHANGE_OUT  where this module writes its records and readings
//   QF_EXCHANGE_IN   where the other module wrote its own
#include "tests/wine/wine_test.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "driver/settings/record_fields.h"
#include "sim/files.h"
#include "sim/property_sheet.h"
#include "tests/wine/records.h"

namespace {

using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);

constexpr wchar_t kModulePrefix[] = L"qfexchange-";

std::wstring Folder(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value || !*value) return std::wstring();
    std::wstring folder(value, value + std::strlen(value));
    if (folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::wstring TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

// Module copies of earlier runs: no process holds them any more.
void RemoveOldModules() {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((TempFolder() + kModulePrefix + L"*.dll").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do DeleteFileW((TempFolder() + found.cFileName).c_str());
    while (FindNextFileW(find, &found));
    FindClose(find);
}

// The module as a new process of the platform would find it: the same DLL under a name
// of its own, so that its settings cache and module-wide records start empty whatever
// this process did with the other copies. Routed to the stand-ins like the first one.
HMODULE FreshModule() {
    static int loaded = 0;
    const std::wstring path = TempFolder() + kModulePrefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++loaded) + L".dll";
    if (!CopyFileW((sim::ProgramDirectory() + L"qf862kui.dll").c_str(), path.c_str(), FALSE)) return nullptr;
    std::string error;
    HMODULE module = sim::LoadDriver(&error, path);
    EXPECT_NE(module, nullptr) << error;
    return module;
}

template <typename Fn>
Fn ExportOf(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool WriteBytes(const std::wstring& path, const void* data, size_t size) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// The fields in which records (or defaults blocks) `a` and `b` differ, with both values,
// so that a red run says what a module made differently.
std::string Differences(const Record& a, const Record& b) {
    if (a.size() != b.size()) return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
    std::ostringstream out;
    auto compare = [&](const std::vector<qf::RecordField>& fields, size_t base, bool privatePart) {
        const auto first = qf::DescribeFields(a.data() + base, a.size() - base, privatePart);
        const auto second = qf::DescribeFields(b.data() + base, b.size() - base, privatePart);
        for (const qf::RecordField& field : fields) {
            const size_t at = base + field.offset;
            if (at + field.size > a.size() || std::memcmp(a.data() + at, b.data() + at, field.size) == 0) continue;
            out << (privatePart ? "private " : "public ") << field.name << " (offset " << field.offset << ")\n";
            for (const auto* lines : {&first, &second})
                for (const std::string& line : *lines)
                    if (line.compare(0, field.name.size() + 3, field.name + " = ") == 0) out << "    " << line << "\n";
        }
    };
    if (a.size() == size_t(qf::kPrivateSize)) {
        compare(qf::PrivateRecordFields(), 0, true);
    } else {
        compare(qf::PublicRecordFields(), 0, false);
        if (a.size() > size_t(qf::kPublicSize)) compare(qf::PrivateRecordFields(), qf::kPublicSize, true);
    }
    return out.str();
}

// What a module makes of a record: the record DrvDocumentProperties hands out with it
// as the printer's default, the document sheet (items and messages) opened on it as an
// application's record, and the record that sheet commits with OK.
struct Reading {
    Record handedOut;
    std::vector<std::string> sheet;
    Record committed;
};

class RecordExchange : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        out = Folder("QF_EXCHANGE_OUT");
        in = Folder("QF_EXCHANGE_IN");
    }

    // A fresh spooler with the test printer, its stored default `stored` (a record of
    // this driver with the ribbon the simulated printer reports).
    void FreshPrinter(const Record& stored) {
        spooler().Reset(sim::ProgramDirectory());
        spooler().AddPrinter(kTestPrinter);
        printer().devmode = stored;
        sim::ResetUi();
    }
    static Record StoredDefault() {
        Record stored = DriverRecord();
        Private(stored).ribbonType = 0;
        Private(stored).encoderSettings.encoderPresent = 1;
        Private(stored).rotate180 = 1;
        return stored;
    }
    HANDLE OpenTestPrinter() {
        HANDLE handle = nullptr;
        EXPECT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
        return handle;
    }

    // The records, each written by a module fresh from loading.
    struct Kind {
        const char* name;
        Record (RecordExchange::*write)();
    };
    static const std::vector<Kind>& Kinds() {
        static const std::vector<Kind> kinds = {
            {"driver-default", &RecordExchange::WriteDriverDefault},
            {"document", &RecordExchange::WriteDocumentRecord},
            {"sheet-result", &RecordExchange::WriteSheetResult},
            {"printer-default", &RecordExchange::WritePrinterDefault},
            {"defaults-block", &RecordExchange::WriteDefaultsBlock},
        };
        return kinds;
    }

    Record WriteDriverDefault() {
        FreshPrinter(StoredDefault());
        Record record(qf::kRecordSize, 0);
        LONG size = qf::kRecordSize;
        EXPECT_TRUE(ExportOf<ConvertFn>(FreshModule(), "DrvConvertDevMode")(
            const_cast<LPWSTR>(kTestPrinter), nullptr, Devmode(record), &size, CDM_DRIVER_DEFAULT));
        return record;
    }

    // An application's record merged into the printer's default.
    Record WriteDocumentRecord() {
        FreshPrinter(StoredDefault());
        Record input = DriverRecord();
        Devmode(input)->dmOrientation = DMORIENT_PORTRAIT;
        Devmode(input)->dmCopies = 5;
        Devmode(input)->dmFields = DM_ORIENTATION | DM_COPIES;
        Record record(qf::kRecordSize, 0);
        HANDLE handle = OpenTestPrinter();
        EXPECT_EQ(ExportOf<DocPropsFn>(FreshModule(), "DrvDocumentProperties")(
                      nullptr, handle, const_cast<LPWSTR>(kTestPrinter), Devmode(record), Devmode(input),
                      DM_IN_BUFFER | DM_OUT_BUFFER),
                  1);
        sim::SimClosePrinter(handle);
        return record;
    }

    // The document sheet on the printer's default, changed by the user and committed.
    Record WriteSheetResult() {
        FreshPrinter(StoredDefault());
        enum { kOrientation = 1, kBothSides = 5, kPrintMode = 6, kBlackPanel = 8, kCopies = 15 };
        Record record(qf::kRecordSize, 0);
        HANDLE handle = OpenTestPrinter();
        DOCUMENTPROPERTYHEADER header = {};
        header.cbSize = sizeof header;
        header.hPrinter = handle;
        header.pszPrinterName = const_cast<LPWSTR>(kTestPrinter);
        header.pdmOut = Devmode(record);
        header.cbOut = qf::kRecordSize;
        header.fMode = DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT;
        sim::PropertySheetService service;
        EXPECT_EQ(service.Open(ExportOf<QfPropSheetUiProc>(FreshModule(), "DrvDocumentPropertySheets"),
                               reinterpret_cast<LPARAM>(&header)),
                  1);
        EXPECT_NE(service.Page(), nullptr) << service.Problem();
        service.Select(kOrientation, 0);
        service.Select(kBothSides, 1);
        service.Select(kPrintMode, 1);
        service.Select(kBlackPanel, 3);
        service.Select(kCopies, 7);
        service.Apply();
        EXPECT_EQ(service.Commit(), 1);
        sim::SimClosePrinter(handle);
        return record;
    }

    // The device sheet's Apply stores the printer's default through the spooler.
    Record WritePrinterDefault() {
        Record stored = StoredDefault();
        Private(stored).encoderSettings.coercivity = 1;
        FreshPrinter(stored);
        HANDLE handle = OpenTestPrinter();
        DEVICEPROPERTYHEADER header = {sizeof header, 0, handle, const_cast<LPWSTR>(kTestPrinter)};
        sim::PropertySheetService service;
        EXPECT_EQ(service.Open(ExportOf<QfPropSheetUiProc>(FreshModule(), "DrvDevicePropertySheets"),
                               reinterpret_cast<LPARAM>(&header)),
                  1);
        service.Apply();
        service.Commit();
        sim::SimClosePrinter(handle);
        EXPECT_EQ(spooler().setPrinterLog.size(), 1u);
        return spooler().setPrinterLog.empty() ? Record() : spooler().setPrinterLog.back().devmode;
    }

    // The defaults block the module's package ships as its data file.
    Record WriteDefaultsBlock() { return DefaultsBlock(); }

    // A defaults block is read as the data file of the printer's driver, which
    // DrvConvertDevMode turns into the driver default; a record is read as it is.
    Record AsRecord(const Record& written) {
        if (written.size() != size_t(qf::kPrivateSize)) return written;
        FreshPrinter(StoredDefault());
        const std::wstring dataFile = spooler().DriverFile(L"exchanged.dat");
        EXPECT_TRUE(WriteBytes(dataFile, written.data(), written.size()));
        printer().dataFile = dataFile;
        Record record(qf::kRecordSize, 0);
        LONG size = qf::kRecordSize;
        EXPECT_TRUE(ExportOf<ConvertFn>(FreshModule(), "DrvConvertDevMode")(
            const_cast<LPWSTR>(kTestPrinter), nullptr, Devmode(record), &size, CDM_DRIVER_DEFAULT));
        return record;
    }

    Reading Read(const Record& written) {
        const Record record = AsRecord(written);
        Reading reading;

        FreshPrinter(record);
        reading.handedOut.assign(qf::kRecordSize, 0);
        HANDLE handle = OpenTestPrinter();
        EXPECT_EQ(ExportOf<DocPropsFn>(FreshModule(), "DrvDocumentProperties")(
                      nullptr, handle, const_cast<LPWSTR>(kTestPrinter), Devmode(reading.handedOut), nullptr,
                      DM_OUT_BUFFER),
                  1);
        sim::SimClosePrinter(handle);

        FreshPrinter(StoredDefault());
        Record input = record;
        reading.committed.assign(qf::kRecordSize, 0);
        handle = OpenTestPrinter();
        DOCUMENTPROPERTYHEADER header = {};
        header.cbSize = sizeof header;
        header.hPrinter = handle;
        header.pszPrinterName = const_cast<LPWSTR>(kTestPrinter);
        header.pdmIn = Devmode(input);
        header.pdmOut = Devmode(reading.committed);
        header.cbOut = qf::kRecordSize;
        header.fMode = DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT;
        sim::PropertySheetService service;
        EXPECT_EQ(service.Open(ExportOf<QfPropSheetUiProc>(FreshModule(), "DrvDocumentPropertySheets"),
                               reinterpret_cast<LPARAM>(&header)),
                  1);
        reading.sheet = service.DescribeItems();
        for (const sim::MessageBoxRecord& box : sim::Ui().messageBoxes)
            reading.sheet.push_back("message: " + sim::Utf8(box.text));
        EXPECT_EQ(service.Commit(), 1);
        sim::SimClosePrinter(handle);
        return reading;
    }

    std::wstring out;
    std::wstring in;
};

TEST_F(RecordExchange, WritesItsRecordsAndWhatItMakesOfThem) {
    if (out.empty()) GTEST_SKIP() << "QF_EXCHANGE_OUT names no folder";
    RemoveOldModules();
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        const Record record = (this->*kind.write)();
        ASSERT_FALSE(record.empty());
        const Reading reading = Read(record);
        const std::wstring base = out + std::wstring(kind.name, kind.name + std::strlen(kind.name));
        const std::string sheet = Joined(reading.sheet);
        ASSERT_TRUE(WriteBytes(base + L".record", record.data(), record.size()));
        ASSERT_TRUE(WriteBytes(base + L".handed-out", reading.handedOut.data(), reading.handedOut.size()));
        ASSERT_TRUE(WriteBytes(base + L".sheet.txt", sheet.data(), sheet.size()));
        ASSERT_TRUE(WriteBytes(base + L".committed", reading.committed.data(), reading.committed.size()));
    }
}

TEST_F(RecordExchange, ReadsTheOtherModulesRecordsAlike) {
    if (in.empty()) GTEST_SKIP() << "QF_EXCHANGE_IN names no folder";
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        const std::wstring base = in + std::wstring(kind.name, kind.name + std::strlen(kind.name));
        Record theirs;
        ASSERT_TRUE(sim::ReadWholeFile(base + L".record", &theirs)) << "no " << kind.name << ".record";

        const Record ours = (this->*kind.write)();
        EXPECT_EQ(ours, theirs) << "this module writes the record otherwise:\n" << Differences(ours, theirs);

        const Reading reading = Read(theirs);
        const Record handedOut = sim::ReadWholeFile(base + L".handed-out");
        EXPECT_EQ(reading.handedOut, handedOut) << "as the printer's default:\n"
                                                << Differences(reading.handedOut, handedOut);
        const Record sheet = sim::ReadWholeFile(base + L".sheet.txt");
        EXPECT_EQ(Joined(reading.sheet), std::string(sheet.begin(), sheet.end())) << "the document sheet on it";
        const Record committed = sim::ReadWholeFile(base + L".committed");
        EXPECT_EQ(reading.committed, committed) << "committed by the document sheet:\n"
                                                << Differences(reading.committed, committed);
    }
}

}  // namespace
