// What the module keeps per printer, and the table of live sheets.
#include "driver/settings/printer_records.h"
#include "driver/state/live_sheets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver/settings/record_rules.h"

namespace {

qf::PrivateSettings Committed(int16_t rotation, uint8_t ribbon) {
    qf::PrivateSettings settings{};
    settings.signature = qf::kSettingsSignature;
    settings.rotate180 = rotation;
    settings.ribbonType = ribbon;
    return settings;
}

void Commit(qf::PrinterRecordTable& table, std::u16string_view printer, const qf::PrivateSettings& settings) {
    table.Update(printer, [&settings](qf::PrinterRecords& entry) { entry.settingsCache = settings; });
}

TEST(PrinterRecords, EachPrinterKeepsItsOwnSettingsAndSingleFeedChoice) {
    qf::PrinterRecordTable table;
    EXPECT_FALSE(qf::IsSettingsCacheValid(table.Read(u"Card A").settingsCache));
    EXPECT_EQ(table.Read(u"Card A").singleFeedChoice, 1) << "single feed starts enabled";
    EXPECT_EQ(table.Size(), 0u) << "reading makes no entry";

    Commit(table, u"Card A", Committed(3, 2));
    table.Update(u"Card A", [](qf::PrinterRecords& entry) { entry.singleFeedChoice = 0; });
    Commit(table, u"Card B", Committed(1, 9));

    const qf::PrinterRecords a = table.Read(u"Card A"), b = table.Read(u"Card B");
    EXPECT_EQ(a.settingsCache.rotate180, 3);
    EXPECT_EQ(a.settingsCache.ribbonType, 2);
    EXPECT_EQ(a.singleFeedChoice, 0);
    EXPECT_EQ(b.settingsCache.rotate180, 1);
    EXPECT_EQ(b.settingsCache.ribbonType, 9);
    EXPECT_EQ(b.singleFeedChoice, 1);
    EXPECT_FALSE(qf::IsSettingsCacheValid(table.Read(u"Card C").settingsCache));
}

TEST(PrinterRecords, NamesCompareAsTheSpoolerComparesThem) {
    struct Case {
        std::u16string_view same;
        std::u16string_view other;
    };
    const Case cases[] = {
        {u"card printer", u"Card Printer 2"},
        {u"CARD PRINTER", u"Card Printe"},
        {std::u16string_view(u"Card Printer\0junk", 17), u"Card\u00C4Printer"},
    };
    for (const Case& c : cases) {
        qf::PrinterRecordTable table;
        Commit(table, u"Card Printer", Committed(2, 4));
        EXPECT_EQ(table.Read(c.same).settingsCache.rotate180, 2);
        EXPECT_FALSE(qf::IsSettingsCacheValid(table.Read(c.other).settingsCache));
    }
    // Units that differ only in their high byte are different names.
    qf::PrinterRecordTable table;
    Commit(table, u"\u0141", Committed(1, 1));
    EXPECT_FALSE(qf::IsSettingsCacheValid(table.Read(u"A").settingsCache));
    EXPECT_FALSE(qf::IsSettingsCacheValid(table.Read(u"a").settingsCache));
}

TEST(PrinterRecords, AnExistingEntryChangesWithoutAnyAllocation) {
    qf::PrinterRecordTable table;
    EXPECT_FALSE(table.UpdateExisting(u"Card A", [](qf::PrinterRecords& entry) { entry.singleFeedChoice = 0; }));
    EXPECT_EQ(table.Size(), 0u) << "no entry is made";
    Commit(table, u"Card A", Committed(2, 2));
    EXPECT_TRUE(table.UpdateExisting(u"CARD A", [](qf::PrinterRecords& entry) { entry.singleFeedChoice = 0; }));
    EXPECT_EQ(table.Read(u"Card A").singleFeedChoice, 0);
}

TEST(PrinterRecords, AnUnnamedPrinterHasNoEntry) {
    qf::PrinterRecordTable table;
    const uint8_t seen = table.Update(u"", [](qf::PrinterRecords& entry) {
        entry.singleFeedChoice = 0;
        return entry.singleFeedChoice;
    });
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(table.Size(), 0u);
    EXPECT_EQ(table.Read(u"").singleFeedChoice, 1);
}

TEST(PrinterRecords, TheLeastRecentlyUsedPrinterMakesRoom) {
    // A change and a read are both uses: a printer reached only through reads (an
    // application asking for its records) is kept as long as one that is changed.
    struct Case {
        const char* use;
        void (*touch)(qf::PrinterRecordTable&, std::u16string_view);
    };
    const Case cases[] = {
        {"change", [](qf::PrinterRecordTable& table, std::u16string_view p) { table.Update(p, [](qf::PrinterRecords&) {}); }},
        {"read", [](qf::PrinterRecordTable& table, std::u16string_view p) { table.Read(p); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.use);
        qf::PrinterRecordTable table(3);
        Commit(table, u"P1", Committed(1, 1));
        Commit(table, u"P2", Committed(1, 2));
        Commit(table, u"P3", Committed(1, 3));
        c.touch(table, u"p1");  // P1 used again: P2 is now the oldest
        Commit(table, u"P4", Committed(1, 4));
        EXPECT_EQ(table.Size(), 3u);
        EXPECT_FALSE(qf::IsSettingsCacheValid(table.Read(u"P2").settingsCache));
        for (const char16_t* kept : {u"P1", u"P3", u"P4"})
            EXPECT_TRUE(qf::IsSettingsCacheValid(table.Read(kept).settingsCache));
    }
}

TEST(PrinterRecords, ARememberedSpellingReachesThePrintersEntry) {
    qf::PrinterRecordTable table;
    Commit(table, u"Card A", Committed(3, 2));
    Commit(table, u"Card B", Committed(1, 9));
    qf::PrivateSettings held{};
    EXPECT_FALSE(table.CopyHeldSettings(u"SHARED A", &held).copied) << "a spelling not yet resolved names nothing";
    EXPECT_EQ(held.signature, 0) << "nothing is written without a held record";

    table.RememberSpelling(u"shared a", u"Card A");
    table.RememberSpelling(u"\\\\HOST\\Card A", u"Card A");
    table.RememberSpelling(u"Card B", u"CARD B");  // its own name: nothing to remember
    for (const char16_t* spelling : {u"Card A", u"SHARED A", u"\\\\host\\card a"}) {
        SCOPED_TRACE(std::string(spelling, spelling + std::char_traits<char16_t>::length(spelling)));
        held = {};
        const qf::HeldCopy copy = table.CopyHeldSettings(spelling, &held);
        EXPECT_TRUE(copy.copied);
        EXPECT_FALSE(copy.offline);
        EXPECT_EQ(held.rotate180, 3);
        EXPECT_EQ(table.Read(spelling).settingsCache.ribbonType, 2);
    }
    // Changes through a spelling reach the same entry; no second entry is made.
    table.Update(u"Shared A", [](qf::PrinterRecords& entry) { entry.singleFeedChoice = 0; });
    EXPECT_EQ(table.Read(u"Card A").singleFeedChoice, 0);
    EXPECT_EQ(table.Size(), 2u);

    // A spelling that comes to name another printer (a share moved) follows it.
    table.RememberSpelling(u"SHARED A", u"Card B");
    EXPECT_EQ(table.Read(u"shared a").settingsCache.rotate180, 1);

    // An offline cache is reported, so that the caller can forget the choice.
    qf::PrivateSettings offline = Committed(0, 5);
    offline.manualRibbon = 3;
    Commit(table, u"Card C", offline);
    EXPECT_TRUE(table.CopyHeldSettings(u"card c", &held).offline);
}

TEST(PrinterRecords, AForgottenPrinterTakesItsSpellingsAlong) {
    // A printer deleted and added again under the same name starts without the old record,
    // whichever of its spellings the event names.
    for (const char16_t* event : {u"Card A", u"shared a"}) {
        qf::PrinterRecordTable table;
        Commit(table, u"Card A", Committed(3, 2));
        Commit(table, u"Card B", Committed(1, 9));
        table.RememberSpelling(u"SHARED A", u"Card A");
        table.RememberSpelling(u"SHARED B", u"Card B");
        table.Forget(event);
        qf::PrivateSettings held{};
        EXPECT_FALSE(table.CopyHeldSettings(u"Card A", &held).copied);
        EXPECT_FALSE(table.CopyHeldSettings(u"SHARED A", &held).copied);
        // A new printer under the old name is not reached through the old spelling either.
        Commit(table, u"Card A", Committed(2, 4));
        EXPECT_FALSE(table.CopyHeldSettings(u"SHARED A", &held).copied);
        EXPECT_TRUE(table.CopyHeldSettings(u"SHARED B", &held).copied) << "the other printer keeps its own";
        EXPECT_EQ(held.ribbonType, 9);
    }
}

TEST(LiveSheets, ASheetIsKnownByItsNumberAndKindOnly) {
    qf::LiveSheets live;
    int first = 0, second = 0;
    const uint32_t a = live.Add(1, &first);
    const uint32_t b = live.Add(2, &second);
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(live.Find(a, 1), &first);
    EXPECT_EQ(live.Find(a, 2), nullptr) << "a document sheet's number names no device sheet";
    EXPECT_EQ(live.Find(b, 2), &second);

    // A closed sheet's number never names the next sheet, even at the same address.
    live.Remove(a);
    const uint32_t again = live.Add(1, &first);
    EXPECT_NE(again, a);
    EXPECT_EQ(live.Find(a, 1), nullptr);
    EXPECT_EQ(live.Find(again, 1), &first);
    EXPECT_EQ(live.Find(0, 1), nullptr);
    EXPECT_EQ(live.Size(), 2u);
}

}  // namespace
