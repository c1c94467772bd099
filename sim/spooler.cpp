// The simulated spooler.
#include "sim/spooler.h"

#include "sim/ui_standins.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace sim {
namespace {

const wchar_t* const kPackageFiles[] = {L"qf862k.dat", L"qf862rib.ini", L"qf862k.bmp", L"VrloLogo.bmp"};
const wchar_t* const kDriverFolderFiles[] = {L"qf862k.bmp", L"VrloLogo.bmp"};
constexpr wchar_t kDataFileName[] = L"qf862k.dat";
// The environment of the running program: the platform keeps 32-bit and 64-bit drivers apart.
const wchar_t* const kEnvironment = sizeof(void*) == 8 ? L"Windows x64" : L"Windows NT x86";

// A security descriptor as the spooler keeps one for a new printer: self-relative, no
// owner and no access list (everyone may do everything).
std::vector<uint8_t> NewPrinterSecurity() {
    SECURITY_DESCRIPTOR absolute;
    InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION);
    DWORD size = 0;
    MakeSelfRelativeSD(&absolute, nullptr, &size);
    std::vector<uint8_t> bytes(size ? size : sizeof absolute);
    if (!MakeSelfRelativeSD(&absolute, bytes.data(), &size)) bytes.clear();
    return bytes;
}

