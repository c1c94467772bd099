// The folders a translated manual may lie in beside the driver.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/entry/help_pages.h"

namespace qf {
namespace {

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
