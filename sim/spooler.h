// The simulated spooler: printers with their stored settings and driver files, open
// handles, and logs of what the driver asked of it. Its functions have the spooler's
// signatures and are reached through the driver's rewired import table.
#pragma once

#include <windows.h>
#include <winspool.h>

#include "sim/card_printer.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

// The fields of a printer's record that the platform's own pages change (General,
// Sharing, Ports, Advanced) and that a level-2 store sets, each as the spooler keeps it.
struct PrinterFields {
    std::wstring shareName;
    std::wstring portName = L"FILE:";
    std::wstring comment;
    std::wstring location;
    std::wstring sepFile;
    std::wstring printProcessor = L"WinPrint";
    std::wstring datatype = L"RAW";
    std::wstring parameters;
    DWORD priority = 1;
    DWORD defaultPriority = 0;
    DWORD startTime = 0;
    DWORD untilTime = 0;
};

struct Printer {
    std::wstring name;
    DWORD attributes = PRINTER_ATTRIBUTE_LOCAL;
    PrinterFields fields;
    std::vector<uint8_t> devmode;    // the stored default DEVMODE; empty: none
    std::vector<uint8_t> security;   // the self-relative security descriptor
    std::wstring driverName = L"Varlo Q862k";
    std::wstring driverPath;       // the driver file (the folder of its pictures)
    std::wstring dataFile;         // the defaults block; may name a missing file
    bool openable = true;          // false: OpenPrinterW fails for this name
    // The name the printer is shared under (empty: not shared). OpenPrinterW finds the
    // printer by it too, and by either name after the server's ("\\CARDHOST\name"); the
    // printer's information always reports `name`.
    std::wstring shareName;
    // true: GetPrinterW hands out the stored DEVMODE bytes as they are, even when its
    // header claims more (a damaged stored default, or an untrusted print server)
    bool devmodeAsStored = false;
    bool jobsRefused = false;      // true: StartDocPrinterW fails (a paused or full queue)
    bool storesFail = false;       // true: SetPrinterW fails (a spooler error)
    // Runs as each printer-data question reaches the printer: what another window or
    // program does to the printer while the driver waits for an answer.
    std::function<void()> whileAsked;
    // Runs as a job of the printer ends: what another window or program does to the
    // printer while the driver's job goes out.
    std::function<void()> whenJobEnds;
    // Runs after each read of the printer's record: what another window does between a
    // store's read and its write.
    std::function<void()> afterRead;
    CardPrinter card;              // the printer behind the port
};

struct SetPrinterCall {
    std::wstring printer;  // the printer's name before the store
    DWORD level = 0;
    DWORD command = 0;
    // Level 2: what the record handed in set; level 8 (the default DEVMODE alone): the
    // printer's name, attributes and fields as they stay.
    std::wstring name;
    DWORD attributes = 0;
    PrinterFields fields;
    std::vector<uint8_t> devmode;  // the DEVMODE handed in, dmSize + dmDriverExtra bytes
    bool securityWritten = false;  // a security descriptor was handed in
};

// What the stand-in served: every spooler call, and among them the printer-information
// reads; the driver's registry opens apart.
struct ServedCalls {
    int calls = 0;               // every spooler call, whatever it was
    int printerSizeQueries = 0;  // GetPrinterW without a buffer
    int printerReads = 0;        // GetPrinterW with a buffer
    int registryOpens = 0;       // the driver's RegOpenKeyExW
};

struct RawJob {
    std::wstring printer;
    std::wstring documentName;
    std::wstring datatype;
    std::vector<std::vector<uint8_t>> blocks;  // each WritePrinter call
    int pages = 0;
    bool ended = false;
    bool aborted = false;  // AbortPrinter: the job is deleted and never printed
};

// A WritePrinter call on a handle without a document.
struct LooseWrite {
    std::wstring printer;
    std::vector<uint8_t> bytes;
};

class Spooler {
public:
    static Spooler& Get();

    // Every stand-in call holds this while it works, as the platform's spooler serialises
    // its own records: the driver is called on many threads at once.
    std::recursive_mutex& Lock() { return lock_; }

    // Forgets every printer, handle and log and lays out a fresh driver directory
    // holding the installation data from `packageDir`.
    void Reset(const std::wstring& packageDir);

    // Adds a printer whose driver files are those of the fresh driver directory.
    Printer& AddPrinter(const std::wstring& name);
    Printer* Find(const std::wstring& name);
    // The printer OpenPrinterW opens for `name`: by its name or share name, alone or after
    // this server's name.
    Printer* Resolve(const std::wstring& name);
    static constexpr const wchar_t* kServerName = L"\\\\CARDHOST";

