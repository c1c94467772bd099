// Which page of the operator's manual each Help button opens, and what Help does when
// the help file or the manual is missing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qf {

// The windows with a page of their own in the manual.
enum class HelpTopic {
    kIndex,
    kDocumentSheet,
    kDeviceSheet,
    kHeadSettings,
    kColorCorrection,
    kFrontOverlay,
    kBackOverlay,
    kHologramVarnish,
    kHologramRegion,
    kEncoderSettings,
    kAdvancedTracks,
    kSingleFeed,
    kTools,
    kSendFile,
    kFirmwareDownload,
    kDeviceInformation,
    kAbout,
};

// The file name of the topic's page; the manual lies beside the driver.
const char16_t* HelpPage(HelpTopic topic);

// The folders beside the driver that may hold the manual translated for the user's language
// (locale name `localeName`, "de-DE"), most specific first, each with its final backslash:
// "de-DE\\" and "de\\". A translated manual keeps the English pages' names; the English
// manual lies beside the driver itself.
std::vector<std::u16string> ManualLanguageFolders(std::u16string_view localeName);

// The help file installed beside the driver: a file name, the same in every language.
constexpr char16_t kHelpFileName[] = u"QF862K.HLP";

enum class HelpAction {
    kHelpFile,   // the help file (kHelpFileName), opened at its contents
    kTopicPage,  // the page of the window whose Help was pressed
    kIndexPage,  // the manual's contents page
    kNothing,    // neither is installed
};

// The window's own page of the manual, else its contents page; the help file only where
// no page of the manual is installed. Current Windows has no viewer for the help file
// (its WinHelp "succeeds" by saying Help is not supported), so a help file left beside
// the module must not keep the manual from opening.
HelpAction ChooseHelp(bool helpFilePresent, bool topicPagePresent, bool indexPagePresent);

}  // namespace qf
