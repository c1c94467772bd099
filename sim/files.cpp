// Whole-file reading and writing.
#include "sim/files.h"

#include <cstdio>

namespace sim {

bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>* bytes) {
    bytes->clear();
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return false;
    uint8_t chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes->insert(bytes->end(), chunk, chunk + got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

std::vector<uint8_t> ReadWholeFile(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, &bytes);
    return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

namespace {

struct ReadFault {
    std::wstring name;
    uint64_t fromOffset = 0;
};

ReadFault& Fault() {
    static ReadFault fault;
    return fault;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && lstrcmpiW(text.c_str() + (text.size() - end.size()), end.c_str()) == 0;
}

bool ReadFails(HANDLE file) {
    const ReadFault& fault = Fault();
    if (fault.name.empty()) return false;
    wchar_t path[MAX_PATH * 2] = {};
    if (!GetFinalPathNameByHandleW(file, path, MAX_PATH * 2, FILE_NAME_NORMALIZED) || !EndsWith(path, fault.name))
        return false;
    LARGE_INTEGER at = {};
    return SetFilePointerEx(file, LARGE_INTEGER{}, &at, FILE_CURRENT) && uint64_t(at.QuadPart) >= fault.fromOffset;
}

}  // namespace

void FailReadsOf(const std::wstring& name, uint64_t fromOffset) { Fault() = ReadFault{name, fromOffset}; }

BOOL WINAPI SimReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
    if (read) *read = 0;
    if (!overlapped && ReadFails(file)) {
        SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    // The platform's read, found by name: this program's own import of it is routed here.
    using ReadFn = BOOL(WINAPI*)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
    static const auto platform = reinterpret_cast<ReadFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "ReadFile")));
    return platform(file, buffer, size, read, overlapped);
}

}  // namespace sim
