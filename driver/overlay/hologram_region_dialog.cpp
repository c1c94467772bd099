// The hologram region editor: the region editors' behaviour on the hologram record,
// with its own types and ids.
#include "driver/overlay/overlay_dialogs.h"

#include "driver/overlay/region_editor.h"
#include "driver/platform/guard.h"
#include "driver/resources/resource.h"

namespace {

qf::OverlayRegion& HologramRegion(qf::PrivateSettings& settings) { return settings.hologramOverlay.region; }

constexpr RegionEditorKind kHologramEditor = {
    qf::RegionEditor::Hologram, HologramRegion,        IDC_HOLOGRAM_TYPE,        IDS_HOLOGRAM_TYPE_FIRST,
    IDC_HOLOGRAM_LEFT_LABEL,    IDC_HOLOGRAM_LEFT,     IDC_HOLOGRAM_LEFT_SPIN,   IDC_HOLOGRAM_BITMAP_GROUP,
    IDC_HOLOGRAM_BROWSE,        IDC_HOLOGRAM_PATH,     IDC_HOLOGRAM_ROTATE,      qf::HelpTopic::kHologramRegion,
};

}  // namespace

INT_PTR CALLBACK HologramRegionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        return RegionEditorDialog(dialog, message, wParam, lParam, kHologramEditor);
    });
}