void RemoveTree(const std::wstring& dir) {
    if (dir.empty()) return;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = dir + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\");
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

// Lays out strings and blocks after a fixed record in a caller's buffer, from the end
// of the record on, each on a 4-byte boundary.
class Packer {
public:
    Packer(BYTE* buffer, DWORD fixed) : buffer_(buffer), used_(fixed) {}
    wchar_t* String(const std::wstring& text) {
        return static_cast<wchar_t*>(Block(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
    }
    void* Block(const void* data, size_t size) {
        used_ = (used_ + 3) & ~3u;
        void* at = buffer_ ? buffer_ + used_ : nullptr;
        if (buffer_) std::memcpy(at, data, size);
        used_ += static_cast<DWORD>(size);
        return at;
    }
    DWORD Used() const { return used_; }

private:
    BYTE* buffer_;
    DWORD used_;
};

// The bytes a DEVMODE occupies as the spooler copies it: dmSize + dmDriverExtra, or
// what was stored when that is longer.
std::vector<uint8_t> SpooledDevmode(const std::vector<uint8_t>& stored) {
    std::vector<uint8_t> copy = stored;
    if (copy.size() >= offsetof(DEVMODEW, dmDriverExtra) + sizeof(WORD)) {
        DEVMODEW head;
        std::memcpy(&head, copy.data(), std::min(copy.size(), sizeof head));
        const size_t full = size_t(head.dmSize) + head.dmDriverExtra;
        if (full > copy.size()) copy.resize(full, 0);
    }
    return copy;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

template <typename Fill>
BOOL Marshal(DWORD fixed, BYTE* buffer, DWORD size, LPDWORD needed, Fill fill) {
    Packer sizing(nullptr, fixed);
    fill(sizing, nullptr);
    if (needed) *needed = sizing.Used();
    if (!buffer || size < sizing.Used()) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memset(buffer, 0, sizing.Used());
    Packer packer(buffer, fixed);
    fill(packer, buffer);
    return TRUE;
}

}  // namespace

Spooler& Spooler::Get() {
    static Spooler spooler;
    return spooler;
}

void Spooler::Reset(const std::wstring& packageDir) {
    for (Handle* handle : handles_) delete handle;
    handles_.clear();
    printers_.clear();
    setPrinterLog.clear();
    standardUser = false;
    refusedStores = 0;
    refusedRegistryWrites = 0;
    opens = 0;
    served = ServedCalls{};
    jobs.clear();
    looseWrites.clear();
    RemoveTree(driverDir_);

    packageDir_ = packageDir;
    if (!packageDir_.empty() && packageDir_.back() != L'\\') packageDir_ += L'\\';
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    driverDir_ = std::wstring(temp) + L"qfsim-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++generation_) + L"\\";
    CreateDirectoryW(driverDir_.c_str(), nullptr);
    CreateDirectoryW((driverDir_ + L"2").c_str(), nullptr);
    CreateDirectoryW((driverDir_ + L"3").c_str(), nullptr);
    for (const wchar_t* file : kPackageFiles)
        CopyFileW((packageDir_ + file).c_str(), DriverFile(file).c_str(), FALSE);
    // The driver's own folder holds its pictures; the ribbon catalogue lies in the
    // version-2 folder only, as an older installation leaves it (a test puts one beside
    // the driver file where it needs one).
    for (const wchar_t* file : kDriverFolderFiles)
        CopyFileW((packageDir_ + file).c_str(), (driverDir_ + L"3\\" + file).c_str(), FALSE);
}

std::wstring Spooler::DriverFile(const std::wstring& name) const { return driverDir_ + L"2\\" + name; }
std::wstring Spooler::DriverFolderFile(const std::wstring& name) const { return driverDir_ + L"3\\" + name; }

Printer& Spooler::AddPrinter(const std::wstring& name) {
    Printer printer;
    printer.name = name;
    printer.driverPath = DriverFolderFile(L"qf862kui.dll");
    printer.dataFile = DriverFile(kDataFileName);
    printer.security = NewPrinterSecurity();
    printers_.push_back(printer);
    return printers_.back();
}

Printer* Spooler::Find(const std::wstring& name) {
    for (Printer& printer : printers_)
        if (lstrcmpiW(printer.name.c_str(), name.c_str()) == 0) return &printer;
    return nullptr;
}

Printer* Spooler::Resolve(const std::wstring& name) {
    std::wstring local = name;
    const std::wstring server = std::wstring(kServerName) + L"\\";
    if (local.size() > server.size() && lstrcmpiW(local.substr(0, server.size()).c_str(), server.c_str()) == 0)
        local = local.substr(server.size());
    if (Printer* printer = Find(local)) return printer;
    for (Printer& printer : printers_)
        if (!printer.shareName.empty() && lstrcmpiW(printer.shareName.c_str(), local.c_str()) == 0) return &printer;
    return nullptr;
}

Spooler::Handle* Spooler::Lookup(HANDLE handle) {
    for (Handle* open : handles_)
        if (open == handle) return open;
    return nullptr;
}

HANDLE Spooler::Open(Printer& printer, ACCESS_MASK access) {
    handles_.push_back(new Handle{&printer, -1, access});
    return handles_.back();
}

bool Spooler::Close(HANDLE handle) {
    auto at = std::find(handles_.begin(), handles_.end(), handle);
    if (at == handles_.end()) return false;
    delete *at;
    handles_.erase(at);
    return true;
}

namespace {

Printer* PrinterOf(HANDLE handle, Spooler::Handle** open = nullptr) {
    Spooler::Handle* found = Spooler::Get().Lookup(handle);
    if (open) *open = found;
    return found ? found->printer : nullptr;
}

}  // namespace

BOOL WINAPI SimOpenPrinterW(LPWSTR name, LPHANDLE handle, LPPRINTER_DEFAULTSW defaults) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    if (!handle) return Fail(ERROR_INVALID_PARAMETER);
    *handle = nullptr;
    if (!name) return Fail(ERROR_INVALID_PRINTER_NAME);
    Printer* printer = Spooler::Get().Resolve(name);
    if (!printer || !printer->openable) return Fail(ERROR_INVALID_PRINTER_NAME);
    constexpr ACCESS_MASK kAdministering = PRINTER_ACCESS_ADMINISTER | WRITE_DAC | WRITE_OWNER | DELETE;
    const ACCESS_MASK asked = defaults ? defaults->DesiredAccess : 0;
    const bool standardUser = Spooler::Get().standardUser;
    if (standardUser && (asked & kAdministering)) return Fail(ERROR_ACCESS_DENIED);
    const ACCESS_MASK granted = asked != 0 ? asked : standardUser ? PRINTER_ACCESS_USE : PRINTER_ALL_ACCESS;
    *handle = Spooler::Get().Open(*printer, granted);
    ++Spooler::Get().opens;
    return TRUE;
}

BOOL WINAPI SimClosePrinter(HANDLE handle) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    return Spooler::Get().Close(handle) ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

namespace {

BOOL ServePrinterInfo(Printer* printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    const std::vector<uint8_t> devmode = printer->devmodeAsStored ? printer->devmode : SpooledDevmode(printer->devmode);
    // Level 8: the printer's global default DEVMODE alone.
    if (level == 8)
        return Marshal(sizeof(PRINTER_INFO_8W), buffer, size, needed, [&](Packer& p, BYTE* out) {
            PRINTER_INFO_8W fields = {};
            fields.pDevMode = devmode.empty() ? nullptr
                                              : static_cast<DEVMODEW*>(p.Block(devmode.data(), devmode.size()));
            if (out) *reinterpret_cast<PRINTER_INFO_8W*>(out) = fields;
        });
    return Marshal(sizeof(PRINTER_INFO_2W), buffer, size, needed, [&](Packer& p, BYTE* out) {
        auto* info = reinterpret_cast<PRINTER_INFO_2W*>(out);
        PRINTER_INFO_2W fields = {};
        const PrinterFields& kept = printer->fields;
        fields.pPrinterName = p.String(printer->name);
        fields.pShareName = p.String(kept.shareName);
        fields.pPortName = p.String(kept.portName);
        fields.pDriverName = p.String(printer->driverName);
        fields.pComment = p.String(kept.comment);
        fields.pLocation = p.String(kept.location);
        fields.pSepFile = p.String(kept.sepFile);
        fields.pPrintProcessor = p.String(kept.printProcessor);
        fields.pDatatype = p.String(kept.datatype);
        fields.pParameters = p.String(kept.parameters);
        fields.pDevMode = devmode.empty() ? nullptr
                                          : static_cast<DEVMODEW*>(p.Block(devmode.data(), devmode.size()));
        fields.pSecurityDescriptor = printer->security.empty()
                                         ? nullptr
                                         : p.Block(printer->security.data(), printer->security.size());
        fields.Attributes = printer->attributes;
        fields.Priority = kept.priority;
        fields.DefaultPriority = kept.defaultPriority;
        fields.StartTime = kept.startTime;
        fields.UntilTime = kept.untilTime;
        if (info) *info = fields;
    });
}

}  // namespace

BOOL WINAPI SimGetPrinterW(HANDLE handle, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    Printer* printer = PrinterOf(handle);
    if (!printer) return Fail(ERROR_INVALID_HANDLE);
    if (level != 2 && level != 8) return Fail(ERROR_INVALID_LEVEL);
    ++(buffer ? Spooler::Get().served.printerReads : Spooler::Get().served.printerSizeQueries);
    const BOOL served = ServePrinterInfo(printer, level, buffer, size, needed);
    if (served && printer->afterRead) printer->afterRead();
    return served;
}

namespace {

std::wstring Given(const wchar_t* text) { return text ? text : L""; }

// What a level-2 record sets: every field, with a NULL string as an empty one.
PrinterFields FieldsOf(const PRINTER_INFO_2W& info) {
    PrinterFields fields;
    fields.shareName = Given(info.pShareName);
    fields.portName = Given(info.pPortName);
    fields.comment = Given(info.pComment);
    fields.location = Given(info.pLocation);
    fields.sepFile = Given(info.pSepFile);
    fields.printProcessor = Given(info.pPrintProcessor);
    fields.datatype = Given(info.pDatatype);
    fields.parameters = Given(info.pParameters);
    fields.priority = info.Priority;
    fields.defaultPriority = info.DefaultPriority;
    fields.startTime = info.StartTime;
    fields.untilTime = info.UntilTime;
    return fields;
}

}  // namespace

// Level 2 sets every field of the record it is given, as the platform does: the name
// (a rename), the port, sharing, the attributes and the rest; a NULL DEVMODE or
// security descriptor leaves those two as the printer keeps them. A record without the
// names a printer cannot lack is refused. Level 8 sets the global default DEVMODE alone.
// Both need a handle opened for administering.
BOOL WINAPI SimSetPrinterW(HANDLE handle, DWORD level, LPBYTE buffer, DWORD command) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    Spooler::Handle* open = nullptr;
    Printer* printer = PrinterOf(handle, &open);
    if (!printer) return Fail(ERROR_INVALID_HANDLE);
    if (!(open->access & PRINTER_ACCESS_ADMINISTER)) {
        ++Spooler::Get().refusedStores;
        if (printer->card.trace) std::printf("printer record not stored: the handle may not administer the printer\n");
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (printer->storesFail) return Fail(ERROR_INVALID_HANDLE);
    SetPrinterCall call;
    call.printer = printer->name;
    call.level = level;
    call.command = command;
    if (level == 2) {
        if (!buffer) return Fail(ERROR_INVALID_PARAMETER);
        const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer);
        if (!info->pPrinterName || !info->pPrinterName[0] || !info->pPortName || !info->pDriverName ||
            !info->pPrintProcessor)
            return Fail(ERROR_INVALID_PARAMETER);
        call.name = info->pPrinterName;
        call.attributes = info->Attributes;
        call.fields = FieldsOf(*info);
        printer->name = call.name;
        printer->driverName = info->pDriverName;
        printer->attributes = call.attributes;
        printer->fields = call.fields;
        if (info->pDevMode) {
            const auto* bytes = reinterpret_cast<const uint8_t*>(info->pDevMode);
            call.devmode.assign(bytes, bytes + info->pDevMode->dmSize + info->pDevMode->dmDriverExtra);
            printer->devmode = call.devmode;
        }
        if (info->pSecurityDescriptor) {
            call.securityWritten = true;
            const auto* bytes = static_cast<const uint8_t*>(info->pSecurityDescriptor);
            printer->security.assign(bytes, bytes + GetSecurityDescriptorLength(info->pSecurityDescriptor));
        }
    }
    // Level 8 sets the printer's global default DEVMODE and nothing else.
    if (level == 8) {
        const auto* info = reinterpret_cast<const PRINTER_INFO_8W*>(buffer);
        if (!info || !info->pDevMode) return Fail(ERROR_INVALID_PARAMETER);
        const auto* bytes = reinterpret_cast<const uint8_t*>(info->pDevMode);
        call.devmode.assign(bytes, bytes + info->pDevMode->dmSize + info->pDevMode->dmDriverExtra);
        call.name = printer->name;
        call.attributes = printer->attributes;
        call.fields = printer->fields;
        printer->devmode = call.devmode;
    }
    Spooler::Get().setPrinterLog.push_back(call);
    if (printer->card.trace && level == 8) {
        std::printf("printer record stored (level 8): the stored default record written\n");
    } else if (printer->card.trace) {
        std::printf("printer record stored (level %u): attributes 0x%X%s%s%s\n", static_cast<unsigned>(level),
                    static_cast<unsigned>(call.attributes),
                    call.attributes & PRINTER_ATTRIBUTE_DIRECT ? " (direct printing)" : "",
                    call.devmode.empty() ? "" : ", the stored default record written",
                    call.securityWritten ? ", the security descriptor written" : "");
        std::printf("  name \"%s\", port \"%s\", share \"%s\", comment \"%s\", location \"%s\"\n",
                    Utf8(call.name).c_str(), Utf8(call.fields.portName).c_str(), Utf8(call.fields.shareName).c_str(),
                    Utf8(call.fields.comment).c_str(), Utf8(call.fields.location).c_str());
    }
    return TRUE;
}

BOOL WINAPI SimGetPrinterDriverW(HANDLE handle, LPWSTR, DWORD level, LPBYTE buffer, DWORD size,
                                 LPDWORD needed) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    Printer* printer = PrinterOf(handle);
    if (!printer) return Fail(ERROR_INVALID_HANDLE);
    if (level != 2) return Fail(ERROR_INVALID_LEVEL);
    return Marshal(sizeof(DRIVER_INFO_2W), buffer, size, needed, [&](Packer& p, BYTE* out) {
        DRIVER_INFO_2W fields = {};
        fields.cVersion = 3;
        fields.pName = p.String(printer->driverName);
        fields.pEnvironment = p.String(kEnvironment);
        fields.pDriverPath = p.String(printer->driverPath);
        fields.pDataFile = p.String(printer->dataFile);
        fields.pConfigFile = p.String(printer->driverPath);
        if (out) *reinterpret_cast<DRIVER_INFO_2W*>(out) = fields;
    });
}

