// What the Tools dialog's files share: its controls, the sheet's mode, and the
// parts of it that live in files of their own (the offsets and the track reading).
#pragma once

#include <windows.h>

#include <string_view>

#include "driver/channel/direct_exchange.h"
#include "driver/channel/printer_queries.h"
#include "driver/resources/resource.h"
#include "driver/state/sheet_state.h"
#include "driver/tools/tool_commands.h"
#include "driver/ui/dialog_controls.h"

inline constexpr int kTrackBoxes[3] = {IDC_TOOLS_TRACK1_BOX, IDC_TOOLS_TRACK2_BOX, IDC_TOOLS_TRACK3_BOX};
inline constexpr int kTrackEdits[3] = {IDC_TOOLS_TRACK1_DATA, IDC_TOOLS_TRACK2_DATA, IDC_TOOLS_TRACK3_DATA};

inline bool Offline(DeviceSheetState& sheet) { return sheet.Settings().manualRibbon != 0; }
inline void SetStatus(HWND dialog, std::string_view text) { SetControlAnsiText(dialog, IDC_TOOLS_STATUS, text); }
inline void Repaint(HWND dialog) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The questions a command asks the user before it goes out.
bool AskUser(qf::ToolQuestion question);

// Offsets (tools_offsets.cpp). Reads the model and the two offsets inside `exchange` and
// sets the offset controls, as it returns them; at the dialog's start also the encoding
// group and the lists.
qf::OffsetControls RefreshOffsetsIn(HWND dialog, DeviceSheetState& sheet, const DirectExchange& exchange,
                                    bool atStart);
// The same in an exchange of its own, when the dialog opens. A printer that cannot be
// opened leaves the dialog as its template has it.
void RefreshOffsets(HWND dialog, bool atStart);
// An offset above the highest the printer takes loses its last character, after a message.
void CheckOffsetLimit(HWND dialog, int edit);

// Track reading (tools_tracks.cpp). Reads the ticked tracks of a card in the encoder,
// after the user says a card is there.
void ReadTracks(HWND dialog);
// A tick enables the track's edit; the edit's text is what Encode sends.
void TrackBoxClicked(HWND dialog, int box);
// The track data check acts on a track edit at every change of its text (tracks 1..3):
// it leaves only the characters and the length the track allows.
void TrackDataChanged(HWND dialog, int edit);
