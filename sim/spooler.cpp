// The simulated spooler.
#include "sim/spooler.h"

#include <algorithm>
#include <cstring>

namespace sim {
namespace {

const wchar_t* const kPackageFiles[] = {L"qf862k.dat", L"qf862rib.ini", L"qf862k.bmp", L"VrloLogo.bmp"};
constexpr wchar_t kDataFileName[] = L"qf862k.dat";
constexpr wchar_t kEnvironment[] = L"Windows NT x86";
constexpr wchar_t kPortName[] = L"FILE:";

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
    jobs.clear();
    RemoveTree(driverDir_);

    packageDir_ = packageDir;
    if (!packageDir_.empty() && packageDir_.back() != L'\\') packageDir_ += L'\\';
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    driverDir_ = std::wstring(temp) + L"qfsim-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++generation_) + L"\\";
    CreateDirectoryW(driverDir_.c_str(), nullptr);
    CreateDirectoryW((driverDir_ + L"2").c_str(), nullptr);
    for (const wchar_t* file : kPackageFiles)
        CopyFileW((packageDir_ + file).c_str(), DriverFile(file).c_str(), FALSE);
}

std::wstring Spooler::DriverFile(const std::wstring& name) const { return driverDir_ + L"2\\" + name; }

Printer& Spooler::AddPrinter(const std::wstring& name) {
    Printer printer;
    printer.name = name;
    printer.driverPath = packageDir_ + L"qf862kui.dll";
    printer.dataFile = DriverFile(kDataFileName);
    printers_.push_back(printer);
    return printers_.back();
}

Printer* Spooler::Find(const std::wstring& name) {
    for (Printer& printer : printers_)
        if (lstrcmpiW(printer.name.c_str(), name.c_str()) == 0) return &printer;
    return nullptr;
}

Spooler::Handle* Spooler::Lookup(HANDLE handle) {
    for (Handle* open : handles_)
        if (open == handle) return open;
    return nullptr;
}

HANDLE Spooler::Open(const std::wstring& printer) {
    handles_.push_back(new Handle{printer, -1});
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
    Spooler& spooler = Spooler::Get();
    Spooler::Handle* found = spooler.Lookup(handle);
    if (open) *open = found;
    return found ? spooler.Find(found->printer) : nullptr;
}

}  // namespace

BOOL WINAPI SimOpenPrinterW(LPWSTR name, LPHANDLE handle, LPPRINTER_DEFAULTSW) {
    if (!handle) return Fail(ERROR_INVALID_PARAMETER);
    *handle = nullptr;
    if (!name) return Fail(ERROR_INVALID_PRINTER_NAME);
    Printer* printer = Spooler::Get().Find(name);
    if (!printer || !printer->openable) return Fail(ERROR_INVALID_PRINTER_NAME);
    *handle = Spooler::Get().Open(printer->name);
    return TRUE;
}

BOOL WINAPI SimClosePrinter(HANDLE handle) {
    return Spooler::Get().Close(handle) ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

BOOL WINAPI SimGetPrinterW(HANDLE handle, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    Printer* printer = PrinterOf(handle);
    if (!printer) return Fail(ERROR_INVALID_HANDLE);
    if (level != 2) return Fail(ERROR_INVALID_LEVEL);
    const std::vector<uint8_t> devmode = SpooledDevmode(printer->devmode);
    return Marshal(sizeof(PRINTER_INFO_2W), buffer, size, needed, [&](Packer& p, BYTE* out) {
        auto* info = reinterpret_cast<PRINTER_INFO_2W*>(out);
        PRINTER_INFO_2W fields = {};
        fields.pPrinterName = p.String(printer->name);
        fields.pPortName = p.String(kPortName);
        fields.pDriverName = p.String(printer->driverName);
        fields.pPrintProcessor = p.String(L"WinPrint");
        fields.pDatatype = p.String(L"RAW");
        fields.pDevMode = devmode.empty() ? nullptr
                                          : static_cast<DEVMODEW*>(p.Block(devmode.data(), devmode.size()));
        fields.Attributes = printer->attributes;
        if (info) *info = fields;
    });
}

BOOL WINAPI SimSetPrinterW(HANDLE handle, DWORD level, LPBYTE buffer, DWORD command) {
    Printer* printer = PrinterOf(handle);
    if (!printer) return Fail(ERROR_INVALID_HANDLE);
    SetPrinterCall call;
    call.printer = printer->name;
    call.level = level;
    call.command = command;
    if (level == 2) {
        if (!buffer) return Fail(ERROR_INVALID_PARAMETER);
        auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer);
        call.attributes = info->Attributes;
        printer->attributes = info->Attributes;
        if (info->pDevMode) {
            const auto* bytes = reinterpret_cast<const uint8_t*>(info->pDevMode);
            call.devmode.assign(bytes, bytes + info->pDevMode->dmSize + info->pDevMode->dmDriverExtra);
            printer->devmode = call.devmode;
        }
    }
    Spooler::Get().setPrinterLog.push_back(call);
    return TRUE;
}

