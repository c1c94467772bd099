// Which page of the operator's manual each Help button opens, and what Help does when
// the help file or the manual is missing.
#pragma once

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

enum class HelpAction {
    kHelpFile,   // the help file of string 200, opened at its contents
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
