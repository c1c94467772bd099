// The Tools dialog's track reading: the ticked tracks of a card in the encoder, read
// inside one exchange, and the track boxes and edits.
#include <string>

#include "driver/channel/commands.h"
#include "driver/encoder/track_data_check.h"
#include "driver/platform/owners.h"
#include "driver/tools/tools_parts.h"

namespace {

// Reads the ticked tracks into their edits, the Read button disabled meanwhile. A reply
// without ACK goes to the status field and ends the read.
void ReadTickedTracks(HWND dialog, const DirectExchange& exchange) {
    const qf::DisabledWhile pressed(dialog, IDC_TOOLS_READ);
    Repaint(dialog);
    for (uint32_t track = 0; track < 3; ++track) {
        if (IsDlgButtonChecked(dialog, kTrackBoxes[track]) != BST_CHECKED) continue;
        SetDlgItemTextW(dialog, kTrackEdits[track], L"");
        char reply[qf::kTrackReplyBytes] = {};
        DWORD needed = 0;
        const std::string query = qf::TrackReadQuery(track + 1);
        const bool ok = AskInExchange(exchange, query, reply, sizeof reply, &needed);
        const qf::TrackRead read = qf::TrackReadFromReply(ok, reply, sizeof reply, needed);
        if (read.result == qf::TrackReadResult::kNextTrack) continue;
        if (read.result == qf::TrackReadResult::kStopped) {
            SetStatus(dialog, read.text);
            break;
        }
        SetControlAnsiText(dialog, kTrackEdits[track], read.text);
        DeleteStoredReplyText(exchange.printer, query);
    }
}

}  // namespace

void ReadTracks(HWND dialog) {
    DeviceSheetState* sheet = DeviceSheetOfWindow(dialog);
    if (!sheet || Offline(*sheet)) return;
    const DirectExchangeScope scope(sheet->PrinterName());
    for (const int edit : kTrackEdits) SetDlgItemTextW(dialog, edit, L"");
    // A printer that cannot be opened is not asked: nothing was read, and the status line
    // says the printer gave no answer.
    if (!scope.Opened()) {
        SetDlgItemTextW(dialog, IDC_TOOLS_STATUS, LoadModuleText(IDS_NO_RESPONSE).c_str());
        return;
    }
    Repaint(dialog);
    if (!AskUser(qf::ToolQuestion::kCardInFeeder)) return;
    ReadTickedTracks(dialog, scope.Get());
    Repaint(dialog);
}

void TrackBoxClicked(HWND dialog, int box) {
    const int track = box - IDC_TOOLS_TRACK1_BOX;
    EnableControl(dialog, kTrackEdits[track], IsDlgButtonChecked(dialog, box) == BST_CHECKED);
}

void TrackDataChanged(HWND dialog, int edit) { CheckTrackData(dialog, edit - IDC_TOOLS_TRACK1_DATA + 1); }