BOOL WINAPI SimGetPrinterDriverW(HANDLE handle, LPWSTR, DWORD level, LPBYTE buffer, DWORD size,
                                 LPDWORD needed) {
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

BOOL WINAPI SimGetPrinterDriverDirectoryA(LPSTR, LPSTR, DWORD level, LPBYTE buffer, DWORD size,
                                          LPDWORD needed) {
    if (level != 1) return Fail(ERROR_INVALID_LEVEL);
    const std::wstring& dir = Spooler::Get().DriverDirectory();
    std::string ansi(dir.size() + 1, '\0');
    const int length = WideCharToMultiByte(CP_ACP, 0, dir.c_str(), -1, &ansi[0],
                                           static_cast<int>(ansi.size()) * 2, nullptr, nullptr);
    ansi.resize(length > 0 ? length - 1 : 0);
    // The spooler names the directory without a trailing backslash.
    if (!ansi.empty() && ansi.back() == '\\') ansi.pop_back();
    if (needed) *needed = static_cast<DWORD>(ansi.size() + 1);
    if (!buffer || size < ansi.size() + 1) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(buffer, ansi.c_str(), ansi.size() + 1);
    return TRUE;
}

DWORD WINAPI SimGetPrinterDataW(HANDLE handle, LPWSTR, LPDWORD, LPBYTE, DWORD, LPDWORD needed) {
    if (needed) *needed = 0;
    if (!PrinterOf(handle)) return ERROR_INVALID_HANDLE;
    return ERROR_FILE_NOT_FOUND;
}

DWORD WINAPI SimStartDocPrinterW(HANDLE handle, DWORD level, LPBYTE docInfo) {
    Spooler::Handle* open = nullptr;
    Printer* printer = PrinterOf(handle, &open);
    if (!printer) return Fail(ERROR_INVALID_HANDLE);
    if (level != 1 || !docInfo) return Fail(ERROR_INVALID_LEVEL);
    if (open->job >= 0) return Fail(ERROR_INVALID_PRINTER_STATE);
    auto* info = reinterpret_cast<DOC_INFO_1W*>(docInfo);
    RawJob job;
    job.printer = printer->name;
    job.documentName = info->pDocName ? info->pDocName : L"";
    job.datatype = info->pDatatype ? info->pDatatype : L"";
    Spooler::Get().jobs.push_back(job);
    open->job = static_cast<int>(Spooler::Get().jobs.size()) - 1;
    return static_cast<DWORD>(open->job + 1);
}

namespace {

RawJob* JobOf(HANDLE handle) {
    Spooler::Handle* open = nullptr;
    if (!PrinterOf(handle, &open) || open->job < 0) return nullptr;
    return &Spooler::Get().jobs[open->job];
}

}  // namespace

BOOL WINAPI SimStartPagePrinter(HANDLE handle) {
    RawJob* job = JobOf(handle);
    if (!job) return Fail(ERROR_SPL_NO_STARTDOC);
    ++job->pages;
    return TRUE;
}

BOOL WINAPI SimWritePrinter(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD written) {
    RawJob* job = JobOf(handle);
    if (!job) return Fail(ERROR_SPL_NO_STARTDOC);
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    job->blocks.emplace_back(bytes, bytes + size);
    if (written) *written = size;
    return TRUE;
}

BOOL WINAPI SimEndPagePrinter(HANDLE handle) {
    return JobOf(handle) ? TRUE : Fail(ERROR_SPL_NO_STARTDOC);
}

BOOL WINAPI SimEndDocPrinter(HANDLE handle) {
    Spooler::Handle* open = nullptr;
    RawJob* job = JobOf(handle);
    if (!job) return Fail(ERROR_SPL_NO_STARTDOC);
    job->ended = true;
    PrinterOf(handle, &open);
    open->job = -1;
    return TRUE;
}

}  // namespace sim
