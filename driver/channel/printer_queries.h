// Questions to the card printer: the spooler's printer-data call, deletion of the replies
// the platform keeps, and the direct-printing exchange of the Tools dialog. Commands that
// go out as print jobs are driver/channel/raw_jobs.h.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>
#include <string_view>

// Sends `command` (a printer command or a port instruction) on the printer named
// `printerName`, or on `fallback` when that name is empty or cannot be opened: the
// dialogs of a sheet ask that sheet's printer. The reply goes to `reply` (its first byte
// is zeroed first) and its byte count to `needed`. The kept reply is deleted when the
// call succeeded. True when the call succeeded; whether the reply is complete is the
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
// printer's PrinterDriverData key. Every failure is silent.
void DeleteStoredReply(HANDLE printer, const wchar_t* valueName);

// Deletes the kept reply named by the query's own value name (QueryValueName), or by the
// command's text widened to UTF-16, one unit per byte.
void DeleteStoredQueryReply(HANDLE printer, std::string_view command);
void DeleteStoredReplyText(HANDLE printer, std::string_view command);

// Switches the printer described by `record` to direct printing for an exchange and
// returns its attributes as they were; LeaveDirectMode puts them back. Only the
// attributes are stored, with a debugger trace, and only when they change: the printer's
// default settings stay as the printer holds them, whatever `record` read earlier.
DWORD EnterDirectMode(HANDLE printer, PRINTER_INFO_2W* record);
void LeaveDirectMode(HANDLE printer, PRINTER_INFO_2W* record, DWORD remembered);

// A direct-mode exchange: the printer of `record` opened with all access and switched to
// direct printing while the exchange is open.
struct DirectExchange {
    HANDLE printer;
    PRINTER_INFO_2W* record;
    DWORD remembered;
};
// Opens the exchange; false (and nothing sent or stored) when the printer cannot be opened.
bool OpenDirectExchange(PRINTER_INFO_2W* record, DirectExchange* exchange);
// Puts the attributes back and closes the printer.
void CloseDirectExchange(const DirectExchange& exchange);
// A query inside the exchange: the reply goes to `reply`, its count to `needed`; no kept
// reply is deleted (the caller deletes the form it needs). True when the call succeeded.
bool AskInExchange(const DirectExchange& exchange, std::string_view command, char* reply, DWORD size,
                   DWORD* needed);
// Writes `bytes` to the exchange's printer handle outside any document; the result is
// not used.
void WriteOutsideJob(const DirectExchange& exchange, std::string_view bytes);
