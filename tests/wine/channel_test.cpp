// The printer channel end to end through the simulated spooler and card printer:
// queries, kept replies, direct printing and RAW jobs. These run on the driver code
// linked into the test program.
#include "tests/wine/wine_test.h"

#include <cstring>

#include "driver/channel/direct_exchange.h"
#include "driver/channel/printer_queries.h"
#include "driver/channel/raw_jobs.h"
#include "driver/channel/reply.h"
#include "driver/platform/printer_info.h"
#include "driver/settings/module_state.h"

namespace {

std::wstring NameOf(std::string_view command) {
    const std::u16string name = qf::QueryValueName(command);
    return std::wstring(reinterpret_cast<const wchar_t*>(name.c_str()));
}

class Channel : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ResetModuleState(Driver());
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &sheet, nullptr));
    }
    void TearDown() override {
        sim::SimClosePrinter(sheet);
        qf::FreePrinterRecord(record);
        DriverTest::TearDown();
    }
    sim::CardPrinter& card() { return printer().card; }
    PRINTER_INFO_2W* record = nullptr;
    bool Stored(std::string_view command) { return spooler().HasStoredReply(kTestPrinter, NameOf(command)); }
    HANDLE sheet = nullptr;
};

TEST_F(Channel, AQueryReachesThePrinterWithExactlyItsBytes) {
    char reply[64];
    DWORD needed = 0;
    // "\eV\r" has an odd length: the platform must stop right after it.
    ASSERT_TRUE(QuerySheetPrinter(sheet, "\x1BV\r", reply, sizeof reply, &needed));
    const qf::Reply checked = qf::CheckReply(true, reply, sizeof reply, needed);
    EXPECT_TRUE(checked.complete);
    EXPECT_EQ(std::string(checked.text), card().model);
    // Two commands in one query travel as one value name.
    ASSERT_TRUE(QuerySheetPrinter(sheet, "\x1B+O 5\r\x1B+OY 7\r", reply, sizeof reply, &needed));
    ASSERT_EQ(card().received.size(), 2u);
    EXPECT_EQ(card().received[0], "\x1BV\r");
    EXPECT_EQ(card().received[1], "\x1B+O 5\r\x1B+OY 7\r");
}

TEST_F(Channel, RepliesThatDoNotCount) {
    struct Case {
        sim::PortFault fault;
        bool callSucceeds;
    };
    const Case cases[] = {{sim::PortFault::kNoAnswer, false},
                          {sim::PortFault::kEmptyReply, true},
                          {sim::PortFault::kNoAck, true},
                          {sim::PortFault::kOversized, false}};
    for (const Case& c : cases) {
        card().fault = c.fault;
        char reply[32];
        std::memset(reply, 'z', sizeof reply);
        DWORD needed = 0;
        const bool ok = QuerySheetPrinter(sheet, "\x1B!RIBBON\r", reply, sizeof reply, &needed);
        EXPECT_EQ(ok, c.callSucceeds) << "fault " << int(c.fault);
        EXPECT_FALSE(qf::CheckReply(ok, reply, sizeof reply, needed).complete) << "fault " << int(c.fault);
    }
}

TEST_F(Channel, SheetQueriesDeleteTheKeptReplyAfterEveryCall) {
    char reply[32];
    DWORD needed = 0;
    ASSERT_TRUE(QuerySheetPrinter(sheet, "\x1B!V 20\r", reply, sizeof reply, &needed));
    EXPECT_FALSE(Stored("\x1B!V 20\r"));

    spooler().StoreReply(kTestPrinter, NameOf("\x1B!V 20\r"), "1\x06");
    card().fault = sim::PortFault::kNoAnswer;
    EXPECT_FALSE(QuerySheetPrinter(sheet, "\x1B!V 20\r", reply, sizeof reply, &needed));
    EXPECT_FALSE(Stored("\x1B!V 20\r"));
}

TEST_F(Channel, NamedQueriesDeleteTheKeptReplyOnlyAfterSuccess) {
    char reply[105];
    DWORD needed = 0;
    ASSERT_TRUE(QueryNamedPrinter(kTestPrinter, sheet, "\x1B%SERIE\r", reply, sizeof reply, &needed));
    EXPECT_FALSE(Stored("\x1B%SERIE\r"));

    spooler().StoreReply(kTestPrinter, NameOf("\x1B%SERIE\r"), "old\x06");
    card().fault = sim::PortFault::kNoAnswer;
    EXPECT_FALSE(QueryNamedPrinter(kTestPrinter, sheet, "\x1B%SERIE\r", reply, sizeof reply, &needed));
    EXPECT_TRUE(Stored("\x1B%SERIE\r"));
    EXPECT_EQ(reply[0], '\0');
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(spooler().OpenHandleCount(), 1) << "its own handle is closed again";
}

TEST_F(Channel, NamedQueriesWithoutAPrinterNameUseTheSheetHandle) {
    char reply[105];
    DWORD needed = 0;
    ASSERT_TRUE(QueryNamedPrinter(L"", sheet, "\x1B!NL\r", reply, sizeof reply, &needed));
    EXPECT_TRUE(qf::CheckReply(true, reply, sizeof reply, needed).complete);
    EXPECT_EQ(spooler().OpenHandleCount(), 1);
    EXPECT_NE(spooler().Lookup(sheet), nullptr) << "the sheet handle stays open";

    // A name that cannot be opened falls back to the sheet handle too.
    ASSERT_TRUE(QueryNamedPrinter(L"No Such Printer", sheet, "\x1B!NL\r", reply, sizeof reply, &needed));
    EXPECT_NE(spooler().Lookup(sheet), nullptr);
}

