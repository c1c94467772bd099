// Which Help a dialog's Help button opens, by what is installed beside the module.
#include "driver/entry/help_pages.h"

#include <gtest/gtest.h>

namespace {

using qf::HelpAction;

// The manual's pages come first; the help file, which current Windows cannot show, only
// where no page of the manual is installed.
TEST(HelpPages, TheManualComesBeforeTheHelpFile) {
    struct Case {
        bool helpFile, topicPage, indexPage;
        HelpAction action;
    };
    const Case cases[] = {
        {true, true, true, HelpAction::kTopicPage},   {true, true, false, HelpAction::kTopicPage},
        {true, false, true, HelpAction::kIndexPage},  {true, false, false, HelpAction::kHelpFile},
        {false, true, true, HelpAction::kTopicPage},  {false, false, true, HelpAction::kIndexPage},
        {false, false, false, HelpAction::kNothing},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qf::ChooseHelp(c.helpFile, c.topicPage, c.indexPage), c.action)
            << "help file " << c.helpFile << ", page " << c.topicPage << ", contents " << c.indexPage;
}

}  // namespace
