// The exact conversion into the system's ANSI code page takes only flags the code page
// accepts: with UTF-8 (code page 65001) the best-fit flag and the used-default question
// fail the platform's conversion.
#include "driver/platform/code_pages.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePages, EachCodePageGetsOnlyTheFlagsItTakes) {
    struct Row {
        uint32_t codePage;
        uint32_t flags;
        bool askUsedDefault;
    };
    const Row rows[] = {
        {1252, qf::kNoBestFitChars, true},      // Western
        {932, qf::kNoBestFitChars, true},       // Japanese
        {65001, qf::kErrorInvalidChars, false},  // UTF-8: every character, no used-default question
        {65000, 0, false},                      // UTF-7
        {50220, 0, true},                       // ISO-2022 Japanese: no flags at all
        {57002, 0, true},                       // ISCII
    };
    for (const Row& row : rows) {
        const qf::ExactConversion conversion = qf::ExactConversionFor(row.codePage);
        EXPECT_EQ(conversion.flags, row.flags) << row.codePage;
        EXPECT_EQ(conversion.askUsedDefault, row.askUsedDefault) << row.codePage;
    }
}

}  // namespace