    const std::wstring& DriverDirectory() const { return driverDir_; }
    // A file in the driver directory's version-2 folder (the data file, the ribbon
    // catalogue), and one in the folder of the driver file itself (a current
    // installation's version-3 folder).
    std::wstring DriverFile(const std::wstring& name) const;
    std::wstring DriverFolderFile(const std::wstring& name) const;
    int OpenHandleCount() const { return static_cast<int>(handles_.size()); }

    // The registry key under which the platform keeps a printer's replies.
    static std::wstring StoredRepliesKey(const std::wstring& printer);
    // The kept reply of `printer` under `valueName`, if there is one.
    bool HasStoredReply(const std::wstring& printer, const std::wstring& valueName) const;
    // Keeps `data` under `valueName`, as the platform does with a reply.
    void StoreReply(const std::wstring& printer, const std::wstring& valueName, const std::string& data);

    // Who is asking: an ordinary user, whom the platform gives the right to print
    // (PRINTER_ACCESS_USE) and refuses administering. An open that asks for administering,
    // ownership, permissions or deletion is then refused with ERROR_ACCESS_DENIED; an open
    // without PRINTER_DEFAULTS gets what the user may have (an administrator all access,
    // an ordinary user the right to print), as the handle the spooler hands a sheet does.
    // In either mode a store on a handle opened without PRINTER_ACCESS_ADMINISTER is
    // refused, as the platform refuses it.
    bool standardUser = false;
    std::vector<SetPrinterCall> setPrinterLog;
    int refusedStores = 0;  // SetPrinterW calls refused for want of administering
    // The driver's registry opens that asked to write and were refused: an ordinary user
    // may read the machine's printer keys (the kept replies among them) but not change them.
    int refusedRegistryWrites = 0;
    int opens = 0;  // OpenPrinterW calls that opened a printer
    ServedCalls served;
    std::vector<RawJob> jobs;
    std::vector<LooseWrite> looseWrites;

    // Stand-in plumbing: a handle is an index into handles_ offset by a tag.
    // A handle names its printer itself, so that it still reaches the printer after a
    // store renamed it.
    struct Handle {
        Printer* printer;
        int job = -1;  // index into jobs while a document is open
        ACCESS_MASK access = PRINTER_ALL_ACCESS;  // what the open was granted
    };
    Handle* Lookup(HANDLE handle);
    HANDLE Open(Printer& printer, ACCESS_MASK access);
    bool Close(HANDLE handle);

private:
    std::recursive_mutex lock_;
    // A deque keeps every printer where it is while more are added.
    std::deque<Printer> printers_;
    std::vector<Handle*> handles_;
    std::wstring driverDir_;
    std::wstring packageDir_;
    int generation_ = 0;
};

// The stand-ins with the spooler's signatures.
BOOL WINAPI SimOpenPrinterW(LPWSTR name, LPHANDLE handle, LPPRINTER_DEFAULTSW defaults);
BOOL WINAPI SimClosePrinter(HANDLE handle);
BOOL WINAPI SimGetPrinterW(HANDLE handle, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed);
BOOL WINAPI SimSetPrinterW(HANDLE handle, DWORD level, LPBYTE buffer, DWORD command);
BOOL WINAPI SimGetPrinterDriverW(HANDLE handle, LPWSTR environment, DWORD level, LPBYTE buffer,
                                 DWORD size, LPDWORD needed);
BOOL WINAPI SimGetPrinterDriverDirectoryW(LPWSTR server, LPWSTR environment, DWORD level,
                                          LPBYTE buffer, DWORD size, LPDWORD needed);
// The driver's registry opens: an open that asks to change a key (its values, subkeys,
// permissions or the key itself) is refused with ERROR_ACCESS_DENIED for an ordinary
// user, whose only keys the driver opens are the machine's printer keys; every other
// open is the platform's.
LONG WINAPI SimRegOpenKeyExW(HKEY parent, LPCWSTR subKey, DWORD options, REGSAM desired, PHKEY result);
DWORD WINAPI SimGetPrinterDataW(HANDLE handle, LPWSTR valueName, LPDWORD type, LPBYTE data,
                                DWORD size, LPDWORD needed);
DWORD WINAPI SimStartDocPrinterW(HANDLE handle, DWORD level, LPBYTE docInfo);
BOOL WINAPI SimStartPagePrinter(HANDLE handle);
BOOL WINAPI SimWritePrinter(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD written);
BOOL WINAPI SimEndPagePrinter(HANDLE handle);
BOOL WINAPI SimEndDocPrinter(HANDLE handle);
BOOL WINAPI SimAbortPrinter(HANDLE handle);

}  // namespace sim
