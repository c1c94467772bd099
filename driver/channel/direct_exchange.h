// The direct-printing exchange of the Tools dialog: the printer opened for the exchange
// and switched to direct printing while it runs, so that the printer answers the
// dialog's questions and commands at once instead of after the queue's jobs.
#pragma once

#include <windows.h>

#include <string_view>

// An open exchange: its own printer handle for the questions and commands (opened with
// the right to print), the handle of the direct-printing switch (opened for
// administering; none when the platform refuses the user that right, and the exchange
// then runs without the switch), and whether this exchange switched the printer to
// direct printing (and so must switch it back), and whether the printer prints directly
// while the exchange runs (this exchange switched it, or it already did).
struct DirectExchange {
    HANDLE printer;
    HANDLE switcher;
    bool switched;
    bool direct;
};

// Sets the printer's direct-printing attribute when it is clear and returns true when this
// call set it. Only that one bit changes: the printer's record is read just before the
// store and handed back without its default settings and security descriptor, so every
// other field (name, port, sharing, the other attributes) stays as the printer holds it,
// whatever another page changed since this window opened.
bool EnterDirectMode(HANDLE printer);
// Clears the bit again when `switched` (this exchange set it), reading the record afresh
// first. The printer must not stay in direct printing: a refused store is tried once more,
// and when that fails too the user is told that the printer was left in direct printing.
void LeaveDirectMode(HANDLE printer, bool switched);

// Opens the exchange on the printer named `printerName`; false (and nothing sent or
// stored) when the printer cannot be opened to print. A user who may not administer the
// printer gets the exchange without the switch: unless the printer already prints
// directly, its commands then wait for the jobs already queued (`direct` is false).
bool OpenDirectExchange(const wchar_t* printerName, DirectExchange* exchange);
// Switches the printer back when this exchange switched it, and closes its handles.
void CloseDirectExchange(const DirectExchange& exchange);

// A query inside the exchange: the reply goes to `reply`, its count to `needed`; no kept
// reply is deleted (the caller deletes the form it needs). True when the call succeeded.
bool AskInExchange(const DirectExchange& exchange, std::string_view command, char* reply, DWORD size,
                   DWORD* needed);
// Writes `bytes` to the exchange's printer handle outside any document; the result is
// not used.
void WriteOutsideJob(const DirectExchange& exchange, std::string_view bytes);

// Owns a direct-mode exchange: opened at construction, and closed (the attribute put
// back, the printer closed) when the scope ends, on every path.
class DirectExchangeScope {
public:
    explicit DirectExchangeScope(const wchar_t* printerName) : opened_(OpenDirectExchange(printerName, &exchange_)) {}
    ~DirectExchangeScope() {
        if (opened_) CloseDirectExchange(exchange_);
    }
    DirectExchangeScope(const DirectExchangeScope&) = delete;
    DirectExchangeScope& operator=(const DirectExchangeScope&) = delete;
    bool Opened() const { return opened_; }
    const DirectExchange& Get() const { return exchange_; }

private:
    DirectExchange exchange_{};
    bool opened_;
};