BOOL WINAPI SimGetPrinterDriverDirectoryW(LPWSTR, LPWSTR, DWORD level, LPBYTE buffer, DWORD size,
                                          LPDWORD needed) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    if (level != 1) return Fail(ERROR_INVALID_LEVEL);
    std::wstring dir = Spooler::Get().DriverDirectory();
    // The spooler names the directory without a trailing backslash.
    if (!dir.empty() && dir.back() == L'\\') dir.pop_back();
    const DWORD bytes = static_cast<DWORD>((dir.size() + 1) * sizeof(wchar_t));
    if (needed) *needed = bytes;
    if (!buffer || size < bytes) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(buffer, dir.c_str(), bytes);
    return TRUE;
}

std::wstring Spooler::StoredRepliesKey(const std::wstring& printer) {
    return L"System\\CurrentControlSet\\control\\Print\\Printers\\" + printer + L"\\PrinterDriverData";
}

bool Spooler::HasStoredReply(const std::wstring& printer, const std::wstring& valueName) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, StoredRepliesKey(printer).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    const bool found = RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

void Spooler::StoreReply(const std::wstring& printer, const std::wstring& valueName, const std::string& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, StoredRepliesKey(printer).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, valueName.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

namespace {

// The port side reads the value name as bytes up to the first zero byte.
std::string CommandOf(const wchar_t* valueName) {
    std::string bytes;
    for (const auto* at = reinterpret_cast<const char*>(valueName); *at; ++at) bytes += *at;
    return bytes;
}

// The name as the platform sees it: 16-bit units up to a zero unit.
std::wstring PlatformName(const wchar_t* valueName) { return std::wstring(valueName); }

const struct {
    const char* name;
    PortVerb verb;
} kPortVerbs[] = {{"PrintFile", PortVerb::kPrintFile}, {"sendcmds", PortVerb::kSendCommands},
                  {"download", PortVerb::kDownload}};

bool CarryOutInstruction(CardPrinter& card, const std::string& command, DWORD* error) {
    for (const auto& known : kPortVerbs) {
        const char* verb = known.name;
        const std::string prefix = std::string(verb) + ":";
        if (command.compare(0, prefix.size(), prefix) != 0) continue;
        PortInstruction instruction{verb, command.substr(prefix.size()), {}};
        *error = ERROR_SUCCESS;
        HANDLE file = CreateFileA(instruction.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        if (card.fault == PortFault::kPortFails || card.failingInstructions.count(known.verb) ||
            file == INVALID_HANDLE_VALUE) {
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
            if (card.trace) std::printf("port: %s %s failed\n", verb, instruction.path.c_str());
            *error = ERROR_FILE_NOT_FOUND;
            return true;
        }
        BYTE chunk[4096];
        DWORD got = 0;
        while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
            instruction.contents.insert(instruction.contents.end(), chunk, chunk + got);
        CloseHandle(file);
        if (card.trace) std::printf("port: %s %s (%u bytes)\n", verb, instruction.path.c_str(),
                                    static_cast<unsigned>(instruction.contents.size()));
        card.instructions.push_back(instruction);
        return true;
    }
    return false;
}

}  // namespace

LONG WINAPI SimRegOpenKeyExW(HKEY parent, LPCWSTR subKey, DWORD options, REGSAM desired, PHKEY result) {
    constexpr REGSAM kChanging = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;
    {
        const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
        ++Spooler::Get().served.registryOpens;
        if (Spooler::Get().standardUser && (desired & kChanging)) {
            ++Spooler::Get().refusedRegistryWrites;
            if (result) *result = nullptr;
            return ERROR_ACCESS_DENIED;
        }
    }
    return RegOpenKeyExW(parent, subKey, options, desired, result);
}

DWORD WINAPI SimGetPrinterDataW(HANDLE handle, LPWSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                                LPDWORD needed) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    Printer* printer = PrinterOf(handle);
    if (!printer) return ERROR_INVALID_HANDLE;
    if (!valueName) return ERROR_INVALID_PARAMETER;
    CardPrinter& card = printer->card;
    const std::string command = CommandOf(valueName);
    DWORD error = ERROR_SUCCESS;
    if (CarryOutInstruction(card, command, &error)) {
        if (needed) *needed = 0;
        return error;
    }
    card.received.push_back(command);
    if (card.trace) std::printf("query: %s\n", Visible(command).c_str());
    if (printer->whileAsked) printer->whileAsked();
    const PortFault fault = card.FaultFor(command);
    if (fault == PortFault::kNoAnswer) {
        if (card.trace) std::printf("reply: (none)\n");
        return ERROR_TIMEOUT;
    }
    std::string reply = card.Answer(command);
    card.Obey(command);
    switch (fault) {
    case PortFault::kEmptyReply: reply.clear(); break;
    case PortFault::kOversized: reply.assign(4096, 'X'); reply += '\x06'; break;
    case PortFault::kNoAck: break;
    default: reply += '\x06'; break;
    }
    if (card.trace) std::printf("reply: %s\n", Visible(reply).c_str());
    if (needed) *needed = static_cast<DWORD>(reply.size());
    if (type) *type = REG_BINARY;
    if (reply.size() > size || (!data && !reply.empty())) return ERROR_MORE_DATA;
    if (!reply.empty()) std::memcpy(data, reply.data(), reply.size());
    Spooler::Get().StoreReply(printer->name, PlatformName(valueName), reply);
    return ERROR_SUCCESS;
}

DWORD WINAPI SimStartDocPrinterW(HANDLE handle, DWORD level, LPBYTE docInfo) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    Spooler::Handle* open = nullptr;
    Printer* printer = PrinterOf(handle, &open);
    if (!printer) return Fail(ERROR_INVALID_HANDLE);
    if (level != 1 || !docInfo) return Fail(ERROR_INVALID_LEVEL);
    if (open->job >= 0 || printer->jobsRefused) return Fail(ERROR_INVALID_PRINTER_STATE);
    auto* info = reinterpret_cast<DOC_INFO_1W*>(docInfo);
    RawJob job;
    job.printer = printer->name;
    job.documentName = info->pDocName ? info->pDocName : L"";
    job.datatype = info->pDatatype ? info->pDatatype : L"";
    Spooler::Get().jobs.push_back(job);
    open->job = static_cast<int>(Spooler::Get().jobs.size()) - 1;
    if (printer->card.trace)
        std::printf("job: \"%s\" (%s)\n", Utf8(job.documentName).c_str(), Utf8(job.datatype).c_str());
    return static_cast<DWORD>(open->job + 1);
}

