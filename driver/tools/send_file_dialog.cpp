// The Send File dialog. The module never reads the file: the port side does, on the
// port instruction that names it.
#include "driver/tools/send_file_dialog.h"

#include <optional>
#include <string>

#include "driver/channel/printer_queries.h"
#include "driver/resources/resource.h"
#include "driver/state/sheet_state.h"
#include "driver/tools/tool_commands.h"
#include "driver/ui/dialog_controls.h"
#include "driver/ui/dialog_conventions.h"

namespace {

// The port side's reply to an instruction is not examined; it only needs room.
constexpr DWORD kInstructionReplyBytes = 128;

INT_PTR StartSendFile(HWND dialog, LPARAM initParam) {
    if (!OpenOnDeviceSheet(dialog, initParam, false)) return TRUE;
    EnableControl(dialog, IDC_SEND_PATH, false);
    EnableControl(dialog, IDC_SEND_STATUS, false);
    EnableControl(dialog, IDC_SEND_BUTTON, false);
    CheckRadioButton(dialog, IDC_SEND_PRN, IDC_SEND_TEXT, IDC_SEND_PRN);
    return TRUE;
}

// A chosen file can be sent, when the port side can be handed its name as it is. The
// status line is reset either way, so that the outcome of an earlier sending never stands
// beside another file.
void SelectFile(HWND dialog) {
    wchar_t path[kFilePathChars + 1] = {};
    if (ChooseFile(dialog, IDS_SEND_FILE_FILTER, path) && UsablePath(path)) {
        SetDlgItemTextW(dialog, IDC_SEND_PATH, path);
        EnableControl(dialog, IDC_SEND_BUTTON, true);
    }
    SetControlString(dialog, IDC_SEND_STATUS, IDS_FILE_CHOSEN);
}

// Hands the file to the port side: "PrintFile:" for a printer file, "sendcmds:" for a
// text file of commands. The status line tells the outcome.
void SendFileToPrinter(HWND dialog, bool* transferred) {
    DeviceSheetState* sheet = DeviceSheetOfWindow(dialog);
    if (!sheet) return;
    EnableControl(dialog, IDC_SEND_STATUS, true);
    const std::optional<std::string> path = UsableControlPath(dialog, IDC_SEND_PATH);
    if (!path) {
        SetControlString(dialog, IDC_SEND_STATUS, IDS_FILE_NOT_SENT);
        return;
    }
    SetControlString(dialog, IDC_SEND_STATUS, IDS_SENDING_FILE);
    UpdateWindow(dialog);
    const qf::PortTransfer transfer = IsDlgButtonChecked(dialog, IDC_SEND_PRN) == BST_CHECKED
                                          ? qf::PortTransfer::kPrinterFile
                                          : qf::PortTransfer::kCommandFile;
    // A path longer than the port side's buffer cannot name the file: nothing is sent.
    const std::optional<std::string> instruction = qf::PortInstruction(transfer, *path);
    char reply[kInstructionReplyBytes] = {};
    DWORD needed = 0;
    const bool sent = instruction && QueryNamedPrinter(sheet->PrinterName(), sheet->printer, *instruction, reply,
                                                       sizeof reply, &needed);
    *transferred = sent;
    SetControlString(dialog, IDC_SEND_STATUS, sent ? IDS_FILE_SENT : IDS_FILE_NOT_SENT);
}

INT_PTR SendFileCommand(HWND dialog, int id, int) {
    switch (id) {
    case IDC_SEND_SELECT:
        SelectFile(dialog);
        return TRUE;
    case IDC_SEND_BUTTON:
        RunSendButton(dialog, IDC_SEND_BUTTON, IDC_SEND_STATUS, IDS_FILE_SENT, IDS_FILE_NOT_SENT,
                      [dialog](bool* sent) { SendFileToPrinter(dialog, sent); });
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK SendFileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DialogShape kSendFile = [] {
        DialogShape shape;
        shape.closeId = IDCANCEL;
        shape.open = StartSendFile;
        shape.command = SendFileCommand;
        return shape;
    }();
    return RunDialogShape(kSendFile, dialog, message, wParam, lParam);
}
