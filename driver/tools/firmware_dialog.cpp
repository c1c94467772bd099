// The firmware download dialog and its offline job.
#include "driver/tools/firmware_dialog.h"

#include <winspool.h>

#include <optional>
#include <vector>

#include "driver/channel/commands.h"
#include "driver/channel/printer_queries.h"
#include "driver/platform/guard.h"
#include "driver/platform/owners.h"
#include "driver/resources/resource.h"
#include "driver/state/sheet_state.h"
#include "driver/tools/firmware_file.h"
#include "driver/tools/tool_commands.h"
#include "driver/ui/dialog_controls.h"
#include "driver/ui/dialog_conventions.h"

namespace {

constexpr DWORD kInstructionReplyBytes = 128;
constexpr UINT kJobErrorFlags = MB_OK | MB_ICONERROR | MB_SETFOREGROUND;

HANDLE OpenForReading(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// Up to kFirmwareClassifyBytes from the start of the file, as many as it has; none when
// a read fails.
std::optional<std::string> ReadFileStart(HANDLE file) {
    std::string start(qf::kFirmwareClassifyBytes, '\0');
    size_t got = 0;
    while (got < start.size()) {
        DWORD read = 0;
        if (!ReadFile(file, &start[got], static_cast<DWORD>(start.size() - got), &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        got += read;
    }
    start.resize(got);
    return start;
}

// One write of the job; true when the spooler took every byte.
bool WriteBlock(HANDLE printer, std::string_view bytes) {
    DWORD written = 0;
    return WritePrinter(printer, const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size()), &written) != 0 &&
           written == bytes.size();
}

// Writes the body and the trailer; false when the job must be aborted (a read error has
// been reported to the user; a refused write shows only as the failed download).
bool SendFirmwareBody(HANDLE printer, HANDLE file, uint32_t announced) {
    std::vector<char> block(qf::kFirmwareBlockBytes);
    uint64_t sent = 0;
    for (;;) {
        DWORD read = 0;
        const bool ok = ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &read, nullptr) != 0;
        switch (qf::NextFirmwareStep(announced, sent, ok, read)) {
        case qf::FirmwareStep::kWriteBlock:
            if (!WriteBlock(printer, std::string_view(block.data(), read))) return false;
            sent += read;
            break;
        case qf::FirmwareStep::kWriteTrailer:
            return WriteBlock(printer, qf::kFirmwareTrailer);
        case qf::FirmwareStep::kAbort:
            ShowMessage(IDS_CAPTION, IDS_FIRMWARE_READ_ERROR, kJobErrorFlags);
            return false;
        }
    }
}

// Classifies an open file by the start of its content and shows its type and check byte;
// a file that cannot be read, or that the printer does not take as firmware, is refused
// with a message. True when the printer takes it.
bool ShowFirmwareKind(HWND dialog, const qf::FileHandle& file) {
    // A file that cannot be read is not judged: the user is told it could not be read.
    const std::optional<std::string> start = ReadFileStart(file.Get());
    if (!start) {
        ShowMessage(IDS_CAPTION, IDS_FIRMWARE_READ_ERROR, kJobErrorFlags);
        return false;
    }
    const qf::FirmwareClass kind = qf::ClassifyFirmware(*start);
    if (kind.type == qf::FirmwareType::kRefused) {
        ShowMessage(IDS_CAPTION, IDS_FIRMWARE_REFUSED, MB_OK | MB_ICONERROR);
        return false;
    }
    SetControlString(dialog, IDC_FW_TYPE,
                     kind.type == qf::FirmwareType::kLaminator ? IDS_LAMINATOR_FIRMWARE : IDS_PRINTER_FIRMWARE);
    SetControlAnsiText(dialog, IDC_FW_CHECK, qf::CheckByteText(kind.checkByte));
    return true;
}

// Chooses a firmware file and shows its type and check byte; true when the file is one
// the printer takes. A file that cannot be opened is refused without a message; one whose
// name the port side cannot be handed as it is, with one.
bool CheckFirmwareFile(HWND dialog) {
    wchar_t path[kFilePathChars + 1] = {};
    if (!ChooseFile(dialog, IDS_FIRMWARE_FILTER, path)) return false;
    const std::optional<std::string> ansi = UsablePath(path);
    if (!ansi) return false;
    const qf::FileHandle file(OpenForReading(*ansi));
    if (!file.Valid() || !ShowFirmwareKind(dialog, file)) return false;
    SetDlgItemTextW(dialog, IDC_FW_PATH, path);
    return true;
}

// The file about to be sent, opened as `file`, classified now by Select's rules: the path
// box may have been edited, or the file changed on disk, since it was selected. False (the
// user told) when it could not be opened or is no firmware.
bool CheckFileToSend(HWND dialog, const qf::FileHandle& file) {
    if (!file.Valid()) {
        ShowMessage(IDS_CAPTION, IDS_FIRMWARE_OPEN_ERROR, kJobErrorFlags);
        return false;
    }
    return ShowFirmwareKind(dialog, file);
}

// Sends the file named in the path edit, when it is firmware, and reports the outcome in
// the status line.
void StartFirmwareDownload(HWND dialog, bool* transferred) {
    DeviceSheetState* sheet = DeviceSheetOfWindow(dialog);
    if (!sheet) return;
    EnableControl(dialog, IDC_FW_STATUS, true);
    // A typed path the port side cannot be handed as it is names no file: nothing is sent.
    const std::optional<std::string> typed = UsableControlPath(dialog, IDC_FW_PATH);
    if (!typed) {
        SetControlString(dialog, IDC_FW_STATUS, IDS_FIRMWARE_FAILED);
        return;
    }
    const std::string& path = *typed;
    // The checked file stays open, shared for reading only, while it is sent: nobody can
    // change, rename or delete it between the check and the port side's reading.
    const qf::FileHandle checked(OpenForReading(path));
    if (!CheckFileToSend(dialog, checked)) {
        SetControlString(dialog, IDC_FW_STATUS, IDS_FIRMWARE_FAILED);
        return;
    }
    SetControlString(dialog, IDC_FW_STATUS, IDS_FIRMWARE_SENDING);
    UpdateWindow(dialog);
    bool sent = false;
    const std::optional<std::string> instruction = qf::PortInstruction(qf::PortTransfer::kFirmware, path);
    if (!instruction) {
        // A path longer than the port side's buffer cannot name the file: no part of it is sent.
        ShowMessage(IDS_CAPTION, IDS_FIRMWARE_OPEN_ERROR, kJobErrorFlags);
    } else if (sheet->Settings().manualRibbon != 0) {
        sent = DownloadFirmwareJob(sheet->PrinterName(), path);
    } else {
        char reply[kInstructionReplyBytes] = {};
        DWORD needed = 0;
        sent = QueryNamedPrinter(sheet->PrinterName(), sheet->printer, *instruction, reply, sizeof reply, &needed);
    }
    if (!sent) {
        SetControlString(dialog, IDC_FW_STATUS, IDS_FIRMWARE_FAILED);
        return;
    }
    *transferred = true;
    SetControlString(dialog, IDC_FW_STATUS, IDS_FIRMWARE_UPDATING);
    UpdateWindow(dialog);
    SetControlString(dialog, IDC_FW_STATUS, IDS_FIRMWARE_SENT);
    ShowMessage(IDS_CAPTION, IDS_FIRMWARE_RESETTING, MB_OK);
}

INT_PTR StartFirmware(HWND dialog, LPARAM initParam) {
    if (!OpenOnDeviceSheet(dialog, initParam, true)) return TRUE;
    EnableControl(dialog, IDC_FW_STATUS, false);
    EnableControl(dialog, IDC_FW_PATH, false);
    EnableControl(dialog, IDC_FW_START, false);
    return TRUE;
}

void SelectPressed(HWND dialog) {
    bool accepted = false;
    qf::RunOrRecover([&] { accepted = CheckFirmwareFile(dialog); }, TellSystemError);
    if (!accepted) return;
    EnableControl(dialog, IDC_FW_START, true);
    EnableControl(dialog, IDC_FW_PATH, true);
}

INT_PTR FirmwareCommand(HWND dialog, int id, int) {
    switch (id) {
    case IDC_FW_SELECT:
        SelectPressed(dialog);
        return TRUE;
    case IDC_FW_START:
        RunSendButton(dialog, IDC_FW_START, IDC_FW_STATUS, IDS_FIRMWARE_SENT, IDS_FIRMWARE_FAILED,
                      [dialog](bool* sent) { StartFirmwareDownload(dialog, sent); });
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool DownloadFirmwareJob(const wchar_t* printerName, const std::string& path) {
    const qf::FileHandle file(OpenForReading(path));
    if (!file.Valid()) {
        ShowMessage(IDS_CAPTION, IDS_FIRMWARE_OPEN_ERROR, kJobErrorFlags);
        return false;
    }
    LARGE_INTEGER size = {};
    const std::optional<uint32_t> announced =
        GetFileSizeEx(file.Get(), &size) && size.QuadPart >= 0
            ? qf::FirmwareAnnouncedSize(static_cast<uint64_t>(size.QuadPart))
            : std::nullopt;
    if (!announced) {
        ShowMessage(IDS_CAPTION, IDS_FIRMWARE_SIZE_ERROR, kJobErrorFlags);
        return false;
    }
    qf::PrinterHandle printer;
    if (!printer.Open(printerName, PRINTER_ACCESS_USE)) return false;
    // A job the spooler does not start carries nothing: the download has failed.
    DOC_INFO_1W doc = {const_cast<LPWSTR>(L"VESTRIAVRLOFWDW"), nullptr, const_cast<LPWSTR>(L"RAW")};
    if (StartDocPrinterW(printer.Get(), 1, reinterpret_cast<LPBYTE>(&doc)) == 0) return false;
    StartPagePrinter(printer.Get());
    // The printer must never take a header whose body is short or different, nor a job
    // the spooler could not end: such a job is aborted and the download has failed.
    bool sent = false;
    try {
        sent = WriteBlock(printer.Get(), qf::FirmwareHeader(*announced)) &&
               SendFirmwareBody(printer.Get(), file.Get(), *announced);
        if (sent) {
            EndPagePrinter(printer.Get());
            sent = EndDocPrinter(printer.Get()) != 0;
        }
    } catch (...) {
        AbortPrinter(printer.Get());
        throw;
    }
    if (!sent) AbortPrinter(printer.Get());
    return sent;
}

INT_PTR CALLBACK FirmwareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DialogShape kFirmware = [] {
        DialogShape shape;
        shape.closeId = IDCANCEL;
        shape.open = StartFirmware;
        shape.command = FirmwareCommand;
        return shape;
    }();
    return RunDialogShape(kFirmware, dialog, message, wParam, lParam);
}