namespace {

// A long write shown by its start, so that a trace of a firmware job stays readable.
std::string Shortened(const std::string& bytes) {
    constexpr size_t kShown = 48;
    if (bytes.size() <= kShown) return Visible(bytes);
    return Visible(bytes.substr(0, kShown)) + "...";
}

RawJob* JobOf(HANDLE handle) {
    Spooler::Handle* open = nullptr;
    if (!PrinterOf(handle, &open) || open->job < 0) return nullptr;
    return &Spooler::Get().jobs[open->job];
}

}  // namespace

BOOL WINAPI SimStartPagePrinter(HANDLE handle) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    RawJob* job = JobOf(handle);
    if (!job) return Fail(ERROR_SPL_NO_STARTDOC);
    ++job->pages;
    return TRUE;
}

BOOL WINAPI SimWritePrinter(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD written) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    RawJob* job = JobOf(handle);
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    if (!job) {
        // Recorded, as a platform would see it, but no job carries it to the printer.
        if (Printer* printer = PrinterOf(handle)) {
            Spooler::Get().looseWrites.push_back({printer->name, std::vector<uint8_t>(bytes, bytes + size)});
            if (printer->card.trace)
                std::printf("write outside a job (%u bytes): %s\n", static_cast<unsigned>(size),
                            Visible(std::string(bytes, bytes + size)).c_str());
        }
        return Fail(ERROR_SPL_NO_STARTDOC);
    }
    job->blocks.emplace_back(bytes, bytes + size);
    // The printer receives what the job carries.
    if (Printer* printer = PrinterOf(handle)) {
        CardPrinter& card = printer->card;
        card.received.emplace_back(bytes, bytes + size);
        card.Obey(card.received.back());
        if (card.trace)
            std::printf("job write (%u bytes): %s\n", static_cast<unsigned>(size),
                        Shortened(card.received.back()).c_str());
    }
    if (written) *written = size;
    return TRUE;
}

