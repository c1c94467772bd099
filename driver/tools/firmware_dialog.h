// The firmware download: a firmware file chosen and classified, then sent to the printer,
// by the port side when the printer answers, or as a RAW job in the offline configuration.
#pragma once

#include <windows.h>

#include <string>

// Dialog procedure of template 116, run by the device sheet's "F/W Download" push
// button. WM_INITDIALOG's lParam is the sheet's callback record; without a live device
// sheet the dialog ends at once.
INT_PTR CALLBACK FirmwareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Sends the firmware file at `path` (ANSI) to `printerName` as the job "VESTRIAVRLOFWDW":
// header with the file's size, the file, trailer. The file is opened and sized before
// the printer is opened, so a file that cannot be read starts no job; a read error, a
// file that yields other than the announced bytes or a write the spooler refuses aborts
// the job. True when the whole file went out in a job the spooler started.
bool DownloadFirmwareJob(const wchar_t* printerName, const std::string& path);