TEST_F(Channel, PortInstructionsHandTheFileToThePortSide) {
    const std::wstring path = spooler().DriverFile(L"cards.prn");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "\x1B" "ABC\r", 5, &written, nullptr);
    CloseHandle(file);
    char ansiPath[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansiPath, MAX_PATH, nullptr, nullptr);

    char reply[128];
    DWORD needed = 0;
    ASSERT_TRUE(QueryNamedPrinter(kTestPrinter, sheet, std::string("PrintFile:") + ansiPath, reply, sizeof reply, &needed));
    ASSERT_EQ(card().instructions.size(), 1u);
    EXPECT_EQ(card().instructions[0].verb, "PrintFile");
    EXPECT_EQ(card().instructions[0].path, ansiPath);
    EXPECT_EQ(card().instructions[0].contents, std::vector<uint8_t>({0x1B, 'A', 'B', 'C', '\r'}));

    card().fault = sim::PortFault::kPortFails;
    EXPECT_FALSE(QueryNamedPrinter(kTestPrinter, sheet, std::string("download:") + ansiPath, reply, sizeof reply, &needed));
}

// The switch reads the printer's record just before each store and changes one bit:
// what another page set meanwhile stays; leaving clears the bit only when entering set it.
TEST_F(Channel, DirectModeSwitchesOnlyWhenTheBitIsClear) {
    printer().attributes = PRINTER_ATTRIBUTE_LOCAL;
    const bool switched = EnterDirectMode(sheet);
    EXPECT_TRUE(switched);
    ASSERT_EQ(spooler().setPrinterLog.size(), 1u);
    EXPECT_EQ(spooler().setPrinterLog[0].level, 2u);
    EXPECT_EQ(spooler().setPrinterLog[0].command, 0u);
    EXPECT_EQ(spooler().setPrinterLog[0].attributes, DWORD(PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_DIRECT));
    EXPECT_TRUE(spooler().setPrinterLog[0].devmode.empty()) << "the default settings are not handed on";
    EXPECT_FALSE(spooler().setPrinterLog[0].securityWritten);
    // Another page shares the printer and moves its port while the exchange runs.
    printer().attributes |= PRINTER_ATTRIBUTE_SHARED;
    printer().fields.portName = L"USB001";
    LeaveDirectMode(sheet, switched);
    ASSERT_EQ(spooler().setPrinterLog.size(), 2u);
    EXPECT_EQ(spooler().setPrinterLog[1].attributes, DWORD(PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_SHARED));
    EXPECT_EQ(printer().fields.portName, L"USB001");
    EXPECT_EQ(sim::Ui().debugTraces,
              std::vector<std::string>({"$$$$$$$$$$$$$ SetPrinter called 1\n", "$$$$$$$$$$$$$ SetPrinter called 2\n"}));

    // Already direct: nothing is stored, and leaving leaves the bit another page set.
    spooler().setPrinterLog.clear();
    sim::Ui().debugTraces.clear();
    printer().attributes = PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_DIRECT;
    LeaveDirectMode(sheet, EnterDirectMode(sheet));
    EXPECT_TRUE(spooler().setPrinterLog.empty());
    EXPECT_TRUE(sim::Ui().debugTraces.empty());
    EXPECT_EQ(printer().attributes, DWORD(PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_DIRECT));
}

// A printer that cannot be switched back, even at the second try, is not left in direct
// printing unsaid: the user is told what happened and what to do.
TEST_F(Channel, APrinterLeftInDirectPrintingIsTold) {
    printer().attributes = PRINTER_ATTRIBUTE_LOCAL;
    ASSERT_TRUE(EnterDirectMode(sheet));
    sim::Ui().messageBoxes.clear();
    printer().storesFail = true;
    LeaveDirectMode(sheet, true);
    printer().storesFail = false;
    EXPECT_EQ(printer().attributes, DWORD(PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_DIRECT));
    ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
    EXPECT_EQ(sim::Ui().messageBoxes[0].text.rfind(L"The printer was left in direct printing", 0), 0u)
        << sim::Utf8(sim::Ui().messageBoxes[0].text);

    // A second try that succeeds says nothing.
    sim::Ui().messageBoxes.clear();
    int stores = 0;
    printer().storesFail = true;
    printer().afterRead = [&] { printer().storesFail = ++stores < 2; };
    LeaveDirectMode(sheet, true);
    printer().afterRead = nullptr;
    printer().storesFail = false;
    EXPECT_EQ(printer().attributes, DWORD(PRINTER_ATTRIBUTE_LOCAL));
    EXPECT_TRUE(sim::Ui().messageBoxes.empty());
}

TEST_F(Channel, ARawJobWritesEachCommandWithoutItsZeroByte) {
    ASSERT_EQ(SendRawJob(kTestPrinter, L"VESTRIAATM", {"\x1B" "ATM 1\r", std::string("\x1B" "AB\0C\r", 6)},
                         StartFailure::kAbandon),
              JobResult::kSent);
    ASSERT_EQ(spooler().jobs.size(), 1u);
    const sim::RawJob& job = spooler().jobs[0];
    EXPECT_EQ(job.documentName, L"VESTRIAATM");
    EXPECT_EQ(job.datatype, L"RAW");
    EXPECT_TRUE(job.ended);
    EXPECT_EQ(job.pages, 1);
    ASSERT_EQ(job.blocks.size(), 2u);
    EXPECT_EQ(job.blocks[0].size(), 7u);
    EXPECT_EQ(std::string(job.blocks[0].begin(), job.blocks[0].end()), "\x1B" "ATM 1\r");
    EXPECT_EQ(job.blocks[1].size(), 6u) << "a block is written with its exact count";
    EXPECT_EQ(SendRawJob(L"No Such Printer", L"VESTRIAATM", {"x"}, StartFailure::kAbandon), JobResult::kNotOpened);
}

}  // namespace