BOOL WINAPI SimEndPagePrinter(HANDLE handle) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    return JobOf(handle) ? TRUE : Fail(ERROR_SPL_NO_STARTDOC);
}

BOOL WINAPI SimEndDocPrinter(HANDLE handle) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    Spooler::Handle* open = nullptr;
    RawJob* job = JobOf(handle);
    if (!job) return Fail(ERROR_SPL_NO_STARTDOC);
    job->ended = true;
    Printer* printer = PrinterOf(handle, &open);
    open->job = -1;
    if (printer && printer->whenJobEnds) printer->whenJobEnds();
    return TRUE;
}

BOOL WINAPI SimAbortPrinter(HANDLE handle) {
    const std::lock_guard<std::recursive_mutex> hold(Spooler::Get().Lock());
    ++Spooler::Get().served.calls;
    Spooler::Handle* open = nullptr;
    RawJob* job = JobOf(handle);
    if (!job) return Fail(ERROR_SPL_NO_STARTDOC);
    job->aborted = true;
    PrinterOf(handle, &open);
    if (Printer* printer = PrinterOf(handle))
        if (printer->card.trace) std::printf("job aborted: \"%s\"\n", Utf8(job->documentName).c_str());
    open->job = -1;
    return TRUE;
}

}  // namespace sim
