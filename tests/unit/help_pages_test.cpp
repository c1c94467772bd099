// Which Help a dialog's Help button opens, by what is installed beside the module, and the
// folders a translated manual may lie in.
#include "driver/ui/help_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qf {
namespace {

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
        EXPECT_EQ(ChooseHelp(c.helpFile, c.topicPage, c.indexPage), c.action)
            << "help file " << c.helpFile << ", page " << c.topicPage << ", contents " << c.indexPage;
}

TEST(HelpPages, ManualLanguageFoldersFromTheLocaleName) {
    const struct {
        std::u16string locale;
        std::vector<std::u16string> folders;
    } kCases[] = {
        {u"de-DE", {u"de-DE\\", u"de\\"}},
        {u"ja-JP", {u"ja-JP\\", u"ja\\"}},
        {u"sr-Latn-RS", {u"sr-Latn-RS\\", u"sr\\"}},
        {u"fr", {u"fr\\"}},
        {u"", {}},
        {u"..\\x", {}},
        {u"de/DE", {}},
    };
    for (const auto& c : kCases) {
        const std::vector<std::u16string> folders = ManualLanguageFolders(c.locale);
        EXPECT_EQ(folders, c.folders) << std::string(c.locale.begin(), c.locale.end());
    }
}

}  // namespace
}  // namespace qf
