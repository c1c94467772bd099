// Questions to the card printer: the spooler's printer-data call and deletion of the
// replies the platform keeps. The Tools dialog's direct-printing exchange is
// driver/channel/direct_exchange.h; commands that go out as print jobs are
// driver/channel/raw_jobs.h.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>
#include <string_view>

// Opens the printer named `name` for questions, port instructions and jobs, asking only
// for the right to print that every such user has; nullptr when it cannot be opened.
HANDLE OpenPrinterForQuestions(const wchar_t* name);

// The printer-data call with the command's bytes as value name `name` (QueryValueName):
// the reply goes to `reply`, its count to `needed`. The spooler's result code.
DWORD AskPrinterPort(HANDLE printer, const std::u16string& name, char* reply, DWORD size, DWORD* needed);

// Sends `command` (a printer command or a port instruction) on the printer named
// `printerName`, or on `fallback` when that name is empty or cannot be opened: the
// dialogs of a sheet ask that sheet's printer. The reply goes to `reply` (its first byte
// is zeroed first) and its byte count to `needed`. The kept reply is deleted when the
// call succeeded, under the key of `printerName` when the printer was opened by it: the
// name is the one the module keeps the printer by (the spooler's name for it), as every
// sheet and dialog hands it, so no read of the printer's record is needed to find the key. True when the call succeeded; whether the reply is complete is the
// caller's check (CheckReply).
bool QueryNamedPrinter(const wchar_t* printerName, HANDLE fallback, std::string_view command, char* reply,
                       DWORD size, DWORD* needed);

// The same on the open printer `printer` (a sheet's handle, or one opened for the
// question); the kept reply is deleted after every call.
bool QuerySheetPrinter(HANDLE printer, std::string_view command, char* reply, DWORD size, DWORD* needed);

// Asks `printer` with a reply buffer of `replySize` bytes: true with the answer (without
// its ACK) in `text` when the reply is complete. `called`, when given, tells whether the
// printer-data call itself succeeded.
bool AskSheetPrinter(HANDLE printer, std::string_view command, DWORD replySize, std::string* text,
                     bool* called = nullptr);

// Deletes the printer-data value `valueName` that the platform may keep under the
// printer's PrinterDriverData key: the key of `printerName`, the printer's name as the
// spooler reports it, when the caller knows it; else the printer's information is read
// for it. Every failure is silent.
void DeleteStoredReply(HANDLE printer, const wchar_t* valueName, const wchar_t* printerName = nullptr);

// Deletes the kept reply named by the query's own value name (QueryValueName), or by the
// command's text widened to UTF-16, one unit per byte.
void DeleteStoredQueryReply(HANDLE printer, std::string_view command);
void DeleteStoredReplyText(HANDLE printer, std::string_view command);
