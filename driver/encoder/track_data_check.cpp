// The track data check on an edit control.
#include "driver/encoder/track_data_check.h"

#include <string_view>

#include "driver/encoder/track_rules.h"
#include "driver/resources/resource.h"
#include "driver/ui/dialog_conventions.h"

void CheckTrackData(HWND dialog, int track) {
    if (track < 1 || track > 3) return;
    const int id = IDC_TOOLS_TRACK1_DATA + track - 1;
    WCHAR text[qf::kTrackTextReadChars + 1] = {};
    const int length = GetDlgItemTextW(dialog, id, text, qf::kTrackTextReadChars + 1);
    if (length <= 0) return;
    const qf::TrackCheckResult result =
        qf::CheckTrackText(track, std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
    if (result.outcome == qf::TrackCheck::kAccepted) return;
    text[result.keep] = L'\0';
    ShowMessage(IDS_CAPTION,
                result.outcome == qf::TrackCheck::kTooLong ? IDS_TOO_MANY_TRACK_CHARACTERS : IDS_INVALID_TRACK_CHARACTER,
                MB_OK);
    SetDlgItemTextW(dialog, id, text);
}
