// The Send File dialog. The module never reads the file: the port side does, on the
// port instruction that names it.
#include "driver/tools/send_file_dialog.h"

#include <optional>
#include <string>

#include "driver/channel/printer_queries.h"
#include "driver/entry/dialog_conventions.h"
#include "driver/entry/guard.h"
#include "driver/entry/owners.h"
#include "driver/resources/resource.h"
#include "driver/sheets/sheet_state.h"
#include "driver/entry/dialog_controls.h"
#include "driver/tools/tool_commands.h"

namespace {

// The port side's reply to an instruction is not examined; it only needs room.
constexpr DWORD kInstructionReplyBytes = 128;

DeviceSheetState* SheetOf(HWND dialog) {
    return DeviceSheetOf(static_cast<ULONG_PTR>(GetWindowLongPtrW(dialog, DWLP_USER)));
}

void Enable(HWND dialog, int id, bool enabled) { EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE); }

void StartSendFile(HWND dialog, LPARAM initParam) {
    DeviceSheetState* sheet = DeviceSheetOfDialog(initParam);
    if (!sheet) {
        EndDialog(dialog, IDCANCEL);
        return;
    }
    SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(sheet->id));
    Enable(dialog, IDC_SEND_PATH, false);
    Enable(dialog, IDC_SEND_STATUS, false);
    Enable(dialog, IDC_SEND_BUTTON, false);
    CheckRadioButton(dialog, IDC_SEND_PRN, IDC_SEND_TEXT, IDC_SEND_PRN);
}

// A chosen file can be sent. The status line is reset either way, so that the outcome of
// an earlier sending never stands beside another file.
void SelectFile(HWND dialog) {
    wchar_t path[kFilePathChars + 1] = {};
    if (ChooseFile(dialog, IDS_SEND_FILE_FILTER, path)) {
        SetDlgItemTextW(dialog, IDC_SEND_PATH, path);
        Enable(dialog, IDC_SEND_BUTTON, true);
    }
    SetControlString(dialog, IDC_SEND_STATUS, IDS_FILE_CHOSEN);
}

// Hands the file to the port side: "PrintFile:" for a printer file, "sendcmds:" for a
// text file of commands. The status line tells the outcome.
void SendFileToPrinter(HWND dialog, bool* transferred) {
    DeviceSheetState* sheet = SheetOf(dialog);
    if (!sheet) return;
    const std::string path = WholeControlAnsiText(dialog, IDC_SEND_PATH);
    Enable(dialog, IDC_SEND_STATUS, true);
    SetControlString(dialog, IDC_SEND_STATUS, IDS_SENDING_FILE);
    UpdateWindow(dialog);
    const qf::PortTransfer transfer = IsDlgButtonChecked(dialog, IDC_SEND_PRN) == BST_CHECKED
                                          ? qf::PortTransfer::kPrinterFile
                                          : qf::PortTransfer::kCommandFile;
    // A path longer than the port side's buffer cannot name the file: nothing is sent.
    const std::optional<std::string> instruction = qf::PortInstruction(transfer, path);
    char reply[kInstructionReplyBytes] = {};
    DWORD needed = 0;
    const bool sent = instruction && QueryNamedPrinter(sheet->printerName, sheet->printer, *instruction, reply,
                                                       sizeof reply, &needed);
    *transferred = sent;
    SetControlString(dialog, IDC_SEND_STATUS, sent ? IDS_FILE_SENT : IDS_FILE_NOT_SENT);
}

// The button is back and the status tells the failure on every path, also when the
// sending fails part-way (an allocation).
void SendPressed(HWND dialog) {
    const qf::DisabledWhile pressed(dialog, IDC_SEND_BUTTON);
    bool transferred = false;
    qf::RunOrRecover([&] { SendFileToPrinter(dialog, &transferred); },
                     [&] { SetControlString(dialog, IDC_SEND_STATUS, transferred ? IDS_FILE_SENT : IDS_FILE_NOT_SENT); });
}

INT_PTR SendFileCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_SEND_SELECT:
        SelectFile(dialog);
        return TRUE;
    case IDC_SEND_BUTTON:
        SendPressed(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK SendFileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return qf::CallGuarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (HandleCloseRequest(dialog, message, wParam, IDCANCEL)) return TRUE;
        switch (message) {
        case WM_INITDIALOG:
            StartSendFile(dialog, lParam);
            return TRUE;
        case WM_COMMAND:
            return SendFileCommand(dialog, LOWORD(wParam));
        default:
            return FALSE;
        }
    });
}
