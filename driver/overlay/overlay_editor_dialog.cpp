// The overlay varnish editors of the front and the back of the card: one behaviour,
// each on its side's record.
#include "driver/overlay/overlay_dialogs.h"

#include <commctrl.h>

#include "driver/overlay/region_editor.h"
#include "driver/platform/guard.h"
#include "driver/resources/resource.h"

namespace {

qf::OverlayRegion& FrontRegion(qf::PrivateSettings& settings) { return settings.frontOverlay; }
qf::OverlayRegion& BackRegion(qf::PrivateSettings& settings) { return settings.backOverlay; }

constexpr RegionEditorKind kFrontEditor = {
    qf::RegionEditor::Overlay, FrontRegion,           IDC_OVERLAY_TYPE,         IDS_OVERLAY_TYPE_FIRST,
    IDC_OVERLAY_LEFT_LABEL,    IDC_OVERLAY_LEFT,      IDC_OVERLAY_LEFT_SPIN,    IDC_OVERLAY_BITMAP_GROUP,
    IDC_OVERLAY_BROWSE,        IDC_OVERLAY_PATH,      IDC_OVERLAY_ROTATE,       qf::HelpTopic::kFrontOverlay,
};
constexpr RegionEditorKind kBackEditor = {
    qf::RegionEditor::Overlay, BackRegion,            IDC_OVERLAY_TYPE,         IDS_OVERLAY_TYPE_FIRST,
    IDC_OVERLAY_LEFT_LABEL,    IDC_OVERLAY_LEFT,      IDC_OVERLAY_LEFT_SPIN,    IDC_OVERLAY_BITMAP_GROUP,
    IDC_OVERLAY_BROWSE,        IDC_OVERLAY_PATH,      IDC_OVERLAY_ROTATE,       qf::HelpTopic::kBackOverlay,
};

}  // namespace

INT_PTR CALLBACK FrontOverlayDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        return RegionEditorDialog(dialog, message, wParam, lParam, kFrontEditor);
    });
}

INT_PTR CALLBACK BackOverlayDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        return RegionEditorDialog(dialog, message, wParam, lParam, kBackEditor);
    });
}

void RegisterUpDownClass() {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
}
