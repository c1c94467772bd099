// The manual's pages by window.
#include "driver/ui/help_pages.h"

namespace qf {

const char16_t* HelpPage(HelpTopic topic) {
    switch (topic) {
        case HelpTopic::kIndex: return u"qf862k-index.html";
        case HelpTopic::kDocumentSheet: return u"qf862k-document-sheet.html";
        case HelpTopic::kDeviceSheet: return u"qf862k-device-sheet.html";
        case HelpTopic::kHeadSettings: return u"qf862k-head-settings.html";
        case HelpTopic::kColorCorrection: return u"qf862k-color-correction.html";
        case HelpTopic::kFrontOverlay: return u"qf862k-front-overlay.html";
        case HelpTopic::kBackOverlay: return u"qf862k-back-overlay.html";
        case HelpTopic::kHologramVarnish: return u"qf862k-hologram.html";
        case HelpTopic::kHologramRegion: return u"qf862k-hologram-region.html";
        case HelpTopic::kEncoderSettings: return u"qf862k-encoder-settings.html";
        case HelpTopic::kAdvancedTracks: return u"qf862k-advanced-settings.html";
        case HelpTopic::kSingleFeed: return u"qf862k-single-feed.html";
        case HelpTopic::kTools: return u"qf862k-tools.html";
        case HelpTopic::kSendFile: return u"qf862k-send-file.html";
        case HelpTopic::kFirmwareDownload: return u"qf862k-firmware.html";
        case HelpTopic::kDeviceInformation: return u"qf862k-device-information.html";
        case HelpTopic::kAbout: return u"qf862k-about.html";
    }
    return u"qf862k-index.html";
}

std::vector<std::u16string> ManualLanguageFolders(std::u16string_view localeName) {
    std::vector<std::u16string> folders;
    // Only a plain name: letters, digits and '-' (a locale name never holds a path).
    if (localeName.empty() || localeName.size() > 84) return folders;
    for (const char16_t c : localeName) {
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        if (!letter && c != u'-') return folders;
    }
    folders.push_back(std::u16string(localeName) + u"\\");
    const size_t dash = localeName.find(u'-');
    if (dash != std::u16string_view::npos && dash > 0)
        folders.push_back(std::u16string(localeName.substr(0, dash)) + u"\\");
    return folders;
}

HelpAction ChooseHelp(bool helpFilePresent, bool topicPagePresent, bool indexPagePresent) {
    if (topicPagePresent) return HelpAction::kTopicPage;
    if (indexPagePresent) return HelpAction::kIndexPage;
    if (helpFilePresent) return HelpAction::kHelpFile;
    return HelpAction::kNothing;
}

}  // namespace qf
