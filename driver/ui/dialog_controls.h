// What the module's dialogs share: texts between their controls and the 8-bit text the
// printer and the port side take, texts of the string table, and the open-file dialog
// with a filter from the string table.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "driver/platform/guard.h"
#include "driver/platform/owners.h"

// The longest path the open-file dialog returns and the dialogs read back, in characters.
constexpr int kFilePathChars = 260;

// `text` in the ANSI code page.
std::string AnsiText(const wchar_t* text);
// A file path in the ANSI code page, the form the port side and the 8-bit file functions
// take, when every character of it has its own there; none when one has not. A best-fit
// stand-in ("/" for U+2215, "A" for a full-width letter) would name another file.
std::optional<std::string> ExactAnsiPath(const wchar_t* path);
// A path the user chose (`path`) or typed (control `id`'s whole text) as ExactAnsiPath
// gives it; a path it refuses is told to the user (the file cannot be used) and none is
// returned.
std::optional<std::string> UsablePath(const wchar_t* path);
std::optional<std::string> UsableControlPath(HWND dialog, int id);
// Control `id`'s text, at most `chars` characters, in the ANSI code page.
std::string ControlAnsiText(HWND dialog, int id, size_t chars);
// Shows 8-bit text of the ANSI code page in control `id`.
void SetControlAnsiText(HWND dialog, int id, std::string_view text);
// String `stringId` of the module.
std::wstring LoadModuleText(UINT stringId);
// String `stringId` of the module in the ANSI code page, for the fields that show it
// beside the printer's 8-bit text.
// The printer's bytes (8-bit text in the system's ANSI code page) as the user reads them.
std::wstring PrinterText(std::string_view bytes);

// Enables or disables control `id`.
void EnableControl(HWND dialog, int id, bool enabled);

// A settings dialog opened for a user who may not change what it sets: its settings are
// shown, but every control that changes or applies them is disabled (all but the static
// texts, the group boxes, `closeId`, Help and the controls in `kept`, which only show
// another view and keep the enabling the dialog gave them), `closeId` becomes the default
// button so that Enter closes, and the line IDC_ADMIN_NOTICE says that an administrator
// can change them. A dialog that refills its controls calls it again afterwards.
void ShowSettingsViewOnly(HWND dialog, int closeId, std::initializer_list<int> kept = {});

// Shows string `stringId` in control `id`.
void SetControlString(HWND dialog, int id, UINT stringId);

// A button that sends something to the printer: it is disabled while `send` runs, and the
// status line `statusId` tells the outcome on every path, also when the sending fails
// part-way (an allocation): `send(&sent)` sets `sent` once the printer has it, and the
// status then says `sentText`, else `failedText`.
template <typename Send>
void RunSendButton(HWND dialog, int buttonId, int statusId, UINT sentText, UINT failedText, Send&& send) {
    const qf::DisabledWhile pressed(dialog, buttonId);
    bool sent = false;
    qf::RunOrRecover([&] { send(&sent); },
                     [&] { SetControlString(dialog, statusId, sent ? sentText : failedText); });
}

// Asks the user for an existing or new file with the open-file dialog: the filter is
// string `filterId` (display text and pattern, each followed by '|'), the default
// extension `defaultExtension`, short names, a prompt before a missing file is created.
// The dialog opens with `path` in its name box (empty for a new choice; the name just
// refused when the caller asks again). True with the chosen path in `path`
// (kFilePathChars characters and a zero) on OK. When the dialog's filter cannot be made
// (memory running short) the user is told "System Error" and false is returned.
bool ChooseFile(HWND owner, UINT filterId, wchar_t* path, const wchar_t* defaultExtension = L"bin");
