// Ribbon identification against the simulated printer: the state questions, the ribbon
// catalogue and the notice the user sees.
#include "tests/wine/wine_test.h"

#include "driver/settings/module_state.h"
#include "driver/settings/ribbon_query.h"
#include "tests/wine/records.h"

namespace {

class RibbonQuery : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ResetModuleState(Driver());
        lstrcpyW(name, L"None");
    }
    void Query(const wchar_t* printerName = kTestPrinter) {
        report = {qf::QuestionOutcome::kCallFailed, false, qf::QuestionOutcome::kCallFailed, 15};
        QueryPrinterState(printerName, &report, name);
        encoder = report.encoder;
        code = report.ribbon;
    }
    qf::PrinterReport report{};
    bool encoder = false;
    wchar_t name[kRibbonNameChars] = {};
    uint8_t code = 15;
};

TEST_F(RibbonQuery, APrinterThatAnswersSetsEveryOutput) {
    printer().card.ribbonNumber = 17;
    Query();
    EXPECT_TRUE(encoder);
    EXPECT_EQ(report.encoderAsked, qf::QuestionOutcome::kAnswered);
    EXPECT_EQ(report.ribbonAsked, qf::QuestionOutcome::kAnswered);
    EXPECT_EQ(code, 3);
    EXPECT_STREQ(name, L"KrO");
    EXPECT_EQ(spooler().OpenHandleCount(), 0) << "the handle opened for the questions is closed";
    EXPECT_EQ(printer().card.received,
              std::vector<std::string>({"\x1B!V 20\r", "\x1B!RIBBON\r"}));
}

TEST_F(RibbonQuery, AnswersThatDoNotCountLeaveThePresets) {
    struct Case {
        sim::PortFault fault;
        qf::QuestionOutcome asked;
    };
    const Case cases[] = {{sim::PortFault::kNoAnswer, qf::QuestionOutcome::kCallFailed},
                          {sim::PortFault::kEmptyReply, qf::QuestionOutcome::kNoAnswer},
                          {sim::PortFault::kNoAck, qf::QuestionOutcome::kNoAnswer},
                          {sim::PortFault::kOversized, qf::QuestionOutcome::kCallFailed}};
    for (const Case& c : cases) {
        printer().card.fault = c.fault;
        lstrcpyW(name, L"None");
        Query();
        EXPECT_EQ(report.encoderAsked, c.asked) << int(c.fault);
        EXPECT_EQ(report.ribbonAsked, c.asked) << int(c.fault);
        EXPECT_FALSE(encoder) << int(c.fault);
        EXPECT_EQ(code, 15) << int(c.fault);
        EXPECT_STREQ(name, L"None");
    }
    printer().card.fault = sim::PortFault::kNone;
    printer().openable = false;
    const size_t before = printer().card.received.size();
    Query();
    EXPECT_EQ(report.encoderAsked, qf::QuestionOutcome::kCallFailed);
    EXPECT_EQ(report.ribbonAsked, qf::QuestionOutcome::kCallFailed);
    EXPECT_EQ(printer().card.received.size(), before) << "nothing is asked of a printer that cannot be opened";
}

// A question whose call failed takes nothing from the other: the ribbon is read whatever
// became of the encoder question.
TEST_F(RibbonQuery, TheRibbonAnswerCountsWhenTheEncoderQuestionFails) {
    printer().card.ribbonNumber = 17;
    printer().card.commandFaults = {{"\x1B!V 20\r", sim::PortFault::kNoAnswer}};
    Query();
    EXPECT_EQ(report.encoderAsked, qf::QuestionOutcome::kCallFailed);
    EXPECT_EQ(report.ribbonAsked, qf::QuestionOutcome::kAnswered);
    EXPECT_EQ(code, 3);
    EXPECT_STREQ(name, L"KrO");
}

TEST_F(RibbonQuery, NoEncoderAndANonNumericRibbonAnswer) {
    printer().card.encoder = false;
    printer().card.ribbonReply = "R?";
    Query();
    EXPECT_FALSE(encoder);
    EXPECT_EQ(report.encoderAsked, qf::QuestionOutcome::kAnswered);
    EXPECT_EQ(report.ribbonAsked, qf::QuestionOutcome::kAnswered);
    EXPECT_EQ(code, 15) << "an answer that is no number means no ribbon";
}

// The catalogue's name of a ribbon number, read through an open handle of the printer.
std::wstring CatalogueName(int32_t number) {
    HANDLE printer = nullptr;
    EXPECT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &printer, nullptr));
    wchar_t out[kRibbonNameChars] = L"unset";
    RibbonCatalogueName(printer, number, out);
    sim::SimClosePrinter(printer);
    return out;
}

TEST_F(RibbonQuery, CatalogueNames) {
    EXPECT_EQ(CatalogueName(2), L"YMCKO");
    EXPECT_EQ(CatalogueName(29), L"None") << "a number without a key";
    // A value longer than the name buffer is cut to 31 characters.
    const std::wstring catalogue = spooler().DriverFile(L"qf862rib.ini");
    WritePrivateProfileStringW(L"Ribbon Type", L"7", L"A very long ribbon name that goes on and on", catalogue.c_str());
    EXPECT_EQ(CatalogueName(7), L"A very long ribbon name that go");
    DeleteFileW(catalogue.c_str());
    EXPECT_EQ(CatalogueName(2), L"None") << "no catalogue file";
}

// A current installation puts the catalogue beside the driver file; an older one in the
// driver directory's version-2 folder. The driver's own folder wins when both hold one.
TEST_F(RibbonQuery, TheCatalogueBesideTheDriverFileComesFirst) {
    for (const RibbonListPlacement& placement : kRibbonListPlacements) {
        PlaceRibbonLists(placement);
        const wchar_t* expected = placement.name ? placement.name : L"None";
        EXPECT_EQ(CatalogueName(2), expected) << placement.where;
        printer().card.ribbonNumber = 2;
        Query();
        EXPECT_STREQ(name, expected) << placement.where << ", through the printer's questions";
    }
}

TEST_F(RibbonQuery, TheChangedRibbonNotices) {
    struct Case {
        uint8_t code;
        const wchar_t* name;  // as the ribbon list names the printer's ribbon
        const wchar_t* text;
    };
    const Case cases[] = {
        {1, L"K Blue Resin", L"Ribbon changed to K Blue Resin."},
        {14, L"Monochrome", L"Ribbon changed to Monochrome. Please choose the type of monochrome ribbon installed in your "
                            L"printer."},
        {15, L"No ribbon", L"There is no ribbon or unable to communicate to printer."},
        {200, L"None", L"There is no ribbon or unable to communicate to printer."},
        // A ribbon the list does not name is named by its code, never announced as "None".
        {6, L"None", L"Ribbon changed to YMCK."},
    };
    for (const Case& c : cases) {
        sim::Ui().messageBoxes.clear();
        ShowRibbonChanged(c.code, c.name);
        ASSERT_EQ(sim::Ui().messageBoxes.size(), 1u);
        EXPECT_EQ(sim::Ui().messageBoxes[0].text, c.text);
        EXPECT_EQ(sim::Ui().messageBoxes[0].caption, L"Varlo Halvard Line Printer");
        EXPECT_EQ(sim::Ui().messageBoxes[0].flags, UINT(MB_OK));
    }
}

}  // namespace
